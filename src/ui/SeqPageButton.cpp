#include "ui/SeqPageButton.h"

#include <utility>

namespace Corvell {

namespace {
bool HasPixels(const Bitmap* b) { return b && b->Width() > 0 && b->Height() > 0; }
} // namespace

SeqPageButton::SeqPageButton() {
    // The module has no images of these names, so no background is drawn;
    // the names stay as the page buttons have always asked for them. The
    // image cache keeps the empty result: the miss is reported once, not
    // on every button or paint.
    SetImages(GetImage("buttonNormal"), GetImage("buttonPressed"));
    SetTextFormat(kTextCenter | kTextVCenter);
}

void SeqPageButton::SetIcons(Ref<Bitmap> normal, Ref<Bitmap> on, Ref<Bitmap> disabled) {
    m_icon = std::move(normal);
    m_onIcon = std::move(on);
    m_disabledIcon = std::move(disabled);
    InvalidateAll();
}

Bitmap* SeqPageButton::CurrentIcon() const {
    if (!IsEffectivelyEnabled() && HasPixels(m_disabledIcon.Get()))
        return m_disabledIcon.Get();
    if (IsOn() && HasPixels(m_onIcon.Get()))
        return m_onIcon.Get();
    return HasPixels(m_icon.Get()) ? m_icon.Get() : nullptr;
}

void SeqPageButton::Paint(GraphicsContext& gc) {
    PaintBackground(gc);
    Pane::Paint(gc);
    if (Bitmap* icon = CurrentIcon()) {
        const Rect& b = GetBounds();
        const Point at{(b.width - icon->Width()) / 2, (b.height - icon->Height()) / 2 + (IsOn() ? 1 : 0)};
        gc.DrawImage(at, icon);
        return;
    }
    PaintCaption(gc);
}

void SeqPageButton::GetCaptionRect(Rect& out) const {
    const Rect& b = GetBounds();
    const int32_t shift = IsOn() ? 1 : 0;
    out = Rect{4 + shift, 3 + shift, b.width - 8, b.height - 4};
}

} // namespace Corvell
