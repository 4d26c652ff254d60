// The chord editor, its note fields and picker, and the chord display,
// driven with the mouse in a test window.
#include "RecordingContext.h"
#include "TestImageSource.h"
#include "TestRootPane.h"
#include "ui/ChordEdit.h"
#include "ui/ChordView.h"
#include "ui/core/FunctionDelegate.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace Corvell::Test {
namespace {

using Chords::StandardKord;

struct ChordEditFixture : ::testing::Test {
    ChordEditFixture() { ClearImageCache(); }
    ~ChordEditFixture() override {
        edit.reset();
        root.PumpMessages();
        ClearImageCache();
    }
    TestImageSource images{TARROW_SOURCE_DIR "/src/resources"};
    TestRootPane root{400, 200};
    std::unique_ptr<ChordEdit> edit{new ChordEdit(Chords::kMapEditorTypes, Chords::kMapEditorTypeCount)};
    std::vector<int> told;

    void SetUp() override {
        RecordingBackend::Install();
        edit->Create(&root, Rect{20, 100, 229, 23});
        edit->AddChangeListener(Fn<Chords::WhatChanged>([this](Chords::WhatChanged w) { told.push_back(int(w)); }));
    }
    void ClickIn(Pane* p, int dx = -1, int dy = -1) {
        const Point o = p->GetAbsoluteOrigin();
        const Rect b = p->GetBounds();
        root.Click(o.x + (dx < 0 ? b.width / 2 : dx), o.y + (dy < 0 ? b.height / 2 : dy));
        root.PumpMessages();
    }
    // Opens the picker of a field and picks a button of it.
    void PickWith(bool bass, SelectableButton* (*button)(CNoteView*)) {
        ClickIn(bass ? static_cast<Pane*>(edit->BassField()) : edit->RootField());
        ASSERT_NE(edit->Picker(), nullptr);
        ClickIn(button(edit->Picker()));
    }
    std::string Bytes(const Kord& k) {
        std::string s;
        for (size_t i = 0; i < sizeof k; ++i)
            s += std::to_string(reinterpret_cast<const uint8_t*>(&k)[i]) + " ";
        return s;
    }
};

TEST_F(ChordEditFixture, FieldsAndMenusAreLaidOutAndFilled) {
    EXPECT_EQ(edit->RootField()->GetBounds(), (Rect{0, 0, 44, 23}));
    EXPECT_EQ(edit->TypeMenu()->GetBounds(), (Rect{47, 0, 81, 23}));
    EXPECT_EQ(edit->BassField()->GetBounds(), (Rect{131, 0, 56, 23}));
    EXPECT_EQ(edit->PositionMenu()->GetBounds(), (Rect{190, 0, 39, 23}));
    ASSERT_EQ(edit->TypeMenu()->GetItemCount(), Chords::kMapEditorTypeCount);
    EXPECT_STREQ(edit->TypeMenu()->GetItemText(0).c_str(), "ma");
    EXPECT_STREQ(edit->TypeMenu()->GetItemText(2).c_str(), "6,9");
    EXPECT_STREQ(edit->TypeMenu()->GetItemText(29).c_str(), "aug");
    ASSERT_EQ(edit->PositionMenu()->GetItemCount(), 4);
    EXPECT_STREQ(edit->PositionMenu()->GetItemText(3).c_str(), "IV");
    EXPECT_STREQ(edit->BassField()->GetPlaceholder().c_str(), "/bass");
    EXPECT_STREQ(edit->BassField()->GetPrefix().c_str(), "/");
}

TEST_F(ChordEditFixture, AChordSetFromOutsideIsShownAndToldToNobody) {
    struct Case {
        const char* what;
        Kord kord;
        int root, bass, typeItem, posItem;
        bool posEnabled;
    };
    Kord carrying = StandardKord(4, 0, -1, 1);
    carrying.kind = Chords::kCarrying;
    const Case cases[] = {
        {"D minor, position III", StandardKord(2, 36, -1, 3), 2, -1, 20, 2, true},
        {"C/E, position 0 shows I", StandardKord(0, 0, 4, 0), 0, 4, 0, 0, true},
        {"no chord", Chords::ClearedKord(), -1, -1, -1, -1, false},
        {"a kind-1 chord shows as none", carrying, -1, -1, -1, -1, false},
        {"a type the list does not offer", StandardKord(9, 30, -1, 1), 9, -1, -1, 0, true},
    };
    for (const Case& c : cases) {
        edit->SetKord(c.kord);
        EXPECT_EQ(edit->RootField()->GetPitch(), c.root) << c.what;
        EXPECT_EQ(edit->BassField()->GetPitch(), c.bass) << c.what;
        EXPECT_EQ(edit->TypeMenu()->GetSelectedIndex(), c.typeItem) << c.what;
        EXPECT_EQ(edit->PositionMenu()->GetSelectedIndex(), c.posItem) << c.what;
        EXPECT_EQ(edit->PositionMenu()->IsEnabled(), c.posEnabled) << c.what;
    }
    EXPECT_STREQ(edit->TypeMenu()->GetEmptyText().c_str(), "13") << "named though not offered";
    EXPECT_TRUE(told.empty());
}

TEST_F(ChordEditFixture, PickingNotesStartsAndChangesTheChord) {
    // The root's picker opens above the field, 216 x 36, no note marked.
    ClickIn(edit->RootField());
    CNoteView* picker = edit->Picker();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->GetAbsoluteOrigin(), (Point{20, 64}));
    EXPECT_EQ(picker->GetBounds().width, 216);
    EXPECT_EQ(picker->GetBounds().height, 36);
    ASSERT_NE(picker->NoneButton(), nullptr);
    EXPECT_TRUE(picker->NoneButton()->IsOn());
    ClickIn(picker->Accidental(0)); // C#
    EXPECT_EQ(edit->Picker(), nullptr) << "a pick closes the picker";
    EXPECT_EQ(told, (std::vector<int>{Chords::kChordStarted}));
    EXPECT_EQ(Bytes(edit->GetKord()), Bytes(StandardKord(1, 0, -1, 1)));
    EXPECT_EQ(edit->RootField()->GetPitch(), 1);
    EXPECT_EQ(edit->TypeMenu()->GetSelectedIndex(), 0);

    // Another root on a chord: only the root changes; its note is marked.
    ClickIn(edit->RootField());
    ASSERT_NE(edit->Picker(), nullptr);
    EXPECT_TRUE(edit->Picker()->Natural(0)->IsOn());
    EXPECT_TRUE(edit->Picker()->Accidental(0)->IsOn());
    ClickIn(edit->Picker()->Natural(4)); // G
    EXPECT_EQ(told.back(), Chords::kRootChanged);
    EXPECT_EQ(edit->GetKord().root, 7);

    // A bass, then "none" as the bass: the chord stays.
    PickWith(true, [](CNoteView* v) { return v->Natural(6); }); // B
    EXPECT_EQ(told.back(), Chords::kBassChanged);
    EXPECT_EQ(edit->GetKord().bass, 11);
    PickWith(true, [](CNoteView* v) { return v->NoneButton(); });
    EXPECT_EQ(told.back(), Chords::kBassChanged);
    EXPECT_EQ(Bytes(edit->GetKord()), Bytes(StandardKord(7, 0, -1, 1)));
}

TEST_F(ChordEditFixture, ABassOnNoChordStartsOneAndNoneThereDoesNothing) {
    PickWith(true, [](CNoteView* v) { return v->NoneButton(); });
    EXPECT_TRUE(told.empty());
    EXPECT_EQ(edit->GetKord().kind, Chords::kNoChord);
    PickWith(true, [](CNoteView* v) { return v->Natural(2); }); // E
    EXPECT_EQ(told, (std::vector<int>{Chords::kBassChanged}));
    EXPECT_EQ(Bytes(edit->GetKord()), Bytes(StandardKord(4, 0, 4, 1)));
}

TEST_F(ChordEditFixture, MenusEditAChordAndTheBassRuleFollowsTheType) {
    // As the editors that hold it do: the rule after a start or a type.
    edit->AddChangeListener(Fn<Chords::WhatChanged>([this](Chords::WhatChanged w) {
        if (w == Chords::kChordStarted || w == Chords::kTypeOrPosChanged) {
            Kord k = edit->GetKord();
            edit->SetBassEnabled(Chords::ApplyBassRule(k));
        }
    }));
    // Without a chord a menu choice changes nothing and shows nothing.
    root.menuAnswers = {3};
    ClickIn(edit->TypeMenu());
    EXPECT_TRUE(told.empty());
    EXPECT_EQ(edit->TypeMenu()->GetSelectedIndex(), -1);

    edit->SetKord(StandardKord(2, 36, 9, 1)); // Dm/A
    root.menuAnswers = {10};                   // "7"
    ClickIn(edit->TypeMenu());
    EXPECT_EQ(told, (std::vector<int>{Chords::kTypeOrPosChanged}));
    EXPECT_EQ(edit->GetKord().type, 2);
    EXPECT_EQ(edit->GetKord().bass, -1);
    EXPECT_FALSE(edit->IsBassEnabled());
    EXPECT_FALSE(edit->BassField()->IsEnabled());
    ClickIn(edit->BassField());
    EXPECT_EQ(edit->Picker(), nullptr) << "a closed bass field opens no picker";

    root.menuAnswers = {20}; // back to "m": open again, the bass stays gone
    ClickIn(edit->TypeMenu());
    EXPECT_EQ(edit->GetKord().type, 36);
    EXPECT_TRUE(edit->IsBassEnabled());
    EXPECT_EQ(edit->GetKord().bass, -1);

    root.menuAnswers = {3};
    ClickIn(edit->PositionMenu());
    EXPECT_EQ(edit->GetKord().pos, 4);
    EXPECT_EQ(told.back(), Chords::kTypeOrPosChanged);
}

TEST_F(ChordEditFixture, AListenerMayDeleteTheEditorAndAnOpenPickerGoesWithIt) {
    edit->AddChangeListener(Fn<Chords::WhatChanged>([this](Chords::WhatChanged) { edit.reset(); }));
    PickWith(false, [](CNoteView* v) { return v->Natural(1); });
    EXPECT_EQ(edit, nullptr);
    root.PumpMessages(); // the picker's posted close finds nobody

    edit.reset(new ChordEdit(Chords::kTabEditorTypes, Chords::kTabEditorTypeCount));
    edit->Create(&root, Rect{20, 100, 229, 23});
    EXPECT_STREQ(edit->TypeMenu()->GetItemText(1).c_str(), "5");
    ClickIn(edit->RootField());
    ASSERT_NE(edit->PickerPopup(), nullptr);
    edit.reset(); // with the picker open (ASan watches)
    root.PumpMessages();
}

TEST(NotePicker, ButtonsSitWhereTheLayoutPutsThemAndMarkInBothNamings) {
    TestImageSource images{"/nowhere"};
    TestRootPane root{300, 100};
    CNoteView picker;
    picker.SetNoneText("no");
    picker.Create(&root, Rect{0, 0, 216, 36});
    // b = 192, s = 28, d = 12: naturals 16 wide from x 2, accidentals 12 x 12 at y 2.
    EXPECT_EQ(picker.Natural(0)->GetBounds(), (Rect{2, 10, 16, 16}));
    EXPECT_EQ(picker.Accidental(0)->GetBounds(), (Rect{18, 2, 12, 12}));
    EXPECT_EQ(picker.Natural(6)->GetBounds(), (Rect{170, 10, 16, 16}));
    EXPECT_EQ(picker.Accidental(2), nullptr);
    EXPECT_EQ(picker.Accidental(6), nullptr);
    EXPECT_EQ(picker.NoneButton()->GetBounds(), (Rect{192, 10, 24, 16}));

    for (bool flats : {false, true}) {
        picker.SetFlatNames(flats);
        picker.SetSelected(6);
        EXPECT_TRUE(picker.Natural(3)->IsOn()) << "F";
        EXPECT_TRUE(picker.Accidental(3)->IsOn());
        EXPECT_STREQ(picker.Accidental(3)->GetCaption().c_str(), flats ? "b" : "#");
        int on = 0;
        for (int i = 0; i < 7; ++i)
            on += picker.Natural(i)->IsOn() + (picker.Accidental(i) && picker.Accidental(i)->IsOn());
        EXPECT_EQ(on, 2);
        EXPECT_FALSE(picker.NoneButton()->IsOn());
    }
    std::vector<int> picked;
    picker.SetPickListener(Fn<int>([&](int pc) { picked.push_back(pc); }));
    for (int i = 0; i < 7; ++i) {
        const Rect n = picker.Natural(i)->GetBounds();
        root.Click(n.x + 3, n.y + 3);
        if (SelectableButton* a = picker.Accidental(i)) {
            const Rect r = a->GetBounds();
            root.Click(r.x + 3, r.y + 3);
        }
    }
    root.Click(200, 15);
    EXPECT_EQ(picked, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, -1}));
}

TEST(ChordDisplayPaint, DrawsTheChordInPiecesOrNothing) {
    RecordingBackend::Install();
    TestRootPane root{300, 100};
    ChordView view;
    view.Create(&root, Rect{0, 0, 200, 25});
    auto texts = [&] {
        RecordingContext gc;
        view.Paint(gc);
        std::vector<std::string> out;
        for (const DrawCall& c : gc.CallsOf("DrawText"))
            out.push_back(c.text);
        return out;
    };
    EXPECT_TRUE(texts().empty());
    const int kValues[][2] = {{33, 39}, {34, 1}, {35, 8}, {36, 2}, {37, 1}};
    for (const auto& v : kValues)
        view.Update(v[0], v[1]);
    EXPECT_EQ(texts(), (std::vector<std::string>{"C", "#", "m7", "/G", "#", "II*"}));
    view.SetSharpNames(false);
    EXPECT_EQ(texts(), (std::vector<std::string>{"D", "b", "m7", "/A", "b", "II*"}));
    view.Update(35, -1);
    view.Update(36, 0);
    view.Update(37, 0);
    view.Update(34, 0);
    view.Update(33, 0);
    EXPECT_EQ(texts(), (std::vector<std::string>{"C", " "})) << "major keeps its space; no numeral for 0";
    view.Update(33, 71);
    EXPECT_TRUE(texts().empty()) << "an unknown type shows nothing";
    view.Update(33, 36);
    view.Update(34, 12);
    EXPECT_TRUE(texts().empty());
}

} // namespace
} // namespace Corvell::Test
