#include "ui/ColorPane.h"

#include "shared/Graphics/GraphicsContext.h"

namespace Corvell {

ColorPane::ColorPane(Color color) : m_color(color) {}

void ColorPane::Paint(GraphicsContext& gc) {
    gc.FillRect(LocalBounds(), m_color);
    Pane::Paint(gc); // a paint hook draws on top of the background
}

} // namespace Corvell
