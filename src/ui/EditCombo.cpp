#include "ui/EditCombo.h"

#include "shared/Graphics/GraphicsContext.h"
#include "shared/Graphics/Palette.h"
#include "ui/TextEditorImpl.h"

namespace Corvell {

EditCombo::EditCombo() : m_providers(new MulticastDelegate1<String&>), m_editedListeners(new MulticastDelegate) {}

EditCombo::~EditCombo() {
    if (!IsClosed())
        OnDestroy();
    CloseEditor();
}

void EditCombo::OnDestroy() {
    CloseEditor();
    Combo::OnDestroy();
}

void EditCombo::SetVisible(bool visible) {
    if (!visible)
        CloseEditor();
    Combo::SetVisible(visible);
}

void EditCombo::SetEnabled(bool enabled) {
    if (!enabled)
        CloseEditor();
    Combo::SetEnabled(enabled);
}

void EditCombo::CloseEditor() {
    if (TextEditorImpl* e = m_editor) {
        m_editor = nullptr;
        delete e;
    }
}

void EditCombo::Paint(GraphicsContext& gc) {
    const bool enabled = IsEffectivelyEnabled();
    if (!(GetFlags() & kFillBackground))
        gc.FillRect(LocalBounds(), GetColor(enabled ? 3 : 4));
    PaintCombo(gc);
    gc.DrawRect(LocalBounds(), GetEnabledFrameColor());
}

Rect EditCombo::EditRect() const {
    const Rect& b = GetBounds();
    return Rect{1, 1, b.width - ArrowWidth() - 2, b.height - 2};
}

void EditCombo::OnMouseEvent(MouseEvent& e) {
    if (e.type == kMouseDown && e.button == kButtonLeft && e.x < GetBounds().width - ArrowWidth()) {
        PaneGuard self(this);
        BeginEdit();
        if (self.IsAlive())
            Pane::OnMouseEvent(e);
        return;
    }
    Combo::OnMouseEvent(e);
}

void EditCombo::BeginEdit() {
    if (m_editor || !IsEffectivelyEnabled() || !IsShowing())
        return;
    m_editor = new TextEditorImpl(this);
    // May end at once (no window): EditCancelled then forgets it.
    m_editor->Create(this, EditRect());
}

void EditCombo::AddTextProvider(Ref<TextProvider> p) { m_providers->Add(std::move(p)); }
bool EditCombo::RemoveTextProvider(TextProvider* p) { return m_providers->Remove(p); }
void EditCombo::AddEditedListener(Ref<Delegate> l) { m_editedListeners->Add(std::move(l)); }
bool EditCombo::RemoveEditedListener(Delegate* l) { return m_editedListeners->Remove(l); }

void EditCombo::GetEditText(String& out) {
    if (m_providers->IsEmpty()) {
        out = GetItemText(GetSelectedIndex());
        return;
    }
    out.Empty();
    Ref<MulticastDelegate1<String&>> list = m_providers;
    list->Invoke(out);
}

void EditCombo::CommitEdit(const String& text) {
    SetEmptyText(text);
    if (!m_editedListeners->IsEmpty()) {
        Ref<MulticastDelegate> list = m_editedListeners;
        list->Invoke();
    }
}

void EditCombo::EditFinished() {
    m_editor = nullptr;
    Select(-1);
}

void EditCombo::EditCancelled() {
    m_editor = nullptr;
    InvalidateAll();
}

} // namespace Corvell
