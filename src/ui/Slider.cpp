#include "ui/Slider.h"

#include <algorithm>
#include <utility>

namespace Corvell {

Slider::Slider() { m_thumb = GetImage("sliderThumb.png"); }

Slider::~Slider() {
    // The base destructor can only reach Pane::OnDestroy.
    if (!IsClosed())
        OnDestroy();
    // A drag opened after the slider was closed.
    EndDrag();
}

// ---- Pane ----------------------------------------------------------------------

void Slider::Create(Pane* parent, const Rect& bounds) {
    Pane::Create(parent, bounds);
    Bind();
}

void Slider::OnDestroy() {
    if (!EndDrag())
        return;
    Pane::OnDestroy();
}

void Slider::SetVisible(bool visible) {
    PaneGuard self(this);
    Pane::SetVisible(visible);
    if (self.IsAlive() && !visible)
        EndDrag();
}

void Slider::SetEnabled(bool enabled) {
    PaneGuard self(this);
    Pane::SetEnabled(enabled);
    if (self.IsAlive() && !enabled)
        EndDrag();
}

void Slider::OnMouseEvent(MouseEvent& e) {
    PaneGuard self(this);
    switch (e.type) {
    case kMouseDown:
        if (e.button == kButtonLeft && !e.IsControlDown())
            BeginDrag(e);
        break;
    case kMouseDrag:
        // Only a drag this slider saw begin moves it.
        if (m_dragging && (e.buttons & kHeldLeft))
            DragTo(e);
        break;
    case kMouseUp:
        Release(e);
        break;
    default:
        break;
    }
    if (self.IsAlive())
        Pane::OnMouseEvent(e);
}

// ---- the gesture -----------------------------------------------------------------

void Slider::BeginDrag(const MouseEvent& e) {
    PaneGuard self(this);
    // A press while a drag is open (its release never came): close that one first.
    if (m_dragging && !EndDrag())
        return;
    m_grab = AxisCoordinate(Point{e.x, e.y});
    m_valueAtGrab = m_value;
    // Marked before anyone hears of it, so whatever ends the slider from
    // here on also closes the edit.
    m_dragging = true;
    m_editSite = m_site;
    m_editId = m_siteId;
    if (m_editSite) {
        m_editSite->BeginEdit(m_editId);
        if (!self.IsAlive())
            return;
    }
    if (!Notify(&RangeControlListener::Begin))
        return;
    RequestFocus(this);
    if (!self.IsAlive())
        return;
    InvalidateAll();
}

void Slider::DragTo(const MouseEvent& e) {
    if (!IsShowing() || !IsEffectivelyEnabled()) {
        // Hidden or disabled above the slider while the button is down.
        EndDrag();
        return;
    }
    if (!Apply(ValueAt(AxisCoordinate(Point{e.x, e.y}))))
        return;
    Notify(&RangeControlListener::Changed);
}

void Slider::Release(const MouseEvent& e) {
    // Button 0: the capture was lost, which ends the drag without a click.
    if (e.button != kButtonLeft && e.button != kButtonNone)
        return;
    const bool reset = e.button == kButtonLeft && e.IsControlDown();
    if (!EndDrag())
        return;
    if (reset)
        ResetToDefault();
}

bool Slider::EndDrag() {
    if (!m_dragging)
        return true;
    // Bookkeeping first: a listener may delete the slider or come back here.
    m_dragging = false;
    m_grab = kNoGrab;
    ControlSite* site = m_editSite;
    const int32_t id = m_editId;
    m_editSite = nullptr;
    InvalidateAll();
    PaneGuard self(this);
    if (site) {
        site->EndEdit(id);
        if (!self.IsAlive())
            return false;
    }
    return Notify(&RangeControlListener::End);
}

void Slider::ResetToDefault() {
    PaneGuard self(this);
    const int32_t value = Clamp(m_default);
    if (ControlSite* site = m_site) {
        // The site hears the whole edit even if the slider goes meanwhile.
        const int32_t id = m_siteId;
        site->BeginEdit(id);
        site->SetValue(id, value);
        site->EndEdit(id);
        if (!self.IsAlive())
            return;
    } else {
        SetValue(value);
        InvalidateAll();
    }
    if (!Notify(&RangeControlListener::Begin))
        return;
    if (!Notify(&RangeControlListener::Changed))
        return;
    Notify(&RangeControlListener::End);
}

bool Slider::Apply(int32_t value) {
    value = Clamp(value);
    if (ControlSite* site = m_site) {
        // The site's notification brings the value back through Refresh.
        PaneGuard self(this);
        site->SetValue(m_siteId, value);
        return self.IsAlive();
    }
    SetValue(value);
    InvalidateAll();
    return true;
}

void Slider::StepBy(int32_t delta) {
    if (!Apply(Clamp(int64_t(m_value) + delta)))
        return;
    Notify(&RangeControlListener::Changed);
}

bool Slider::Notify(void (RangeControlListener::*fn)(RangeControl*)) {
    return NotifyRangeListeners(this, this, m_listener, {fn});
}

// ---- RangeControl -------------------------------------------------------------------

int32_t Slider::Clamp(int64_t value) const { return int32_t(std::clamp<int64_t>(value, m_min, m_max)); }

void Slider::SetValue(int32_t value) {
    value = Clamp(value);
    if (value == m_value)
        return;
    m_value = value;
    InvalidateAll();
}

void Slider::SetRange(int32_t minimum, int32_t maximum) {
    if (minimum > maximum)
        std::swap(minimum, maximum);
    int64_t value;
    if (m_max == m_min) {
        value = minimum + (int64_t(maximum) - minimum) / 2;
    } else {
        // Every term is below 2^32, so the product fits in 64 unsigned bits.
        const uint64_t at = uint64_t(int64_t(Clamp(m_value)) - m_min);
        const uint64_t span = uint64_t(int64_t(maximum) - minimum);
        const uint64_t old = uint64_t(int64_t(m_max) - m_min);
        value = minimum + int64_t(at * span / old);
    }
    m_min = minimum;
    m_max = maximum;
    m_value = Clamp(value);
    InvalidateAll();
}

void Slider::AddListener(RangeControlListener* l) { m_listener = RangeControlMulticaster::Add(m_listener, l); }

void Slider::RemoveListener(RangeControlListener* l) {
    m_listener = RangeControlMulticaster::Remove(m_listener, l);
}

// ---- binding ---------------------------------------------------------------------------

void Slider::SetAdapter(ControlSite* site, int32_t id) {
    if (site == m_site && id == m_siteId)
        return;
    if (!EndDrag())
        return;
    m_site = site;
    m_siteId = id;
}

void Slider::Refresh() {
    if (!m_site)
        return;
    const int32_t value = m_site->GetValue(m_siteId);
    if (value != m_value)
        SetValue(value);
}

void Slider::Bind() {
    if (!m_site)
        return;
    ControlInfo info;
    m_site->GetInfo(m_siteId, &info);
    SetRange(info.minimum, info.maximum);
    SetDefault(info.defaultValue);
    SetValue(m_site->GetValue(m_siteId));
}

// ---- geometry --------------------------------------------------------------------------

int32_t Slider::AxisCoordinate(Point p) const { return p.x; }

int32_t Slider::ValueAt(int32_t) const { return m_dragging ? m_valueAtGrab : m_value; }

int32_t Slider::DragSpan() const { return 0; }

int32_t Slider::ValueFromTravel(int64_t travel) const {
    if (!m_dragging)
        return m_value;
    const int64_t span = DragSpan();
    if (span <= 0)
        return m_valueAtGrab;
    // Beyond a whole span the value is at a bound anyway; cut there, so
    // the product below stays inside 64 bits.
    travel = std::clamp<int64_t>(travel, -span, span);
    return Clamp(int64_t(m_valueAtGrab) + travel * (int64_t(m_max) - m_min) / span);
}

int32_t Slider::OffsetOf(int32_t value, int32_t span) const {
    if (m_max == m_min)
        return span / 2;
    return int32_t((int64_t(Clamp(value)) - m_min) * span / (int64_t(m_max) - m_min));
}

void Slider::SetThumbImage(Ref<Bitmap> image, int32_t frames) {
    m_thumb = std::move(image);
    m_thumbFrames = std::max(frames, 1);
}

void Slider::LoadThumb(const char* name, int32_t frames, const char* fallback) {
    frames = std::max(frames, 1);
    Ref<Bitmap> image = GetImage(name);
    if (!image || image->Width() / frames <= 0 || image->Height() <= 0) {
        image = GetImage(fallback);
        frames = 1;
    }
    SetThumbImage(std::move(image), frames);
}

bool Slider::HasThumb() const { return m_thumb && m_thumb->Width() / m_thumbFrames > 0 && m_thumb->Height() > 0; }

bool Slider::HasTrack() const { return m_track && m_track->Width() > 0 && m_track->Height() > 0; }

int32_t Slider::ThumbFrameWidth() const { return HasThumb() ? m_thumb->Width() / m_thumbFrames : kDefaultThumbSize; }

int32_t Slider::ThumbHeight() const { return HasThumb() ? m_thumb->Height() : kDefaultThumbSize; }

int32_t Slider::ThumbFrameIndex() const { return m_dragging && m_thumbFrames >= 2 ? 1 : 0; }

void Slider::TrackPieces(int32_t extent, int32_t image, std::vector<TrackPiece>& out) {
    if (extent <= 0 || image <= 0)
        return;
    if (image == extent) {
        out.push_back(TrackPiece{0, 0, extent});
        return;
    }
    if (image > extent) {
        const int32_t first = extent / 2;
        const int32_t second = extent - first;
        if (first > 0)
            out.push_back(TrackPiece{0, 0, first});
        out.push_back(TrackPiece{first, image - second, second});
        return;
    }
    // Shorter than the slider. An image under 3 px has no middle third:
    // its first pixel is repeated instead, so the walk always advances.
    const int32_t third = image / 3;
    const int32_t step = std::max(third, 1);
    const int32_t lastFrom = 2 * third;
    const int32_t lastLength = image - lastFrom;
    const int32_t lastAt = extent - lastLength;
    if (third > 0)
        out.push_back(TrackPiece{0, 0, third});
    for (int32_t at = third; at < lastAt; at += step)
        out.push_back(TrackPiece{at, third, std::min(step, lastAt - at)});
    out.push_back(TrackPiece{lastAt, lastFrom, lastLength});
}

} // namespace Corvell
