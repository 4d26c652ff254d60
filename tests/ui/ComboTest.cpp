#include "Canvas.h"
#include "PngBuilder.h"
#include "TestImageSource.h"
#include "TestRootPane.h"
#include "shared/Graphics/Palette.h"
#include "ui/Combo.h"
#include "ui/EditCombo.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Corvell::Test {
namespace {

// Collects what the listeners of a combo hear, in order.
struct Log {
    std::vector<std::string> lines;
    // Runs right after this line is recorded.
    std::string at;
    std::function<void()> action;
    void Add(std::string s) {
        lines.push_back(std::move(s));
        if (action && lines.back() == at)
            action();
    }
};

template <class A>
class Recorder : public CountedObject<Delegate1<A>> {
public:
    Recorder(Log& log, std::function<std::string(A)> f) : m_log(log), m_f(std::move(f)) {}
    void Invoke(A a) override { m_log.Add(m_f(a)); }

private:
    Log& m_log;
    std::function<std::string(A)> m_f;
};

std::vector<std::string> Texts(Combo& c) {
    std::vector<std::string> out;
    for (int32_t i = 0; i < c.GetItemCount(); ++i)
        out.push_back(c.GetItemText(i).c_str());
    return out;
}

std::string Checks(Combo& c) {
    std::string out;
    for (int32_t i = 0; i < c.GetItemCount(); ++i)
        out += (c.GetItems().GetItem(i).flags & MenuItem::Checked) ? 'x' : '.';
    return out;
}

// ---- items and selection ------------------------------------------------------------

struct SelectionCase {
    const char* name;
    std::function<void(Combo&)> steps;
    int32_t selected;
    std::string checks;    // check marks after the steps
    std::string shown;     // GetItemText(selected)
};

class ComboSelection : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(ComboSelection, KeepsTheSelectionOnTheSameItem) {
    const SelectionCase& c = GetParam();
    TestRootPane root;
    Combo combo;
    combo.Create(&root, {10, 10, 100, 20});
    combo.SetEmptyText("none");
    combo.AddItems("A\0B\0C\0");
    c.steps(combo);
    EXPECT_EQ(combo.GetSelectedIndex(), c.selected);
    EXPECT_EQ(Checks(combo), c.checks);
    EXPECT_EQ(std::string(combo.GetItemText(combo.GetSelectedIndex()).c_str()), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ComboSelection,
    ::testing::Values(
        SelectionCase{"NothingAtFirst", [](Combo&) {}, -1, "...", "none"},
        SelectionCase{"SelectMarksTheItem", [](Combo& c) { EXPECT_EQ(c.Select(2), 2); }, 2, "..x", "C"},
        SelectionCase{"AnotherMovesTheMark", [](Combo& c) { c.Select(2); c.Select(0); }, 0, "x..", "A"},
        SelectionCase{"PastTheEndClearsIt", [](Combo& c) { c.Select(1); EXPECT_EQ(c.Select(3), -1); }, -1, "...",
                      "none"},
        SelectionCase{"NegativeClearsIt", [](Combo& c) { c.Select(1); EXPECT_EQ(c.Select(-1), -1); }, -1, "...",
                      "none"},
        SelectionCase{"RemovingBeforeShiftsIt",
                      [](Combo& c) {
                          c.Select(2);
                          EXPECT_EQ(c.RemoveItem(0), 2);
                      },
                      1, ".x", "C"},
        SelectionCase{"RemovingAfterKeepsIt",
                      [](Combo& c) {
                          c.Select(0);
                          EXPECT_EQ(c.RemoveItem(2), 2);
                      },
                      0, "x.", "A"},
        SelectionCase{"RemovingTheSelectedShowsTheEmptyText",
                      [](Combo& c) {
                          c.Select(1);
                          EXPECT_EQ(c.RemoveItem(1), 2);
                      },
                      -1, "..", "none"},
        SelectionCase{"BadRemovalsChangeNothing",
                      [](Combo& c) {
                          c.Select(1);
                          EXPECT_EQ(c.RemoveItem(3), -1);
                          EXPECT_EQ(c.RemoveItem(-1), -1);
                      },
                      1, ".x.", "B"},
        SelectionCase{"ClearEmptiesAll",
                      [](Combo& c) {
                          c.Select(1);
                          c.Clear();
                          EXPECT_EQ(c.GetItemCount(), 0);
                          EXPECT_EQ(c.Select(0), -1);
                      },
                      -1, "", "none"},
        SelectionCase{"ASeparatorKeepsItsFlags",
                      [](Combo& c) {
                          c.GetItems().Item(1).flags = MenuItem::Separator | MenuItem::Checked;
                          c.Select(1);
                          c.Select(0);
                      },
                      0, "xx.", "A"}),
    [](const auto& info) { return info.param.name; });

TEST(Combo, AddingItemsTellsEachIndexAndCountsThem) {
    Combo combo;
    Log log;
    combo.AddItemAddedListener(new Recorder<int>(log, [](int i) { return "added " + std::to_string(i); }));
    EXPECT_EQ(combo.AddItems("A\0B\0\0"), 2);
    EXPECT_EQ(combo.AddItem("C"), 2);
    EXPECT_EQ(combo.AddItems(""), 0);
    EXPECT_EQ(combo.AddItems(nullptr), 0);
    EXPECT_EQ(Texts(combo), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(log.lines, (std::vector<std::string>{"added 0", "added 1", "added 2"}));
    EXPECT_EQ(combo.GetItems().GetItem(2).id, -1);
    EXPECT_EQ(combo.GetItems().GetItem(2).flags, 0u);
}

// ---- clicking ------------------------------------------------------------------------

// A combo at (30, 40) inside a panel at (10, 10) of the window.
class ComboClick : public ::testing::Test {
protected:
    ComboClick() {
        panel.Create(&root, {10, 10, 300, 200});
        combo = new Combo;
        combo->Create(&panel, {30, 40, 120, 20});
        combo->AddItems("Off\0MIDI CC\0Pitch\0");
        combo->AddOpeningListener(new Recorder<Combo*>(log, [this](Combo* c) {
            EXPECT_EQ(c, combo);
            return std::string("opening");
        }));
        combo->AddSelectionListener(new Recorder<int>(log, [](int i) { return "selected " + std::to_string(i); }));
        combo->AddChosenListener(new Recorder<Combo*>(log, [](Combo* c) {
            return "chosen " + std::to_string(c->GetSelectedIndex());
        }));
        root.menuHandler = [this](MenuItemList& items, const Rect&) {
            log.Add("menu " + std::to_string(items.GetCount()));
            if (answers.empty())
                return -1;
            const int32_t a = answers.front();
            answers.erase(answers.begin());
            return a;
        };
    }
    ~ComboClick() override { delete combo; }

    void ClickCombo(int32_t button = kButtonLeft) {
        root.Press(50, 60, button);
        root.Release(50, 60, button);
    }

    TestRootPane root;
    Pane panel;
    Combo* combo = nullptr;
    Log log;
    std::vector<int32_t> answers;
};

struct ClickCase {
    const char* name;
    int32_t answer;
    std::vector<std::string> heard;
    int32_t selected;
};

class ComboChoice : public ComboClick, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(ComboChoice, OpensBelowItselfAndReportsAChoiceInOrder) {
    const ClickCase& c = GetParam();
    combo->Select(0);
    answers = {c.answer};
    ClickCombo();
    EXPECT_EQ(log.lines, c.heard);
    EXPECT_EQ(combo->GetSelectedIndex(), c.selected);
    ASSERT_EQ(root.menuCalls.size(), 1u);
    // The combo's own bounds in window coordinates: the menu drops below them.
    EXPECT_EQ(root.menuCalls[0].anchor, (Rect{40, 50, 120, 20}));
    // The capture went to the menu; the combo's press ended with it.
    EXPECT_EQ(root.HeldButtons(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ComboChoice,
    ::testing::Values(
        ClickCase{"Chosen", 1, {"opening", "menu 3", "selected 1", "chosen 1"}, 1},
        ClickCase{"TheCurrentItemAgain", 0, {"opening", "menu 3", "selected 0", "chosen 0"}, 0},
        ClickCase{"Cancelled", -1, {"opening", "menu 3"}, 0},
        // The menu's loop may run calls that change the items: an index
        // the items no longer have is a cancel.
        ClickCase{"OutOfRange", 3, {"opening", "menu 3"}, 0}),
    [](const auto& info) { return info.param.name; });

TEST_F(ComboClick, OnlyTheLeftButtonOpensAndAnEmptyComboOpensAnEmptyMenu) {
    ClickCombo(kButtonRight);
    EXPECT_TRUE(root.menuCalls.empty());
    combo->Clear();
    ClickCombo();
    EXPECT_EQ(log.lines, (std::vector<std::string>{"opening", "menu 0"}));
}

TEST_F(ComboClick, OpeningListenersMayRefillTheItemsFirst) {
    combo->AddOpeningListener(new Recorder<Combo*>(log, [](Combo* c) {
        c->Clear();
        c->AddItems("One\0Two\0");
        return std::string("refilled");
    }));
    answers = {1};
    ClickCombo();
    EXPECT_EQ(log.lines, (std::vector<std::string>{"opening", "refilled", "menu 2", "selected 1", "chosen 1"}));
    EXPECT_EQ(std::string(combo->GetItemText(1).c_str()), "Two");
    EXPECT_EQ(Checks(*combo), ".x");
}

TEST_F(ComboClick, ASecondPressRightAfterTheMenuClosedOpensNothing) {
    ClickCombo();
    root.Press(50, 60); // the same moment: the click that closed the menu
    root.Release(50, 60);
    EXPECT_EQ(root.menuCalls.size(), 1u);
    root.AdvanceTime(60);
    ClickCombo();
    EXPECT_EQ(root.menuCalls.size(), 2u);
}

class ComboDeleted : public ComboClick, public ::testing::WithParamInterface<const char*> {};

TEST_P(ComboDeleted, NothingRunsOnAfterAListenerDeletedTheCombo) {
    answers = {1};
    log.at = GetParam();
    log.action = [this] {
        delete combo;
        combo = nullptr;
    };
    ClickCombo();
    EXPECT_EQ(combo, nullptr);
    EXPECT_EQ(log.lines.back(), GetParam());
}

// Each step of a click may be where the owner drops the combo (ASan watches).
INSTANTIATE_TEST_SUITE_P(Steps, ComboDeleted, ::testing::Values("opening", "menu 3", "selected 1", "chosen 1"));

// ---- painting -------------------------------------------------------------------------

struct PaintCase {
    const char* name;
    bool image;
    bool enabled;
    int32_t items;
    bool framed;
};

class ComboPaint : public ::testing::TestWithParam<PaintCase> {
protected:
    void SetUp() override {
        ClearImageCache();
        source.AddPng("COMBO-TRIANGLE", RgbaPng(15, 5)); // two 7-pixel frames, b = 14
    }
    void TearDown() override { ClearImageCache(); }
    TestImageSource source{"/nowhere/module"};
};

TEST_P(ComboPaint, ArrowTextAndFrameFollowTheState) {
    const PaintCase& c = GetParam();
    TestRootPane root{400, 300};
    Combo combo;
    combo.Create(&root, {20, 30, 100, 21});
    combo.SetEmptyText("empty");
    combo.SetTextColors(0x111111, 0x222222);
    combo.SetFrameColors(0x333333, 0x444444);
    for (int32_t i = 0; i < c.items; ++i)
        combo.AddItem(String("item") + String(std::to_string(i).c_str()));
    combo.Select(0);
    combo.SetFramed(c.framed);
    if (c.image)
        combo.SetTriangleImage(GetImage("combo-triangle.png"));
    combo.SetEnabled(c.enabled);

    Canvas canvas;
    root.PaintWindow(canvas.gc);
    canvas.CheckRestored();

    const int32_t b = c.image ? 14 : 12;
    const int32_t inset = c.framed ? 2 : 1;
    const auto texts = canvas.gc.CallsOf("DrawText");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, c.items ? "item0" : "empty");
    EXPECT_EQ(texts[0].rect, (Rect{inset, inset, 100 - b - 2 * inset, 21 - 2 * inset}));
    EXPECT_EQ(texts[0].textColor, c.enabled && c.items >= 2 ? 0x111111u : 0x222222u);

    if (c.image) {
        const auto blits = canvas.gc.CallsOf("Blend");
        ASSERT_EQ(blits.size(), 1u);
        // Frame 7 wide, centred in the arrow area: x = 100 - (14 + 7) / 2.
        EXPECT_EQ(blits[0].rect, (Rect{90, 8, 7, 5}));
        EXPECT_EQ(blits[0].source.x, c.enabled ? 0 : 7);
        EXPECT_TRUE(canvas.gc.CallsOf("Polygon").empty());
    } else {
        const auto polys = canvas.gc.CallsOf("Polygon");
        ASSERT_FALSE(polys.empty());
        const int32_t m = 11;
        EXPECT_EQ(polys[0].points,
                  (std::vector<Point>{{97, m - 2}, {94, m + 1}, {91, m - 2}}));
        for (const auto& p : polys)
            EXPECT_EQ(p.hasBrush ? p.brushColor : p.penColor, texts[0].textColor);
    }
    const auto rects = canvas.gc.CallsOf("Rectangle");
    if (c.framed) {
        ASSERT_EQ(rects.size(), 1u);
        EXPECT_EQ(rects[0].rect, (Rect{0, 0, 100, 21}));
        EXPECT_EQ(rects[0].penColor, c.enabled ? 0x333333u : 0x444444u);
    } else {
        EXPECT_TRUE(rects.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ComboPaint,
                         ::testing::Values(PaintCase{"DrawnArrowTwoItems", false, true, 2, false},
                                           PaintCase{"DrawnArrowOneItem", false, true, 1, false},
                                           PaintCase{"DrawnArrowNoItems", false, true, 0, true},
                                           PaintCase{"DrawnArrowDisabled", false, false, 3, true},
                                           PaintCase{"ImageEnabled", true, true, 2, true},
                                           PaintCase{"ImageDisabled", true, false, 2, false}),
                         [](const auto& info) { return info.param.name; });

TEST(BCombo, UsesThePaletteAndCentresItsText) {
    BCombo combo;
    EXPECT_EQ(combo.GetChoiceTextColor(), GetColor(5));
    EXPECT_EQ(combo.GetOtherTextColor(), GetColor(6));
    EXPECT_EQ(combo.GetTextFormat(), uint32_t(kTextCenter | kTextVCenter));
}

// ---- menu texts ---------------------------------------------------------------------------

TEST(MenuDisplayText, ShowsNamesAsTheyAre) {
    const std::pair<const char*, const char*> cases[] = {
        {"Rock & Blues", "Rock && Blues"}, {"&Open", "&&Open"}, {"a&&b", "a&&&&b"},
        {"Name\tShortcut", "Name Shortcut"}, {"", ""}, {"plain", "plain"}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(std::string(MenuDisplayText(in).c_str()), out) << in;
}

// ---- EditCombo ----------------------------------------------------------------------------

class EditComboTest : public ::testing::Test {
protected:
    EditComboTest() {
        combo = new EditCombo;
        combo->Create(&root, {40, 20, 160, 23});
        combo->AddItems("Tab 1\0Tab 2\0");
        combo->Select(1);
        combo->AddEditedListener(new MemberDelegateT<EditComboTest>(this, &EditComboTest::Edited));
    }
    ~EditComboTest() override { delete combo; }
    void Edited() {
        edits.push_back(std::string(combo->GetEmptyText().c_str()) + " sel " +
                        std::to_string(combo->GetSelectedIndex()));
    }
    FakeTextField* Field() const { return root.textFields.Last(); }

    TestRootPane root;
    EditCombo* combo;
    std::vector<std::string> edits;
};

TEST_F(EditComboTest, APressOnTheTextEditsItAndAnAcceptedTextReplacesTheSelection) {
    root.Click(60, 30);
    ASSERT_NE(Field(), nullptr);
    EXPECT_TRUE(root.menuCalls.empty());
    // Over the text area, clear of the 12-pixel arrow: (1, 1, 160 - 12 - 2, 21).
    EXPECT_EQ(Field()->Where(), (Rect{41, 21, 146, 21}));
    EXPECT_EQ(std::string(Field()->Text().c_str()), "Tab 2");
    Field()->Type("Lead");
    Field()->PressEnter();
    // The listeners hear the new text while the renamed item is still selected.
    EXPECT_EQ(edits, (std::vector<std::string>{"Lead sel 1"}));
    EXPECT_EQ(combo->GetSelectedIndex(), -1);
    EXPECT_EQ(Checks(*combo), "..");
    EXPECT_EQ(std::string(combo->GetItemText(-1).c_str()), "Lead");
    EXPECT_FALSE(combo->IsEditing());
}

TEST_F(EditComboTest, ACancelledEditChangesNothing) {
    root.Click(60, 30);
    ASSERT_NE(Field(), nullptr);
    Field()->Type("Lead");
    root.ClearInvalidations();
    Field()->PressEscape();
    EXPECT_TRUE(edits.empty());
    EXPECT_EQ(combo->GetSelectedIndex(), 1);
    EXPECT_FALSE(combo->IsEditing());
    EXPECT_FALSE(root.invalidations.empty());
}

TEST_F(EditComboTest, ProvidersFillTheEditorAndTheArrowOpensTheMenu) {
    struct Provider : CountedObject<Delegate1<String&>> {
        void Invoke(String& s) override { s = "From provider"; }
    };
    combo->AddTextProvider(new Provider);
    root.Click(60, 30);
    ASSERT_NE(Field(), nullptr);
    EXPECT_EQ(std::string(Field()->Text().c_str()), "From provider");
    Field()->PressEscape();

    root.menuAnswers = {0};
    root.AdvanceTime(100);
    root.Click(40 + 160 - 5, 30);
    EXPECT_EQ(root.menuCalls.size(), 1u);
    EXPECT_EQ(combo->GetSelectedIndex(), 0);
}

TEST_F(EditComboTest, AnOpenEditorGoesWithTheCombo) {
    root.Click(60, 30);
    ASSERT_NE(Field(), nullptr);
    combo->SetVisible(false);
    EXPECT_FALSE(combo->IsEditing());
    EXPECT_TRUE(root.textFields.live.empty() || !Field()->IsOpen());
    combo->SetVisible(true);
    root.Click(60, 30);
    ASSERT_TRUE(combo->IsEditing());
    delete combo; // ASan: the editor must not outlive its host
    combo = nullptr;
    EXPECT_TRUE(edits.empty());
}

TEST_F(EditComboTest, PaintsItsFaceThenTheComboThenAFrame) {
    Canvas canvas;
    root.PaintWindow(canvas.gc);
    canvas.CheckRestored();
    const auto fills = canvas.gc.CallsOf("FillRect");
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills[0].rect, (Rect{0, 0, 160, 23}));
    EXPECT_EQ(fills[0].brushColor, GetColor(3));
    const auto rects = canvas.gc.CallsOf("Rectangle");
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].penColor, combo->GetEnabledFrameColor());

    combo->SetEnabled(false);
    Canvas disabled;
    root.PaintWindow(disabled.gc);
    EXPECT_EQ(disabled.gc.CallsOf("FillRect")[0].brushColor, GetColor(4));

    combo->SetFlags(Pane::kFillBackground, true);
    combo->SetEnabled(true);
    combo->SetBackground(0x123456);
    Canvas own;
    root.PaintWindow(own.gc);
    for (const auto& f : own.gc.CallsOf("FillRect"))
        EXPECT_NE(f.brushColor, GetColor(3));
}

} // namespace
} // namespace Corvell::Test
