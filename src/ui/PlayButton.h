#pragma once
#include "ui/SelectableButton.h"

namespace Corvell {

// A selectable button that also tells its press listeners as soon as the
// left button goes down on it, before any release (to start a preview that
// the press observer's Released stops).
class PlayButton : public SelectableButton {
public:
    PlayButton() = default;

    void OnMouseEvent(MouseEvent& e) override;

    // Invoked with (this button, 1).
    void AddPressListener(Ref<ButtonListener> l) { m_moreListeners->Add(std::move(l)); }
    bool RemovePressListener(ButtonListener* l) { return m_moreListeners->Remove(l); }
};

} // namespace Corvell
