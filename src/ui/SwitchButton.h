#pragma once
#include "shared/Graphics/Bitmap.h"
#include "ui/ToggleButton.h"

namespace Corvell {

// A toggle drawn as a little switch: "switchOn" while it looks pressed (on,
// or held while off), "switchOff" otherwise, centred. Without its images
// it paints as a plain button.
class SwitchButton : public ToggleButton {
public:
    SwitchButton();

    void Paint(GraphicsContext& gc) override;

private:
    Ref<Bitmap> m_on;
    Ref<Bitmap> m_off;
};

} // namespace Corvell
