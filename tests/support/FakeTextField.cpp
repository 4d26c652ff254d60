#include "FakeTextField.h"

#include <algorithm>

namespace Corvell::Test {

void FakeTextFields::DestroyAll() {
    // Copied: each notice may delete fields.
    const std::vector<FakeTextField*> fields = live;
    for (FakeTextField* f : fields) {
        if (std::find(live.begin(), live.end(), f) != live.end() && f->IsOpen())
            f->DestroyFromOutside();
    }
}

FakeTextField::FakeTextField(FakeTextFields& hub) : m_hub(hub) {
    ++m_hub.made;
    m_hub.live.push_back(this);
}

FakeTextField::~FakeTextField() {
    Destroy();
    m_hub.live.erase(std::remove(m_hub.live.begin(), m_hub.live.end(), this), m_hub.live.end());
}

bool FakeTextField::Open(NativeWindow window, const Rect& r, const String& text, Font* font, int32_t limit,
                         Listener* listener) {
    if (m_hub.failOpen)
        return false;
    m_window = window;
    m_rect = r;
    m_text = text;
    m_font = font;
    m_limit = limit;
    m_listener = listener;
    m_open = true;
    m_allSelected = true;
    m_hub.log.push_back(std::string("Open ") + text.c_str());
    return true;
}

void FakeTextField::Refuse() {
    ++m_refusals;
    m_hub.log.push_back("Refuse");
}

void FakeTextField::Destroy() {
    // A window being destroyed is not destroyed again.
    if (!m_open || m_closing)
        return;
    m_closing = true;
    m_hub.log.push_back("Destroy");
    // Still open while the platform's notices come, as a window being destroyed is.
    for (FakeTextFields::Notice n : std::vector<FakeTextFields::Notice>(m_hub.duringDestroy))
        Send(n);
    m_open = false;
    m_listener = nullptr;
}

void FakeTextField::Send(FakeTextFields::Notice n) {
    if (!m_listener)
        return;
    if (n == FakeTextFields::kFocusLost)
        m_listener->FieldFocusLost();
    else
        m_listener->FieldGone();
}

void FakeTextField::Type(const char* text) {
    if (m_allSelected && *text)
        m_text.Empty();
    m_allSelected = false;
    for (const char* p = text; *p; ++p) {
        if (m_text.GetLength() >= m_limit)
            return;
        m_text += *p;
    }
}

void FakeTextField::Erase(int n) {
    if (m_allSelected)
        n = m_text.GetLength();
    m_allSelected = false;
    m_text = m_text.Left(std::max(0, m_text.GetLength() - n));
}

void FakeTextField::PressEnter() {
    if (m_open && m_listener)
        m_listener->FieldEnter();
}

void FakeTextField::PressEscape() {
    if (m_open && m_listener)
        m_listener->FieldEscape();
}

void FakeTextField::LoseFocus() {
    if (m_open && m_listener)
        m_listener->FieldFocusLost();
}

void FakeTextField::DestroyFromOutside() {
    if (!m_open)
        return;
    m_hub.log.push_back("Gone");
    Listener* l = m_listener;
    m_open = false;
    m_listener = nullptr;
    if (l)
        l->FieldGone();
}

} // namespace Corvell::Test
