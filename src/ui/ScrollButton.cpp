#include "ui/ScrollButton.h"

#include <algorithm>
#include <utility>

#include "shared/Graphics/GraphicsContext.h"

namespace Corvell {

ScrollButton::ScrollButton()
    : m_listeners(new ScrollButtonListenerList), m_delayTimer(MakeDelegate(this, &ScrollButton::OnDelay)),
      m_repeatTimer(MakeDelegate(this, &ScrollButton::OnRepeat)) {}

ScrollButton::~ScrollButton() {
    // The base destructor can only reach Pane::OnDestroy.
    if (!IsClosed())
        OnDestroy();
    // Stopped here too: OnDestroy may have run long ago, and the timers
    // hold delegates bound to this button.
    StopRepeat();
    m_listeners->Clear();
}

void ScrollButton::OnDestroy() {
    StopRepeat();
    Pane::OnDestroy();
}

void ScrollButton::SetVisible(bool visible) {
    if (!visible)
        StopRepeat();
    Pane::SetVisible(visible);
}

void ScrollButton::SetEnabled(bool enabled) {
    if (!enabled)
        StopRepeat();
    Pane::SetEnabled(enabled);
}

void ScrollButton::SetRange(int32_t minimum, int32_t maximum) {
    m_min = std::min(minimum, maximum);
    m_max = std::max(minimum, maximum);
    m_value = std::clamp(m_value, m_min, m_max);
}

void ScrollButton::SetValue(int32_t value) { m_value = std::clamp(value, m_min, m_max); }

void ScrollButton::SetColors(Color active, Color inactive) {
    m_active = active;
    m_inactive = inactive;
}

void ScrollButton::AddValueListener(Ref<ScrollButtonListener> l) { m_listeners->Add(std::move(l)); }

bool ScrollButton::RemoveValueListener(ScrollButtonListener* l) { return m_listeners->Remove(l); }

bool ScrollButton::UpperCanAct() const { return m_inverted ? m_value > m_min : m_value < m_max; }

bool ScrollButton::LowerCanAct() const { return m_inverted ? m_value < m_max : m_value > m_min; }

// ---- painting -------------------------------------------------------------------

void ScrollButton::Paint(GraphicsContext& gc) {
    Pane::Paint(gc);
    if (!m_arrowsLoaded) {
        m_arrowsLoaded = true;
        m_arrows = GetImage("up-down-arrows");
    }
    const Rect& b = GetBounds();
    // A disabled button (or one inside a disabled pane) has no arrow that can act.
    const bool enabled = IsEffectivelyEnabled();
    const bool upper = enabled && UpperCanAct();
    const bool lower = enabled && LowerCanAct();

    Bitmap* image = m_arrows.Get();
    if (image && image->Width() > 1 && image->Height() > 1) {
        const int32_t cw = image->Width() / 2;
        const int32_t ch = image->Height() / 2;
        const int32_t x = (b.width - cw + 2) / 2;
        gc.DrawImage(Point{x, 3}, image, Rect{upper ? 0 : cw, 0, cw, ch});
        gc.DrawImage(Point{x, b.height - ch - 3}, image, Rect{lower ? 0 : cw, ch, cw, ch});
        return;
    }

    const bool anyCanAct = upper || lower;
    const int32_t m = b.height / 2;
    const int32_t n = (b.height + 1) / 2;
    const Point up[3] = {{b.width - 7, m - 2}, {b.width - 4, m - 5}, {b.width - 1, m - 2}};
    const Point down[3] = {{b.width - 7, n + 2}, {b.width - 4, n + 5}, {b.width - 1, n + 2}};
    auto triangle = [&](const Point* p, bool canAct) {
        const Color c = canAct && anyCanAct ? m_active : m_inactive;
        Brush brush(c);
        Pen pen(c);
        gc.FillPolygon(p, 3, brush);
        gc.DrawPolygon(p, 3, pen);
    };
    triangle(up, upper);
    triangle(down, lower);
}

// ---- the press --------------------------------------------------------------------

void ScrollButton::OnMouseEvent(MouseEvent& e) {
    PaneGuard self(this);
    switch (e.type) {
    case kMouseDown: {
        // A press while another one repeats starts afresh.
        StopRepeat();
        const bool lowerHalf = e.y > GetBounds().height / 2;
        const int32_t direction = lowerHalf != m_inverted ? -1 : +1;
        const bool canMove = direction > 0 ? m_value < m_max : m_value > m_min;
        if (canMove) {
            // The press is recorded before anyone hears of the step: a
            // listener may hide, disable or delete the button.
            m_direction = direction;
            AddTimer(m_delayTimer, kDelay);
            if (!Step())
                return;
        }
        break;
    }
    case kMouseUp:   // also the capture lost (button 0)
    case kMouseLeave:
        StopRepeat();
        break;
    default:
        break;
    }
    if (self.IsAlive())
        Pane::OnMouseEvent(e);
}

bool ScrollButton::Step() {
    if (m_direction > 0 ? m_value >= m_max : m_value <= m_min)
        return true;
    m_value += m_direction;
    PaneGuard self(this);
    // Held here too: the list must outlive a listener that deletes the button.
    Ref<ScrollButtonListenerList> list = m_listeners;
    list->Invoke(this);
    return self.IsAlive();
}

void ScrollButton::OnDelay() {
    RemoveTimer(m_delayTimer.Get());
    if (m_direction == 0)
        return;
    m_repeating = true;
    AddTimer(m_repeatTimer, kRepeat);
    OnRepeat();
}

void ScrollButton::OnRepeat() {
    if (!m_repeating || m_direction == 0)
        return;
    // Hidden or disabled above the button while it is held.
    if (!IsShowing() || !IsEffectivelyEnabled()) {
        StopRepeat();
        return;
    }
    Step();
}

void ScrollButton::StopRepeat() {
    m_direction = 0;
    m_repeating = false;
    RemoveTimer(m_delayTimer.Get());
    RemoveTimer(m_repeatTimer.Get());
}

} // namespace Corvell
