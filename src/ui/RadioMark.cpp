#include "ui/RadioMark.h"

#include "shared/Graphics/Bitmap.h"

namespace Corvell {

namespace {
constexpr int32_t kFrameSide = 12;
}

RadioMark::RadioMark() : m_image(GetImage("radio.png")) {}

int32_t RadioMark::FrameFor(bool enabled, bool on, bool held) {
    if (!enabled)
        return on ? 5 : 2;
    if (on)
        return held ? 4 : 3;
    return held ? 1 : 0;
}

void RadioMark::Paint(GraphicsContext& gc) {
    if (!DrawFrame(gc, m_image.Get(), FrameFor(IsEffectivelyEnabled(), IsOn(), IsHeldDown()), kFrameSide))
        ToggleButton::Paint(gc);
}

} // namespace Corvell
