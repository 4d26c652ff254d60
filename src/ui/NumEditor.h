#pragma once
#include <cstdint>

#include "shared/Graphics/Color.h"
#include "ui/Pane.h"
#include "ui/RangeControl.h"
#include "ui/ScrollButton.h"
#include "ui/TextEditor.h"
#include "ui/core/Delegate.h"

namespace Corvell {

class TextEditorImpl;

// An integer shown as text, right-aligned, with a spin button at the right
// edge. Each step of the spin button is one complete edit for the listener
// (Begin, Changed, End). A double-click on the text opens a text editor
// over it: a number the editor takes (ParseValue) becomes the value,
// clamped to the range, as one complete edit too; text it cannot take is
// refused and the editor stays open.
//
// The value, minimum and maximum are those of the spin button. SetRange
// puts the value at its first argument, so owners call SetRange first and
// SetValue after it; a range given high to low inverts the spin button.
class NumEditor : public RangeControl, public virtual Pane, private TextEditorHost {
public:
    NumEditor();
    ~NumEditor() override;

    // ---- RangeControl ----
    int32_t GetValue() const override { return m_spin.GetValue(); }
    // Clamped; tells no listener.
    void SetValue(int32_t value) override;
    void SetRange(int32_t a, int32_t b) override;
    // Number editors have no default to go back to.
    void SetDefault(int32_t) override {}
    void AddListener(RangeControlListener* l) override;
    void RemoveListener(RangeControlListener* l) override;

    // ---- Pane ----
    void Create(Pane* parent, const Rect& bounds) override;
    void OnDestroy() override;
    // Hidden or disabled, an open text editor goes without a word.
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void Paint(GraphicsContext& gc) override;
    void OnMouseEvent(MouseEvent& e) override;

    // ---- added by the number editor ----
    // The value as the editor shows it.
    virtual String FormatValue(int32_t value) const;
    // Typed text back to a value; false when it is none.
    virtual bool ParseValue(const char* text, int32_t& out) const;

    int32_t GetMinimum() const { return m_spin.GetMinimum(); }
    int32_t GetMaximum() const { return m_spin.GetMaximum(); }
    ScrollButton& Spin() { return m_spin; }
    const ScrollButton& Spin() const { return m_spin; }
    RangeControlListener* GetListener() const { return m_listener.Get(); }
    Color GetTextColor() const { return m_textColor; }
    Color GetDisabledTextColor() const { return m_disabledTextColor; }
    void SetTextColors(Color enabled, Color disabled);

    // Opens the text editor over the value (what a double-click does).
    void BeginTyping();
    bool IsTyping() const { return m_textEditor != nullptr; }

protected:
    // Where the value is drawn: inside a 2-pixel margin, left of the spin
    // button while it shows.
    Rect TextRect() const;
    // Text in the value's place and format, in that colour.
    void PaintText(GraphicsContext& gc, const String& text, Color color);

private:
    void OnSpinStep(ScrollButton*) { OnSpin(); }
    void OnSpin();
    // Begin, Changed, End to every listener; false when the editor is gone.
    bool NotifyEdit();
    void ShowSpin();
    void CloseTyping();

    // TextEditorHost
    void GetEditText(String& out) override;
    void CommitEdit(const String& text) override;
    void EditFinished() override;
    void EditCancelled() override;
    void GetEditFont(Ref<Font>& out) override;
    bool AcceptsEditText(const String& text) override;

    // On the heap, not embedded: the spin button's list holds it while it
    // runs, and a listener of this editor may delete the editor meanwhile.
    Ref<ScrollButtonListener> m_spinListener;
    ScrollButton m_spin;
    Ref<RangeControlListener> m_listener;
    Color m_textColor;
    Color m_disabledTextColor;
    // The open text editor; it deletes itself when it ends.
    TextEditorImpl* m_textEditor = nullptr;
};

} // namespace Corvell
