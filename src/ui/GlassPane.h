#pragma once
#include "shared/Graphics/Bitmap.h"
#include "ui/Pane.h"
#include "ui/core/Ref.h"

namespace Corvell {

// A pane with a glass image behind its content. It handles no input: it
// overrides nothing but Paint, so a class that also derives (virtually)
// from an input-handling pane keeps that pane's handling, hit testing and
// focus whole. Without an image (or with an empty one) it draws nothing.
//
// The image keeps its height and is fitted to the pane's width: its outer
// quarters stay as they are and its middle stretches; on a pane narrower
// than the image, the pane's left half shows the image's left part and its
// right half the image's right part. A pane lower than the image cuts it.
class GlassPane : public virtual Pane {
public:
    explicit GlassPane(Ref<Bitmap> image = Ref<Bitmap>());
    // The image of that name from the image cache.
    explicit GlassPane(const char* imageName);

    void SetGlassImage(Ref<Bitmap> image);
    Bitmap* GetGlassImage() const { return m_image.Get(); }

    // The glass then the paint hook. A class that paints more content
    // calls PaintGlass first from its own Paint.
    void Paint(GraphicsContext& gc) override;
    void PaintGlass(GraphicsContext& gc);

private:
    Ref<Bitmap> m_image;
};

} // namespace Corvell
