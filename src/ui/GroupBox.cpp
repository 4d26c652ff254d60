#include "ui/GroupBox.h"

#include "shared/Graphics/GraphicsContext.h"
#include "shared/Graphics/Palette.h"

namespace Corvell {

void GroupBox::Paint(GraphicsContext& gc) {
    gc.DrawRect(LocalBounds(), GetColor(3));
    Pane::Paint(gc);
}

} // namespace Corvell
