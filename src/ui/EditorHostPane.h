#pragma once
#include "shared/Graphics/Geometry.h"
#include "ui/TextEditor.h"
#include "ui/TextEditorImpl.h"

namespace Corvell {

// A pane of class P that opens a text editor over itself, one per edit.
// The open editor goes without a word when the pane is closed, hidden,
// disabled or deleted; the host forgets it when the editor reports its end.
template <class P>
class EditorHostPane : public P {
public:
    EditorHostPane() = default;
    ~EditorHostPane() override {
        if (!this->IsClosed())
            OnDestroy();
        CloseEditor();
    }

    void OnDestroy() override {
        CloseEditor();
        P::OnDestroy();
    }
    void SetVisible(bool visible) override {
        if (!visible)
            CloseEditor();
        P::SetVisible(visible);
    }
    void SetEnabled(bool enabled) override {
        if (!enabled)
            CloseEditor();
        P::SetEnabled(enabled);
    }

    bool IsEditing() const { return m_editor != nullptr; }

protected:
    // Opens an editor over r for host, unless one is open or the pane cannot
    // take input. It may end at once (no window), reporting to the host.
    void OpenEditor(TextEditorHost* host, const Rect& r) {
        if (m_editor || !this->IsEffectivelyEnabled() || !this->IsShowing())
            return;
        m_editor = new TextEditorImpl(host);
        m_editor->Create(this, r);
    }
    // The editor reported its end and is gone.
    void ForgetEditor() { m_editor = nullptr; }
    // Closes an open editor without a word.
    void CloseEditor() {
        if (TextEditorImpl* e = m_editor) {
            m_editor = nullptr;
            delete e;
        }
    }

private:
    // Deletes itself when it ends.
    TextEditorImpl* m_editor = nullptr;
};

} // namespace Corvell
