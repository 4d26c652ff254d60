#pragma once
#include "ui/HSlider0.h"

namespace Corvell {

// A horizontal slider drawn with images: the track tiled across the width,
// vertically centred, and one frame of the thumb image over it (the second
// frame while dragging, when the image has two). The arrow keys step it.
class HSlider : public HSlider0 {
public:
    // The small two-frame thumb.
    HSlider();
    // Any thumb of `frames` frames side by side (below 1 counts as 1). A
    // missing or empty thumb falls back to the plain one-frame thumb.
    HSlider(const char* thumbName, int32_t frames);

    void Paint(GraphicsContext& gc) override;
    void OnKeyEvent(KeyEvent& e) override { HandleArrowKeys(e); }
};

} // namespace Corvell
