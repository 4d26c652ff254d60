#pragma once
#include "ui/NumEditor.h"

namespace Corvell {

// The number editor of the views. Whatever it paints, the context's text
// colour is as it was afterwards.
class NumberEditor : public NumEditor {
public:
    NumberEditor() = default;

    void PaintAll(GraphicsContext& gc) override;
};

} // namespace Corvell
