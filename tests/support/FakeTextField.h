#pragma once
#include "ui/NativeTextField.h"

#include <string>
#include <vector>

namespace Corvell::Test {

class FakeTextField;

// The text fields a TestRootPane made: what each was given and asked, and
// what the simulated platform does with them.
class FakeTextFields {
public:
    enum Notice { kFocusLost, kGone };

    // Fields that still exist (open or closed), oldest first.
    std::vector<FakeTextField*> live;
    int32_t made = 0;
    // "Open <text>", "Destroy", "Refuse", "Gone", in order, for every field.
    std::vector<std::string> log;

    // The platform refuses to open the next fields.
    bool failOpen = false;
    // What a field reports while Destroy takes it down, in this order: the
    // platforms differ in what comes and when.
    std::vector<Notice> duringDestroy;

    // The newest field that still exists, or null.
    FakeTextField* Last() const { return live.empty() ? nullptr : live.back(); }
    // The window went: every open field is destroyed from outside.
    void DestroyAll();
};

// A native edit control as the platform's behaves, without a window: the
// user types into it through the helpers below, which report to the
// listener as the platform would. A helper that reports may end with the
// field deleted; tests reach fields through FakeTextFields afterwards.
class FakeTextField : public NativeTextField {
public:
    explicit FakeTextField(FakeTextFields& hub);
    ~FakeTextField() override;

    bool Open(NativeWindow window, const Rect& r, const String& text, Font* font, int32_t limit,
              Listener* listener) override;
    String GetText() override { return m_open ? m_text : String(); }
    void Refuse() override;
    void Destroy() override;

    // ---- as the user ----
    // Types characters: the first replaces the whole text, selected when
    // the field opened; then at the end. Like the platform's control, it
    // takes none past the limit.
    void Type(const char* text);
    // Deletes n characters at the end (all of them while all is selected).
    void Erase(int n);
    // The caret to the end, nothing selected (the End key).
    void Deselect() { m_allSelected = false; }
    // Replaces the whole text (as a paste of it would, limit ignored).
    void SetText(const char* text) { m_text = text; }
    void PressEnter();
    void PressEscape();
    void LoseFocus();
    // Destroyed from outside: the listener hears FieldGone.
    void DestroyFromOutside();

    // ---- what it was given ----
    bool IsOpen() const { return m_open; }
    NativeWindow Window() const { return m_window; }
    const Rect& Where() const { return m_rect; }
    Font* GetFont() const { return m_font; }
    int32_t Limit() const { return m_limit; }
    const String& Text() const { return m_text; }
    int32_t Refusals() const { return m_refusals; }

private:
    void Send(FakeTextFields::Notice n);

    FakeTextFields& m_hub;
    Listener* m_listener = nullptr;
    NativeWindow m_window = nullptr;
    Rect m_rect;
    Font* m_font = nullptr;
    int32_t m_limit = 0;
    String m_text;
    bool m_open = false;
    bool m_closing = false;
    bool m_allSelected = false;
    int32_t m_refusals = 0;
};

} // namespace Corvell::Test
