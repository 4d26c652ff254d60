#include "ui/NoteNumEditor.h"

#include "shared/Graphics/Palette.h"
#include "ui/NumberText.h"

namespace Corvell {

void NoteNumEditor::Paint(GraphicsContext& gc) {
    Pane::Paint(gc);
    PaintText(gc, FormatValue(GetValue()), GetColor(1));
}

String NoteNumEditor::FormatValue(int32_t value) const { return NoteName(value); }

bool NoteNumEditor::ParseValue(const char* text, int32_t& out) const { return ParseNoteName(text, out); }

} // namespace Corvell
