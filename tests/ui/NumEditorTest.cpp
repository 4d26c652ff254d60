#include "RecordingContext.h"
#include "SliderFixture.h"
#include "TestRootPane.h"
#include "shared/Graphics/Palette.h"
#include "ui/NoteNumEditor.h"
#include "ui/NumEditor.h"
#include "ui/NumberEditor.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace Corvell::Test {
namespace {

// A number editor of 60 x 20 at (20, 10) of a 200 x 100 window. Its spin
// button lies at (45, 2, 13, 16) inside it: window x 65..77, y 12..27,
// upper half y 12..19, lower half 21..27.
constexpr int32_t kSpinX = 70;
constexpr int32_t kUpperY = 14;
constexpr int32_t kLowerY = 25;
// A point on the text, left of the spin button.
constexpr int32_t kTextX = 40;
constexpr int32_t kTextY = 20;

template <class E>
class NumberEditorFixture : public ::testing::Test {
protected:
    NumberEditorFixture() {
        editor->Create(&root, {20, 10, 60, 20});
        editor->AddListener(&listener);
    }
    ~NumberEditorFixture() override { editor.reset(); }

    void Hold(int32_t y) {
        root.MoveTo(kSpinX, y);
        root.Press(kSpinX, y);
    }
    void Release(int32_t y) { root.Release(kSpinX, y); }
    // A double-click on the text: the text editor opens.
    FakeTextField* Type() {
        root.MoveTo(kTextX, kTextY);
        root.DoubleClick(kTextX, kTextY);
        return root.textFields.Last();
    }
    std::vector<DrawCall> Texts() {
        RecordingContext gc;
        editor->Paint(gc);
        return gc.CallsOf("DrawText");
    }

    TestRootPane root{200, 100};
    std::vector<std::string> log;
    LogListener listener{log};
    std::unique_ptr<E> editor = std::make_unique<E>();
};

using NumEditorTest = NumberEditorFixture<NumEditor>;
using NoteEditorTest = NumberEditorFixture<NoteNumEditor>;

TEST_F(NumEditorTest, StartsAtZeroInZeroToNinetyNineWithThePaletteColours) {
    EXPECT_EQ(editor->GetValue(), 0);
    EXPECT_EQ(editor->GetMinimum(), 0);
    EXPECT_EQ(editor->GetMaximum(), 99);
    EXPECT_EQ(editor->GetTextColor(), GetColor(1));
    EXPECT_EQ(editor->GetDisabledTextColor(), GetColor(2));
    EXPECT_EQ(editor->Spin().GetActiveColor(), GetColor(1));
    EXPECT_EQ(editor->Spin().GetInactiveColor(), GetColor(2));
    EXPECT_EQ(editor->Spin().GetParent(), static_cast<Pane*>(editor.get()));
    EXPECT_EQ(editor->Spin().GetBounds(), (Rect{45, 2, 13, 16}));
    EXPECT_TRUE(editor->Spin().IsVisible());
}

TEST_F(NumEditorTest, SetRangePutsTheValueAtItsFirstArgumentAndInvertsWhenGivenHighToLow) {
    struct Case {
        int32_t a, b;
        int32_t value, minimum, maximum;
        bool inverted, spinShown;
    };
    for (const Case& c : {Case{0, 127, 0, 0, 127, false, true}, Case{5, 2, 5, 2, 5, true, true},
                          Case{-7, 7, -7, -7, 7, false, true}, Case{3, 3, 3, 3, 3, false, false},
                          Case{40, 76, 40, 40, 76, false, true}}) {
        editor->SetRange(c.a, c.b);
        EXPECT_EQ(editor->GetValue(), c.value) << c.a << ".." << c.b;
        EXPECT_EQ(editor->GetMinimum(), c.minimum);
        EXPECT_EQ(editor->GetMaximum(), c.maximum);
        EXPECT_EQ(editor->Spin().IsInverted(), c.inverted);
        EXPECT_EQ(editor->Spin().IsVisible(), c.spinShown);
    }
    EXPECT_TRUE(log.empty());
}

TEST_F(NumEditorTest, AnInvertedRangeDecrementsFromTheUpperHalf) {
    editor->SetRange(5, 2);
    Hold(kUpperY);
    EXPECT_EQ(editor->GetValue(), 4);
    Release(kUpperY);
    Hold(kLowerY);
    EXPECT_EQ(editor->GetValue(), 5);
    Release(kLowerY);
}

TEST_F(NumEditorTest, SetValueClampsInvalidatesAndTellsNoListener) {
    editor->SetRange(0, 20);
    struct Case {
        int32_t in, out;
    };
    for (const Case& c : {Case{7, 7}, Case{25, 20}, Case{INT32_MAX, 20}, Case{-1, 0}, Case{INT32_MIN, 0}}) {
        root.ClearInvalidations();
        editor->SetValue(c.in);
        EXPECT_EQ(editor->GetValue(), c.out) << c.in;
        EXPECT_FALSE(root.invalidations.empty()) << c.in;
    }
    root.ClearInvalidations();
    editor->SetValue(0); // the value already
    EXPECT_TRUE(root.invalidations.empty());
    EXPECT_TRUE(log.empty());
}

TEST_F(NumEditorTest, HoldingTheLowerHalfAtTenIsOneCompleteEditPerStepDownToZero) {
    editor->SetValue(10);
    Hold(kLowerY);
    EXPECT_EQ(log, (std::vector<std::string>{"Begin", "Changed 9", "End"}));
    root.AdvanceTime(500);
    EXPECT_EQ(editor->GetValue(), 8);
    for (int32_t i = 0; i < 8; ++i)
        root.AdvanceTime(100);
    EXPECT_EQ(editor->GetValue(), 0);
    root.AdvanceTime(1000);
    Release(kLowerY);
    std::vector<std::string> expected;
    for (int32_t v = 9; v >= 0; --v) {
        expected.push_back("Begin");
        expected.push_back("Changed " + std::to_string(v));
        expected.push_back("End");
    }
    EXPECT_EQ(log, expected);
    EXPECT_EQ(root.GetTimerCount(), 0u);
}

TEST_F(NumEditorTest, AListenerMayDeleteTheEditorWhileItsSpinButtonRepeats) {
    editor->SetValue(50);
    listener.then = [&](const std::string& op) {
        if (op == "Changed" && editor->GetValue() == 53)
            editor.reset();
    };
    Hold(kUpperY);
    root.AdvanceTime(2000);
    Release(kUpperY);
    EXPECT_FALSE(editor);
    EXPECT_EQ(log.back(), "Changed 53");
    EXPECT_EQ(root.GetTimerCount(), 0u);
}

TEST_F(NumEditorTest, DisablingOrHidingTheEditorEndsAHeldSpin) {
    for (bool hide : {true, false}) {
        editor->SetRange(0, 99);
        editor->SetValue(50);
        Hold(kUpperY);
        root.AdvanceTime(600);
        const int32_t value = editor->GetValue();
        if (hide)
            editor->SetVisible(false);
        else
            editor->SetEnabled(false);
        root.AdvanceTime(1000);
        EXPECT_EQ(editor->GetValue(), value) << (hide ? "hidden" : "disabled");
        EXPECT_EQ(root.GetTimerCount(), 0u);
        Release(kUpperY);
        editor->SetVisible(true);
        editor->SetEnabled(true);
    }
}

TEST_F(NumEditorTest, SetVisibleShowsTheSpinButtonOnlyForARealRange) {
    editor->SetRange(3, 3);
    editor->SetVisible(false);
    editor->SetVisible(true);
    EXPECT_FALSE(editor->Spin().IsVisible());
    editor->SetRange(0, 5);
    EXPECT_TRUE(editor->Spin().IsVisible());
    // Hidden, the editor leaves the spin button alone.
    editor->SetVisible(false);
    editor->SetRange(4, 4);
    EXPECT_TRUE(editor->Spin().IsVisible());
    editor->SetVisible(true);
    EXPECT_FALSE(editor->Spin().IsVisible());
}

// ---- painting -------------------------------------------------------------------------------

TEST_F(NumEditorTest, PaintsTheValueRightAlignedLeftOfTheSpinButtonOrAcrossTheWholeWidth) {
    editor->SetRange(-50, 50);
    editor->SetValue(-12);
    std::vector<DrawCall> texts = Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "-12");
    EXPECT_EQ(texts[0].rect, (Rect{2, 2, 43, 16})); // 60 - 4 - 13
    EXPECT_EQ(texts[0].format & (kTextRight | kTextVCenter), kTextRight | kTextVCenter);
    EXPECT_EQ(texts[0].textColor, GetColor(1));

    editor->SetRange(3, 3);
    texts = Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "3");
    EXPECT_EQ(texts[0].rect, (Rect{2, 2, 56, 16}));

    editor->SetEnabled(false);
    texts = Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].textColor, GetColor(2));
}

TEST_F(NoteEditorTest, ShowsNoteNamesInPaletteColourOneEnabledOrNot) {
    editor->SetRange(40, 76);
    struct Case {
        int32_t value;
        const char* name;
    };
    for (const Case& c : {Case{40, "E1"}, Case{60, "C3"}, Case{61, "C#3"}, Case{76, "E4"}}) {
        editor->SetValue(c.value);
        for (bool enabled : {true, false}) {
            editor->SetEnabled(enabled);
            const std::vector<DrawCall> texts = Texts();
            ASSERT_EQ(texts.size(), 1u);
            EXPECT_EQ(texts[0].text, c.name);
            EXPECT_EQ(texts[0].textColor, GetColor(1));
        }
    }
}

TEST(NumberEditorPaint, PaintAllLeavesTheContextsTextColourAsItWas) {
    TestRootPane root(200, 100);
    NumberEditor a;
    NoteNumEditor b;
    a.Create(&root, {0, 0, 60, 20});
    b.Create(&root, {0, 30, 60, 20});
    for (Pane* p : {static_cast<Pane*>(&a), static_cast<Pane*>(&b)}) {
        RecordingContext gc;
        gc.SetTextColor(0x123456);
        p->PaintAll(gc);
        EXPECT_FALSE(gc.CallsOf("DrawText").empty());
        EXPECT_EQ(gc.GetTextColor(), 0x123456u);
    }
}

// ---- typing a value --------------------------------------------------------------------------

TEST_F(NumEditorTest, ADoubleClickOpensATextEditorOverTheValue) {
    editor->SetValue(42);
    FakeTextField* f = Type();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(editor->IsTyping());
    EXPECT_STREQ(f->Text().c_str(), "42");
    EXPECT_EQ(f->Where(), (Rect{22, 12, 43, 16}));
    // A second double-click while it is open opens no other.
    root.DoubleClick(kTextX, kTextY);
    EXPECT_EQ(root.textFields.made, 1);
    f->PressEscape();
    EXPECT_FALSE(editor->IsTyping());
    EXPECT_EQ(editor->GetValue(), 42);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(root.textFields.live.empty());
}

struct TypedCase {
    const char* typed;
    bool accepted;  // else refused, the field stays open
    int32_t value;  // after Enter
};

TEST_F(NumEditorTest, TypedNumbersBecomeTheValueClampedAsOneEditAndJunkIsRefused) {
    editor->SetRange(-10, 99);
    const TypedCase cases[] = {
        {"64", true, 64},   {" 7 ", true, 7},    {"-3", true, -3},   {"+5", true, 5},
        {"500", true, 99},  {"-500", true, -10}, {"99999999999", false, 0},
        {"abc", false, 0},  {"1.5", false, 0},   {"", false, 0},     {"12a", false, 0},
    };
    for (const TypedCase& c : cases) {
        editor->SetValue(0);
        log.clear();
        FakeTextField* f = Type();
        ASSERT_NE(f, nullptr) << c.typed;
        f->Type(c.typed);
        if (!*c.typed)
            f->Erase(100);
        f->PressEnter();
        if (c.accepted) {
            EXPECT_FALSE(editor->IsTyping()) << c.typed;
            EXPECT_EQ(editor->GetValue(), c.value) << c.typed;
            EXPECT_EQ(log, (std::vector<std::string>{"Begin", "Changed " + std::to_string(c.value), "End"}))
                << c.typed;
        } else {
            EXPECT_TRUE(editor->IsTyping()) << c.typed;
            ASSERT_EQ(root.textFields.Last(), f);
            EXPECT_EQ(f->Refusals(), 1) << c.typed;
            EXPECT_EQ(editor->GetValue(), 0) << c.typed;
            EXPECT_TRUE(log.empty()) << c.typed;
            f->PressEscape();
        }
        EXPECT_TRUE(root.textFields.live.empty()) << c.typed;
    }
}

TEST_F(NoteEditorTest, TakesTypedNoteNamesOrNumbers) {
    editor->SetRange(0, 127);
    for (const TypedCase& c : {TypedCase{"E4", true, 76}, TypedCase{"c#3", true, 61}, TypedCase{"Db3", true, 61},
                               TypedCase{"60", true, 60}, TypedCase{"G9", true, 127}, TypedCase{"H2", false, 0}}) {
        editor->SetValue(0);
        FakeTextField* f = Type();
        ASSERT_NE(f, nullptr);
        EXPECT_STREQ(f->Text().c_str(), "C-2");
        f->Type(c.typed);
        f->PressEnter();
        EXPECT_EQ(editor->IsTyping(), !c.accepted) << c.typed;
        EXPECT_EQ(editor->GetValue(), c.value) << c.typed;
        if (!c.accepted)
            root.textFields.Last()->PressEscape();
    }
}

TEST_F(NumEditorTest, AListenerDeletingTheEditorInsideTheTypedEditEndsEverythingOnce) {
    root.textFields.duringDestroy = {FakeTextFields::kFocusLost, FakeTextFields::kGone};
    listener.then = [&](const std::string& op) {
        if (op == "Changed")
            editor.reset();
    };
    FakeTextField* f = Type();
    ASSERT_NE(f, nullptr);
    f->Type("33");
    f->PressEnter();
    EXPECT_FALSE(editor);
    EXPECT_EQ(log, (std::vector<std::string>{"Begin", "Changed 33"}));
    EXPECT_TRUE(root.textFields.live.empty());
}

TEST_F(NumEditorTest, HidingOrDisablingTheEditorClosesAnOpenTextEditorSilently) {
    for (bool hide : {true, false}) {
        FakeTextField* f = Type();
        ASSERT_NE(f, nullptr);
        f->Type("12");
        if (hide)
            editor->SetVisible(false);
        else
            editor->SetEnabled(false);
        EXPECT_FALSE(editor->IsTyping());
        EXPECT_TRUE(root.textFields.live.empty());
        EXPECT_EQ(editor->GetValue(), 0);
        EXPECT_TRUE(log.empty());
        editor->SetVisible(true);
        editor->SetEnabled(true);
    }
}

TEST_F(NumEditorTest, AnOpenTextEditorGoesSilentlyWithTheEditorOrItsWindow) {
    FakeTextField* f = Type();
    ASSERT_NE(f, nullptr);
    f->Type("12");
    editor->Close();
    EXPECT_TRUE(root.textFields.live.empty());
    EXPECT_EQ(editor->GetValue(), 0);

    auto other = std::make_unique<NumEditor>();
    other->Create(&root, {20, 10, 60, 20});
    f = Type();
    ASSERT_NE(f, nullptr);
    f->Type("12");
    root.DestroyWindow();
    EXPECT_TRUE(root.textFields.live.empty());
    EXPECT_EQ(other->GetValue(), 0);
    EXPECT_TRUE(log.empty());
}

} // namespace
} // namespace Corvell::Test
