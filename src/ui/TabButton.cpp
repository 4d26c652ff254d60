#include "ui/TabButton.h"

#include "shared/Graphics/Palette.h"

namespace Corvell {

namespace {
Color ThreeQuarters(Color c) { return MakeColor(RedOf(c) * 3 / 4, GreenOf(c) * 3 / 4, BlueOf(c) * 3 / 4); }
} // namespace

TabButton::TabButton(const String& caption) : m_image(GetImage("mode-tabs.png")) {
    SetCaption(caption);
    SetButtonFlags(kBold | kBoldWhenPressed | kShadow);
    ClearButtonFlags(kInset);
    SetFontSize(10.0f, Font::Points);
    SetNormalTextColor(ThreeQuarters(GetColor(1)));
}

void TabButton::Create(Pane* parent, const Rect& bounds) {
    SelectableButton::Create(parent, bounds);
    FitToContent();
}

void TabButton::Paint(GraphicsContext& gc) {
    Bitmap* image = m_image.Get();
    if (image && image->Width() > 1 && image->Height() > 0) {
        const int32_t half = image->Width() / 2;
        const int32_t x = IsOn() ? 0 : image->Width() - half;
        gc.DrawImage(Point{0, 0}, image, Rect{x, 0, half, image->Height()});
    }
    Button::Paint(gc);
}

void TabButton::FitToContent() {
    Bitmap* image = m_image.Get();
    if (!image)
        return;
    const int32_t w = image->Width() / 2;
    const int32_t h = image->Height();
    const Rect former = GetBounds();
    if (w <= 0 || h <= 0 || former.width < w || former.height < h)
        return;
    if (former.width == w && former.height == h)
        return;
    SetBounds(Rect{former.x + (former.width - w) / 2, former.y + (former.height - h) / 2, w, h});
}

} // namespace Corvell
