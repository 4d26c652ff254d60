#include "view/DisplayPane.h"

#include "shared/Graphics/Bitmap.h"
#include "shared/Graphics/Palette.h"

namespace Corvell {

namespace {
// The read-outs are 40 pixels wide: " 1023 MB" fits in a smaller face.
class ReadOut : public ALabel {
public:
    explicit ReadOut(uint32_t format) : m_font(new Font("Tahoma", 8.0f, 0, Font::Points)) {
        SetFormat(format | kTextSingleLine | kTextVCenter | kTextNoPrefix);
    }
    void PaintAll(GraphicsContext& gc) override {
        FontScope scope(gc, m_font.Get());
        ALabel::PaintAll(gc);
    }

private:
    Ref<Font> m_font;
};
} // namespace

DisplayPane::DisplayPane(IGuitar* guitars) {
    SetBounds(kBounds);
    m_inner.reset(new Pane);
    m_inner->SetBounds(kInner);
    AddChild(m_inner.get());

    m_selector.reset(new GuitarSelector(guitars));
    m_selector->SetBounds(kSelector);
    m_inner->AddChild(m_selector.get());

    m_voices.reset(new ReadOut(0));
    m_voices->SetBounds(kVoices);
    m_voices->SetTextColor(GetColor(kTextColor));
    m_inner->AddChild(m_voices.get());

    m_memory.reset(new ReadOut(kTextRight));
    m_memory->SetBounds(kMemory);
    m_memory->SetTextColor(GetColor(kTextColor));
    m_inner->AddChild(m_memory.get());

    m_status.reset(new TooltipViewer);
    m_status->SetBounds(kStatus);
    m_inner->AddChild(m_status.get());

    m_chord.reset(new ChordView);
    m_chord->SetColor(GetColor(8));
    m_chord->SetBounds(kChord);
    m_inner->AddChild(m_chord.get());
}

void DisplayPane::Paint(GraphicsContext& gc) {
    if (auto image = GetImage("display.png"))
        gc.DrawImage(Point{0, 0}, image.Get());
    else
        gc.FillRect(LocalBounds(), GetColor(kImageMissingColor));
}

} // namespace Corvell
