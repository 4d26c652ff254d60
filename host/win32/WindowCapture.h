#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

namespace Corvell::HostTools {

// Copies a window's pixels, as painted, into RGB rows (top-down).
bool CaptureWindow(HWND window, int width, int height, std::vector<uint8_t>& rgb);

// Runs the messages waiting on this thread.
void PumpMessages();

// Runs this thread's messages until the quit message.
void RunMessageLoop();

} // namespace Corvell::HostTools
