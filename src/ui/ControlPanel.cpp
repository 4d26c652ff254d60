#include "ui/ControlPanel.h"

namespace Corvell {

ControlPanel::ControlPanel(const char* image, int32_t mode) : m_image(GetImage(image)), m_mode(mode) {}

void ControlPanel::Paint(GraphicsContext& gc) {
    Bitmap* image = m_image.Get();
    const int32_t iw = image ? image->Width() : 0, ih = image ? image->Height() : 0;
    // An empty image has no tile to step by.
    if (iw > 0 && ih > 0) {
        const Rect r = LocalBounds();
        switch (m_mode) {
        case kImageTiled:
            // Whole tiles while they fit, then one more row and column,
            // clipped, so the tiles cover the panel.
            for (int32_t y = 0; y < r.height; y += ih)
                for (int32_t x = 0; x < r.width; x += iw)
                    gc.DrawImage(Point{x, y}, image);
            break;
        case kImageStretched:
            gc.DrawImageScaled(Rect{0, 0, r.width, r.height}, image);
            break;
        default:
            gc.DrawImage(Point{0, 0}, image);
            break;
        }
    }
    Pane::Paint(gc);
}

} // namespace Corvell
