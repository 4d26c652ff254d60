#pragma once
#include <cstdint>
#include <memory>

#include "ui/NativeTextField.h"
#include "ui/TextEditor.h"

namespace Corvell {

class RootPane;

// The text editor over the platform's edit control (NativeTextField, made
// by the root of the host pane's tree). Enter accepts a text the host takes
// (not empty, at most kMaxLength characters); Escape, the focus going
// elsewhere or the window going cancel. The editor ends exactly once: it
// marks itself ended and closes the field before it tells the host, so
// whatever the platform reports while the field goes, and whatever the
// host does from its calls (delete the editor, delete itself after deleting
// the editor), nothing ends twice. It deletes itself after the end.
//
// Length: the user cannot type past kMaxLength characters, and a longer
// text (a longer name the host started with) is never cut: Enter refuses
// it, audibly, until the user shortens it.
class TextEditorImpl : public TextEditor, private NativeTextField::Listener {
public:
    static constexpr int32_t kMaxLength = 31;

    // host is not owned.
    explicit TextEditorImpl(TextEditorHost* host);
    // A host deleting an open editor: the field goes, nothing is reported.
    ~TextEditorImpl() override;

    void Create(Pane* host, const Rect& r) override;

    bool IsOpen() const { return m_field != nullptr && !m_ended; }
    Font* GetOwnFont() const { return m_ownFont.Get(); }

    // The root of p's tree, or null when p is in none.
    static RootPane* RootOf(Pane* p);

private:
    // NativeTextField::Listener
    void FieldEnter() override;
    void FieldEscape() override;
    void FieldFocusLost() override;
    void FieldGone() override;

    // The one end: teardown first, then the host, then delete this.
    void Finish(bool accepted, const String& text);

    TextEditorHost* m_host;
    Ref<Font> m_ownFont;
    // The field's font: the host's or the editor's own; lives as long as the field.
    Ref<Font> m_font;
    std::unique_ptr<NativeTextField> m_field;
    bool m_ended = false;
    // Set on the stack while the editor calls out; the destructor raises it.
    bool* m_deleted = nullptr;
};

} // namespace Corvell
