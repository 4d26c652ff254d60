#include "ui/TextEditorImpl.h"

#include "ui/RootPane.h"

namespace Corvell {

TextEditorImpl::TextEditorImpl(TextEditorHost* host) : m_host(host), m_ownFont(new Font("11px", 0)) {
    m_font = m_ownFont;
}

TextEditorImpl::~TextEditorImpl() {
    if (m_deleted)
        *m_deleted = true;
    // Ended first: whatever the field reports while it goes is not heard.
    m_ended = true;
    m_host = nullptr;
    if (m_field)
        m_field->Destroy();
}

RootPane* TextEditorImpl::RootOf(Pane* p) {
    if (!p)
        return nullptr;
    while (p->GetParent())
        p = p->GetParent();
    return dynamic_cast<RootPane*>(p);
}

void TextEditorImpl::Create(Pane* host, const Rect& r) {
    if (m_field || m_ended)
        return;
    RootPane* root = RootOf(host);
    const NativeWindow window = host ? host->GetNativeWindow() : nullptr;
    if (root && window)
        m_field.reset(root->NewTextField());
    if (!m_field) {
        Finish(false, String());
        return;
    }

    bool deleted = false;
    m_deleted = &deleted;
    String text;
    Ref<Font> font;
    if (m_host) {
        m_host->GetEditText(text);
        if (!deleted && m_host)
            m_host->GetEditFont(font);
    }
    if (deleted)
        return;
    m_deleted = nullptr;
    if (font)
        m_font = font;

    const Point o = host->GetAbsoluteOrigin();
    const Rect at{r.x + o.x, r.y + o.y, r.width, r.height};
    if (!m_field->Open(window, at, text, m_font.Get(), kMaxLength, this))
        Finish(false, String());
}

void TextEditorImpl::FieldEnter() {
    if (m_ended || !m_field)
        return;
    const String text = m_field->GetText();
    bool ok = !text.IsEmpty() && text.GetLength() <= kMaxLength;
    if (ok && m_host) {
        bool deleted = false;
        m_deleted = &deleted;
        ok = m_host->AcceptsEditText(text);
        if (deleted)
            return;
        m_deleted = nullptr;
        if (m_ended)
            return;
    }
    if (!ok) {
        // Nothing is cut and nothing empty is taken: the user hears it and
        // the field stays as it is.
        m_field->Refuse();
        return;
    }
    Finish(true, text);
}

void TextEditorImpl::FieldEscape() {
    if (!m_ended)
        Finish(false, String());
}

void TextEditorImpl::FieldFocusLost() {
    if (!m_ended)
        Finish(false, String());
}

void TextEditorImpl::FieldGone() {
    if (!m_ended)
        Finish(false, String());
}

void TextEditorImpl::Finish(bool accepted, const String& text) {
    if (m_ended)
        return;
    // Ended and detached before anything else: a focus loss the closing
    // field reports, before or after its destruction, finds nothing to do.
    m_ended = true;
    TextEditorHost* host = m_host;
    m_host = nullptr;
    const String committed = text;

    bool deleted = false;
    m_deleted = &deleted;
    if (m_field)
        m_field->Destroy();
    if (!deleted && host) {
        if (accepted) {
            host->CommitEdit(committed);
            if (!deleted)
                host->EditFinished();
        } else {
            host->EditCancelled();
        }
    }
    if (deleted)
        return;
    m_deleted = nullptr;
    delete this;
}

} // namespace Corvell
