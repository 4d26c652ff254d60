#pragma once
#include "ui/VSlider0.h"

namespace Corvell {

// A vertical slider drawn with images: the track tiled along the height,
// horizontally centred, and one frame of the thumb image over it with the
// maximum at the top (the second frame while dragging, when the image has
// two). The arrow keys step it.
class VSlider : public VSlider0 {
public:
    // The small two-frame thumb.
    VSlider();
    // Any thumb of `frames` frames side by side (below 1 counts as 1). A
    // missing or empty thumb falls back to the plain one-frame thumb.
    VSlider(const char* thumbName, int32_t frames);

    void Paint(GraphicsContext& gc) override;
    void OnKeyEvent(KeyEvent& e) override { HandleArrowKeys(e); }
};

} // namespace Corvell
