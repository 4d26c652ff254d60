#pragma once
#include "shared/Graphics/GraphicsObjects.h"
#include "shared/Graphics/Geometry.h"
#include "ui/core/Ref.h"
#include "ui/core/String.h"

namespace Corvell {

class Pane;

// What a text editor asks of the one it edits for, and what it tells it.
// An editor reports exactly one end: CommitEdit then EditFinished for an
// accepted text, or EditCancelled. After that end it is gone (it deletes
// itself), so the host forgets it there and never deletes it afterwards.
//
// Until the end the host may delete the editor at any time, from any of
// these calls too; a deleted editor reports nothing more. A host that goes
// away while its editor is open must delete the editor first.
class TextEditorHost {
public:
    // ---- in slot order ----
    // The text the editor starts with.
    virtual void GetEditText(String& out) = 0;
    // The accepted text.
    virtual void CommitEdit(const String& text) = 0;
    // The edit was accepted and has ended.
    virtual void EditFinished() = 0;
    // The edit was cancelled (Escape, the focus went elsewhere, the window
    // went) and has ended.
    virtual void EditCancelled() = 0;
    // The font of the edit field; null leaves the editor's own.
    virtual void GetEditFont(Ref<Font>& out) = 0;
    // Whether Enter may accept this text (never empty, never longer than
    // the editor takes). A refused text keeps the editor open, and the
    // user hears the refusal.
    virtual bool AcceptsEditText(const String& /*text*/) { return true; }

protected:
    ~TextEditorHost() = default;
};

// A short-lived field over a pane, in which the user types a new text.
class TextEditor {
public:
    virtual ~TextEditor() = default;
    // Opens the editor over r, given in the host pane's coordinates. When
    // no field can be opened there (the pane is in no window) the editor
    // ends at once, cancelled.
    virtual void Create(Pane* host, const Rect& r) = 0;
};

} // namespace Corvell
