#pragma once
#include "shared/Graphics/Bitmap.h"
#include "ui/ToggleButton.h"

namespace Corvell {

// A mode-panel mark: one 12 x 12 frame of "check.png" (five frames side by side), centred.
// Without the image it paints as a plain button.
class CheckMark : public ToggleButton {
public:
    CheckMark();

    void Paint(GraphicsContext& gc) override;

    // The frame shown; held is the physical press (left button down with
    // the pointer over the mark), not the pressed look of a toggle.
    static int32_t FrameFor(bool enabled, bool on, bool held);

private:
    Ref<Bitmap> m_image;
};

} // namespace Corvell
