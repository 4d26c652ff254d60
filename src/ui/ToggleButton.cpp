#include "ui/ToggleButton.h"

#include "shared/Graphics/Bitmap.h"

namespace Corvell {

bool ToggleButton::IsPressed() const { return Button::IsPressed() != IsOn(); }

bool ToggleButton::IsOn() const { return m_on; }

void ToggleButton::FitToContent() {}

bool ToggleButton::DrawFrame(GraphicsContext& gc, Bitmap* strip, int32_t index, int32_t side) {
    if (!strip || index < 0 || side <= 0 || strip->Height() < side ||
        int64_t(strip->Width()) < int64_t(side) * (index + 1))
        return false;
    const Rect& b = GetBounds();
    gc.DrawImage(Point{(b.width - side) / 2, (b.height - side) / 2}, strip, Rect{side * index, 0, side, side});
    return true;
}

void ToggleButton::SetOn(bool on) {
    m_on = on;
    InvalidateAll();
}

} // namespace Corvell
