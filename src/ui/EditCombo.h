#pragma once
#include "ui/Combo.h"
#include "ui/EditorHostPane.h"
#include "ui/TextEditor.h"

namespace Corvell {

// A combo whose text can also be typed: a press on the text opens a text
// editor over it, a press on the arrow opens the menu. An accepted text
// becomes the shown (empty) text and the selection is cleared; the
// edited-text listeners hear it while the old selection still stands, so
// they can tell what was renamed.
class EditCombo : public EditorHostPane<Combo>, public TextEditorHost {
public:
    using TextProvider = Delegate1<String&>;

    EditCombo();

    // ---- Pane ----
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
    // Where the editor opens: (1, 1, width - arrow - 2, height - 2).
    Rect EditRect() const;

    // ---- TextEditorHost ----
    void GetEditText(String& out) override;
    void CommitEdit(const String& text) override;
    void EditFinished() override;
    void EditCancelled() override;
    void GetEditFont(Ref<Font>& out) override { out.Reset(); }

private:
    Ref<MulticastDelegate1<String&>> m_providers;
    Ref<MulticastDelegate> m_editedListeners;
};

} // namespace Corvell
