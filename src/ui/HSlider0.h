#pragma once
#include "ui/Slider.h"

namespace Corvell {

// Horizontal geometry: the value grows to the right, and the pointer
// crosses the range over the width less one thumb frame.
class HSlider0 : public Slider {
public:
    int32_t AxisCoordinate(Point p) const override { return p.x; }
    int32_t ValueAt(int32_t coordinate) const override;
    int32_t DragSpan() const override;

protected:
    // Steps for the left (-1) and right (+1) arrows; other keys are
    // swallowed, not passed up.
    void HandleArrowKeys(KeyEvent& e);
};

} // namespace Corvell
