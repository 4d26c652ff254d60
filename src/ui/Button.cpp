#include "ui/Button.h"

#include <cstring>

#include <utility>

#include "shared/Graphics/GraphicsObjects.h"
#include "shared/Graphics/Palette.h"

namespace Corvell {

// ---- press observers ------------------------------------------------------------

NotifyListenerFanOut::NotifyListenerFanOut(Ref<NotifyListener> first, Ref<NotifyListener> second)
    : m_first(std::move(first)), m_second(std::move(second)) {}

void NotifyListenerFanOut::Pressed(Button* button) {
    if (m_first)
        m_first->Pressed(button);
    if (m_second)
        m_second->Pressed(button);
}

void NotifyListenerFanOut::Released(Button* button) {
    if (m_first)
        m_first->Released(button);
    if (m_second)
        m_second->Released(button);
}

Ref<NotifyListener> NotifyListenerFanOut::Combine(Ref<NotifyListener> current, Ref<NotifyListener> l) {
    if (!l)
        return current;
    if (!current)
        return l;
    return Ref<NotifyListener>(new NotifyListenerFanOut(std::move(current), std::move(l)));
}

Ref<NotifyListener> NotifyListenerFanOut::Without(Ref<NotifyListener> current, NotifyListener* l) {
    if (!current || !l)
        return current;
    if (current.Get() == l || current->Equals(l))
        return nullptr;
    auto* fan = dynamic_cast<NotifyListenerFanOut*>(current.Get());
    if (!fan)
        return current;
    Ref<NotifyListener> a = Without(fan->m_first, l);
    Ref<NotifyListener> b = Without(fan->m_second, l);
    if (a.Get() == fan->m_first.Get() && b.Get() == fan->m_second.Get())
        return current;
    if (!a)
        return b;
    if (!b)
        return a;
    return Ref<NotifyListener>(new NotifyListenerFanOut(std::move(a), std::move(b)));
}

// ---- Button ---------------------------------------------------------------------

namespace {
Ref<ButtonListenerList> NewList() { return Ref<ButtonListenerList>(new ButtonListenerList); }
} // namespace

Button::Button() : m_moreListeners(NewList()), m_clickListeners(NewList()) {}

Button::~Button() {
    if (!IsClosed())
        OnDestroy();
    // A press begun after an earlier Close, or one whose click listener
    // deletes the button, ends here.
    EndGesture();
    // A list still running (a listener deleted this button) calls no one after this.
    m_clickListeners->Clear();
    m_moreListeners->Clear();
}

void Button::OnDestroy() {
    Pane::OnDestroy();
    CancelPress();
}

void Button::SetVisible(bool visible) {
    PaneGuard self(this);
    Pane::SetVisible(visible);
    if (!visible && self.IsAlive())
        CancelPress();
}

void Button::SetEnabled(bool enabled) {
    PaneGuard self(this);
    Pane::SetEnabled(enabled);
    if (!enabled && self.IsAlive())
        CancelPress();
}

bool Button::IsPressed() const { return (m_buttonFlags & kStateMask) == kStateMask; }

bool Button::IsOn() const { return false; }

void Button::OnPressStateChanged() {}

void Button::GetCaptionRect(Rect& out) const {
    const Rect& b = GetBounds();
    if (m_buttonFlags & kInset)
        out = Rect{2, IsHeld() ? 3 : 2, b.width - 4, b.height - 4};
    else
        out = Rect{0, 0, b.width, b.height};
}

void Button::OnMouseEvent(MouseEvent& e) {
    PaneGuard self(this);
    const Point at{e.x, e.y};
    switch (e.type) {
    case kMouseEnter:
        m_pointerOver = true;
        UpdateHover();
        break;
    case kMouseLeave:
        m_pointerOver = false;
        UpdateHover();
        break;
    case kMouseDrag:
        if (IsHeld()) {
            m_insideWhileHeld = Contains(at);
            UpdateHover();
        }
        break;
    case kMouseDown:
        // A second press without the release of the first (its message was
        // lost) continues the press that is open.
        if (e.button == kButtonLeft && !IsHeld() && IsShowing() && IsEffectivelyEnabled()) {
            m_insideWhileHeld = true;
            SetHeld(true);
            if (self.IsAlive())
                BeginGesture();
        }
        break;
    case kMouseUp:
        if (e.button == kButtonLeft) {
            // A release whose press went elsewhere (a popup, a menu) is not ours.
            if (!IsHeld())
                break;
            // Over the button, and not hidden or disabled through an ancestor
            // during the press.
            const bool click = IsHovered() && Contains(at) && IsShowing() && IsEffectivelyEnabled();
            SetHeld(false);
            if (!self.IsAlive())
                return;
            if (click) {
                // A listener that hides or closes the button does not end
                // the press ahead of the listeners after it.
                m_releasing = true;
                FireClick(kButtonLeft);
                if (!self.IsAlive())
                    return;
                m_releasing = false;
            }
            EndGesture();
        } else if (IsHeld() && !(e.buttons & kHeldLeft)) {
            // The left button is up and its release never came here (the
            // capture was taken away): end the press without a click.
            CancelPress();
        }
        break;
    default:
        break;
    }
    if (self.IsAlive())
        Pane::OnMouseEvent(e);
}

void Button::Paint(GraphicsContext& gc) {
    Pane::Paint(gc);
    PaintCaption(gc);
}

namespace {
bool SameFont(const FontDesc& a, const FontDesc& b) {
    return a.height == b.height && a.weight == b.weight && a.italic == b.italic && a.underline == b.underline &&
           a.escapement == b.escapement && a.orientation == b.orientation && a.quality == b.quality &&
           std::strncmp(a.face, b.face, sizeof a.face) == 0;
}
} // namespace

void Button::PaintCaption(GraphicsContext& gc) {
    if (m_caption.IsEmpty())
        return;
    const uint32_t flags = m_buttonFlags;
    const bool pressed = IsPressed();
    const bool bold = (pressed && (flags & kBoldWhenPressed)) || (flags & kBold);

    // Derived from the context's font; without one the surface's font draws.
    Ref<Font> font;
    Font* current = gc.GetFont();
    if (current && ((flags & kOwnFont) || bold)) {
        FontDesc desc = current->Desc();
        if (flags & kOwnFont) {
            desc.ApplySize(m_fontSize, m_fontUnit, GetGraphicsBackend().ScreenDpiY());
            desc.weight = bold ? 700 : 400;
        } else {
            desc.weight = 700;
        }
        if (!m_captionFont || !SameFont(m_captionFont->Desc(), desc))
            m_captionFont = new Font(desc);
        font = m_captionFont;
    }
    auto draw = [&](const Rect& r) {
        if (font)
            gc.DrawText(m_caption.c_str(), r, GetTextFormat(), *font);
        else
            gc.DrawText(m_caption.c_str(), r, GetTextFormat());
    };

    Rect r;
    GetCaptionRect(r);
    const Color saved = gc.GetTextColor();
    if (flags & kShadow) {
        gc.SetTextColor(m_disabledColor);
        draw(Rect{r.x, r.y - 1, r.width, r.height});
    }
    Color color;
    if (!IsEffectivelyEnabled())
        color = (flags & kOwnDisabledColor) ? m_disabledColor : GetColor(2);
    else if (pressed)
        color = (flags & kOwnPressedColor) ? m_pressedColor : GetColor(10);
    else
        color = (flags & kOwnNormalColor) ? m_normalColor : GetColor(1);
    gc.SetTextColor(color);
    draw(r);
    gc.SetTextColor(saved);
}

void Button::SetCaption(const String& caption) {
    m_caption = caption;
    InvalidateAll();
}

void Button::SetFontSize(float size, int32_t unit) {
    m_fontSize = size;
    m_fontUnit = unit;
    m_buttonFlags |= kOwnFont;
    InvalidateAll();
}

void Button::SetTextColors(Color normal, Color pressed, Color disabled) {
    m_normalColor = normal;
    m_pressedColor = pressed;
    m_disabledColor = disabled;
    m_buttonFlags |= kOwnNormalColor | kOwnPressedColor | kOwnDisabledColor;
    InvalidateAll();
}

void Button::SetNormalTextColor(Color c) {
    m_normalColor = c;
    m_buttonFlags |= kOwnNormalColor;
    InvalidateAll();
}

void Button::SetPressedTextColor(Color c) {
    m_pressedColor = c;
    m_buttonFlags |= kOwnPressedColor;
    InvalidateAll();
}

void Button::SetDisabledTextColor(Color c) {
    m_disabledColor = c;
    m_buttonFlags |= kOwnDisabledColor;
    InvalidateAll();
}

void Button::SetTextFormat(uint32_t format) {
    m_buttonFlags = (m_buttonFlags & ~uint32_t(kFormatMask)) | ((format << kFormatShift) & kFormatMask);
    InvalidateAll();
}

void Button::SetButtonFlags(uint32_t mask) {
    m_buttonFlags |= mask & ~uint32_t(kStateMask);
    InvalidateAll();
}

void Button::ClearButtonFlags(uint32_t mask) {
    m_buttonFlags &= ~(mask & ~uint32_t(kStateMask));
    InvalidateAll();
}

void Button::AddClickListener(Ref<ButtonListener> l) { m_clickListeners->Add(std::move(l)); }

bool Button::RemoveClickListener(ButtonListener* l) { return m_clickListeners->Remove(l); }

void Button::SetPressObserver(Ref<NotifyListener> observer) {
    m_pressObserver = NotifyListenerFanOut::Combine(std::move(m_pressObserver), std::move(observer));
}

void Button::RemovePressObserver(NotifyListener* observer) {
    m_pressObserver = NotifyListenerFanOut::Without(std::move(m_pressObserver), observer);
}

void Button::FireClick(int32_t mouseButton) {
    // Held here too: the list must outlive a listener that deletes the button.
    Ref<ButtonListenerList> list = m_clickListeners;
    if (!list->IsEmpty())
        list->Invoke(ButtonListenerArgs{this, mouseButton});
}

void Button::BeginGesture() {
    if (m_gestureOpen)
        return;
    m_gestureOpen = true;
    m_gestureObserver = m_pressObserver;
    if (Ref<NotifyListener> o = m_gestureObserver)
        o->Pressed(this);
}

void Button::EndGesture() {
    if (!m_gestureOpen)
        return;
    m_gestureOpen = false;
    Ref<NotifyListener> o = std::move(m_gestureObserver);
    if (o)
        o->Released(this);
}

void Button::CancelPress() {
    PaneGuard self(this);
    SetHeld(false);
    if (self.IsAlive() && !m_releasing)
        EndGesture();
}

void Button::SetHeld(bool held) { ApplyState(held); }

void Button::UpdateHover() { ApplyState(IsHeld()); }

void Button::ApplyState(bool held) {
    // While held, the pointer's place counts too: the root reports a
    // captured pane's crossings only after it has seen the pointer inside
    // once, so a press that leaves at once gets no MouseLeave.
    const bool hover = m_pointerOver && (!held || m_insideWhileHeld);
    const uint32_t next = (m_buttonFlags & ~uint32_t(kStateMask)) | (held ? uint32_t(kHeld) : 0u) |
                          (hover ? uint32_t(kHover) : 0u);
    if (next == m_buttonFlags)
        return;
    m_buttonFlags = next;
    InvalidateAll();
    OnPressStateChanged();
}

} // namespace Corvell
