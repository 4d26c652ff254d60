#pragma once
// A name shown in a box that the user renames in place: a double-click
// opens a text editor over it, Enter takes the new name, Escape or a click
// elsewhere keeps the old one.
#include "shared/Graphics/Color.h"
#include "ui/EditorHostPane.h"
#include "ui/Pane.h"
#include "ui/TextEditor.h"
#include "ui/core/String.h"

namespace Corvell {

class NameField : public EditorHostPane<Pane>, public TextEditorHost {
public:
    explicit NameField(const char* name);

    void Paint(GraphicsContext& gc) override;
    void OnMouseEvent(MouseEvent& e) override;

    const String& GetName() const { return m_name; }
    void SetColors(Color face, Color text) {
        m_face = face;
        m_text = text;
    }
    // Opens the editor (what a double-click does); nothing when disabled.
    void BeginRename();
    bool IsRenaming() const { return IsEditing(); }

    // TextEditorHost
    void GetEditText(String& out) override { out = m_name; }
    void CommitEdit(const String& text) override;
    void EditFinished() override;
    void EditCancelled() override;
    void GetEditFont(Ref<Font>& out) override { out.Reset(); }

private:
    String m_name;
    Color m_face = 0;
    Color m_text = 0xffffff;
};

} // namespace Corvell
