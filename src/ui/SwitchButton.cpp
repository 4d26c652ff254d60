#include "ui/SwitchButton.h"

namespace Corvell {

SwitchButton::SwitchButton() : m_on(GetImage("switchOn")), m_off(GetImage("switchOff")) {}

void SwitchButton::Paint(GraphicsContext& gc) {
    Bitmap* image = IsPressed() ? m_on.Get() : m_off.Get();
    if (!image || image->Width() <= 0 || image->Height() <= 0) {
        ToggleButton::Paint(gc);
        return;
    }
    const Rect r = LocalBounds();
    gc.DrawImage(Point{(r.width - image->Width()) / 2, (r.height - image->Height()) / 2}, image);
}

} // namespace Corvell
