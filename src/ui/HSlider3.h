#pragma once
#include "ui/HSlider0.h"

namespace Corvell {

// A wide horizontal slider drawn with lines, no images: a track line with
// end ticks, a tick at the default value, and a thumb 5 px wide. The
// pointer crosses the range over the track's own span (width - 7), so the
// thumb stays under the pointer while dragging.
class HSlider3 : public HSlider0 {
public:
    static constexpr int32_t kTrackStart = 3;
    static constexpr int32_t kThumbWidth = 5;

    void Paint(GraphicsContext& gc) override;
    int32_t DragSpan() const override;

    // Where the value sits along the track (x, local coordinates).
    int32_t PositionOf(int32_t value) const;
    // The row of the track line.
    int32_t TrackRow() const;
};

} // namespace Corvell
