#pragma once
#include "ui/Combo.h"
#include "ui/TextEditor.h"

namespace Corvell {

class TextEditorImpl;

// A combo whose text can also be typed: a press on the text opens a text
// editor over it, a press on the arrow opens the menu. An accepted text
// becomes the shown (empty) text and the selection is cleared; the
// edited-text listeners hear it while the old selection still stands, so
// they can tell what was renamed.
class EditCombo : public Combo, public TextEditorHost {
public:
    using TextProvider = Delegate1<String&>;

    EditCombo();
    ~EditCombo() override;

    // ---- Pane ----
    void OnDestroy() override;
    // Hidden or disabled, an open editor goes without a word.
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void Paint(GraphicsContext& gc) override;
    void OnMouseEvent(MouseEvent& e) override;

    // Fill the text the editor starts with; with none, the selected item's text.
    void AddTextProvider(Ref<TextProvider> p);
    bool RemoveTextProvider(TextProvider* p);
    // Told after an accepted edit; a listener may delete the combo.
    void AddEditedListener(Ref<Delegate> l);
    bool RemoveEditedListener(Delegate* l);

    // Opens the editor over the text area (what a press there does).
    void BeginEdit();
    bool IsEditing() const { return m_editor != nullptr; }
    // Where the editor opens: (1, 1, width - arrow - 2, height - 2).
    Rect EditRect() const;

    // ---- TextEditorHost ----
    void GetEditText(String& out) override;
    void CommitEdit(const String& text) override;
    void EditFinished() override;
    void EditCancelled() override;
    void GetEditFont(Ref<Font>& out) override { out.Reset(); }

private:
    // Closes an open editor without a word.
    void CloseEditor();

    Ref<MulticastDelegate1<String&>> m_providers;
    Ref<MulticastDelegate> m_editedListeners;
    // Deletes itself when it ends.
    TextEditorImpl* m_editor = nullptr;
};

} // namespace Corvell
