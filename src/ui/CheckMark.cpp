#include "ui/CheckMark.h"

#include "shared/Graphics/Bitmap.h"

namespace Corvell {

namespace {
constexpr int32_t kFrameSide = 12;
}

CheckMark::CheckMark() : m_image(GetImage("check.png")) {}

int32_t CheckMark::FrameFor(bool enabled, bool on, bool held) {
    if (!enabled)
        return on ? 4 : 3;
    if (held)
        return 2;
    return on ? 1 : 0;
}

void CheckMark::Paint(GraphicsContext& gc) {
    if (!DrawFrame(gc, m_image.Get(), FrameFor(IsEffectivelyEnabled(), IsOn(), IsHeldDown()), kFrameSide))
        ToggleButton::Paint(gc);
}

} // namespace Corvell
