#include "ui/GrayPane.h"

#include "shared/Graphics/GraphicsContext.h"

namespace Corvell {

GrayPane::GrayPane(Color color) : m_color(color) {}

void GrayPane::Paint(GraphicsContext& gc) {
    const Rect r = LocalBounds();
    gc.FillRect(r, m_color);
    gc.DrawRect(r, kOutline);
    Pane::Paint(gc);
}

} // namespace Corvell
