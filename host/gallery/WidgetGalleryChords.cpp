// The gallery's chord editors, the chord display they feed, the note
// picker in both namings, and the controller panel in each kind.
#include "gallery/WidgetGallery.h"
#include "shared/Graphics/Palette.h"
#include "ui/CNoteView.h"
#include "ui/ChordEdit.h"
#include "ui/ChordView.h"
#include "ui/core/FunctionDelegate.h"
#include "view/ElectricControllerPanel.h"
#include "view/SoloFx.h"
#include "view/VeloFxView.h"

namespace Corvell {

namespace {
const char* const kEditStates[] = {"no chord", "", "chord", "", "display"};
const char* const kPickerStates[] = {"sharps", "", "flats"};
constexpr int32_t kEditRow = 30, kPickerRow = 42;
constexpr Color kFace = MakeColor(36, 36, 40);

// Two columns wide, centred on their common edge.
Rect Span(int32_t cellX, int32_t columnWidth, int32_t y, int32_t width, int32_t height, int32_t rowHeight) {
    return Rect{cellX + columnWidth - width / 2, y + (rowHeight - height) / 2, width, height};
}
} // namespace

void WidgetGallery::BuildChords(int32_t& y) {
    Headings(y, "Chords", kEditStates, 5);
    const int32_t columnWidth = Cell(1, y, 0, 0, 0).x - Cell(0, y, 0, 0, 0).x;
    const int32_t left0 = Cell(0, y, columnWidth, 0, 0).x;
    const int32_t left2 = Cell(2, y, columnWidth, 0, 0).x;

    // The display shows the chord of whichever editor changed last.
    auto* display = new ChordView;
    display->SetColor(GetColor(8));
    display->SetBackground(kFace);
    display->SetFlags(kFillBackground, true);
    auto show = [display](const Kord& k) {
        const bool valid = Chords::IsValid(k);
        display->Update(33, valid ? k.type : -1);
        display->Update(34, valid ? k.root : -1);
        display->Update(35, valid ? k.bass : -1);
        display->Update(36, valid ? k.pos : 0);
    };
    for (int32_t c = 0; c < 2; ++c) {
        auto* edit = new ChordEdit(Chords::kMapEditorTypes, Chords::kMapEditorTypeCount);
        edit->SetBackground(kFace);
        edit->SetFlags(kFillBackground, true);
        Place(edit, "ChordEdit", c == 0 ? "no chord" : "chord",
              Span(c == 0 ? left0 : left2, columnWidth, y, 229, 23, kEditRow));
        if (c == 1)
            edit->SetKord(Chords::StandardKord(2, Chords::kMinor, 9, 2)); // Dm/A, second position
        // As the editors that hold it do: the bass only on major and minor.
        edit->AddChangeListener(Fn<Chords::WhatChanged>([edit, show](Chords::WhatChanged w) {
            if (w == Chords::kChordStarted || w == Chords::kTypeOrPosChanged) {
                Kord k = edit->GetKord();
                edit->SetBassEnabled(Chords::ApplyBassRule(k));
            }
            show(edit->GetKord());
        }));
        if (c == 1)
            show(edit->GetKord());
    }
    Place(display, "ChordView", "display", Cell(4, y, 110, 25, kEditRow));
    y += kEditRow;

    Headings(y, "Note picker", kPickerStates, 3);
    for (int32_t c = 0; c < 2; ++c) {
        auto* picker = new CNoteView;
        picker->SetNoneText("no");
        picker->SetFlatNames(c == 1);
        picker->SetBackground(kFace);
        picker->SetFlags(kFillBackground, true);
        Place(picker, "CNoteView", c == 0 ? "sharps" : "flats",
              Span(c == 0 ? left0 : left2, columnWidth, y, ChordEdit::kPickerWidth, ChordEdit::kPickerHeight,
                   kPickerRow));
        picker->SetSelected(6); // F# or Gb
        picker->SetPickListener(Fn<int>([picker](int pc) { picker->SetSelected(pc); }));
    }
    y += kPickerRow;
}

} // namespace Corvell

namespace Corvell {

namespace {
const char* const kPanelKinds[] = {"solo", "", "harmony", "", "chords"};
constexpr int32_t kControllerRow = 150;
} // namespace

void WidgetGallery::BuildControllerPanels(int32_t& y) {
    Headings(y, "Controllers", kPanelKinds, 5);
    // The column the pages give it, one per kind, live on the engine.
    const int32_t columnWidth = Cell(1, y, 0, 0, 0).x - Cell(0, y, 0, 0, 0).x;
    const int32_t left = Cell(0, y, columnWidth, 0, 0).x;
    const int32_t step = 215; // 200 and a gap: the three end left of the lists
    for (int32_t kind = 0; kind < 3; ++kind) {
        auto* panel = new ElectricControllerPanel(m_rnc.get(), kind);
        panel->SetBackground(MakeColor(36, 36, 40));
        panel->SetFlags(kFillBackground, true);
        Place(panel, "ElectricControllerPanel", kPanelKinds[2 * kind], Rect{left + kind * step, y, 200, 145});
    }
    y += kControllerRow;
}

void WidgetGallery::BuildEffects(int32_t& y) {
    static const char* const kEffectStates[] = {"slot", "", "velocity"};
    Headings(y, "Effects", kEffectStates, 3);
    const int32_t columnWidth = Cell(1, y, 0, 0, 0).x - Cell(0, y, 0, 0, 0).x;
    const int32_t left = Cell(0, y, columnWidth, 0, 0).x;
    // An effect slot offering four effects, live on the engine's slot 3.
    static const int kList[] = {17, 19, 30, 13};
    auto* fx = new FxControl(m_rnc.get(), 3);
    fx->SetEffectList(4, kList);
    Place(fx, "FxControl", "slot", Rect{left + 2, y, 240, 42});
    auto* velo = new BasicVeloFxView(m_rnc.get());
    velo->SetBackground(MakeColor(36, 36, 40));
    velo->SetFlags(kFillBackground, true);
    Place(velo, "BasicVeloFxView", "velocity", Rect{left + 2 * columnWidth + 2, y, 240, 106});
    velo->Listen();
    velo->SetKinds({0, 1, 2, 3, 4, 5});
    y += 110;
}

} // namespace Corvell
