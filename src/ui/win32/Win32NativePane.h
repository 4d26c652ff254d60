#pragma once
// The root pane bound to one native child window: translates window
// messages into the root's entry points and offers the platform's
// services to the tree. No logic of its own beyond translation.
// <windows.h> first: its MessageBox macro would rename the pane operation.
#include <windows.h>
#undef MessageBox

#include "ui/RootPane.h"

namespace Corvell {

class Win32NativePane : public RootPane {
public:
    // Private message that makes the window run its deferred calls.
    static constexpr UINT kWakeUpMessage = 0x856;

    Win32NativePane();
    ~Win32NativePane() override;

    // Creates the child window at r inside parent. False when the platform
    // refused; the pane then stays without a window.
    bool CreateNativeWindow(HWND parent, const Rect& r);
    // Destroys the window (the tree is closed and detached).
    void DestroyNativeWindow();

    NativeWindow GetNativeWindow() override { return m_hwnd; }
    HWND Hwnd() const { return m_hwnd; }
    bool IsUiThread() override;
    bool HasCapture() override;
    void InvalidateNative(const Rect& r) override;
    // A Win32TextField.
    NativeTextField* NewTextField() override;

    static const char* WindowClassName();

protected:
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);

    void NativeSetCapture() override;
    void NativeReleaseCapture() override;
    bool NativeHasFocus() override;
    void NativeTakeFocus() override;
    void NativeDropFocus() override;
    bool NativeTrackPointerLeave() override;
    void NativeCancelPointerLeave() override;
    DoubleClickMetrics NativeDoubleClickMetrics() override;
    bool NativeStartTimer(uintptr_t id, int32_t milliseconds) override;
    void NativeStopTimer(uintptr_t id) override;
    bool NativePostWakeUp() override;
    int32_t NativeShowPopupMenu(MenuItemList& items, const Rect& anchor) override;
    int32_t NativeMessageBox(const char* caption, const char* text, int32_t kind) override;
    uint32_t NativeNowMs() override;
    void NativeDebugOutput(const char* text) override;
    void NativeDestroyWindow() override;

private:
    static LRESULT CALLBACK SharedWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void Repaint();
    // The memory surface paints go to, kept from one paint to the next.
    HDC BackBuffer(HDC window, int width, int height);
    void FreeBackBuffer();
    PointerInput Pointer(WPARAM wp, LPARAM lp) const;

    HDC m_backDc = nullptr;
    HBITMAP m_backBitmap = nullptr;
    HGDIOBJ m_backOld = nullptr;
    int m_backWidth = 0, m_backHeight = 0;

    // Written on the window's thread, read from any (PostDeferred).
    volatile HWND m_hwnd = nullptr;
    volatile DWORD m_threadId = 0;
};

} // namespace Corvell
