#include "ui/ScrollBar.h"

#include <algorithm>

#include "shared/Graphics/GraphicsContext.h"
#include "shared/Graphics/GraphicsObjects.h"
#include "shared/Graphics/Palette.h"

namespace Corvell {

namespace {
int32_t Narrow(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }
} // namespace

ScrollBar::ScrollBar()
    : m_listeners(new MulticastDelegate1<ScrollBar*>),
      m_colors{Corvell::GetColor(1), Corvell::GetColor(2), 0, Corvell::GetColor(4), Corvell::GetColor(3), 0,
               Corvell::GetColor(2)},
      m_delayTimer(MakeDelegate(this, &ScrollBar::OnDelay)), m_repeatTimer(MakeDelegate(this, &ScrollBar::OnRepeat)) {}

ScrollBar::~ScrollBar() {
    if (!IsClosed())
        OnDestroy();
    // Stopped here too: OnDestroy may have run long ago, and the bar been
    // pressed again since.
    StopTimers();
    m_listeners->Clear();
}

void ScrollBar::OnDestroy() {
    EndGesture();
    Pane::OnDestroy();
}

void ScrollBar::SetVisible(bool visible) {
    if (!visible)
        EndGesture();
    Pane::SetVisible(visible);
}

void ScrollBar::SetEnabled(bool enabled) {
    if (!enabled)
        EndGesture();
    Pane::SetEnabled(enabled);
}

// ---- arithmetic ------------------------------------------------------------------

int32_t ScrollBar::Snap(int32_t x) const {
    const int64_t s = m_step;
    return Narrow(s * ((int64_t(x) + s - 1) / s));
}

int32_t ScrollBar::Clamp(int32_t x) const {
    if (x < m_min)
        return m_min;
    if (int64_t(x) + m_page > m_max)
        return m_max - m_page;
    return x;
}

void ScrollBar::SetRange(int32_t minimum, int32_t maximum, int32_t page, int32_t step) {
    // A step of 0 would divide by zero in every snap.
    m_step = step > 0 ? step : 1;
    m_min = minimum;
    m_max = Narrow(std::max<int64_t>(Snap(maximum), int64_t(minimum) + m_step));
    m_page = std::clamp<int64_t>(page, 0, int64_t(m_max) - m_min);
    m_position = Clamp(Snap(m_position));
    InvalidateAll();
}

void ScrollBar::SetPosition(int32_t p) {
    const int32_t to = Clamp(Snap(p));
    if (to == m_position)
        return;
    m_position = to;
    InvalidateAll();
}

void ScrollBar::EnsureVisible(int32_t a) {
    int32_t to;
    if (a < m_position)
        to = Clamp(Snap(a));
    else if (int64_t(m_position) + m_page >= int64_t(a) + m_step)
        return;
    else
        to = Clamp(Snap(Narrow(int64_t(a) + m_step - m_page)));
    m_position = to;
    PaneGuard self(this);
    if (!NotifyPosition())
        return;
    InvalidateAll();
}

bool ScrollBar::NotifyPosition() {
    PaneGuard self(this);
    if (!m_listeners->IsEmpty()) {
        Ref<MulticastDelegate1<ScrollBar*>> list = m_listeners;
        list->Invoke(this);
    }
    return self.IsAlive();
}

bool ScrollBar::MoveTo(int32_t p) {
    m_position = p;
    PaneGuard self(this);
    if (!NotifyPosition())
        return false;
    InvalidateAll();
    return self.IsAlive();
}

void ScrollBar::AddPositionListener(Ref<ScrollBarListener> l) { m_listeners->Add(std::move(l)); }

bool ScrollBar::RemovePositionListener(ScrollBarListener* l) { return m_listeners->Remove(l); }

void ScrollBar::SetColors(const Color (&colors)[kColorCount]) {
    std::copy(colors, colors + kColorCount, m_colors);
    InvalidateAll();
}

void ScrollBar::SetTrackImage(Ref<Bitmap> image) {
    m_track = std::move(image);
    InvalidateAll();
}

// ---- geometry ------------------------------------------------------------------

bool ScrollBar::IsVertical() const { return GetBounds().width < GetBounds().height; }

int32_t ScrollBar::Thickness() const { return std::min(GetBounds().width, GetBounds().height); }

int32_t ScrollBar::Length() const { return std::max(GetBounds().width, GetBounds().height); }

Rect ScrollBar::FirstArrow() const {
    const int32_t t = Thickness();
    return Rect{0, 0, t, t};
}

Rect ScrollBar::SecondArrow() const {
    const int32_t t = Thickness();
    return IsVertical() ? Rect{0, GetBounds().height - t, t, t} : Rect{GetBounds().width - t, 0, t, t};
}

int64_t ScrollBar::Track() const { return int64_t(Length()) - 2 * Thickness() + 2; }

bool ScrollBar::ThumbAtLeast() const {
    const int64_t track = Track();
    const int64_t range = int64_t(m_max) - m_min; // at least the step
    return track > kMinThumb && track * m_page / range < kMinThumb;
}

Rect ScrollBar::Thumb() const {
    const int32_t t = Thickness();
    const int64_t track = Track();
    const int64_t range = int64_t(m_max) - m_min; // at least the step
    int64_t a = std::min(track, track * (int64_t(m_position) - m_min) / range);
    int64_t b = std::min(track, track * (int64_t(m_position) + m_page - m_min) / range);
    if (ThumbAtLeast()) {
        // A long range would shrink the thumb to nothing: it keeps a length
        // to grab, and its start travels the rest of the track.
        const int64_t scrollable = range - m_page;
        a = scrollable > 0 ? (track - kMinThumb) * (int64_t(m_position) - m_min) / scrollable : 0;
        b = a + kMinThumb;
    }
    const int32_t start = Narrow(t + a - 1);
    const int32_t extent = Narrow(b - a);
    return IsVertical() ? Rect{0, start, t, extent} : Rect{start, 0, extent, t};
}

// ---- painting --------------------------------------------------------------------

void ScrollBar::Paint(GraphicsContext& gc) {
    Pane::Paint(gc);
    const Rect& b = GetBounds();
    const bool vertical = IsVertical();
    const int32_t t = Thickness();
    gc.FillRect(Rect{0, 0, b.width, b.height}, m_colors[kTrack]);
    gc.DrawRect(Rect{0, 0, b.width, b.height}, m_colors[kOuterLine]);
    if (m_track && m_track->Width() > 0)
        gc.DrawImage(vertical ? Point{1, 0} : Point{0, 1}, m_track.Get());

    const bool active = IsEnabled() && IsEffectivelyEnabled() && (CanMoveBack() || CanMoveOn());
    const Color on = m_colors[active ? kArrowOn : kArrowOff];
    auto box = [&](const Rect& r) {
        gc.FillRect(r, m_colors[kFace]);
        gc.DrawRect(r, m_colors[kOuterLine]);
        gc.DrawRect(Rect{r.x + 1, r.y + 1, r.width - 2, r.height - 2}, m_colors[kInnerLine]);
    };
    auto triangle = [&](Point p0, Point p1, Point p2, bool canMove) {
        Point pts[3] = {p0, p1, p2};
        Brush shadowBrush(m_colors[kArrowShadow]);
        Pen shadowPen(m_colors[kArrowShadow]);
        gc.FillPolygon(pts, 3, shadowBrush);
        gc.DrawPolygon(pts, 3, shadowPen);
        for (Point& p : pts)
            ++p.y;
        const Color c = canMove ? on : m_colors[kArrowOff];
        Brush brush(c);
        Pen pen(c);
        gc.FillPolygon(pts, 3, brush);
        gc.DrawPolygon(pts, 3, pen);
    };
    box(FirstArrow());
    box(SecondArrow());
    const int32_t m = (t - 2) / 2;
    if (vertical) {
        const int32_t y0 = b.height - t;
        triangle({m - 2, m + 1}, {m + 1, m - 2}, {m + 4, m + 1}, CanMoveBack());
        triangle({m - 2, y0 + m - 1}, {m + 1, y0 + m + 2}, {m + 4, y0 + m - 1}, CanMoveOn());
    } else {
        const int32_t x0 = b.width - t;
        triangle({m + 2, m - 3}, {m - 1, m}, {m + 2, m + 3}, CanMoveBack());
        triangle({x0 + m - 2, m - 3}, {x0 + m + 1, m}, {x0 + m - 2, m + 3}, CanMoveOn());
    }
    box(Thumb());
}

// ---- the mouse --------------------------------------------------------------------

int32_t ScrollBar::Stepped() const {
    const int64_t by = m_byLine ? m_step : m_page;
    return Clamp(Snap(Narrow(int64_t(m_position) + m_direction * by)));
}

void ScrollBar::OnMouseEvent(MouseEvent& e) {
    PaneGuard self(this);
    m_lastPointer = Point{e.x, e.y};
    const Point at{e.x, e.y};
    const bool vertical = IsVertical();
    switch (e.type) {
    case kMouseDown: {
        if (e.button != kButtonLeft)
            break;
        // A press while another gesture runs starts afresh.
        EndGesture();
        const Rect thumb = Thumb();
        if (thumb.Contains(at)) {
            m_dragging = true;
            m_dragStartPosition = m_position;
            m_dragStartPointer = at;
            break;
        }
        if (FirstArrow().Contains(at) || SecondArrow().Contains(at)) {
            const bool first = FirstArrow().Contains(at);
            m_direction = first ? -1 : +1;
            m_byLine = true;
            m_pressedArrow = first ? FirstArrow() : SecondArrow();
        } else {
            const int32_t along = vertical ? at.y : at.x;
            const int32_t start = vertical ? thumb.y : thumb.x;
            const int32_t extent = vertical ? thumb.height : thumb.width;
            if (along < start)
                m_direction = -1;
            else if (int64_t(along) >= int64_t(start) + extent + 1)
                m_direction = +1;
            m_byLine = false;
        }
        if (m_direction == 0)
            break;
        const int32_t to = Stepped();
        if (to == m_position) {
            m_direction = 0;
            break;
        }
        // Armed before anyone hears of the step: a listener may hide,
        // disable or delete the bar.
        m_repeating = true;
        StopTimers();
        AddTimer(m_delayTimer, kDelay);
        if (!MoveTo(to))
            return;
        break;
    }
    case kMouseDrag:
    case kMouseMove: {
        if (!m_dragging)
            break;
        const int64_t d = vertical ? int64_t(at.y) - m_dragStartPointer.y : int64_t(at.x) - m_dragStartPointer.x;
        // The thumb travels the track less its length: a kept length
        // moves over the scrollable part, a plain one over the range.
        const bool kept = ThumbAtLeast();
        const int64_t room = kept ? Track() - kMinThumb : int64_t(Length()) - 2 * Thickness();
        if (room <= 0) // nothing to drag along
            break;
        const int64_t span = kept ? int64_t(m_max) - m_min - m_page : int64_t(m_max) - m_min;
        const int64_t moved = span * d / room + m_dragStartPosition;
        const int32_t to = Narrow(std::clamp<int64_t>(moved, m_min, int64_t(m_max) - m_page));
        if (to != m_position && !MoveTo(to))
            return;
        break;
    }
    case kMouseUp: { // also the capture lost (button 0)
        if (m_dragging) {
            m_dragging = false;
            const int32_t to = Clamp(Snap(m_position));
            if (to != m_position && !MoveTo(to))
                return;
        }
        if (m_repeating || m_direction != 0) {
            StopTimers();
            m_repeating = false;
            m_direction = 0;
        }
        break;
    }
    case kMouseWheel: {
        SetPosition(Narrow(int64_t(m_step) * e.wheel + m_position));
        if (!NotifyPosition())
            return;
        break;
    }
    default:
        break;
    }
    if (self.IsAlive())
        Pane::OnMouseEvent(e);
}

void ScrollBar::OnDelay() {
    if (m_direction == 0)
        return;
    AddTimer(m_repeatTimer, kRepeat);
    RemoveTimer(m_delayTimer.Get());
    OnRepeat();
}

void ScrollBar::OnRepeat() {
    if (!m_repeating || m_direction == 0)
        return;
    if (m_byLine ? !m_pressedArrow.Contains(m_lastPointer) : Thumb().Contains(m_lastPointer))
        return;
    const int32_t to = Stepped();
    if (to != m_position)
        MoveTo(to);
}

void ScrollBar::StopTimers() {
    RemoveTimer(m_delayTimer.Get());
    RemoveTimer(m_repeatTimer.Get());
}

void ScrollBar::EndGesture() {
    StopTimers();
    m_repeating = false;
    m_direction = 0;
    m_dragging = false;
}

} // namespace Corvell
