#include "ui/HSlider.h"

namespace Corvell {

namespace {
constexpr const char* kThumb = "slider-thumb-sm-h.png";
constexpr const char* kFallbackThumb = "sliderThumbH.png";
constexpr const char* kTrack = "sliderSlotH.png";
} // namespace

HSlider::HSlider() : HSlider(kThumb, 2) {}

HSlider::HSlider(const char* thumbName, int32_t frames) {
    LoadThumb(thumbName, frames, kFallbackThumb);
    SetTrackImage(GetImage(kTrack));
}

void HSlider::Paint(GraphicsContext& gc) {
    const Rect& b = GetBounds();
    if (HasTrack()) {
        Bitmap* track = GetTrackImage();
        const int32_t y = (b.height - track->Height()) / 2;
        std::vector<TrackPiece> pieces;
        TrackPieces(b.width, track->Width(), pieces);
        for (const TrackPiece& p : pieces)
            gc.DrawImage(Point{p.at, y}, track, Rect{p.from, 0, p.length, track->Height()});
    }
    if (HasThumb()) {
        const int32_t w = ThumbFrameWidth();
        const int32_t h = ThumbHeight();
        const Point at{OffsetOf(GetValue(), b.width - w), (b.height - h) / 2};
        gc.DrawImage(at, GetThumbImage(), Rect{ThumbFrameIndex() * w, 0, w, h});
    }
}

} // namespace Corvell
