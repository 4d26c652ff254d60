#include "gallery/WidgetGallery.h"

#include "gallery/NameField.h"

#include "SubstituteHost.h"
#include "TestImageSource.h"
#include "TestRootPane.h"
#include "RecordingContext.h"
#include "shared/Graphics/Bitmap.h"
#include "ui/ALabel.h"
#include "ui/Combo.h"
#include "ui/EditCombo.h"
#include "ui/ListView.h"
#include "ui/ScrollBar.h"
#include "ui/TreeView.h"
#include "ui/PopupPane.h"
#include "ui/GlassPane.h"
#include "ui/NoteNumEditor.h"
#include "ui/NumEditor.h"
#include "ui/NumberEditor.h"
#include "ui/TextEditorImpl.h"
#include "ui/Slider.h"
#include "ui/ToggleButton.h"
#include "ui/TooltipViewer.h"

#include "ui/CNoteView.h"
#include "ui/ChordEdit.h"
#include "ui/ChordView.h"
#include "view/ElectricControllerPanel.h"
#include "view/SoloFx.h"
#include "view/VeloFxView.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include "ui/ControlPanel.h"
#include "ui/TabSwitch.h"

#include <set>
#include <string>

namespace Corvell {
namespace {

using Substitute::SubstituteHost;

const std::string kArtwork = TARROW_SOURCE_DIR "/src/resources";

struct GalleryFixture : ::testing::Test {
    GalleryFixture() {
        gallery->Attach(&host.RnC());
        gallery->Create(root.get(), Rect{0, 0, WidgetGallery::kWidth, WidgetGallery::kHeight});
        root->PumpMessages();
    }
    ~GalleryFixture() override {
        gallery.reset();
        root.reset();
        ClearImageCache();
    }

    WidgetGallery::Item Find(const char* family, const char* state) {
        for (const auto& i : gallery->Items())
            if (!std::strcmp(i.family, family) && !std::strcmp(i.state, state))
                return i;
        ADD_FAILURE() << "no " << family << " " << state;
        return WidgetGallery::Item{family, state, nullptr};
    }
    Point Centre(Pane* p) {
        const Point o = p->GetAbsoluteOrigin();
        return Point{o.x + p->GetBounds().width / 2, o.y + p->GetBounds().height / 2};
    }

    Corvell::Test::TestImageSource images{kArtwork};
    SubstituteHost host;
    std::unique_ptr<Corvell::Test::TestRootPane> root =
        std::make_unique<Corvell::Test::TestRootPane>(WidgetGallery::kWidth, WidgetGallery::kHeight);
    std::unique_ptr<WidgetGallery> gallery = std::make_unique<WidgetGallery>();
};

TEST_F(GalleryFixture, EveryFamilyShowsItsStatesInsideTheWindowWithoutOverlap) {
    const std::set<std::string> buttonStates = {"normal", "hovered", "pressed", "on", "disabled"};
    const std::set<std::string> sliderStates = {"minimum", "maximum", "dragging", "disabled"};
    const std::set<std::string> paneStates = {"enabled", "disabled"};
    const std::set<std::string> labelStates = {"enabled", "disabled", "centred",         "right",
                                               "cut short", "turned", "turned, disabled"};
    const std::set<std::string> numberStates = {"normal", "inverted", "one value", "disabled"};
    const std::set<std::string> nameStates = {"normal", "long name", "disabled"};
    const std::set<std::string> comboStates = {"normal", "one item", "empty", "disabled"};
    const std::set<std::string> openerStates = {"opener"};
    const std::set<std::string> lineStates = {"normal"};
    const std::set<std::string> listStates = {"100,000 rows"};
    const std::set<std::string> treeStates = {"10,000 nodes"};
    const std::set<std::string> switchStates = {"closed", "open"};
    const std::set<std::string> panelStates = {"once", "tiled", "stretched"};
    const std::set<std::string> chordStates = {"no chord", "chord"};
    const std::set<std::string> pickerStates = {"sharps", "flats"};
    const std::set<std::string> displayStates = {"display"};
    const std::set<std::string> kindStates = {"solo", "harmony", "chords"};
    const std::set<std::string> slotStates = {"slot"};
    const std::set<std::string> veloStates = {"velocity"};
    struct Family {
        const char* name;
        const std::set<std::string>* states;
    } families[] = {
        {"ToggleButton", &buttonStates}, {"SelectableButton", &buttonStates}, {"EmbossedButton", &buttonStates},
        {"SeqPageButton", &buttonStates}, {"PlayButton", &buttonStates},     {"TabButton", &buttonStates},
        {"CheckRadioButton", &buttonStates}, {"RadioMark", &buttonStates},   {"CheckMark", &buttonStates},
        {"SwitchButton", &buttonStates},
        {"HSlider", &sliderStates},      {"VSlider", &sliderStates},         {"HSlider3", &sliderStates},
        {"ColorPane", &paneStates},      {"GrayPane", &paneStates},          {"GroupBox", &paneStates},
        {"HorizontalSeparator", &paneStates}, {"GlassPane", &paneStates},    {"ALabel", &labelStates},
        {"NumEditor", &numberStates},    {"NumberEditor", &numberStates},    {"NoteNumEditor", &numberStates},
        {"TextEditor", &nameStates},     {"Combo", &comboStates},            {"BCombo", &comboStates},
        {"EditCombo", &comboStates},     {"PopupPane", &openerStates},       {"ModalPopupPane", &openerStates},
        {"TooltipViewer", &lineStates},   {"ListView", &listStates},          {"TreeView", &treeStates},
        {"TabSwitch", &switchStates},    {"ControlPanel", &panelStates},
        {"ChordEdit", &chordStates},     {"CNoteView", &pickerStates},       {"ChordView", &displayStates},
        {"ElectricControllerPanel", &kindStates}, {"FxControl", &slotStates}, {"BasicVeloFxView", &veloStates},
    };
    for (const Family& f : families) {
        std::set<std::string> shown;
        for (const auto& i : gallery->Family(f.name))
            shown.insert(i.state);
        EXPECT_EQ(*f.states, shown) << f.name;
    }
    // A plain button has every state but on.
    std::set<std::string> plain;
    for (const auto& i : gallery->Family("Button"))
        plain.insert(i.state);
    EXPECT_EQ((std::set<std::string>{"normal", "hovered", "pressed", "disabled"}), plain);

    const Rect window{0, 0, WidgetGallery::kWidth, WidgetGallery::kHeight};
    const auto& items = gallery->Items();
    for (size_t a = 0; a < items.size(); ++a) {
        const Rect ra = items[a].pane->GetBounds();
        EXPECT_TRUE(ra.width > 0 && ra.height > 0 && ra.x >= 0 && ra.y >= 0 && ra.x + ra.width <= window.width &&
                    ra.y + ra.height <= window.height)
            << items[a].family << " " << items[a].state;
        for (size_t b = a + 1; b < items.size(); ++b) {
            const Rect rb = items[b].pane->GetBounds();
            const bool apart = ra.x + ra.width <= rb.x || rb.x + rb.width <= ra.x || ra.y + ra.height <= rb.y ||
                               rb.y + rb.height <= ra.y;
            EXPECT_TRUE(apart) << items[a].family << " " << items[a].state << " overlaps " << items[b].family << " "
                               << items[b].state;
        }
    }
}

TEST_F(GalleryFixture, EachColumnShowsItsState) {
    for (const auto& i : gallery->Items()) {
        const std::string state = i.state;
        if (auto* b = dynamic_cast<Button*>(i.pane)) {
            EXPECT_EQ(state == "hovered" || state == "pressed", b->IsHovered()) << i.family << " " << state;
            EXPECT_EQ(state == "pressed", b->IsHeld()) << i.family << " " << state;
            EXPECT_EQ(state == "on", b->IsOn()) << i.family << " " << state;
            EXPECT_EQ(state != "disabled", b->IsEnabled()) << i.family << " " << state;
        } else if (auto* s = dynamic_cast<Slider*>(i.pane)) {
            if (state == "minimum") {
                EXPECT_EQ(s->GetMinimum(), s->GetValue()) << i.family;
            } else if (state == "maximum") {
                EXPECT_EQ(s->GetMaximum(), s->GetValue()) << i.family;
            }
            EXPECT_LT(s->GetMinimum(), s->GetMaximum()) << i.family << " " << state;
            EXPECT_EQ(state == "dragging", s->IsDragging()) << i.family << " " << state;
            EXPECT_EQ(state != "disabled", s->IsEnabled()) << i.family << " " << state;
        } else if (auto* l = dynamic_cast<ALabel*>(i.pane)) {
            EXPECT_EQ(state.find("disabled") == std::string::npos, l->IsEnabled()) << state;
            const uint32_t align = l->GetFormat() & (kTextCenter | kTextRight);
            EXPECT_EQ(state == "centred" ? kTextCenter : state == "right" ? kTextRight : 0u, align) << state;
            EXPECT_EQ(state.rfind("turned", 0) == 0 ? 90.0f : 0.0f, l->GetAngle()) << state;
            EXPECT_TRUE(l->HasShadow()) << state; // as the layouts make them
        } else if (!std::strcmp(i.family, "ColorPane") || !std::strcmp(i.family, "GrayPane") ||
                   !std::strcmp(i.family, "GroupBox") || !std::strcmp(i.family, "HorizontalSeparator") ||
                   !std::strcmp(i.family, "GlassPane")) {
            EXPECT_EQ(state == "enabled", i.pane->IsEnabled()) << i.family << " " << state;
        } else if (auto* n = dynamic_cast<NumEditor*>(i.pane)) {
            EXPECT_EQ(state == "inverted", n->Spin().IsInverted()) << i.family << " " << state;
            EXPECT_EQ(state == "one value", n->GetMinimum() == n->GetMaximum()) << i.family << " " << state;
            EXPECT_EQ(state != "one value", n->Spin().IsVisible()) << i.family << " " << state;
            EXPECT_EQ(state != "disabled", n->IsEnabled()) << i.family << " " << state;
            EXPECT_TRUE(n->GetValue() >= n->GetMinimum() && n->GetValue() <= n->GetMaximum()) << i.family;
        } else if (auto* c = dynamic_cast<Combo*>(i.pane)) {
            const int32_t count = state == "empty" ? 0 : state == "one item" ? 1 : -1;
            if (count >= 0)
                EXPECT_EQ(count, c->GetItemCount()) << i.family << " " << state;
            else
                EXPECT_GE(c->GetItemCount(), 2) << i.family << " " << state;
            EXPECT_EQ(state != "disabled", c->IsEnabled()) << i.family << " " << state;
            EXPECT_EQ(count != 0, c->GetSelectedIndex() >= 0) << i.family << " " << state;
        } else if (auto* l = dynamic_cast<ListView*>(i.pane)) {
            EXPECT_EQ(100000, l->GetRowCount());
            EXPECT_TRUE(l->GetScrollBar()->IsVisible());
        } else if (auto* tv = dynamic_cast<TreeView*>(i.pane)) {
            // The top folders, and the first one open down to its leaves.
            EXPECT_EQ(10 + 4 + 4 + 6 + 10, tv->GetRowCount());
        } else if (auto* t = dynamic_cast<TooltipViewer*>(i.pane)) {
            EXPECT_EQ(gallery->Items().size() - 1, t->GetTooltipCount());
        } else if (auto* f = dynamic_cast<NameField*>(i.pane)) {
            EXPECT_EQ(state == "long name", f->GetName().GetLength() > TextEditorImpl::kMaxLength) << state;
            EXPECT_EQ(state != "disabled", f->IsEnabled()) << state;
            EXPECT_FALSE(f->IsRenaming());
        } else if (auto* sw = dynamic_cast<TabSwitch*>(i.pane)) {
            EXPECT_EQ(state == "open" ? 2 : 0, sw->GetSelected()) << state;
            for (int k = 0; k < sw->GetCount(); ++k)
                EXPECT_EQ(k + 1 == sw->GetSelected(), sw->Panel(k)->IsVisible()) << state << " " << k;
        } else if (auto* cp = dynamic_cast<ControlPanel*>(i.pane)) {
            const int32_t mode = state == "tiled"       ? ControlPanel::kImageTiled
                                 : state == "stretched" ? ControlPanel::kImageStretched
                                                        : ControlPanel::kImageOnce;
            EXPECT_EQ(mode, cp->Mode()) << state;
            ASSERT_NE(cp->Image(), nullptr) << state;
            EXPECT_GT(cp->Image()->Width(), 0) << state;
        } else if (auto* sf = dynamic_cast<FxControl*>(i.pane)) {
            EXPECT_EQ(4u, sf->EffectList().size());
            EXPECT_GE(sf->Selector()->GetSelectedIndex(), 0) << "the slot holds a listed effect";
        } else if (auto* vf = dynamic_cast<BasicVeloFxView*>(i.pane)) {
            EXPECT_EQ(7, vf->KindCombo()->GetItemCount());
        } else if (auto* ec = dynamic_cast<ElectricControllerPanel*>(i.pane)) {
            EXPECT_EQ(state == "solo" ? 0 : state == "harmony" ? 1 : 2, ec->GetKind()) << state;
            // Live: it shows what the engine holds.
            EXPECT_GE(ec->Destination(ElectricControllerPanel::kBendUp)->GetSelectedIndex(), 0) << state;
        } else if (auto* ce = dynamic_cast<ChordEdit*>(i.pane)) {
            EXPECT_EQ(state == "chord", Chords::IsValid(ce->GetKord())) << state;
            EXPECT_EQ(Chords::kMapEditorTypeCount, ce->TypeMenu()->GetItemCount());
        } else if (auto* nv = dynamic_cast<CNoteView*>(i.pane)) {
            EXPECT_EQ(6, nv->GetSelected()) << state;
            EXPECT_STREQ(state == "flats" ? "b" : "#", nv->Accidental(0)->GetCaption().c_str()) << state;
        } else if (auto* cv = dynamic_cast<ChordView*>(i.pane)) {
            EXPECT_TRUE(cv->State().Shows()) << "the display shows the second editor's chord";
        } else {
            ADD_FAILURE() << i.family << " is none of the gallery's kinds";
        }
    }
}

TEST_F(GalleryFixture, PanesAndLabelsEachDrawInsideTheirOwnCell) {
    Corvell::Test::RecordingContext gc{Rect{0, 0, WidgetGallery::kWidth, WidgetGallery::kHeight}};
    root->PaintWindow(gc);
    const char* const families[] = {"ColorPane", "GrayPane", "GroupBox", "HorizontalSeparator", "GlassPane", "ALabel"};
    for (const char* family : families)
        for (const auto& i : gallery->Family(family)) {
            const Point o = i.pane->GetAbsoluteOrigin();
            const Rect cell{o.x, o.y, i.pane->GetBounds().width, i.pane->GetBounds().height};
            int drawn = 0;
            for (const auto& c : gc.Calls()) {
                if (!(c.origin == o))
                    continue;
                ++drawn;
                Region outside = c.clip;
                outside.Subtract(cell);
                EXPECT_TRUE(outside.IsEmpty()) << family << " " << i.state << " " << c.op;
            }
            EXPECT_GT(drawn, 0) << family << " " << i.state << " draws nothing";
        }
    // The glass shows an image, and the cut-short label has more text than room.
    for (const auto& i : gallery->Family("GlassPane"))
        EXPECT_GT(dynamic_cast<GlassPane&>(*i.pane).GetGlassImage()->Width(), 0);
    auto cut = Find("ALabel", "cut short");
    ASSERT_TRUE(cut.pane);
    EXPECT_GT(gc.MeasureText(static_cast<ALabel*>(cut.pane)->GetText().c_str(), -1).width,
              cut.pane->GetBounds().width);
}

TEST_F(GalleryFixture, AClickAsksTheEngineAndEveryWidgetOfThatValueFollows) {
    auto normal = Find("ToggleButton", "normal");
    auto disabled = Find("ToggleButton", "disabled");
    ASSERT_TRUE(normal.pane && disabled.pane);
    const Point at = Centre(normal.pane);
    root->Click(at.x, at.y);
    root->PumpMessages();
    EXPECT_EQ(1, host.RnC().GetParameter(rncHold));
    EXPECT_EQ(0, host.RnC().GestureDepth(rncHold));
    EXPECT_TRUE(static_cast<ToggleButton*>(normal.pane)->IsOn());
    EXPECT_TRUE(static_cast<ToggleButton*>(disabled.pane)->IsOn());

    // The engine changes it on its own: the gallery shows it.
    host.RnC().EngineSetParameter(rncHold, 0);
    root->PumpMessages();
    EXPECT_FALSE(static_cast<ToggleButton*>(normal.pane)->IsOn());

    auto capo = Find("Button", "normal");
    const int before = host.RnC().GetParameter(rncCapo);
    const Point c = Centre(capo.pane);
    root->Click(c.x, c.y);
    root->PumpMessages();
    EXPECT_EQ(before + 1, host.RnC().GetParameter(rncCapo));
    EXPECT_NE(nullptr, std::strstr(static_cast<Button*>(capo.pane)->GetCaption().c_str(),
                                   std::to_string(before + 1).c_str()));
}

TEST_F(GalleryFixture, DraggingASliderWritesOneBalancedEdit) {
    auto minimum = Find("HSlider", "minimum");
    ASSERT_TRUE(minimum.pane);
    auto* slider = static_cast<Slider*>(minimum.pane);
    const auto par = static_cast<ERnCPars>(slider->GetAdapterId());
    const int start = host.RnC().GetParameter(par);
    EXPECT_EQ(slider->GetMinimum(), start);
    const Point at = Centre(slider);
    root->MoveTo(at.x, at.y);
    root->Press(at.x, at.y);
    EXPECT_EQ(1, host.RnC().GestureDepth(par));
    for (int dx = 10; dx <= 40; dx += 10)
        root->MoveTo(at.x + dx, at.y);
    root->Release(at.x + 40, at.y);
    root->PumpMessages();
    EXPECT_EQ(0, host.RnC().GestureDepth(par));
    EXPECT_GT(host.RnC().GetParameter(par), start);
    EXPECT_EQ(host.RnC().GetParameter(par), slider->GetValue());
}

TEST_F(GalleryFixture, ClosingTheGalleryEndsTheEditsItsPressedWidgetsHold) {
    auto dragging = Find("HSlider3", "dragging");
    ASSERT_TRUE(dragging.pane);
    const auto par = static_cast<ERnCPars>(static_cast<Slider*>(dragging.pane)->GetAdapterId());
    EXPECT_EQ(1, host.RnC().GestureDepth(par));
    gallery.reset();
    for (int p = 0; p < rncParCount; ++p)
        EXPECT_EQ(0, host.RnC().GestureDepth(p)) << "parameter " << p;
}

TEST_F(GalleryFixture, TheNumberEditorsShowTheEngineAndEachSpinStepIsOneEdit) {
    // The capo: shared by the capo button and the number editor.
    auto capo = Find("NumberEditor", "normal");
    auto capoDisabled = Find("NumberEditor", "disabled");
    ASSERT_TRUE(capo.pane && capoDisabled.pane);
    auto* editor = dynamic_cast<NumEditor*>(capo.pane);
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(host.RnC().GetParameter(rncCapo), editor->GetValue());

    // A press on the upper half of the spin button, held past the delay.
    const Point o = editor->Spin().GetAbsoluteOrigin();
    const int start = editor->GetValue();
    const size_t writes = host.Log().Count("IRnC", "SetParameter");
    root->MoveTo(o.x + 6, o.y + 3);
    root->Press(o.x + 6, o.y + 3);
    root->AdvanceTime(600); // one step, then the delay's and one repeat
    root->Release(o.x + 6, o.y + 3);
    root->PumpMessages();
    EXPECT_EQ(start + 3, host.RnC().GetParameter(rncCapo));
    EXPECT_EQ(writes + 3, host.Log().Count("IRnC", "SetParameter"));
    EXPECT_EQ(0, host.RnC().GestureDepth(rncCapo));
    EXPECT_EQ(start + 3, editor->GetValue());
    EXPECT_EQ(start + 3, dynamic_cast<NumEditor*>(capoDisabled.pane)->GetValue());
    auto button = Find("Button", "normal");
    EXPECT_NE(nullptr, std::strstr(static_cast<Button*>(button.pane)->GetCaption().c_str(),
                                   std::to_string(start + 3).c_str()));

    // The engine moves the lowest key on its own: the note editor shows it.
    auto low = Find("NoteNumEditor", "normal");
    host.RnC().EngineSetParameter(rncKeyboardLow, 40);
    root->PumpMessages();
    EXPECT_EQ(40, dynamic_cast<NumEditor*>(low.pane)->GetValue());
}

TEST_F(GalleryFixture, TypedValuesAndNamesGoWhereTheyBelong) {
    auto low = Find("NoteNumEditor", "normal");
    ASSERT_TRUE(low.pane);
    Point at = Centre(low.pane);
    at.x -= 15; // on the text, left of the spin button
    root->MoveTo(at.x, at.y);
    root->DoubleClick(at.x, at.y);
    Corvell::Test::FakeTextField* f = root->textFields.Last();
    ASSERT_NE(nullptr, f);
    f->Type("A1");
    f->PressEnter();
    root->PumpMessages();
    EXPECT_EQ(45, host.RnC().GetParameter(rncKeyboardLow));
    EXPECT_EQ(0, host.RnC().GestureDepth(rncKeyboardLow));

    auto name = Find("TextEditor", "normal");
    ASSERT_TRUE(name.pane);
    at = Centre(name.pane);
    root->MoveTo(at.x, at.y);
    root->DoubleClick(at.x, at.y);
    f = root->textFields.Last();
    ASSERT_NE(nullptr, f);
    EXPECT_STREQ("Verse A", f->Text().c_str());
    f->Type("Chorus B");
    f->PressEnter();
    EXPECT_STREQ("Chorus B", static_cast<NameField*>(name.pane)->GetName().c_str());

    // The long name is refused until shortened: it is never cut.
    auto longName = Find("TextEditor", "long name");
    const std::string before = static_cast<NameField*>(longName.pane)->GetName().c_str();
    at = Centre(longName.pane);
    root->MoveTo(at.x, at.y);
    root->DoubleClick(at.x, at.y);
    f = root->textFields.Last();
    ASSERT_NE(nullptr, f);
    f->PressEnter();
    EXPECT_EQ(1, f->Refusals());
    f->PressEscape();
    EXPECT_EQ(before, static_cast<NameField*>(longName.pane)->GetName().c_str());

    // Disabled: no editor opens.
    auto disabled = Find("TextEditor", "disabled");
    at = Centre(disabled.pane);
    root->DoubleClick(at.x, at.y);
    EXPECT_FALSE(static_cast<NameField*>(disabled.pane)->IsRenaming());
    EXPECT_TRUE(root->textFields.live.empty());
}

TEST_F(GalleryFixture, ACombosChoiceIsOneEditAndEveryComboOfThatValueFollows) {
    auto curve = Find("Combo", "normal");
    auto curveDisabled = Find("Combo", "disabled");
    ASSERT_TRUE(curve.pane && curveDisabled.pane);
    root->menuAnswers = {2};
    const Point at = Centre(curve.pane);
    root->Click(at.x, at.y);
    root->PumpMessages();
    EXPECT_EQ(2, host.RnC().GetParameter(rncVelocityCurve));
    EXPECT_EQ(0, host.RnC().GestureDepth(rncVelocityCurve));
    EXPECT_EQ(2, static_cast<Combo*>(curve.pane)->GetSelectedIndex());
    EXPECT_EQ(2, static_cast<Combo*>(curveDisabled.pane)->GetSelectedIndex());

    // The capo's list is made from the engine when it opens; the engine's
    // own change shows in the list, the button and the editors alike.
    host.RnC().EngineSetParameter(rncCapo, 5);
    root->PumpMessages();
    auto capo = Find("BCombo", "normal");
    ASSERT_TRUE(capo.pane);
    auto* combo = static_cast<Combo*>(capo.pane);
    EXPECT_STREQ("Fret 5", combo->GetItemText(combo->GetSelectedIndex()).c_str());
    root->menuHandler = [](MenuItemList& items, const Rect&) {
        EXPECT_EQ(23, items.GetCount());
        EXPECT_STREQ("No capo", items.GetItem(0).text.c_str());
        EXPECT_TRUE(items.GetItem(5).flags & MenuItem::Checked);
        return 3;
    };
    root->AdvanceTime(100);
    const Point c = Centre(combo);
    root->Click(c.x, c.y);
    root->PumpMessages();
    EXPECT_EQ(3, host.RnC().GetParameter(rncCapo));
    EXPECT_EQ(0, host.RnC().GestureDepth(rncCapo));
    EXPECT_STREQ("Capo 3", static_cast<Button*>(Find("Button", "normal").pane)->GetCaption().c_str());
}

TEST_F(GalleryFixture, AnEditableComboRenamesItsSelectedName) {
    auto names = Find("EditCombo", "normal");
    ASSERT_TRUE(names.pane);
    auto* combo = static_cast<EditCombo*>(names.pane);
    const Point o = combo->GetAbsoluteOrigin();
    root->Click(o.x + 20, o.y + 10);
    Corvell::Test::FakeTextField* f = root->textFields.Last();
    ASSERT_NE(nullptr, f);
    EXPECT_STREQ("Verse A", f->Text().c_str());
    f->Type("Intro");
    f->PressEnter();
    EXPECT_STREQ("Intro", combo->GetItemText(0).c_str());
    EXPECT_STREQ("Intro", combo->GetItemText(combo->GetSelectedIndex()).c_str());
    EXPECT_EQ(3, combo->GetItemCount());
}

TEST_F(GalleryFixture, TheOpenersShowPopupsThatCloseAndGoWithTheGallery) {
    for (const char* family : {"PopupPane", "ModalPopupPane"}) {
        SCOPED_TRACE(family);
        auto opener = Find(family, "opener");
        ASSERT_TRUE(opener.pane);
        const int32_t before = root->GetChildCount();
        root->AdvanceTime(100);
        const Point at = Centre(opener.pane);
        root->Click(at.x, at.y);
        ASSERT_EQ(before + 1, root->GetChildCount());
        auto* popup = dynamic_cast<BasicPopupPane*>(root->GetChild(before));
        ASSERT_NE(nullptr, popup);
        EXPECT_EQ(std::string(family) == "ModalPopupPane", dynamic_cast<ModalPopupPane*>(popup) != nullptr);
        // Its content lies inside the page.
        const Rect content = popup->ContentRect();
        const Point co = popup->GetContent()->GetAbsoluteOrigin();
        EXPECT_GE(co.x - 16, 0);
        EXPECT_LE(co.x + content.width + 16, WidgetGallery::kWidth);
        EXPECT_GE(co.y - 16, 0);
        root->KeyDown(27);
        root->PumpMessages();
        EXPECT_EQ(before, root->GetChildCount());
    }
    // Left open, the popup goes with the gallery.
    auto opener = Find("PopupPane", "opener");
    root->AdvanceTime(100);
    const Point at = Centre(opener.pane);
    root->Click(at.x, at.y);
    const int32_t open = root->GetChildCount();
    gallery.reset();
    EXPECT_EQ(open - 2, root->GetChildCount());
}

TEST_F(GalleryFixture, TheHelpLineShowsTheWidgetUnderThePointerAndFollowsItsValue) {
    auto lineItem = Find("TooltipViewer", "normal");
    ASSERT_TRUE(lineItem.pane);
    auto* line = static_cast<TooltipViewer*>(lineItem.pane);
    EXPECT_EQ('\t', line->GetText().c_str()[0]);

    auto text = [&](const char* family, const char* state) {
        auto i = Find(family, state);
        const Point at = Centre(i.pane);
        root->MoveTo(at.x, at.y);
        return std::string(line->GetText().c_str());
    };
    EXPECT_EQ("ColorPane, enabled", text("ColorPane", "enabled"));
    EXPECT_EQ("SelectableButton is Off", text("SelectableButton", "normal"));
    EXPECT_EQ("Combo: Linear", text("Combo", "normal"));
    EXPECT_EQ("ToggleButton: Off", text("ToggleButton", "normal"));
    const Point hold = Centre(Find("ToggleButton", "normal").pane);
    root->Click(hold.x, hold.y);
    root->PumpMessages();
    EXPECT_EQ("ToggleButton: On", std::string(line->GetText().c_str()));

    // A drag: the line follows the value.
    auto minimum = Find("HSlider", "minimum");
    auto* slider = static_cast<Slider*>(minimum.pane);
    const Point at = Centre(slider);
    root->MoveTo(at.x, at.y);
    EXPECT_EQ("HSlider: " + std::to_string(slider->GetValue()), std::string(line->GetText().c_str()));
    root->Press(at.x, at.y);
    root->MoveTo(at.x + 30, at.y);
    EXPECT_EQ("HSlider: " + std::to_string(slider->GetValue()), std::string(line->GetText().c_str()));
    EXPECT_GT(slider->GetValue(), slider->GetMinimum());
    root->Release(at.x + 30, at.y);
    root->PumpMessages();

    // Off every widget, the line is empty.
    const Rect& b = line->GetBounds();
    root->MoveTo(b.x + b.width - 2, b.y - 3);
    EXPECT_EQ("", std::string(line->GetText().c_str()));
}

TEST_F(GalleryFixture, TheLongListAndTheTreeScrollWithTheWheelAndADrag) {
    for (const char* family : {"ListView", "TreeView"}) {
        SCOPED_TRACE(family);
        auto item = gallery->Family(family);
        ASSERT_EQ(1u, item.size());
        Pane* view = item[0].pane;
        ScrollBar* bar = dynamic_cast<ListView*>(view) ? static_cast<ListView*>(view)->GetScrollBar()
                                                        : static_cast<TreeView*>(view)->GetScrollBar();
        const Point o = view->GetAbsoluteOrigin();
        // The tree opens more of itself until the wheel has room to turn.
        if (auto* tree = dynamic_cast<TreeView*>(view)) {
            for (int32_t r = 0; r < tree->GetRowCount() &&
                                (!bar->IsVisible() || bar->GetMaximum() - bar->GetPage() - bar->GetPosition() < 60);
                 ++r)
                tree->Expand(tree->ItemAt(r));
        }
        ASSERT_TRUE(bar->IsVisible());
        const int32_t start = bar->GetPosition();
        root->MoveTo(o.x + 40, o.y + 40);
        root->Wheel(-120 * 3);
        EXPECT_EQ(start + 60, bar->GetPosition());

        // A drag of the thumb to the bottom reaches the end.
        const Point b = bar->GetAbsoluteOrigin();
        const Rect thumb = bar->Thumb();
        const Point grip{b.x + thumb.x + thumb.width / 2, b.y + thumb.y + thumb.height / 2};
        root->Drag(grip.x, grip.y, grip.x, b.y + bar->GetBounds().height + 50, 6);
        EXPECT_EQ(bar->GetMaximum() - bar->GetPage(), bar->GetPosition());
        root->PumpMessages();
    }
    // At the end of the list its last row is on screen.
    auto* list = static_cast<ListView*>(gallery->Family("ListView")[0].pane);
    EXPECT_NE(nullptr, list->GetRowPane(99999));
}

TEST_F(GalleryFixture, ClosingTheGalleryWithAnEditorOpenClosesIt) {
    auto name = Find("TextEditor", "normal");
    const Point at = Centre(name.pane);
    root->MoveTo(at.x, at.y);
    root->DoubleClick(at.x, at.y);
    ASSERT_EQ(1u, root->textFields.live.size());
    gallery.reset();
    EXPECT_TRUE(root->textFields.live.empty());
}

} // namespace
} // namespace Corvell
