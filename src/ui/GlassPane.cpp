#include "ui/GlassPane.h"

#include "shared/Graphics/GraphicsContext.h"

#include <algorithm>
#include <utility>

namespace Corvell {

GlassPane::GlassPane(Ref<Bitmap> image) : m_image(std::move(image)) {}

GlassPane::GlassPane(const char* imageName) : m_image(GetImage(imageName)) {}

void GlassPane::SetGlassImage(Ref<Bitmap> image) {
    m_image = std::move(image);
    InvalidateAll();
}

void GlassPane::Paint(GraphicsContext& gc) {
    PaintGlass(gc);
    Pane::Paint(gc);
}

void GlassPane::PaintGlass(GraphicsContext& gc) {
    Bitmap* image = m_image.Get();
    if (!image)
        return;
    const int32_t iw = image->Width();
    const int32_t w = GetBounds().width;
    const int32_t h = std::min(GetBounds().height, image->Height());
    if (iw <= 0 || w <= 0 || h <= 0)
        return;
    if (w == iw) {
        gc.DrawImage(Point{0, 0}, image, Rect{0, 0, iw, h});
    } else if (w < iw) {
        const int32_t left = w / 2;
        const int32_t right = w - left;
        if (left > 0)
            gc.DrawImage(Point{0, 0}, image, Rect{0, 0, left, h});
        gc.DrawImage(Point{left, 0}, image, Rect{iw - right, 0, right, h});
    } else {
        const int32_t edge = iw / 4; // leaves a middle of at least one pixel
        if (edge > 0) {
            gc.DrawImage(Point{0, 0}, image, Rect{0, 0, edge, h});
            gc.DrawImage(Point{w - edge, 0}, image, Rect{iw - edge, 0, edge, h});
        }
        image->DrawScaled(gc, Rect{edge, 0, w - 2 * edge, h}, Rect{edge, 0, iw - 2 * edge, h});
    }
}

} // namespace Corvell
