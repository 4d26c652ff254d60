#include "ui/VSlider0.h"

namespace Corvell {

namespace {
constexpr int32_t kVkUp = 0x26;
constexpr int32_t kVkDown = 0x28;
} // namespace

int32_t VSlider0::ValueAt(int32_t coordinate) const {
    return ValueFromTravel(int64_t(GetGrabPosition()) - coordinate);
}

int32_t VSlider0::DragSpan() const { return GetBounds().height - ThumbHeight(); }

void VSlider0::HandleArrowKeys(KeyEvent& e) {
    if (e.type != kKeyDown && e.type != kKeyRepeat)
        return;
    if (!IsEffectivelyEnabled())
        return;
    if (e.key == kVkUp)
        StepBy(1);
    else if (e.key == kVkDown)
        StepBy(-1);
}

} // namespace Corvell
