#include "ui/win32/Win32NativePane.h"

#include <algorithm>

#include "shared/Graphics/win32/GdiGraphicsContext.h"
#include "shared/Graphics/win32/Win32Graphics.h"
#include "ui/MenuItemList.h"
#include "ui/win32/Win32TextField.h"

#include <cstdio>
#include <mmsystem.h>

namespace Corvell {

namespace {
volatile LONG g_instances = 0;
char g_className[64];

using TrackFn = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
TrackFn ResolveTrackMouseEvent() {
    if (HMODULE user = GetModuleHandleA("user32"))
        if (FARPROC p = GetProcAddress(user, "TrackMouseEvent"))
            return reinterpret_cast<TrackFn>(reinterpret_cast<void*>(p));
    if (HMODULE comctl = LoadLibraryA("comctl32"))
        if (FARPROC p = GetProcAddress(comctl, "_TrackMouseEvent"))
            return reinterpret_cast<TrackFn>(reinterpret_cast<void*>(p));
    return nullptr;
}
TrackFn g_track = ResolveTrackMouseEvent();

// The module holding this code: the DLL, or the program it is linked into.
HINSTANCE Instance() { return ThisModule(); }

int16_t Lo(LPARAM v) { return static_cast<int16_t>(LOWORD(v)); }
int16_t Hi(LPARAM v) { return static_cast<int16_t>(HIWORD(v)); }

// The key-state bits of a mouse message as event modifiers.
uint32_t Modifiers(WPARAM keyState) {
    uint32_t mods = 0;
    if (keyState & MK_SHIFT)
        mods |= kModShift;
    if (keyState & MK_CONTROL)
        mods |= kModControl;
    return mods;
}
} // namespace

const char* Win32NativePane::WindowClassName() { return g_className; }

Win32NativePane::Win32NativePane() {
    if (InterlockedIncrement(&g_instances) == 1) {
        std::snprintf(g_className, sizeof g_className, "%p_CVCHILD", static_cast<void*>(Instance()));
        WNDCLASSA wc{};
        wc.lpfnWndProc = &Win32NativePane::SharedWindowProc;
        wc.cbWndExtra = sizeof(void*);
        wc.hInstance = Instance();
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.lpszClassName = g_className;
        RegisterClassA(&wc);
    }
}

Win32NativePane::~Win32NativePane() {
    // The window goes first, while the lock and the tree still exist.
    DestroyNativeWindow();
    if (InterlockedDecrement(&g_instances) == 0)
        UnregisterClassA(g_className, Instance());
}

bool Win32NativePane::CreateNativeWindow(HWND parent, const Rect& r) {
    HWND hwnd = CreateWindowExA(0, g_className, nullptr, WS_CHILD | WS_VISIBLE, r.x, r.y, r.width, r.height, parent,
                                nullptr, Instance(), this);
    if (!hwnd)
        return false;
    NativeWindowCreated(r.width, r.height);
    return true;
}

void Win32NativePane::DestroyNativeWindow() {
    if (HWND h = m_hwnd)
        DestroyWindow(h);
}

void Win32NativePane::NativeDestroyWindow() { DestroyNativeWindow(); }

bool Win32NativePane::IsUiThread() { return m_hwnd && GetCurrentThreadId() == m_threadId; }

bool Win32NativePane::HasCapture() { return m_hwnd && GetCapture() == m_hwnd; }

void Win32NativePane::InvalidateNative(const Rect& r) {
    if (!m_hwnd)
        return;
    RECT rc{r.x, r.y, r.x + r.width, r.y + r.height};
    InvalidateRect(m_hwnd, &rc, TRUE);
}

NativeTextField* Win32NativePane::NewTextField() { return new Win32TextField; }

void Win32NativePane::NativeSetCapture() {
    if (m_hwnd)
        SetCapture(m_hwnd);
}

void Win32NativePane::NativeReleaseCapture() { ::ReleaseCapture(); }

bool Win32NativePane::NativeHasFocus() { return m_hwnd && GetFocus() == m_hwnd; }

void Win32NativePane::NativeTakeFocus() {
    if (m_hwnd)
        SetFocus(m_hwnd);
}

void Win32NativePane::NativeDropFocus() { SetFocus(nullptr); }

bool Win32NativePane::NativeTrackPointerLeave() {
    if (!g_track || !m_hwnd)
        return false;
    TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, m_hwnd, 0};
    return g_track(&t) != FALSE;
}

void Win32NativePane::NativeCancelPointerLeave() {
    if (!g_track || !m_hwnd)
        return;
    TRACKMOUSEEVENT t{sizeof t, TME_LEAVE | TME_CANCEL, m_hwnd, 0};
    g_track(&t);
}

DoubleClickMetrics Win32NativePane::NativeDoubleClickMetrics() {
    DoubleClickMetrics m;
    m.time = GetDoubleClickTime();
    m.width = GetSystemMetrics(SM_CXDOUBLECLK);
    m.height = GetSystemMetrics(SM_CYDOUBLECLK);
    return m;
}

bool Win32NativePane::NativeStartTimer(uintptr_t id, int32_t milliseconds) {
    return m_hwnd && SetTimer(m_hwnd, id, static_cast<UINT>(milliseconds > 0 ? milliseconds : 1), nullptr) != 0;
}

void Win32NativePane::NativeStopTimer(uintptr_t id) {
    if (m_hwnd)
        KillTimer(m_hwnd, id);
}

bool Win32NativePane::NativePostWakeUp() {
    HWND h = m_hwnd;
    return h && PostMessageA(h, kWakeUpMessage, 0, 0) != FALSE;
}

int32_t Win32NativePane::NativeShowPopupMenu(MenuItemList& items, const Rect& anchor) {
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return -1;
    for (int32_t i = 0; i < items.GetCount(); ++i) {
        const MenuItem& item = items.GetItem(i);
        if (item.flags & MenuItem::Separator) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING;
        if (item.flags & MenuItem::Disabled)
            flags |= MF_GRAYED;
        if (item.flags & MenuItem::Checked)
            flags |= MF_CHECKED;
        AppendMenuA(menu, flags, 1000 + static_cast<UINT_PTR>(i), MenuDisplayText(item.text).c_str());
    }
    POINT corner{anchor.x, anchor.y + anchor.height};
    RECT keep{anchor.x, anchor.y, anchor.x + anchor.width, anchor.y + anchor.height};
    if (m_hwnd) {
        ClientToScreen(m_hwnd, &corner);
        MapWindowPoints(m_hwnd, nullptr, reinterpret_cast<POINT*>(&keep), 2);
    }
    TPMPARAMS params{sizeof params, keep};
    const int chosen = static_cast<int>(TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD |
                                                                   TPM_NONOTIFY | TPM_VERTICAL,
                                                               corner.x, corner.y, m_hwnd, &params));
    DestroyMenu(menu);
    return chosen >= 1000 ? chosen - 1000 : -1;
}

int32_t Win32NativePane::NativeMessageBox(const char* caption, const char* text, int32_t kind) {
    if (kind == 1)
        return MessageBoxA(m_hwnd, text, caption, MB_ICONWARNING | MB_YESNO) == IDYES ? 1 : 0;
    return MessageBoxA(m_hwnd, text, caption, MB_OK);
}

uint32_t Win32NativePane::NativeNowMs() { return timeGetTime(); }

void Win32NativePane::NativeDebugOutput(const char* text) { OutputDebugStringA(text); }

PointerInput Win32NativePane::Pointer(WPARAM wp, LPARAM lp) const {
    PointerInput in;
    in.client = Point{Lo(lp), Hi(lp)};
    if (wp & MK_LBUTTON)
        in.buttons |= kHeldLeft;
    if (wp & MK_RBUTTON)
        in.buttons |= kHeldRight;
    if (wp & MK_MBUTTON)
        in.buttons |= kHeldMiddle;
    in.modifiers = Modifiers(wp);
    in.time = static_cast<uint32_t>(GetMessageTime());
    const DWORD pos = GetMessagePos();
    in.screen = Point{static_cast<int16_t>(LOWORD(pos)), static_cast<int16_t>(HIWORD(pos))};
    return in;
}

HDC Win32NativePane::BackBuffer(HDC window, int width, int height) {
    if (m_backDc && width <= m_backWidth && height <= m_backHeight)
        return m_backDc;
    FreeBackBuffer();
    m_backDc = CreateCompatibleDC(window);
    // A 32-bit DIB like the images: copies and blends between them take the
    // platform's fast paths.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_backBitmap = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!m_backDc || !m_backBitmap) {
        FreeBackBuffer();
        return nullptr;
    }
    m_backOld = SelectObject(m_backDc, m_backBitmap);
    m_backWidth = width;
    m_backHeight = height;
    return m_backDc;
}

void Win32NativePane::FreeBackBuffer() {
    if (m_backDc && m_backOld)
        SelectObject(m_backDc, m_backOld);
    if (m_backBitmap)
        DeleteObject(m_backBitmap);
    if (m_backDc)
        DeleteDC(m_backDc);
    m_backDc = nullptr;
    m_backBitmap = nullptr;
    m_backOld = nullptr;
    m_backWidth = m_backHeight = 0;
}

void Win32NativePane::Repaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hwnd, &ps);
    RECT clip;
    if (dc && GetClipBox(dc, &clip) != ERROR && clip.right > clip.left && clip.bottom > clip.top) {
        const int w = clip.right - clip.left, h = clip.bottom - clip.top;
        RECT client{};
        GetClientRect(m_hwnd, &client);
        // As large as the window, so a paint of any part reuses it.
        if (HDC mem = BackBuffer(dc, std::max<int>(w, client.right), std::max<int>(h, client.bottom))) {
            // Window coordinates on the memory surface, from its top-left.
            const int saved = SaveDC(mem);
            SetWindowOrgEx(mem, clip.left, clip.top, nullptr);
            IntersectClipRect(mem, clip.left, clip.top, clip.right, clip.bottom);
            SetROP2(mem, R2_COPYPEN);
            SetBkMode(mem, TRANSPARENT);
            {
                GdiGraphicsContext gc(mem);
                PaintRoot(gc);
            }
            BitBlt(dc, clip.left, clip.top, w, h, mem, clip.left, clip.top, SRCCOPY);
            RestoreDC(mem, saved);
        }
    }
    EndPaint(m_hwnd, &ps);
}

LRESULT CALLBACK Win32NativePane::SharedWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* pane = reinterpret_cast<Win32NativePane*>(GetWindowLongPtrA(hwnd, 0));
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        pane = static_cast<Win32NativePane*>(cs->lpCreateParams);
        SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(pane));
        if (pane) {
            pane->m_threadId = GetCurrentThreadId();
            pane->m_hwnd = hwnd;
        }
    }
    if (!pane)
        return DefWindowProcA(hwnd, msg, wp, lp);
    // Nothing may escape into the host's message loop.
    try {
        return pane->WindowProc(msg, wp, lp);
    } catch (...) {
        OutputDebugStringA("Win32NativePane: exception in a window message\n");
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

LRESULT Win32NativePane::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    HWND hwnd = m_hwnd;
    switch (msg) {
    case WM_DESTROY:
        FreeBackBuffer();
        NativeWindowDestroyed();
        SetWindowLongPtrA(hwnd, 0, 0);
        m_hwnd = nullptr;
        m_threadId = 0;
        return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_SETFOCUS:
        HandleFocusChange(true);
        break;
    case WM_KILLFOCUS: {
        // Focus to one of our own child windows (a text field) is a move
        // inside the window, not a deactivation.
        HWND to = reinterpret_cast<HWND>(wp);
        PaneGuard self(this);
        HandleFocusChange(false);
        if (self.IsAlive() && m_hwnd && (!to || (to != m_hwnd && !IsChild(m_hwnd, to))))
            HandleActivationLost();
        break;
    }
    case WM_PAINT:
        Repaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        HandleKeyDown(static_cast<int32_t>(wp), LOWORD(lp), (lp & (1 << 30)) != 0);
        return 0;
    case WM_KEYUP:
        HandleKeyUp(static_cast<int32_t>(wp));
        return 0;
    case WM_CHAR:
        HandleChar(static_cast<int32_t>(wp), LOWORD(lp));
        return 0;
    case WM_TIMER:
        FireTimer(static_cast<uintptr_t>(wp));
        break;
    case WM_MOUSEMOVE:
        HandlePointerMove(Pointer(wp, lp));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        HandleButtonDown(Pointer(wp, lp), kButtonLeft);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        HandleButtonDown(Pointer(wp, lp), kButtonRight);
        return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        HandleButtonDown(Pointer(wp, lp), kButtonMiddle);
        return 0;
    case WM_LBUTTONUP:
        HandleButtonUp(Pointer(wp, lp), kButtonLeft);
        return 0;
    case WM_RBUTTONUP:
        HandleButtonUp(Pointer(wp, lp), kButtonRight);
        return 0;
    case WM_MBUTTONUP:
        HandleButtonUp(Pointer(wp, lp), kButtonMiddle);
        return 0;
    case WM_MOUSEWHEEL:
        HandleWheel(Modifiers(GET_KEYSTATE_WPARAM(wp)), Point{Lo(lp), Hi(lp)}, GET_WHEEL_DELTA_WPARAM(wp));
        return 0;
    case WM_MOUSELEAVE: {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(hwnd, &p);
        HandlePointerLeave(Point{p.x, p.y});
        return 0;
    }
    case WM_CAPTURECHANGED:
        // Another window or a modal loop took the capture: end the press.
        // The root tells this apart from its own release.
        if (reinterpret_cast<HWND>(lp) != hwnd)
            HandleCaptureLost();
        return 0;
    case WM_CANCELMODE:
        // Ends the press here, without waiting for the capture change that
        // DefWindowProc's release of the capture brings.
        HandleCaptureLost();
        break;
    case WM_SIZE:
        HandleSize(LOWORD(lp), HIWORD(lp));
        break;
    case kWakeUpMessage:
        RunDeferred();
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

} // namespace Corvell
