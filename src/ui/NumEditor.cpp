#include "ui/NumEditor.h"

#include <algorithm>
#include <vector>

#include "shared/Graphics/GraphicsContext.h"
#include "shared/Graphics/Palette.h"
#include "ui/NumberText.h"
#include "ui/TextEditorImpl.h"

namespace Corvell {

namespace {
constexpr int32_t kSpinWidth = 13;
} // namespace

NumEditor::NumEditor()
    : m_spinListener(MakeDelegate<ScrollButton*>(this, &NumEditor::OnSpinStep)), m_textColor(GetColor(1)),
      m_disabledTextColor(GetColor(2)) {
    m_spin.SetColors(GetColor(1), GetColor(2));
    m_spin.SetValue(0);
    m_spin.AddValueListener(m_spinListener);
}

NumEditor::~NumEditor() {
    // The base destructor can only reach Pane::OnDestroy.
    if (!IsClosed())
        OnDestroy();
    // An editor opened after the close.
    CloseTyping();
    m_spin.RemoveValueListener(m_spinListener.Get());
}

// ---- RangeControl -------------------------------------------------------------------

void NumEditor::SetValue(int32_t value) {
    if (value == GetValue())
        return;
    const int32_t clamped = std::clamp(value, GetMinimum(), GetMaximum());
    if (clamped != GetValue()) {
        m_spin.SetValue(clamped);
        m_spin.InvalidateAll();
    }
    InvalidateAll();
}

void NumEditor::SetRange(int32_t a, int32_t b) {
    m_spin.SetInverted(b < a);
    m_spin.SetRange(a, b);
    m_spin.SetValue(a);
    m_spin.InvalidateAll();
    if (IsVisible())
        ShowSpin();
    InvalidateAll();
}

void NumEditor::AddListener(RangeControlListener* l) { m_listener = RangeControlMulticaster::Add(m_listener, l); }

void NumEditor::RemoveListener(RangeControlListener* l) {
    m_listener = RangeControlMulticaster::Remove(m_listener, l);
}

// ---- Pane -----------------------------------------------------------------------------

void NumEditor::Create(Pane* parent, const Rect& bounds) {
    Pane::Create(parent, bounds);
    m_spin.Create(this, Rect{bounds.width - 15, 2, kSpinWidth, bounds.height - 4});
    ShowSpin();
}

void NumEditor::OnDestroy() {
    CloseTyping();
    Pane::OnDestroy();
}

void NumEditor::SetVisible(bool visible) {
    if (!visible)
        CloseTyping();
    Pane::SetVisible(visible);
    if (visible)
        ShowSpin();
}

void NumEditor::SetEnabled(bool enabled) {
    if (!enabled)
        CloseTyping();
    Pane::SetEnabled(enabled);
}

void NumEditor::ShowSpin() { m_spin.SetVisible(GetMinimum() != GetMaximum()); }

void NumEditor::SetTextColors(Color enabled, Color disabled) {
    m_textColor = enabled;
    m_disabledTextColor = disabled;
    InvalidateAll();
}

Rect NumEditor::TextRect() const {
    const Rect& b = GetBounds();
    Rect r{2, 2, b.width - 4, b.height - 4};
    if (m_spin.IsVisible())
        r.width -= m_spin.GetBounds().width;
    return r;
}

void NumEditor::Paint(GraphicsContext& gc) {
    Pane::Paint(gc);
    PaintText(gc, FormatValue(GetValue()), IsEffectivelyEnabled() ? m_textColor : m_disabledTextColor);
}

void NumEditor::PaintText(GraphicsContext& gc, const String& text, Color color) {
    const Color saved = gc.GetTextColor();
    gc.SetTextColor(color);
    gc.DrawText(text, TextRect(), kTextRight | kTextVCenter);
    gc.SetTextColor(saved);
}

void NumEditor::OnMouseEvent(MouseEvent& e) {
    PaneGuard self(this);
    if (e.type == kMouseDown && e.button == kButtonLeft && e.clickCount == 2)
        BeginTyping();
    if (self.IsAlive())
        Pane::OnMouseEvent(e);
}

String NumEditor::FormatValue(int32_t value) const { return FormatNumber(value); }

bool NumEditor::ParseValue(const char* text, int32_t& out) const { return ParseNumber(text, out); }

// ---- the spin button ----------------------------------------------------------------------

void NumEditor::OnSpin() {
    InvalidateAll();
    NotifyEdit();
}

bool NumEditor::NotifyEdit() {
    return NotifyRangeListeners(this, this, m_listener,
                                {&RangeControlListener::Begin, &RangeControlListener::Changed, &RangeControlListener::End});
}

// ---- typing a value ---------------------------------------------------------------------------

void NumEditor::BeginTyping() {
    if (m_textEditor || !IsEffectivelyEnabled() || !IsShowing())
        return;
    m_textEditor = new TextEditorImpl(this);
    // May end at once (no window): EditCancelled then forgets it.
    m_textEditor->Create(this, TextRect());
}

void NumEditor::CloseTyping() {
    if (TextEditorImpl* e = m_textEditor) {
        m_textEditor = nullptr;
        delete e; // an open editor goes without a word
    }
}

void NumEditor::GetEditText(String& out) { out = FormatValue(GetValue()); }

bool NumEditor::AcceptsEditText(const String& text) {
    int32_t v;
    return ParseValue(text, v);
}

void NumEditor::CommitEdit(const String& text) {
    int32_t v;
    if (!ParseValue(text, v))
        return;
    v = std::clamp(v, GetMinimum(), GetMaximum());
    if (v == GetValue())
        return;
    m_spin.SetValue(v);
    m_spin.InvalidateAll();
    // As a step of the spin button: one complete edit. A listener may
    // delete this editor, which deletes the text editor too.
    OnSpin();
}

void NumEditor::EditFinished() {
    m_textEditor = nullptr;
    InvalidateAll();
}

void NumEditor::EditCancelled() {
    m_textEditor = nullptr;
    InvalidateAll();
}

void NumEditor::GetEditFont(Ref<Font>& out) { out.Reset(); }

} // namespace Corvell
