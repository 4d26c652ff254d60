#include "ui/win32/Win32TextField.h"

#include "shared/Graphics/win32/Win32Graphics.h"
#include "ui/PaneTrace.h"

namespace Corvell {

namespace {
// The edit control's child identifier inside the field's window.
constexpr int kEditId = 1;
// Posted to the field's window when the edit control lost the focus: the
// control is still inside its own focus handling then, and must not be
// destroyed under it.
constexpr UINT kFocusLostMessage = 0x857;
} // namespace

Win32TextField::Win32TextField() = default;

Win32TextField::~Win32TextField() { Destroy(); }

const char* Win32TextField::NotificationName(int code) {
    switch (code) {
    case EN_SETFOCUS:
        return "EN_SETFOCUS";
    case EN_KILLFOCUS:
        return "EN_KILLFOCUS";
    case EN_CHANGE:
        return "EN_CHANGE";
    case EN_UPDATE:
        return "EN_UPDATE";
    case EN_ERRSPACE:
        return "EN_ERRSPACE";
    case EN_MAXTEXT:
        return "EN_MAXTEXT";
    case EN_HSCROLL:
        return "EN_HSCROLL";
    case EN_VSCROLL:
        return "EN_VSCROLL";
    default:
        return nullptr;
    }
}

bool Win32TextField::Open(NativeWindow window, const Rect& r, const String& text, Font* font, int32_t limit,
                          Listener* listener) {
    if (m_edit || m_closing || !window)
        return false;
    if (!CreateNativeWindow(static_cast<HWND>(window), r))
        return false;
    m_edit = CreateWindowExA(0, "Edit", text.c_str(), kEditStyle, 0, 0, r.width, r.height, Hwnd(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), ThisModule(), nullptr);
    if (!m_edit) {
        Destroy();
        return false;
    }
    if (font && font->Handle())
        SendMessageA(m_edit, WM_SETFONT, reinterpret_cast<WPARAM>(font->Handle()), FALSE);
    // The user cannot type past the limit; a longer starting text stays whole.
    SendMessageA(m_edit, EM_LIMITTEXT, static_cast<WPARAM>(limit > 0 ? limit : 1), 0);
    // The whole text selected: typing replaces it, as a rename expects.
    SendMessageA(m_edit, EM_SETSEL, 0, -1);
    SetWindowLongPtrA(m_edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(m_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32TextField::KeyFilter)));
    m_listener = listener;
    SetFocus(m_edit);
    return true;
}

String Win32TextField::GetText() {
    String text;
    if (!m_edit)
        return text;
    const int n = GetWindowTextLengthA(m_edit);
    if (n <= 0)
        return text;
    char* buffer = text.GetBuffer(n);
    GetWindowTextA(m_edit, buffer, n + 1);
    text.ReleaseBuffer();
    return text;
}

void Win32TextField::Refuse() { MessageBeep(MB_OK); }

void Win32TextField::RestoreProcedure() {
    if (m_edit && m_previous) {
        SetWindowLongPtrA(m_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previous));
        SetWindowLongPtrA(m_edit, GWLP_USERDATA, 0);
    }
    m_previous = nullptr;
}

void Win32TextField::Destroy() {
    if (m_closing)
        return;
    m_closing = true;
    RestoreProcedure();
    HWND edit = m_edit;
    m_edit = nullptr;
    if (edit)
        DestroyWindow(edit);
    DestroyNativeWindow();
    m_listener = nullptr;
}

LRESULT CALLBACK Win32TextField::KeyFilter(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* field = reinterpret_cast<Win32TextField*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!field || !field->m_previous)
        return DefWindowProcA(hwnd, msg, wp, lp);
    const WNDPROC previous = field->m_previous;
    switch (msg) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        // The listener may close and delete the field: nothing of it is
        // touched afterwards.
        if (wp == VK_RETURN) {
            if (Listener* l = field->m_listener)
                l->FieldEnter();
            return 0;
        }
        if (wp == VK_ESCAPE) {
            if (Listener* l = field->m_listener)
                l->FieldEscape();
            return 0;
        }
        break;
    case WM_CHAR:
        // The characters of Enter, Control-Enter and Escape: their keys
        // were handled above, and the control would only beep at them.
        if (wp == '\r' || wp == '\n' || wp == 0x1b)
            return 0;
        break;
    default:
        break;
    }
    return CallWindowProcA(previous, hwnd, msg, wp, lp);
}

LRESULT Win32TextField::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wp) == kEditId) {
            const int code = HIWORD(wp);
            if (const char* name = NotificationName(code))
                PaneTracef("Edit: code = %s\n", name);
            else
                PaneTracef("Edit: code = %d\n", code);
            if (code == EN_KILLFOCUS && !m_closing)
                PostMessageA(Hwnd(), kFocusLostMessage, 0, 0);
            return 0;
        }
        break;
    case kFocusLostMessage:
        // The focus may have come back meanwhile.
        if (!m_closing && m_edit && GetFocus() != m_edit) {
            if (Listener* l = m_listener)
                l->FieldFocusLost();
        }
        return 0;
    case WM_CTLCOLOREDIT: {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
    }
    case WM_DESTROY: {
        // Destroyed from outside (the window it lies on went), or by Destroy.
        // Either way the control gets its own procedure back now, while it
        // still exists.
        RestoreProcedure();
        m_edit = nullptr;
        Listener* gone = m_closing ? nullptr : m_listener;
        m_closing = true;
        m_listener = nullptr;
        const LRESULT result = Win32NativePane::WindowProc(msg, wp, lp);
        // Last: the listener may delete the field.
        if (gone)
            gone->FieldGone();
        return result;
    }
    default:
        break;
    }
    return Win32NativePane::WindowProc(msg, wp, lp);
}

} // namespace Corvell
