#include "ui/HSlider3.h"

#include "shared/Graphics/Palette.h"

namespace Corvell {

int32_t HSlider3::DragSpan() const { return GetBounds().width - 2 * kTrackStart - 1; }

int32_t HSlider3::PositionOf(int32_t value) const { return OffsetOf(value, DragSpan()) + kTrackStart; }

int32_t HSlider3::TrackRow() const {
    const int32_t odd = GetBounds().height | 1; // rounded up to odd
    return odd / 2 - 1;
}

void HSlider3::Paint(GraphicsContext& gc) {
    const Color color = GetColor(IsEffectivelyEnabled() ? 1 : 2);
    const int32_t g = TrackRow();
    const int32_t first = kTrackStart;
    const int32_t last = GetBounds().width - kTrackStart - 1;
    auto tick = [&](int32_t x) { gc.DrawLine(Point{x, g + 3}, Point{x, g - 2}, color); };

    // A line leaves out its end point: the track covers first..last.
    gc.DrawLine(Point{first, g}, Point{last + 1, g}, color);
    tick(first);
    tick(last);
    // The default's position may lie outside the range: compared, never clamped.
    const int64_t d = GetMinimum() == GetMaximum()
                          ? int64_t(first) + DragSpan() / 2
                          : first + (int64_t(GetDefault()) - GetMinimum()) * DragSpan() /
                                        (int64_t(GetMaximum()) - GetMinimum());
    if (d > first && d < last)
        tick(int32_t(d));
    const int32_t x = PositionOf(GetValue());
    gc.FillRect(Rect{x - kThumbWidth / 2, g - 4, kThumbWidth, 9}, color);
}

} // namespace Corvell
