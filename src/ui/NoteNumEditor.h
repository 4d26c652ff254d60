#pragma once
#include "ui/NumberEditor.h"

namespace Corvell {

// A number editor that shows its value as a note name (60 is C3), always
// in palette colour 1, and takes a typed note name or number.
class NoteNumEditor : public NumberEditor {
public:
    NoteNumEditor() = default;

    void Paint(GraphicsContext& gc) override;
    String FormatValue(int32_t value) const override;
    bool ParseValue(const char* text, int32_t& out) const override;
};

} // namespace Corvell
