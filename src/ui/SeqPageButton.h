#pragma once
#include "ui/SelectableButton.h"

namespace Corvell {

// A sequencer page button: an icon centred (the on icon when on, a
// disabled icon when not effectively enabled, one pixel lower when on),
// or without icons its caption in (4, 3, width - 8, height - 4), one pixel
// further right and down when on.
class SeqPageButton : public SelectableButton {
public:
    SeqPageButton();

    void Paint(GraphicsContext& gc) override;
    void GetCaptionRect(Rect& out) const override;

    // Any may be null: without an on or disabled icon the normal one shows.
    void SetIcons(Ref<Bitmap> normal, Ref<Bitmap> on, Ref<Bitmap> disabled);

private:
    Bitmap* CurrentIcon() const;

    Ref<Bitmap> m_icon;
    Ref<Bitmap> m_onIcon;
    Ref<Bitmap> m_disabledIcon;
};

} // namespace Corvell
