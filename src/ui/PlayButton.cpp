#include "ui/PlayButton.h"

namespace Corvell {

void PlayButton::OnMouseEvent(MouseEvent& e) {
    // Only the left button: the release that ends what a press starts is
    // reported for the left button alone, so any other press would start
    // something nothing stops.
    // And only when this press started one: a press that found the button
    // still held (its release was lost) starts nothing new.
    const bool press = e.type == kMouseDown && e.button == kButtonLeft && !IsHeld();
    PaneGuard self(this);
    SelectableButton::OnMouseEvent(e);
    if (!press || !self.IsAlive() || !IsHeld())
        return;
    Ref<ButtonListenerList> list = m_moreListeners;
    if (!list->IsEmpty())
        list->Invoke(ButtonListenerArgs{this, kButtonLeft});
}

} // namespace Corvell
