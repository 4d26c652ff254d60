#include "win32/WindowCapture.h"

namespace Corvell::HostTools {

bool CaptureWindow(HWND window, int width, int height, std::vector<uint8_t>& rgb) {
    HDC wdc = GetDC(window);
    if (!wdc)
        return false;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height; // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(wdc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mdc = CreateCompatibleDC(wdc);
    bool ok = dib && mdc;
    if (ok) {
        HGDIOBJ old = SelectObject(mdc, dib);
        ok = BitBlt(mdc, 0, 0, width, height, wdc, 0, 0, SRCCOPY) != FALSE;
        GdiFlush();
        SelectObject(mdc, old);
        if (ok) {
            rgb.resize(static_cast<size_t>(width) * height * 3);
            const uint8_t* src = static_cast<const uint8_t*>(bits);
            for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
                rgb[i * 3] = src[i * 4 + 2];
                rgb[i * 3 + 1] = src[i * 4 + 1];
                rgb[i * 3 + 2] = src[i * 4];
            }
        }
    }
    if (mdc)
        DeleteDC(mdc);
    if (dib)
        DeleteObject(dib);
    ReleaseDC(window, wdc);
    return ok;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace Corvell::HostTools
