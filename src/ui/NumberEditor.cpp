#include "ui/NumberEditor.h"

#include "shared/Graphics/GraphicsContext.h"

namespace Corvell {

void NumberEditor::PaintAll(GraphicsContext& gc) {
    const Color saved = gc.GetTextColor();
    NumEditor::PaintAll(gc);
    gc.SetTextColor(saved);
}

} // namespace Corvell
