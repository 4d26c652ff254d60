#pragma once
#include "ui/Slider.h"

namespace Corvell {

// Vertical geometry: the value grows upwards, and the pointer crosses the
// range over the height less the thumb's height.
class VSlider0 : public Slider {
public:
    int32_t AxisCoordinate(Point p) const override { return p.y; }
    int32_t ValueAt(int32_t coordinate) const override;
    int32_t DragSpan() const override;

protected:
    // Steps for the up (+1) and down (-1) arrows; other keys are
    // swallowed, not passed up.
    void HandleArrowKeys(KeyEvent& e);
};

} // namespace Corvell
