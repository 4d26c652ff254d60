#include "ui/HSlider0.h"

namespace Corvell {

namespace {
constexpr int32_t kVkLeft = 0x25;
constexpr int32_t kVkRight = 0x27;
} // namespace

int32_t HSlider0::ValueAt(int32_t coordinate) const {
    return ValueFromTravel(int64_t(coordinate) - GetGrabPosition());
}

int32_t HSlider0::DragSpan() const { return GetBounds().width - ThumbFrameWidth(); }

void HSlider0::HandleArrowKeys(KeyEvent& e) {
    if (e.type != kKeyDown && e.type != kKeyRepeat)
        return;
    if (!IsEffectivelyEnabled())
        return;
    if (e.key == kVkLeft)
        StepBy(-1);
    else if (e.key == kVkRight)
        StepBy(1);
}

} // namespace Corvell
