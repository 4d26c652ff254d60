#pragma once
// Shared by the window tests under Wine.
#include <windows.h>
// The pane operation of that name, not the platform macro.
#undef MessageBox

namespace Corvell {
namespace WineTest {

// Runs the thread's messages for at least ms milliseconds.
inline void Pump(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    do {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        Sleep(1);
    } while (GetTickCount() < end);
}

// A plain visible top-level window to host a page or a pane window.
inline HWND MakeTopLevel(int width, int height) {
    static const ATOM cls = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TarrowTestTopLevel";
        return RegisterClassA(&wc);
    }();
    (void)cls;
    return CreateWindowExA(0, "TarrowTestTopLevel", "test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, width, height,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

} // namespace WineTest
} // namespace Corvell
