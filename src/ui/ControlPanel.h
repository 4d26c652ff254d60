#pragma once
// A panel of controls on a background image: drawn once at the origin,
// tiled over the whole panel, or stretched to it.
#include "shared/Graphics/Bitmap.h"
#include "ui/Pane.h"

namespace Corvell {

class ControlPanel : public Pane {
public:
    enum ImageMode { kImageOnce = 0, kImageTiled = 1, kImageStretched = 2 };

    // image: a name for GetImage, or null for none. Any mode but 1 and 2
    // draws the image once.
    ControlPanel(const char* image, int32_t mode);

    // The image, then the paint hook.
    void Paint(GraphicsContext& gc) override;

    Bitmap* Image() const { return m_image.Get(); }
    int32_t Mode() const { return m_mode; }

private:
    Ref<Bitmap> m_image;
    int32_t m_mode;
};

} // namespace Corvell
