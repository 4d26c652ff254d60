#pragma once
// The platform's edit control for the text editor: a child window of the
// shared pane class (so it has a window procedure of its own) holding one
// "Edit" control, whose window procedure is replaced by a key filter.
#include "ui/NativeTextField.h"
#include "ui/win32/Win32NativePane.h"

namespace Corvell {

class Win32TextField : public Win32NativePane, public NativeTextField {
public:
    // The edit control's styles: child, visible, Enter kept for the filter,
    // and scrolling along the text. Without the scrolling the control
    // refuses characters once the text fills the visible width, so a name
    // wider than its row could not be typed, and a starting text already
    // wider than that is mangled by deletions and typing.
    static constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | ES_WANTRETURN | ES_AUTOHSCROLL;

    Win32TextField();
    ~Win32TextField() override;

    bool Open(NativeWindow window, const Rect& r, const String& text, Font* font, int32_t limit,
              Listener* listener) override;
    String GetText() override;
    void Refuse() override;
    void Destroy() override;

    HWND Edit() const { return m_edit; }

    // The name of an edit notification code in the trace, or null.
    static const char* NotificationName(int code);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    static LRESULT CALLBACK KeyFilter(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    // Puts the edit control's own procedure back.
    void RestoreProcedure();

    HWND m_edit = nullptr;
    WNDPROC m_previous = nullptr;
    Listener* m_listener = nullptr;
    // Destroy is taking the windows down: nothing is reported as gone.
    bool m_closing = false;
};

} // namespace Corvell
