// The gallery's section of combos and popups: combos over the engine's
// lists (the selection follows the engine, a choice is one edit of it), an
// editable combo whose names are renamed in place, and buttons that open
// the two kinds of popup.
#include "gallery/WidgetGallery.h"

#include "shared/Graphics/Bitmap.h"
#include "shared/Graphics/Palette.h"
#include "ui/ALabel.h"
#include "ui/Combo.h"
#include "ui/EditCombo.h"
#include "ui/PopupPane.h"
#include "ui/core/FunctionDelegate.h"

#include <cstdio>
#include <functional>

namespace Corvell {

namespace {

const char* const kComboStates[] = {"normal", "one item", "empty", "disabled", "popups"};
constexpr int32_t kComboRow = 26;
constexpr Color kComboFace = MakeColor(30, 31, 34);

const char* const kCurves[] = {"Linear", "Soft", "Hard", "Fixed"};

} // namespace

void WidgetGallery::BuildCombos(int32_t& y) {
    Headings(y, "Combos, popups", kComboStates, 5);
    const Ref<Bitmap> arrow = GetImage("combo-triangle.png");

    // Combo: the velocity curve. The list is the engine's four curves.
    for (int32_t c = 0; c < 4; ++c) {
        auto* combo = new Combo;
        Place(combo, "Combo", kComboStates[c], Cell(c, y, 110, 20, kComboRow));
        combo->SetBackground(kComboFace);
        combo->SetFlags(kFillBackground, true);
        combo->SetTextColors(GetColor(5), GetColor(6));
        combo->SetFramed(true);
        combo->SetEmptyText("No curves");
        if (c == 1)
            combo->AddItem("Linear");
        if (c == 0 || c == 3) {
            for (const char* name : kCurves)
                combo->AddItem(name);
            BindCombo(combo, rncVelocityCurve);
        }
        combo->SetEnabled(c != 3);
        if (c == 1)
            combo->Select(0);
    }
    PlaceOpener(y, false);
    y += kComboRow;

    // BCombo: the capo. Refilled from the engine's range each time it opens.
    for (int32_t c = 0; c < 4; ++c) {
        auto* combo = new BCombo;
        Place(combo, "BCombo", kComboStates[c], Cell(c, y, 110, 20, kComboRow));
        combo->SetBackground(kComboFace);
        combo->SetFlags(kFillBackground, true);
        combo->SetTriangleImage(arrow);
        combo->SetEmptyText("No capo");
        if (c == 1) {
            combo->AddItem("No capo");
            combo->Select(0);
        }
        if (c == 0 || c == 3) {
            FillCapos(combo);
            combo->AddOpeningListener(Fn<Combo*>([this](Combo* b) { FillCapos(b); }));
            BindCombo(combo, rncCapo);
        }
        combo->SetEnabled(c != 3);
    }
    PlaceOpener(y, true);
    y += kComboRow;

    // EditCombo: pattern names; typing renames the selected one.
    const char* const names[] = {"Verse A", "Chorus B", "Bridge"};
    for (int32_t c = 0; c < 4; ++c) {
        auto* combo = new EditCombo;
        Place(combo, "EditCombo", kComboStates[c], Cell(c, y, 120, 20, kComboRow));
        combo->SetTriangleImage(arrow);
        combo->SetTextColors(GetColor(8), GetColor(6));
        combo->SetFrameColors(GetColor(2), GetColor(2));
        combo->SetEmptyText("Untitled");
        if (c != 2)
            for (int32_t i = 0; i < (c == 1 ? 1 : 3); ++i)
                combo->AddItem(names[i]);
        combo->Select(0);
        combo->AddEditedListener(MakeDelegate(this, &WidgetGallery::NoteRename));
        m_renames.push_back(combo);
        combo->SetEnabled(c != 3);
    }
    y += kComboRow;
}

void WidgetGallery::PlaceOpener(int32_t y, bool modal) {
    auto* b = new Button;
    b->SetCaption(modal ? "Modal popup" : "Popup");
    b->SetBackground(kButtonFace);
    Place(b, modal ? "ModalPopupPane" : "PopupPane", "opener", Cell(4, y, 118, 22, kComboRow));
    b->AddClickListener(Fn<ButtonListenerArgs>([this, b, modal](ButtonListenerArgs) { OpenPopup(b, modal); }));
}

void WidgetGallery::FillCapos(Combo* combo) {
    ControlInfo info;
    m_parameters->GetInfo(rncCapo, &info);
    combo->Clear();
    for (int32_t v = info.minimum; v <= info.maximum; ++v) {
        char text[24];
        if (v == 0)
            std::snprintf(text, sizeof text, "No capo");
        else
            std::snprintf(text, sizeof text, "Fret %d", v);
        combo->AddItem(text);
    }
    combo->Select(m_rnc->GetParameter(rncCapo) - info.minimum);
}

void WidgetGallery::BindCombo(Combo* combo, ERnCPars par) {
    m_bindings.push_back(Binding{par, [this, combo, par] {
                                     ControlInfo info;
                                     m_parameters->GetInfo(par, &info);
                                     combo->Select(m_rnc->GetParameter(par) - info.minimum);
                                 }});
    // The choice is asked of the engine; its notice moves every combo of it.
    combo->AddSelectionListener(Fn<int>([this, par](int index) {
        ControlInfo info;
        m_parameters->GetInfo(par, &info);
        Write(par, info.minimum + index);
    }));
}

void WidgetGallery::NoteRename() {
    // The renamed item is still the selection: it takes the typed name.
    for (EditCombo* c : m_renames) {
        const int32_t sel = c->GetSelectedIndex();
        if (sel >= 0 && c->GetEmptyText() != c->GetItemText(sel) && !c->GetEmptyText().IsEmpty()) {
            c->GetItems().Item(sel).text = c->GetEmptyText();
        }
    }
}

void WidgetGallery::OpenPopup(Button* opener, bool modal) {
    if (m_popup)
        return;
    const Rect& b = opener->GetBounds();
    // To the left of its opener, over the combos.
    const Rect content{b.x - 24 - 240, b.y - 40, 240, 96};
    BasicPopupPane* p = modal ? static_cast<BasicPopupPane*>(new PaneControllingSubpanes<ModalPopupPane>)
                              : static_cast<BasicPopupPane*>(new PaneControllingSubpanes<PopupPane>);
    m_popup = p;
    p->SetDeleteOnClose(true);
    p->AddClosedListener(Fn<BasicPopupPane*>([this](BasicPopupPane*) { m_popup = nullptr; }));
    p->Create(this, content);
    ALabel* text = CreateLabel(modal ? "The window around still takes clicks." : "Click outside or press Escape.",
                               kTextCenter);
    text->Create(p, Rect{10, 14, 220, 36});
    auto* close = new Button;
    close->SetCaption("Close");
    close->SetBackground(kButtonFace);
    close->Create(p, Rect{80, 58, 80, 24});
    close->AddClickListener(Fn<ButtonListenerArgs>([p](ButtonListenerArgs) { p->PostClose(); }));
    if (auto* owning = dynamic_cast<PaneControllingSubpanes<PopupPane>*>(p)) {
        owning->AddSubpane(text, -1);
        owning->AddSubpane(close, -1);
    } else if (auto* owningModal = dynamic_cast<PaneControllingSubpanes<ModalPopupPane>*>(p)) {
        owningModal->AddSubpane(text, -1);
        owningModal->AddSubpane(close, -1);
    }
}

} // namespace Corvell
