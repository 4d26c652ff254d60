#include "ui/HorizontalSeparator.h"

#include "shared/Graphics/GraphicsContext.h"
#include "shared/Graphics/Palette.h"

namespace Corvell {

void HorizontalSeparator::Paint(GraphicsContext& gc) {
    const Rect& b = GetBounds();
    const int32_t y = b.height / 2;
    const int32_t inset = b.width < 5 ? 0 : 2;
    // The end point is not drawn: the line stops one short of width - inset.
    gc.DrawLine(Point{inset, y}, Point{b.width - inset, y}, GetColor(2));
    Pane::Paint(gc);
}

} // namespace Corvell
