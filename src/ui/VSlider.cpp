#include "ui/VSlider.h"

namespace Corvell {

namespace {
constexpr const char* kThumb = "slider-thumb-sm-v.png";
constexpr const char* kFallbackThumb = "sliderThumbV.png";
constexpr const char* kTrack = "sliderSlotV.png";
} // namespace

VSlider::VSlider() : VSlider(kThumb, 2) {}

VSlider::VSlider(const char* thumbName, int32_t frames) {
    LoadThumb(thumbName, frames, kFallbackThumb);
    SetTrackImage(GetImage(kTrack));
}

void VSlider::Paint(GraphicsContext& gc) {
    const Rect& b = GetBounds();
    if (HasTrack()) {
        Bitmap* track = GetTrackImage();
        const int32_t x = (b.width - track->Width()) / 2;
        std::vector<TrackPiece> pieces;
        TrackPieces(b.height, track->Height(), pieces);
        for (const TrackPiece& p : pieces)
            gc.DrawImage(Point{x, p.at}, track, Rect{0, p.from, track->Width(), p.length});
    }
    if (HasThumb()) {
        const int32_t w = ThumbFrameWidth();
        const int32_t h = ThumbHeight();
        const int32_t span = b.height - h;
        // The maximum at the top; an empty range centres the thumb.
        const int32_t y = GetMinimum() == GetMaximum() ? span / 2 : span - OffsetOf(GetValue(), span);
        const Point at{(b.width - w) / 2, y};
        gc.DrawImage(at, GetThumbImage(), Rect{ThumbFrameIndex() * w, 0, w, h});
    }
}

} // namespace Corvell
