#include "ui/CNoteView.h"

#include "shared/Graphics/Bitmap.h"
#include "shared/Graphics/GraphicsObjects.h"
#include "ui/core/Chords.h"
#include "ui/core/FunctionDelegate.h"

#include <algorithm>

namespace Corvell {

namespace {
constexpr float kCaptionPoints = 8.0f;
const char* const kLetters[7] = {"C", "D", "E", "F", "G", "A", "B"};
} // namespace

CNoteView::CNoteView() {
    for (int32_t i = 0; i < 7; ++i) {
        m_naturals[i] = MakeButton(kLetters[i], Chords::NaturalPitch(i));
        if (Chords::AccidentalPitch(i) >= 0)
            m_accidentals[i] = MakeButton("#", Chords::AccidentalPitch(i));
    }
}

CNoteView::~CNoteView() {
    if (!IsClosed())
        OnDestroy();
}

std::unique_ptr<SelectableButton> CNoteView::MakeButton(const String& caption, int pc) {
    std::unique_ptr<SelectableButton> b(new SelectableButton);
    b->SetCaption(caption);
    b->SetFontSize(kCaptionPoints, Font::Points);
    b->SetImages(GetImage("button-normal.png"), GetImage("button-pressed.png"));
    b->AddClickListener(Fn<ButtonListenerArgs>([this, pc](ButtonListenerArgs args) {
        if (args.mouseButton == kButtonLeft)
            Picked(pc);
    }));
    AddChild(b.get());
    return b;
}

void CNoteView::Create(Pane* parent, const Rect& bounds) {
    GroupBox::Create(parent, bounds);
    Layout();
}

void CNoteView::SetFlatNames(bool flats) {
    m_flats = flats;
    for (auto& a : m_accidentals)
        if (a)
            a->SetCaption(flats ? "b" : "#");
}

void CNoteView::SetNoneText(const String& text) {
    m_noneText = text;
    if (text.IsEmpty()) {
        m_none.reset();
    } else if (!m_none) {
        m_none = MakeButton(text, -1);
    } else {
        m_none->SetCaption(text);
    }
    Layout();
    Mark();
}

void CNoteView::SetSelected(int32_t pc) {
    m_selected = Chords::IsPitchClass(pc) ? pc : -1;
    Mark();
}

void CNoteView::Mark() {
    const int32_t natural = Chords::MarkedNatural(m_selected);
    const int32_t accidental = Chords::MarkedAccidental(m_selected);
    for (int32_t i = 0; i < 7; ++i) {
        m_naturals[i]->SetOn(i == natural);
        if (m_accidentals[i])
            m_accidentals[i]->SetOn(i == accidental);
    }
    if (m_none)
        m_none->SetOn(m_selected < 0);
}

void CNoteView::Layout() {
    const Rect r = LocalBounds();
    const int32_t b = m_none ? r.width - kNoneWidth : r.width;
    const int32_t s = (b - 4) * 7 / 46;
    const int32_t d = 3 * s / 7;
    const int32_t h = std::min(r.height - 4, s - d);
    const int32_t top = (r.height - 4 - h) / 2 + 2;
    const int32_t ah = std::min((r.height - 4) / 2, d);
    for (int32_t i = 0; i < 7; ++i) {
        const int32_t x = 2 + i * s;
        m_naturals[i]->SetBounds(Rect{x, top, s - d, h});
        if (m_accidentals[i])
            m_accidentals[i]->SetBounds(Rect{x + s - d, 2, d, ah});
    }
    if (m_none)
        m_none->SetBounds(Rect{b, top, kNoneWidth, h});
    InvalidateAll();
}

void CNoteView::Picked(int pc) {
    // The listener may close the picker: the delegate stays alive for the call.
    if (Ref<Delegate1<int>> pick = m_pick)
        pick->Invoke(pc);
}

} // namespace Corvell
