#pragma once
#include "ui/Pane.h"

namespace Corvell {

// A line across the pane at half its height in palette colour 2, two
// pixels short of each side (the full width when narrower than 5 pixels).
class HorizontalSeparator : public Pane {
public:
    void Paint(GraphicsContext& gc) override;
};

} // namespace Corvell
