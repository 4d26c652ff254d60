#include "Canvas.h"
#include "EventLog.h"
#include "TestRootPane.h"
#include "ViewSources.h"
#include "shared/Graphics/Palette.h"
#include "ui/ListView.h"
#include "ui/ScrollBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace Corvell::Test {
namespace {

constexpr int32_t kUp = 0x26;
constexpr int32_t kDown = 0x28;

// A list at (10, 10, 200, 106): the viewport is (3, 3, 194, 100), five
// rows high, at (13, 13) in the window.
class ListFixture : public ::testing::Test {
public:
    ListFixture() {
        view = new ListView;
        view->SetDataSource(&source);
        view->Create(&root, {10, 10, 200, 106});
        view->AddSelectionListener(Fn<int>([this](int row) {
            heard.push_back(row);
            if (onSelection)
                onSelection(row);
        }));
    }
    ~ListFixture() override { delete view; }

    // As an owner fills its list.
    void Fill(int32_t n, int32_t columns = 1) {
        source.count = n;
        view->SetUpdating(true);
        view->RemoveAllItems();
        for (int32_t i = 0; i < n; ++i)
            view->AddItem(i, columns);
        view->SetUpdating(false);
        view->UpdateLayout();
    }
    int32_t Position() const { return view->GetScrollBar()->GetPosition(); }
    // The middle of a row in window coordinates, as scrolled now.
    Point RowPoint(int32_t row) const { return Point{60, 13 + 20 * row + 10 - Position()}; }
    void ClickRow(int32_t row, int32_t button = kButtonLeft) {
        const Point p = RowPoint(row);
        root.Click(p.x, p.y, button);
    }
    // Rows that have a pane, in order (hidden spare panes show none).
    std::vector<int32_t> BoundRows() const {
        std::vector<int32_t> rows;
        for (int32_t i = 0; i < view->GetContentPane()->GetChildCount(); ++i) {
            auto* p = static_cast<RowPane*>(view->GetContentPane()->GetChild(i));
            if (p->IsVisible())
                rows.push_back(p->GetRow());
            else
                EXPECT_EQ(p->GetRow(), -1);
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    FakeTextField* Field() const { return root.textFields.Last(); }
    bool FieldOpen() const { return Field() && Field()->IsOpen(); }

    EventLog log;
    TestRootPane root{400, 300};
    TextListSource source;
    ListView* view;
    std::vector<int> heard;
    std::function<void(int)> onSelection;
};

// ---- layout ---------------------------------------------------------------------------------

struct LayoutCase {
    int32_t rows;
    bool bar;
    int32_t width; // viewport, content and rows
    std::vector<int32_t> bound;
};

class ListLayout : public ListFixture, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(ListLayout, TheBarShowsExactlyWhenTheRowsOverflowAndNarrowsTheRows) {
    const LayoutCase& c = GetParam();
    Fill(c.rows);
    EXPECT_EQ(view->GetScrollBar()->IsVisible(), c.bar);
    EXPECT_EQ(view->GetScrollBar()->GetBounds(), (Rect{179, 0, 21, 106}));
    EXPECT_EQ(view->GetViewport()->GetBounds(), (Rect{3, 3, c.width, 100}));
    EXPECT_EQ(view->GetContentPane()->GetBounds(), (Rect{0, 0, c.width, 20 * c.rows}));
    const int32_t maximum = std::max(20 * c.rows, 20);
    EXPECT_EQ(view->GetScrollBar()->GetMaximum(), maximum);
    EXPECT_EQ(view->GetScrollBar()->GetPage(), std::min(100, maximum));
    EXPECT_EQ(BoundRows(), c.bound);
    for (int32_t row : c.bound)
        EXPECT_EQ(view->GetRowPane(row)->GetBounds(), (Rect{0, 20 * row, c.width, 20}));
}

INSTANTIATE_TEST_SUITE_P(Rows, ListLayout,
                         ::testing::Values(LayoutCase{0, false, 194, {}}, LayoutCase{1, false, 194, {0}},
                                           LayoutCase{5, false, 194, {0, 1, 2, 3, 4}},
                                           LayoutCase{6, true, 174, {0, 1, 2, 3, 4, 5}},
                                           LayoutCase{100000, true, 174, {0, 1, 2, 3, 4, 5}}));

TEST_F(ListFixture, AHundredThousandRowsHavePanesOnlyAroundTheViewport) {
    Fill(100000, 2);
    EXPECT_EQ(view->GetContentPane()->GetBounds().height, 2000000);
    EXPECT_EQ(view->GetScrollBar()->GetMaximum(), 2000000);

    // Row 50000 scrolled in at the bottom: rows 49996..50000 show, one more each side.
    EXPECT_TRUE(view->Select(50000));
    EXPECT_EQ(Position(), 20 * 50000 + 20 - 100);
    EXPECT_EQ(view->GetContentPane()->GetBounds().y, -Position());
    EXPECT_EQ(BoundRows(), (std::vector<int32_t>{49995, 49996, 49997, 49998, 49999, 50000, 50001}));
    EXPECT_LE(size_t(view->GetContentPane()->GetChildCount()), 100 / 20 + 2 + RowScroller::kSpares);

    // The last row, at the far end of the range.
    EXPECT_TRUE(view->Select(99999));
    EXPECT_EQ(Position(), 2000000 - 100);
    EXPECT_EQ(BoundRows(), (std::vector<int32_t>{99994, 99995, 99996, 99997, 99998, 99999}));

    // A paint asks for the texts of the rows on screen only.
    source.textCalls = 0;
    Canvas canvas;
    root.PaintWindow(canvas.gc);
    EXPECT_EQ(source.textCalls, 5 * 2);
}

TEST_F(ListFixture, LayoutKeepsItsViewportAndContentPaneAndTheSelectionWhileItsRowExists) {
    Fill(8);
    ColorPane* viewport = view->GetViewport();
    ListView::ContentPane* content = view->GetContentPane();
    view->Select(6);
    Fill(8);
    EXPECT_EQ(view->GetSelection(), 6);
    EXPECT_TRUE(view->GetRowPane(6)->IsSelected());
    Fill(4);
    EXPECT_EQ(view->GetSelection(), -1);
    EXPECT_EQ(view->GetViewport(), viewport);
    EXPECT_EQ(view->GetContentPane(), content);
    EXPECT_TRUE(heard.empty()); // layouts and Select tell nobody
}

// ---- selection --------------------------------------------------------------------------------

TEST_F(ListFixture, SelectClampsToTheRowsAndAnswersWhetherItChanged) {
    Fill(3);
    struct Case {
        int32_t ask;
        bool changed;
        int32_t selection;
    };
    const Case cases[] = {{7, true, 2}, {2, false, 2}, {-5, true, -1}, {-1, false, -1}, {0, true, 0}, {1, true, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ask);
        EXPECT_EQ(view->Select(c.ask), c.changed);
        EXPECT_EQ(view->GetSelection(), c.selection);
        for (int32_t row = 0; row < 3; ++row)
            EXPECT_EQ(view->GetRowPane(row)->IsSelected(), row == c.selection);
    }
    EXPECT_TRUE(heard.empty());
}

TEST_F(ListFixture, AClickSelectsActivatesFocusesAndTellsTheOwnerAtBothEnds) {
    Fill(100);
    EXPECT_FALSE(view->IsActivated());
    ClickRow(0);
    EXPECT_EQ(view->GetSelection(), 0);
    EXPECT_TRUE(view->IsActivated());
    EXPECT_EQ(root.GetFocusedPane(), view);
    EXPECT_EQ(heard, (std::vector<int>{0}));

    // The wheel to the far end, then the last row.
    root.MoveTo(60, 50);
    root.Wheel(-120 * 200);
    EXPECT_EQ(Position(), 2000 - 100);
    ClickRow(99);
    EXPECT_EQ(view->GetSelection(), 99);
    EXPECT_EQ(heard, (std::vector<int>{0, 99}));
    // The other button selects too.
    ClickRow(97, kButtonRight);
    EXPECT_EQ(view->GetSelection(), 97);
    EXPECT_EQ(heard, (std::vector<int>{0, 99, 97}));
}

TEST_F(ListFixture, APressOnTheSelectedRowDoesNothingAtAll) {
    LoggingPane other(log, "other");
    other.Create(&root, {300, 10, 50, 50});
    Fill(3);
    ClickRow(1);
    other.RequestFocus(&other);
    ASSERT_EQ(root.GetFocusedPane(), &other);
    heard.clear();
    ClickRow(1);
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(root.GetFocusedPane(), &other); // not even the focus moves
    EXPECT_EQ(view->GetSelection(), 1);
}

TEST_F(ListFixture, HoldingDownSelectsRowAfterRowAndTellsTheOwnerOnceOnRelease) {
    Fill(100);
    view->RequestFocus(view);
    root.KeyDown(kDown); // from no selection: the first row
    EXPECT_EQ(view->GetSelection(), 0);
    root.KeyDown(kDown, 8); // a press and 7 repeats
    EXPECT_EQ(view->GetSelection(), 8);
    EXPECT_TRUE(heard.empty());
    // Scrolled along: row 8 at the bottom of the viewport.
    EXPECT_EQ(Position(), 20 * 8 + 20 - 100);
    root.KeyUp(kDown);
    EXPECT_EQ(heard, (std::vector<int>{8}));

    root.KeyDown(kUp, 3);
    EXPECT_EQ(view->GetSelection(), 5);
    root.KeyUp(kUp);
    EXPECT_EQ(heard, (std::vector<int>{8, 5}));
}

TEST_F(ListFixture, KeysStopAtBothEndsAndOtherKeysGoToTheParent) {
    struct Case {
        int32_t rows;
        int32_t start;
        int32_t key;
        int32_t repeat;
        int32_t selection;
    };
    const Case cases[] = {
        {3, 0, kUp, 1, 0},      {3, 2, kDown, 4, 2}, {3, -1, kUp, 2, -1}, {0, -1, kDown, 1, -1},
        {3, -1, kDown, 5, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.rows << " rows from " << c.start << " key " << c.key);
        Fill(c.rows);
        view->Select(c.start);
        view->RequestFocus(view);
        heard.clear();
        root.KeyDown(c.key, c.repeat);
        root.KeyUp(c.key);
        EXPECT_EQ(view->GetSelection(), c.selection);
        EXPECT_EQ(heard, (std::vector<int>{c.selection}));
    }

    LoggingPane parent(log, "parent");
    parent.Create(&root, {0, 150, 300, 140});
    ListView inner;
    inner.Create(&parent, {10, 10, 200, 106});
    inner.RequestFocus(&inner);
    log.Clear();
    root.KeyDown('A');
    root.KeyDown(kDown);
    EXPECT_EQ(log.Lines({kKeyDown}), (std::vector<std::string>{"parent KeyDown"}));
}

// ---- context menus ------------------------------------------------------------------------------

struct MenuCase {
    const char* name;
    int32_t rows;
    int32_t clickY;                // window coordinates
    std::vector<std::string> fill; // items the owner adds
    std::deque<int32_t> answers;   // the platform's answers (menu indexes)
    bool listen;                   // a menu-request listener exists
    std::vector<std::string> heard;
    size_t menus;
};

class ListMenus : public ListFixture, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(ListMenus, ARightClickAsksTheOwnerForAMenuAndReportsTheChoice) {
    const MenuCase& c = GetParam();
    Fill(c.rows);
    std::vector<std::string> lines;
    if (c.listen) {
        view->AddMenuRequestListener(Fn2<int, MenuItemListImpl&, void>([&](int row, MenuItemListImpl& menu) {
            lines.push_back("request " + std::to_string(row));
            int32_t id = 100;
            for (const std::string& s : c.fill)
                menu.Add(s.c_str(), id++);
        }));
    }
    view->AddMenuChoiceListener(Fn2<int, int, void>(
        [&](int row, int id) { lines.push_back("choice " + std::to_string(row) + " " + std::to_string(id)); }));
    root.menuAnswers = c.answers;
    root.Click(60, c.clickY, kButtonRight);
    EXPECT_EQ(lines, c.heard);
    ASSERT_EQ(root.menuCalls.size(), c.menus);
    if (c.menus) {
        EXPECT_EQ(root.menuCalls[0].anchor, (Rect{60, c.clickY, 1, 1}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListMenus,
    ::testing::Values(
        MenuCase{"chosen on a row", 3, 43, {"Rename", "Delete"}, {1}, true, {"request 1", "choice 1 101"}, 1},
        MenuCase{"below the last row, dismissed", 2, 80, {"New"}, {}, true, {"request -1", "choice -1 -1"}, 1},
        MenuCase{"an empty menu is not shown", 3, 23, {}, {0}, true, {"request 0"}, 0},
        MenuCase{"nobody asked", 3, 23, {}, {0}, false, {}, 0}),
    [](const ::testing::TestParamInfo<MenuCase>& i) {
        std::string s = i.param.name;
        std::replace_if(s.begin(), s.end(), [](char ch) { return !isalnum(static_cast<unsigned char>(ch)); }, '_');
        return s;
    });

// ---- the wheel ------------------------------------------------------------------------------------

TEST_F(ListFixture, TheWheelScrollsByRowsOverTheRowsTheViewportAndTheFrame) {
    Fill(100);
    struct Case {
        Point at;
        int32_t delta;
        int32_t position;
    };
    const Case cases[] = {
        {{60, 30}, -120, 20},        // a row: one notch towards the user, one row down
        {{60, 30}, -360, 80},
        {{11, 60}, 120, 60},         // the frame of the view
        {{60, 30}, 120 * 10, 0},     // stops at the top
        {{60, 30}, -120 * 500, 1900} // and at the bottom
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.at.x << "," << c.at.y << " " << c.delta);
        root.MoveTo(c.at.x, c.at.y);
        root.Wheel(c.delta);
        EXPECT_EQ(Position(), c.position);
        EXPECT_EQ(view->GetContentPane()->GetBounds().y, -c.position);
    }
    // Over the viewport below the last row of a short list: nothing to scroll.
    Fill(2);
    root.MoveTo(60, 100);
    root.Wheel(-120);
    EXPECT_EQ(Position(), 0);
    EXPECT_TRUE(heard.empty());
}

// The wheel goes to the pane under the pointer. Scrolling back to the top
// needs one pane less; were it deleted, the root would forget the pane
// under the pointer and drop the next notches of a resting pointer.
TEST_F(ListFixture, TheWheelKeepsScrollingUnderAPointerAtRestThroughBothEnds) {
    Fill(100);
    root.MoveTo(60, 50);
    const int32_t deltas[] = {-120, 120, -120, -120 * 200, 120, -120, 120 * 200, -120};
    const int32_t positions[] = {20, 0, 20, 1900, 1880, 1900, 0, 20};
    for (size_t i = 0; i < std::size(deltas); ++i) {
        SCOPED_TRACE(i);
        root.Wheel(deltas[i]);
        EXPECT_EQ(Position(), positions[i]);
    }
    EXPECT_NE(root.GetFocusedPane(), view);
}

TEST_F(ListFixture, ScrollingBindsTheSamePanesToTheRowsThatCameIntoView) {
    Fill(100);
    root.MoveTo(60, 30);
    root.Wheel(-120 * 10);
    ASSERT_EQ(BoundRows(), (std::vector<int32_t>{9, 10, 11, 12, 13, 14, 15}));
    std::set<Pane*> before;
    for (int32_t row = 9; row <= 15; ++row)
        before.insert(view->GetRowPane(row));
    ListView::ItemPane* twelve = view->GetRowPane(12);
    ListView::ItemPane* nine = view->GetRowPane(9);

    root.ClearInvalidations();
    root.Wheel(-120);
    EXPECT_EQ(BoundRows(), (std::vector<int32_t>{10, 11, 12, 13, 14, 15, 16}));
    // The whole viewport repaints, and the bar; nothing else.
    Region expected;
    expected.Add(Rect{13, 13, 174, 100});
    expected.Add(Rect{189, 10, 21, 106});
    Region invalid = root.InvalidRegion();
    EXPECT_TRUE(invalid.SameAs(expected)) << invalid.Bounds().x << "," << invalid.Bounds().y << " "
                                          << invalid.Bounds().width << "x" << invalid.Bounds().height;
    std::set<Pane*> after;
    for (int32_t row = 10; row <= 16; ++row)
        after.insert(view->GetRowPane(row));
    EXPECT_EQ(after, before);
    EXPECT_EQ(view->GetRowPane(12), twelve);
    EXPECT_EQ(view->GetRowPane(16), nine);
    EXPECT_EQ(nine->GetBounds(), (Rect{0, 320, 174, 20}));
}

// ---- painting --------------------------------------------------------------------------------------

TEST_F(ListFixture, PaintsTheFrameAndTheRowsColumnsInTheirColours) {
    Fill(3, 2);
    view->AddItem(7, 3); // data row 7, three columns, as row 3
    view->Select(1);
    Canvas canvas;
    root.PaintWindow(canvas.gc);
    canvas.CheckRestored();

    std::vector<std::string> frame;
    for (const DrawCall& c : canvas.gc.CallsOf("Rectangle")) {
        if (c.origin == Point{10, 10})
            frame.push_back(std::to_string(c.rect.width) + "x" + std::to_string(c.rect.height) + " " +
                            std::to_string(c.penColor));
    }
    EXPECT_EQ(frame, (std::vector<std::string>{"200x106 " + std::to_string(GetColor(20)),
                                               "198x104 " + std::to_string(GetColor(23))}));

    // k = (194 - 4) / 2 / n; the first column is 194 - k (n - 1) - 4.
    struct Cell {
        std::string text;
        int32_t y; // the row's origin in the window
        Rect rect;
        Color color;
    };
    const Cell cells[] = {
        {"r0c0", 13, {2, 1, 143, 18}, GetColor(22)},   {"r0c1", 13, {145, 1, 47, 18}, GetColor(22)},
        {"r1c0", 33, {2, 1, 143, 18}, GetColor(22)},   {"r1c1", 33, {145, 1, 47, 18}, GetColor(22)},
        {"r2c0", 53, {2, 1, 143, 18}, GetColor(22)},   {"r2c1", 53, {145, 1, 47, 18}, GetColor(22)},
        {"r7c0", 73, {2, 1, 128, 18}, GetColor(22)},   {"r7c1", 73, {130, 1, 31, 18}, GetColor(22)},
        {"r7c2", 73, {161, 1, 31, 18}, GetColor(22)},
    };
    const auto texts = canvas.gc.CallsOf("DrawText");
    ASSERT_EQ(texts.size(), std::size(cells));
    for (size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(cells[i].text);
        EXPECT_EQ(texts[i].text, cells[i].text);
        EXPECT_EQ(texts[i].origin, (Point{13, cells[i].y}));
        EXPECT_EQ(texts[i].rect, cells[i].rect);
        EXPECT_EQ(texts[i].textColor, cells[i].color);
        EXPECT_EQ(texts[i].font.weight, 700);
        EXPECT_EQ(texts[i].format & kTextVCenter, uint32_t(kTextVCenter));
    }
    // The selected row is filled; the view is not activated, so its text stays palette 22.
    std::vector<Point> filled;
    for (const DrawCall& c : canvas.gc.CallsOf("FillRect")) {
        if (c.brushColor == GetColor(27))
            filled.push_back(c.origin);
    }
    EXPECT_EQ(filled, (std::vector<Point>{{13, 33}}));

    // Activated by a click: the selected row's text turns palette 25.
    ClickRow(2);
    Canvas active;
    root.PaintWindow(active.gc);
    for (const DrawCall& c : active.gc.CallsOf("DrawText"))
        EXPECT_EQ(c.textColor, c.text.rfind("r2", 0) == 0 ? GetColor(25) : GetColor(22)) << c.text;
}

TEST_F(ListFixture, TheFrameLeavesRoomForTheBar) {
    Fill(6);
    Canvas canvas;
    root.PaintWindow(canvas.gc);
    std::vector<Rect> frame;
    for (const DrawCall& c : canvas.gc.CallsOf("Rectangle")) {
        if (c.origin == Point{10, 10})
            frame.push_back(c.rect);
    }
    EXPECT_EQ(frame, (std::vector<Rect>{{0, 0, 180, 106}, {1, 1, 178, 104}}));
}

// A row with no columns has no width to split: it shows no text and
// cannot be edited.
TEST_F(ListFixture, ARowWithoutColumnsPaintsNoTextAndCannotBeEdited) {
    source.count = 2;
    view->AddItem(0, 0);
    view->AddItem(1, 1);
    view->Select(0);
    Canvas canvas;
    root.PaintWindow(canvas.gc);
    const auto texts = canvas.gc.CallsOf("DrawText");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "r1c0");
    EXPECT_FALSE(view->EditItem(0));
    EXPECT_EQ(root.textFields.made, 0);
    EXPECT_TRUE(view->EditItem(1));
    EXPECT_TRUE(FieldOpen());
}

// ---- renaming in place ---------------------------------------------------------------------------

class ListEdit : public ListFixture {
public:
    ListEdit() {
        Fill(3, 2);
        Listen();
    }
    void Listen() {
        view->AddItemChangingListener(Fn2<int, ListView::ItemChangingArgs, bool>([this](int row, ListView::ItemChangingArgs a) {
            changes.push_back(std::to_string(row) + " " + a.text.c_str() + " " + std::to_string(a.reserved));
            if (onChange)
                onChange();
            return true;
        }));
    }
    std::vector<std::string> changes;
    std::function<void()> onChange;
};

TEST_F(ListEdit, AnAcceptedTextReachesTheOwnerWithTheDataRow) {
    view->AddItem(9, 1); // data row 9 as row 3
    view->Select(3);
    Canvas canvas; // the first paint makes the row font
    root.PaintWindow(canvas.gc);
    ASSERT_NE(view->GetRowPane(3)->GetRowFont(), nullptr);
    ASSERT_TRUE(view->EditItem(3));
    ASSERT_TRUE(FieldOpen());
    // Over the first column: (2, 1, 194 - 4, 18) in the row, whose origin is (13, 73).
    EXPECT_EQ(Field()->Where(), (Rect{15, 74, 190, 18}));
    EXPECT_EQ(std::string(Field()->Text().c_str()), "r9c0");
    EXPECT_EQ(Field()->GetFont(), view->GetRowPane(3)->GetRowFont());
    Field()->Type("Lead");
    Field()->PressEnter();
    EXPECT_EQ(changes, (std::vector<std::string>{"9 Lead 0"}));
    EXPECT_FALSE(view->GetRowPane(3)->IsEditing());
    EXPECT_FALSE(FieldOpen());
}

TEST_F(ListEdit, ACancelledEditTellsNobody) {
    ASSERT_TRUE(view->EditItem(1));
    Field()->Type("Lead");
    root.ClearInvalidations();
    Field()->PressEscape();
    EXPECT_TRUE(changes.empty());
    EXPECT_FALSE(view->GetRowPane(1)->IsEditing());
    EXPECT_FALSE(root.invalidations.empty());
    EXPECT_FALSE(view->EditItem(3));
    EXPECT_FALSE(view->EditItem(-1));
}

// The owner renames the object behind the row and then does what owners
// do: selects, refills, deletes. The editor ends once, and nothing is
// touched after it is gone (ASan).
TEST_F(ListEdit, AnOwnerMayReselectRefillOrDeleteTheViewWhileHearingTheText) {
    struct Case {
        const char* name;
        std::function<void(ListEdit&)> action;
    };
    const Case cases[] = {
        {"selects another row", [](ListEdit& t) { t.view->Select(2); }},
        {"refills", [](ListEdit& t) { t.Fill(3, 2); }},
        {"refills with fewer rows", [](ListEdit& t) { t.Fill(1, 2); }},
        {"deletes the view",
         [](ListEdit& t) {
             delete t.view;
             t.view = nullptr;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!view) {
            view = new ListView;
            view->SetDataSource(&source);
            view->Create(&root, {10, 10, 200, 106});
            Listen();
        }
        Fill(3, 2);
        changes.clear();
        onChange = [&] { c.action(*this); };
        view->Select(1);
        ASSERT_TRUE(view->EditItem(1));
        Field()->Type("New");
        Field()->PressEnter();
        onChange = nullptr;
        EXPECT_EQ(changes, (std::vector<std::string>{"1 New 0"}));
        EXPECT_FALSE(FieldOpen());
        for (const FakeTextField* f : root.textFields.live)
            EXPECT_FALSE(f->IsOpen());
        if (view) {
            for (int32_t row = 0; row < view->GetRowCount(); ++row) {
                if (ListView::ItemPane* p = view->GetRowPane(row)) {
                    EXPECT_FALSE(p->IsEditing());
                }
            }
        }
    }
}

TEST_F(ListEdit, AnEditWhoseRowScrollsAwayIsClosedWithoutAWord) {
    Fill(100, 2);
    ASSERT_TRUE(view->EditItem(0));
    ListView::ItemPane* pane = view->GetRowPane(0);
    ASSERT_TRUE(pane->IsEditing());
    root.MoveTo(60, 30);
    root.Wheel(-120); // row 0 is still the one above the viewport
    EXPECT_TRUE(pane->IsEditing());
    root.Wheel(-120 * 5);
    EXPECT_NE(pane->GetRow(), 0);
    EXPECT_FALSE(pane->IsEditing());
    EXPECT_FALSE(FieldOpen());
    EXPECT_TRUE(changes.empty());
    // Selecting another row ends the selected row's edit.
    view->Select(10);
    ASSERT_TRUE(view->EditItem(10));
    view->Select(11);
    EXPECT_FALSE(FieldOpen());
    EXPECT_TRUE(changes.empty());
}

TEST_F(ListEdit, EditItemScrollsAnOffscreenRowIntoView) {
    Fill(100, 1);
    ASSERT_TRUE(view->EditItem(60));
    EXPECT_EQ(Position(), 20 * 60 + 20 - 100);
    ASSERT_TRUE(FieldOpen());
    EXPECT_EQ(std::string(Field()->Text().c_str()), "r60c0");
}

// ---- listeners that delete or refill the view -------------------------------------------------------

TEST_F(ListFixture, ASelectionListenerMayDeleteOrRefillTheView) {
    Fill(5);
    onSelection = [this](int) { Fill(5); };
    ClickRow(2);
    EXPECT_EQ(view->GetSelection(), 2);
    ClickRow(3);
    EXPECT_EQ(view->GetSelection(), 3);

    onSelection = [this](int) {
        delete view;
        view = nullptr;
    };
    ClickRow(1);
    EXPECT_EQ(view, nullptr);
    EXPECT_EQ(heard, (std::vector<int>{2, 3, 1}));
    root.Release(60, 43); // a stray release finds nothing
}

TEST_F(ListFixture, AKeyReleaseListenerMayDeleteTheView) {
    Fill(5);
    view->RequestFocus(view);
    onSelection = [this](int) {
        delete view;
        view = nullptr;
    };
    root.KeyDown(kDown);
    root.KeyUp(kDown);
    EXPECT_EQ(view, nullptr);
    root.KeyDown(kDown);
}

TEST_F(ListFixture, MenuListenersMayDeleteOrRefillTheView) {
    struct Case {
        const char* name;
        bool inRequest;
        bool refill;
    };
    const Case cases[] = {{"request deletes", true, false},
                          {"choice deletes", false, false},
                          {"request refills", true, true},
                          {"choice refills", false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A fresh view each time: the listeners below see this case's locals.
        delete view;
        view = new ListView;
        view->SetDataSource(&source);
        view->Create(&root, {10, 10, 200, 106});
        Fill(5);
        int choices = 0;
        auto act = [&] {
            if (c.refill) {
                Fill(2);
            } else {
                delete view;
                view = nullptr;
            }
        };
        view->AddMenuRequestListener(Fn2<int, MenuItemListImpl&, void>([&](int, MenuItemListImpl& m) {
            m.Add("Delete", 7);
            if (c.inRequest)
                act();
        }));
        view->AddMenuChoiceListener(Fn2<int, int, void>([&](int row, int id) {
            ++choices;
            EXPECT_EQ(row, 3);
            EXPECT_EQ(id, 7);
            if (!c.inRequest)
                act();
        }));
        root.menuAnswers = {0};
        root.menuCalls.clear();
        ClickRow(3, kButtonRight);
        root.AdvanceTime(100);
        // A deleted view shows no menu; a refilled one still does.
        EXPECT_EQ(root.menuCalls.size(), c.inRequest && !c.refill ? 0u : 1u);
        EXPECT_EQ(choices, c.inRequest && !c.refill ? 0 : 1);
    }
}

} // namespace
} // namespace Corvell::Test
