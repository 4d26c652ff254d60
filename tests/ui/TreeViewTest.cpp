#include "Canvas.h"
#include "PngBuilder.h"
#include "TestImageSource.h"
#include "TestRootPane.h"
#include "ViewSources.h"
#include "shared/Graphics/Palette.h"
#include "ui/ScrollBar.h"
#include "ui/TreeView.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace Corvell::Test {
namespace {

constexpr int32_t kLeft = 0x25;
constexpr int32_t kUp = 0x26;
constexpr int32_t kRight = 0x27;
constexpr int32_t kDown = 0x28;

using Node = NodeSource::Node;

std::string Name(void* item) { return item ? static_cast<Node*>(item)->name : "null"; }

// A tree at (10, 10, 200, 106) over the sample nodes: the viewport is
// (3, 3, 194, 100), five rows high, at (13, 13) in the window.
class TreeFixture : public ::testing::Test {
public:
    TreeFixture() {
        ClearImageCache();
        images.AddPng("DARK-ARROWS", RgbaPng(52, 52)); // cells of 13 x 13
        source.Sample();
        Make();
    }
    ~TreeFixture() override {
        delete view;
        ClearImageCache();
    }
    void Make() {
        view = new TreeView;
        view->Create(&root, {10, 10, 200, 106});
        view->SetDataSource(&source);
        view->AddSelectionListener(Fn<void*>([this](void* item) {
            heard.push_back(Name(item));
            if (onSelection)
                onSelection(item);
        }));
    }
    // "name:depth" for every row.
    std::vector<std::string> Rows() const {
        std::vector<std::string> out;
        for (int32_t i = 0; i < view->GetRowCount(); ++i)
            out.push_back(Name(view->ItemAt(i)) + ":" + std::to_string(view->GetDepth(i)));
        return out;
    }
    Node* N(const std::string& name) { return source[name]; }
    int32_t Position() const { return view->GetScrollBar()->GetPosition(); }
    // A point in a row (window coordinates) at x inside the row.
    Point InRow(int32_t row, int32_t x = 100) const { return Point{13 + x, 13 + 20 * row + 10 - Position()}; }
    void Paint() {
        Canvas canvas;
        root.PaintWindow(canvas.gc);
        lastCells.clear();
        for (const DrawCall& c : canvas.gc.CallsOf("Blend"))
            lastCells.push_back(c);
        lastTexts = canvas.gc.CallsOf("DrawText");
        lastFills = canvas.gc.CallsOf("FillRect");
    }
    // What the last paint drew in a row (panes paint in no particular order).
    const DrawCall* Find(const std::vector<DrawCall>& calls, int32_t row) const {
        const Point origin{13, 13 + 20 * row - Position()};
        for (const DrawCall& c : calls) {
            if (c.origin == origin)
                return &c;
        }
        return nullptr;
    }
    const DrawCall* CellOf(int32_t row) const { return Find(lastCells, row); }
    const DrawCall* TextOf(int32_t row) const { return Find(lastTexts, row); }
    // The arrow frame drawn for a row in the last paint, or -1.
    int32_t FrameOf(int32_t row) const {
        const DrawCall* c = CellOf(row);
        return c ? c->source.y / 13 : -1;
    }
    size_t Timers() const { return root.GetTimerCount(); }
    FakeTextField* Field() const { return root.textFields.Last(); }
    bool FieldOpen() const { return Field() && Field()->IsOpen(); }

    TestImageSource images{"/nowhere/module"};
    TestRootPane root{400, 300};
    NodeSource source;
    TreeView* view = nullptr;
    std::vector<std::string> heard;
    std::function<void(void*)> onSelection;
    std::vector<DrawCall> lastCells;
    std::vector<DrawCall> lastTexts;
    std::vector<DrawCall> lastFills;
};

using RowList = std::vector<std::string>;

// ---- expanding and collapsing --------------------------------------------------------------------

TEST_F(TreeFixture, TheDataSourceGivesTheTopLevelAndExpandingInsertsChildrenOneLevelDeeper) {
    EXPECT_EQ(Rows(), (RowList{"A:0", "B:0", "C:0"}));
    struct Step {
        const char* what;
        std::function<void(TreeFixture&)> act;
        RowList rows;
    };
    const Step steps[] = {
        {"expand A", [](TreeFixture& t) { t.view->Expand(t.N("A")); }, {"A:0", "A1:1", "A2:1", "B:0", "C:0"}},
        {"expand A1", [](TreeFixture& t) { t.view->Expand(t.N("A1")); },
         {"A:0", "A1:1", "A1a:2", "A1b:2", "A2:1", "B:0", "C:0"}},
        {"expand A again", [](TreeFixture& t) { t.view->Expand(t.N("A")); },
         {"A:0", "A1:1", "A1a:2", "A1b:2", "A2:1", "B:0", "C:0"}},
        {"expand B", [](TreeFixture& t) { t.view->Expand(t.N("B")); },
         {"A:0", "A1:1", "A1a:2", "A1b:2", "A2:1", "B:0", "B1:1", "C:0"}},
        {"collapse A takes both levels", [](TreeFixture& t) { t.view->Collapse(t.N("A")); },
         {"A:0", "B:0", "B1:1", "C:0"}},
        {"expand A: A1 comes back collapsed", [](TreeFixture& t) { t.view->Expand(t.N("A")); },
         {"A:0", "A1:1", "A2:1", "B:0", "B1:1", "C:0"}},
        {"C has no children", [](TreeFixture& t) { t.view->Expand(t.N("C")); },
         {"A:0", "A1:1", "A2:1", "B:0", "B1:1", "C:0"}},
        {"collapse a collapsed item", [](TreeFixture& t) { t.view->Collapse(t.N("A1")); },
         {"A:0", "A1:1", "A2:1", "B:0", "B1:1", "C:0"}},
        {"null is the top level, never expanded again", [](TreeFixture& t) { t.view->Expand(nullptr); },
         {"A:0", "A1:1", "A2:1", "B:0", "B1:1", "C:0"}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act(*this);
        EXPECT_EQ(Rows(), s.rows);
    }
    EXPECT_TRUE(view->IsExpanded(N("A")));
    EXPECT_FALSE(view->IsExpanded(N("A1")));
    EXPECT_FALSE(view->IsExpanded(N("C")));
    EXPECT_TRUE(heard.empty()); // expanding tells nobody
}

TEST_F(TreeFixture, CollapsingAnItemWhoseGrandchildIsSelectedReportsANullSelectionOnce) {
    view->Expand(N("A"));
    view->Expand(N("A1"));
    view->SelectItem(N("A1a"));
    EXPECT_EQ(heard, (std::vector<std::string>{"A1a"}));
    heard.clear();
    view->Collapse(N("A"));
    EXPECT_EQ(Rows(), (RowList{"A:0", "B:0", "C:0"}));
    EXPECT_EQ(view->GetSelectedItem(), nullptr);
    EXPECT_EQ(heard, (std::vector<std::string>{"null"}));

    // A selection that keeps its row stays, and nobody hears of it.
    view->Expand(N("A"));
    view->SelectItem(N("B"));
    heard.clear();
    view->Collapse(N("A"));
    EXPECT_EQ(view->GetSelectedItem(), N("B"));
    EXPECT_TRUE(heard.empty());
}

TEST_F(TreeFixture, AnItemWithoutChildRowsOnlyTakesTheFlag) {
    N("C")->claimsChildren = true; // has children, but lists none
    view->Expand(N("C"));
    EXPECT_TRUE(view->IsExpanded(N("C")));
    EXPECT_EQ(Rows(), (RowList{"A:0", "B:0", "C:0"}));
    view->Collapse(N("C"));
    EXPECT_FALSE(view->IsExpanded(N("C")));
    EXPECT_EQ(Rows(), (RowList{"A:0", "B:0", "C:0"}));
}

// The rows that go are the rows that came, whatever the data source says
// by the time the item collapses.
TEST_F(TreeFixture, CollapseRemovesTheRowsUnderTheItemWhateverTheDataSourceSaysNow) {
    struct Case {
        const char* what;
        std::function<void(TreeFixture&)> change;
    };
    const Case cases[] = {
        {"a child added", [](TreeFixture& t) { t.source.Add(t.N("A"), "A3"); }},
        {"a child removed", [](TreeFixture& t) { t.N("A")->children.pop_back(); }},
        {"all children gone", [](TreeFixture& t) { t.N("A")->children.clear(); }},
        {"a grandchild's children gone", [](TreeFixture& t) { t.N("A1")->children.clear(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        source = NodeSource();
        source.Sample();
        view->SetDataSource(&source);
        view->Expand(N("A"));
        view->Expand(N("A1"));
        ASSERT_EQ(Rows(), (RowList{"A:0", "A1:1", "A1a:2", "A1b:2", "A2:1", "B:0", "C:0"}));
        c.change(*this);
        view->Collapse(N("A"));
        EXPECT_EQ(Rows(), (RowList{"A:0", "B:0", "C:0"}));
        EXPECT_FALSE(view->IsExpanded(N("A")));
    }
}

TEST_F(TreeFixture, RemovingARowRemovesTheRowsOfItsDescendants) {
    struct Case {
        const char* what;
        std::string remove;
        RowList rows;
        int32_t answer;
    };
    const Case cases[] = {
        {"an expanded top-level item", "A", {"B:0", "C:0"}, 0},
        {"an expanded child", "A1", {"A:0", "A2:1", "B:0", "C:0"}, 1},
        {"a leaf", "A1a", {"A:0", "A1:1", "A1b:2", "A2:1", "B:0", "C:0"}, 2},
        {"the last row", "C", {"A:0", "A1:1", "A1a:2", "A1b:2", "A2:1", "B:0"}, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        view->SetDataSource(&source);
        view->Expand(N("A"));
        view->Expand(N("A1"));
        EXPECT_EQ(view->RemoveItemAt(view->IndexOfItem(N(c.remove))), c.answer);
        EXPECT_EQ(Rows(), c.rows);
    }
    EXPECT_EQ(view->RemoveItemAt(99), -1);
    EXPECT_EQ(view->RemoveItemAt(-1), -1);
}

TEST_F(TreeFixture, RowsComeAndGoByIndex) {
    view->RemoveAllItems();
    EXPECT_EQ(view->GetRowCount(), 0);
    EXPECT_EQ(view->AddItem(N("B"), 0), 0);
    EXPECT_EQ(view->AddItem(N("C"), 0), 1);
    EXPECT_EQ(view->InsertItem(0, N("A"), 0), 0);
    EXPECT_EQ(view->InsertItem(1, N("A1"), 1), 1);
    EXPECT_EQ(view->InsertItem(99, N("B1"), 1), 4);
    EXPECT_EQ(Rows(), (RowList{"A:0", "A1:1", "B:0", "C:0", "B1:1"}));
    EXPECT_EQ(view->IndexOfItem(N("C")), 3);
    EXPECT_EQ(view->IndexOfItem(N("A2")), -1);
    EXPECT_EQ(view->ItemAt(5), nullptr);
    EXPECT_EQ(view->ItemAt(-1), nullptr);
    EXPECT_EQ(view->GetRowPane(4)->GetItem(), N("B1"));
}

// ---- mouse ---------------------------------------------------------------------------------------

TEST_F(TreeFixture, ADoubleClickTogglesAnItemWithChildrenAndOnlySelectsOneWithout) {
    const Point a = InRow(0);
    root.DoubleClick(a.x, a.y);
    EXPECT_EQ(Rows(), (RowList{"A:0", "A1:1", "A2:1", "B:0", "C:0"}));
    EXPECT_EQ(view->GetSelectedItem(), N("A")); // the first click selected it
    root.DoubleClick(a.x, a.y);
    EXPECT_EQ(Rows(), (RowList{"A:0", "B:0", "C:0"}));

    heard.clear();
    const Point c = InRow(2);
    root.DoubleClick(c.x, c.y);
    EXPECT_EQ(Rows(), (RowList{"A:0", "B:0", "C:0"}));
    EXPECT_EQ(view->GetSelectedItem(), N("C"));
    EXPECT_EQ(heard, (std::vector<std::string>{"C"}));
}

TEST_F(TreeFixture, APressInTheExpanderBoxTogglesAtOnceAndSelectsNothing) {
    // Depth 0: x0 = 2, r = 18; the box is x 2..19, y 1..18 of the row.
    struct Case {
        int32_t x;
        bool toggles;
    };
    const Case cases[] = {{2, true}, {19, true}, {1, false}, {20, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        view->SetDataSource(&source);
        view->SelectItem(nullptr);
        heard.clear();
        const Point p = InRow(0, c.x);
        root.Click(p.x, p.y);
        EXPECT_EQ(view->IsExpanded(N("A")), c.toggles);
        EXPECT_EQ(view->GetSelectedItem(), c.toggles ? nullptr : N("A"));
    }
    // In a child row the box moves right by one row height; C has no box.
    view->SetDataSource(&source);
    view->Expand(N("A"));
    const Point child = InRow(1, 20 + 5);
    root.Click(child.x, child.y);
    EXPECT_TRUE(view->IsExpanded(N("A1")));
    const Point leaf = InRow(view->IndexOfItem(N("A1a")), 40); // where a depth-2 box would be
    root.Click(leaf.x, leaf.y);
    EXPECT_EQ(view->GetSelectedItem(), N("A1a"));
}

TEST_F(TreeFixture, APressSelectsActivatesAndFocusesTheView) {
    const Point b = InRow(1);
    EXPECT_FALSE(view->IsActivated());
    root.Click(b.x, b.y);
    EXPECT_EQ(view->GetSelectedItem(), N("B"));
    EXPECT_TRUE(view->IsActivated());
    EXPECT_EQ(root.GetFocusedPane(), view);
    EXPECT_EQ(heard, (std::vector<std::string>{"B"}));
    // The selected row again: nobody hears it.
    root.Click(b.x, b.y);
    EXPECT_EQ(heard, (std::vector<std::string>{"B"}));
}

TEST_F(TreeFixture, ARightClickBelowTheLastRowAsksForTheEmptyAreasMenu) {
    std::vector<std::string> lines;
    view->AddMenuRequestListener(Fn2<void*, MenuItemListImpl&, void>([&](void* item, MenuItemListImpl& m) {
        lines.push_back("request " + Name(item));
        m.Add("New folder", 5);
        m.Add("Rename", 6);
    }));
    view->AddMenuChoiceListener(Fn2<void*, int, void>(
        [&](void* item, int id) { lines.push_back("choice " + Name(item) + " " + std::to_string(id)); }));
    root.Click(60, 90, kButtonRight); // below C
    root.menuAnswers = {1};
    root.AdvanceTime(100);
    const Point b = InRow(1);
    root.Click(b.x, b.y, kButtonRight);
    EXPECT_EQ(lines, (std::vector<std::string>{"request null", "choice null -1", "request B", "choice B 6"}));
    ASSERT_EQ(root.menuCalls.size(), 2u);
    EXPECT_EQ(root.menuCalls[0].anchor, (Rect{60, 90, 1, 1}));
}

// ---- keys ---------------------------------------------------------------------------------------------

TEST_F(TreeFixture, ArrowKeysMoveTheSelectionAndExpandAndCollapse) {
    view->RequestFocus(view);
    struct Step {
        int32_t key;
        std::string selected;
        RowList rows;
        std::vector<std::string> heard; // on the press, then on the release
    };
    const Step steps[] = {
        {kDown, "A", {"A:0", "B:0", "C:0"}, {"A", "A"}},
        {kRight, "A", {"A:0", "A1:1", "A2:1", "B:0", "C:0"}, {"A"}},
        {kDown, "A1", {"A:0", "A1:1", "A2:1", "B:0", "C:0"}, {"A1", "A1"}},
        {kLeft, "A1", {"A:0", "A1:1", "A2:1", "B:0", "C:0"}, {"A1"}},
        {kUp, "A", {"A:0", "A1:1", "A2:1", "B:0", "C:0"}, {"A", "A"}},
        {kUp, "A", {"A:0", "A1:1", "A2:1", "B:0", "C:0"}, {"A"}},
        {kLeft, "A", {"A:0", "B:0", "C:0"}, {"A"}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(::testing::Message() << "key " << s.key << " to " << s.selected);
        heard.clear();
        root.KeyPress(s.key);
        EXPECT_EQ(Name(view->GetSelectedItem()), s.selected);
        EXPECT_EQ(Rows(), s.rows);
        EXPECT_EQ(heard, s.heard);
    }
}

TEST_F(TreeFixture, LeftAndRightWithoutASelectionDoNothing) {
    view->RequestFocus(view);
    root.KeyPress(kRight);
    root.KeyPress(kLeft);
    EXPECT_EQ(Rows(), (RowList{"A:0", "B:0", "C:0"}));
}

// ---- the expander animation ----------------------------------------------------------------------------

TEST_F(TreeFixture, EachPaintShowsTheNextFrameOnA50msTimer) {
    Paint();
    EXPECT_EQ(FrameOf(0), 0);
    EXPECT_EQ(FrameOf(2), -1); // C has no arrow
    EXPECT_EQ(Timers(), 0u);

    view->Expand(N("A"));
    for (int32_t frame : {1, 2, 3}) {
        SCOPED_TRACE(frame);
        root.ClearInvalidations();
        if (frame > 1)
            root.AdvanceTime(50);
        if (frame > 1) {
            // The timer only asks for the paint of the row.
            ASSERT_FALSE(root.invalidations.empty());
        }
        Paint();
        EXPECT_EQ(FrameOf(0), frame);
        EXPECT_EQ(Timers(), frame < 3 ? 1u : 0u);
        EXPECT_EQ(view->GetRowPane(0)->IsTimerRunning(), frame < 3);
    }
    Paint();
    EXPECT_EQ(FrameOf(0), 3);

    view->Collapse(N("A"));
    for (int32_t frame : {2, 1, 0}) {
        SCOPED_TRACE(frame);
        if (frame < 2)
            root.AdvanceTime(50);
        Paint();
        EXPECT_EQ(FrameOf(0), frame);
        EXPECT_EQ(Timers(), frame > 0 ? 1u : 0u);
    }
    root.AdvanceTime(500);
    EXPECT_EQ(root.RunningTimers(), 0u);
}

// A row deleted or re-bound while its arrow moves takes its timer with
// it: nothing fires on a freed row (ASan), and no timer is left running.
TEST_F(TreeFixture, ARowGoingInMidAnimationLeavesNoTimerBehind) {
    struct Case {
        const char* what;
        std::function<void(TreeFixture&)> go;
    };
    const Case cases[] = {
        {"its parent collapses", [](TreeFixture& t) { t.view->Collapse(t.N("A")); }},
        {"removed", [](TreeFixture& t) { t.view->RemoveItemAt(t.view->IndexOfItem(t.N("A1"))); }},
        {"all rows removed", [](TreeFixture& t) { t.view->RemoveAllItems(); }},
        {"a new data source", [](TreeFixture& t) { t.view->SetDataSource(&t.source); }},
        {"the view deleted",
         [](TreeFixture& t) {
             delete t.view;
             t.view = nullptr;
         }},
        {"scrolled away",
         [](TreeFixture& t) {
             for (int i = 0; i < 20; ++i)
                 t.view->AddItem(t.N("C"), 0);
             t.root.MoveTo(60, 30);
             t.root.Wheel(-120 * 10);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!view)
            Make();
        view->SetDataSource(&source);
        view->Expand(N("A"));
        Paint();
        for (int i = 0; i < 3; ++i) {
            root.AdvanceTime(50);
            Paint(); // A settles at frame 3
        }
        view->Expand(N("A1"));
        Paint();
        ASSERT_EQ(view->GetRowPane(1)->GetItem(), N("A1"));
        ASSERT_TRUE(view->GetRowPane(1)->IsTimerRunning());
        ASSERT_EQ(Timers(), 1u);
        c.go(*this);
        EXPECT_EQ(Timers(), 0u);
        EXPECT_EQ(root.RunningTimers(), 0u);
        root.AdvanceTime(500);
    }
}

TEST_F(TreeFixture, ARowScrolledBackInFinishesItsAnimation) {
    for (int i = 0; i < 20; ++i)
        view->AddItem(N("C"), 0);
    view->Expand(N("A"));
    Paint();
    EXPECT_EQ(FrameOf(0), 1);
    root.MoveTo(60, 30);
    root.Wheel(-120 * 10);
    EXPECT_EQ(Timers(), 0u);
    root.Wheel(120 * 10);
    Paint();
    EXPECT_EQ(FrameOf(0), 2);
    EXPECT_EQ(Timers(), 1u);
    root.AdvanceTime(50);
    Paint();
    EXPECT_EQ(FrameOf(0), 3);
    EXPECT_EQ(Timers(), 0u);
}

TEST_F(TreeFixture, AHiddenViewStopsTheAnimationAndItsNextPaintGoesOn) {
    view->Expand(N("A"));
    Paint();
    ASSERT_EQ(Timers(), 1u);
    view->SetVisible(false);
    root.AdvanceTime(50);
    EXPECT_EQ(Timers(), 0u);
    EXPECT_EQ(root.RunningTimers(), 0u);
    view->SetVisible(true);
    Paint();
    EXPECT_EQ(FrameOf(0), 2);
    EXPECT_EQ(Timers(), 1u);
}

// ---- painting -------------------------------------------------------------------------------------------

TEST_F(TreeFixture, RowsAreIndentedByDepthAndTheArrowCellFollowsTheSelection) {
    view->Expand(N("A"));
    view->Expand(N("A1"));
    for (int i = 0; i < 4; ++i)
        Paint(); // each paint a frame: the arrows settle
    // Seven rows: the bar shows and the rows are 174 wide.
    struct Row {
        std::string text;
        Rect textRect; // r = 18, x0 = 18 depth + 2: (x0 + 18, 1, 174 - 4 - 18 (depth + 1), 18)
        int32_t frame;
    };
    const Row rows[] = {
        {"A", {20, 1, 152, 18}, 3},   {"A1", {38, 1, 134, 18}, 3}, {"A1a", {56, 1, 116, 18}, -1},
        {"A1b", {56, 1, 116, 18}, -1}, {"A2", {38, 1, 134, 18}, -1},
    };
    ASSERT_EQ(lastTexts.size(), std::size(rows));
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].text);
        const DrawCall* t = TextOf(int32_t(i));
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->text, rows[i].text);
        EXPECT_EQ(t->rect, rows[i].textRect);
        EXPECT_EQ(t->textColor, GetColor(22));
        EXPECT_EQ(t->font.weight, 700);
        EXPECT_EQ(FrameOf(int32_t(i)), rows[i].frame);
    }
    // The arrow cell: (x0 + (r - 13) / 2, 1 + (r - 13) / 2), column 0, row = frame.
    ASSERT_NE(CellOf(0), nullptr);
    ASSERT_NE(CellOf(1), nullptr);
    EXPECT_EQ(CellOf(0)->rect, (Rect{4, 3, 13, 13}));
    EXPECT_EQ(CellOf(0)->source, (Rect{0, 39, 13, 13}));
    EXPECT_EQ(CellOf(1)->rect, (Rect{22, 3, 13, 13}));

    // Selected in a view not yet activated: filled, column 0, text palette 22.
    view->SelectItem(N("A1"));
    Paint();
    EXPECT_EQ(CellOf(1)->source, (Rect{0, 39, 13, 13}));
    EXPECT_EQ(TextOf(1)->textColor, GetColor(22));
    // Activated: column 2 (x = 26) and text palette 25.
    const Point a1 = InRow(1);
    root.Click(a1.x, a1.y);
    Paint();
    EXPECT_EQ(CellOf(1)->source, (Rect{26, 39, 13, 13}));
    EXPECT_EQ(CellOf(0)->source, (Rect{0, 39, 13, 13}));
    EXPECT_EQ(TextOf(1)->textColor, GetColor(25));
    EXPECT_EQ(TextOf(0)->textColor, GetColor(22));
    std::vector<Point> filled;
    for (const DrawCall& c : lastFills) {
        if (c.brushColor == GetColor(27))
            filled.push_back(c.origin);
    }
    EXPECT_EQ(filled, (std::vector<Point>{{13, 33}}));
}

// ---- a large tree ---------------------------------------------------------------------------------------

TEST_F(TreeFixture, AFullyExpandedLargeTreeKeepsPanesForTheRowsOnScreenOnly) {
    NodeSource big;
    big.Balanced(6, 5); // 6 + 36 + 216 + 1296 + 7776 nodes
    view->SetDataSource(&big);
    for (int32_t row = 0; row < view->GetRowCount(); ++row)
        view->Expand(view->ItemAt(row));
    ASSERT_EQ(view->GetRowCount(), 9330);
    EXPECT_LE(size_t(view->GetContentPane()->GetChildCount()), 100 / 20 + 2 + RowScroller::kSpares);
    EXPECT_EQ(view->GetContentPane()->GetBounds().height, 9330 * 20);

    // Collapse and expand a node deep in the tree: its rows go and come at its place.
    Node* deep = big["3.2.1"];
    const int32_t at = view->IndexOfItem(deep);
    ASSERT_GT(at, 4000);
    view->Collapse(deep);
    EXPECT_EQ(view->GetRowCount(), 9330 - 6 - 36);
    EXPECT_EQ(Name(view->ItemAt(at + 1)), "3.2.2");
    EXPECT_EQ(view->GetDepth(at + 1), 2);
    view->Expand(deep);
    EXPECT_EQ(view->GetRowCount(), 9330 - 36);
    EXPECT_EQ(Name(view->ItemAt(at + 1)), "3.2.1.0");
    EXPECT_EQ(view->GetDepth(at + 1), 3);
    // Expanding scrolled the item into view; the panes show the rows around it.
    EXPECT_LE(size_t(view->GetContentPane()->GetChildCount()), 100 / 20 + 2 + RowScroller::kSpares);
    ASSERT_NE(view->GetRowPane(at), nullptr);
    EXPECT_EQ(view->GetRowPane(at)->GetItem(), deep);
}

// ---- renaming in place ----------------------------------------------------------------------------------

class TreeEdit : public TreeFixture {
public:
    TreeEdit() {
        view->Expand(N("A"));
        Listen();
    }
    void Listen() {
        view->AddItemChangingListener(
            Fn2<void*, TreeView::ItemChangingArgs, bool>([this](void* item, TreeView::ItemChangingArgs a) {
                changes.push_back(Name(item) + " " + a.text.c_str() + " " + std::to_string(a.reserved));
                if (onChange)
                    onChange();
                return true;
            }));
    }
    std::vector<std::string> changes;
    std::function<void()> onChange;
};

TEST_F(TreeEdit, AnAcceptedNameReachesTheOwner) {
    ASSERT_TRUE(view->EditItem(N("A1")));
    ASSERT_TRUE(FieldOpen());
    // The text area of a depth-1 row: (38, 1, 154, 18), the row at (13, 33).
    EXPECT_EQ(Field()->Where(), (Rect{51, 34, 154, 18}));
    EXPECT_EQ(std::string(Field()->Text().c_str()), "A1");
    Field()->Type("Lead");
    Field()->PressEnter();
    EXPECT_EQ(changes, (std::vector<std::string>{"A1 Lead 0"}));
    EXPECT_FALSE(view->GetRowPane(1)->IsEditing());
    EXPECT_FALSE(view->EditItem(nullptr));
    EXPECT_FALSE(view->EditItem(N("A1a"))); // no row
}

TEST_F(TreeEdit, ACancelledEditTellsNobody) {
    ASSERT_TRUE(view->EditItem(N("A2")));
    Field()->Type("Lead");
    Field()->PressEscape();
    EXPECT_TRUE(changes.empty());
    EXPECT_FALSE(view->GetRowPane(2)->IsEditing());
}

// A style renamed in place: the owner selects the parent, refills the tree
// or even deletes it while it hears the new name.
TEST_F(TreeEdit, AnOwnerMayReselectRefillOrDeleteTheViewWhileHearingTheName) {
    struct Case {
        const char* what;
        std::function<void(TreeEdit&)> act;
    };
    const Case cases[] = {
        {"selects the parent", [](TreeEdit& t) { t.view->SelectItem(t.N("A")); }},
        {"refills", [](TreeEdit& t) { t.view->SetDataSource(&t.source); }},
        {"collapses the parent", [](TreeEdit& t) { t.view->Collapse(t.N("A")); }},
        {"deletes the view",
         [](TreeEdit& t) {
             delete t.view;
             t.view = nullptr;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!view) {
            Make();
            Listen();
        }
        view->SetDataSource(&source);
        view->Expand(N("A"));
        view->SelectItem(N("A1"));
        changes.clear();
        onChange = [&] { c.act(*this); };
        ASSERT_TRUE(view->EditItem(N("A1")));
        Field()->Type("New");
        Field()->PressEnter();
        onChange = nullptr;
        EXPECT_EQ(changes, (std::vector<std::string>{"A1 New 0"}));
        for (const FakeTextField* f : root.textFields.live)
            EXPECT_FALSE(f->IsOpen());
    }
}

TEST_F(TreeEdit, SelectingAnotherItemOrScrollingTheRowAwayClosesTheEditWithoutAWord) {
    ASSERT_TRUE(view->EditItem(N("A1")));
    view->SelectItem(N("A1")); // its own item: the edit stays
    EXPECT_TRUE(FieldOpen());
    view->SelectItem(N("B"));
    EXPECT_FALSE(FieldOpen());

    for (int i = 0; i < 20; ++i)
        view->AddItem(N("C"), 0);
    ASSERT_TRUE(view->EditItem(N("A1")));
    root.MoveTo(60, 30);
    root.Wheel(-120 * 10);
    EXPECT_FALSE(FieldOpen());
    EXPECT_TRUE(changes.empty());
}

// ---- listeners that delete the view ---------------------------------------------------------------------

TEST_F(TreeFixture, ListenersMayDeleteTheView) {
    struct Case {
        const char* what;
        std::function<void(TreeFixture&)> trigger;
    };
    const Case cases[] = {
        {"a click's selection",
         [](TreeFixture& t) {
             const Point p = t.InRow(1);
             t.root.Click(p.x, p.y);
         }},
        {"a key's release",
         [](TreeFixture& t) {
             t.view->RequestFocus(t.view);
             t.onSelection = nullptr;
             t.root.KeyDown(kDown);
             t.onSelection = [&t](void*) {
                 delete t.view;
                 t.view = nullptr;
             };
             t.root.KeyUp(kDown);
         }},
        {"a collapse's null selection",
         [](TreeFixture& t) {
             t.onSelection = nullptr;
             t.view->Expand(t.N("A"));
             t.view->SelectItem(t.N("A1"));
             t.onSelection = [&t](void*) {
                 delete t.view;
                 t.view = nullptr;
             };
             t.view->Collapse(t.N("A"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!view)
            Make();
        onSelection = [this](void*) {
            delete view;
            view = nullptr;
        };
        c.trigger(*this);
        EXPECT_EQ(view, nullptr);
        onSelection = nullptr;
    }

    Make();
    bool chose = false;
    view->AddMenuRequestListener(
        Fn2<void*, MenuItemListImpl&, void>([](void*, MenuItemListImpl& m) { m.Add("Delete", 1); }));
    view->AddMenuChoiceListener(Fn2<void*, int, void>([&](void*, int) {
        chose = true;
        delete view;
        view = nullptr;
    }));
    root.menuAnswers = {0};
    root.AdvanceTime(100);
    const Point b = InRow(1);
    root.Click(b.x, b.y, kButtonRight);
    EXPECT_TRUE(chose);
    EXPECT_EQ(view, nullptr);
}

} // namespace
} // namespace Corvell::Test
