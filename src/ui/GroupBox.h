#pragma once
#include "ui/Pane.h"

namespace Corvell {

// A frame around a group of controls: its bounds outlined in palette
// colour 3. It has no caption of its own; layouts place a label for that.
class GroupBox : public Pane {
public:
    void Paint(GraphicsContext& gc) override;
};

} // namespace Corvell
