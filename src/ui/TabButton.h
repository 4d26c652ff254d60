#pragma once
#include "ui/SelectableButton.h"

namespace Corvell {

// A mode-panel tab: the left half of "mode-tabs.png" when on, the right
// half when off, at (0, 0), then a bold 10-point caption with a shadow.
class TabButton : public SelectableButton {
public:
    explicit TabButton(const String& caption = String());

    // Places the tab, then fits it to the image (FitToContent).
    void Create(Pane* parent, const Rect& bounds) override;
    void Paint(GraphicsContext& gc) override;
    // Takes the size of one image half, centred in the bounds it had. Bounds
    // too small for a half are kept (the half is drawn clipped): shrinking
    // is wanted, growing over the neighbouring tabs is not. Without the
    // image the bounds are kept too.
    void FitToContent() override;

private:
    Ref<Bitmap> m_image;
};

} // namespace Corvell
