#include "EventLog.h"
#include "RecordingContext.h"
#include "TestRootPane.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Corvell::Test {
namespace {

// Counts the hooks a pane hears.
struct CountingPane : Pane {
    ~CountingPane() override {
        if (!IsClosed())
            OnDestroy();
    }
    void OnDestroy() override {
        ++destroyed;
        Pane::OnDestroy();
    }
    void OnLayoutChanged() override { ++layouts; }
    void OnWindowCreated() override {
        ++created;
        Pane::OnWindowCreated();
    }
    int destroyed = 0;
    int layouts = 0;
    int created = 0;
};

// A Close override that neither closes nor detaches.
struct StubbornPane : Pane {
    void Close() override { ++closes; }
    int closes = 0;
};

// A RemoveChild override that forgets to remove.
struct ClingingParent : Pane {
    void RemoveChild(Pane*) override {}
};

TEST(PaneTree, NewPaneDefaults) {
    Pane p;
    EXPECT_TRUE(p.IsVisible());
    EXPECT_TRUE(p.IsEnabled());
    EXPECT_EQ(p.GetFlags(), uint32_t(Pane::kVisible | Pane::kEnabled));
    EXPECT_EQ(p.GetBounds(), (Rect{0, 0, 0, 0}));
    EXPECT_EQ(p.GetId(), -1);
    EXPECT_EQ(p.GetParent(), nullptr);
    EXPECT_EQ(p.GetChildCount(), 0);
    EXPECT_EQ(p.GetMouseListener(), nullptr);
    EXPECT_EQ(p.GetBackground(), 0u);
}

struct HitCase {
    const char* what;
    Point at;
    const char* expected; // null: no pane
};

TEST(PaneTree, HitTestFindsTopmostReachablePane) {
    // root 200x200; a (10,10,100,100) with a1 (0,0,20,20); b (50,50,100,100) added last, on top.
    const HitCase cases[] = {
        {"overlap goes to the later sibling", {60, 60}, "b"},
        {"inside a's child", {15, 15}, "a1"},
        {"a outside its child and b", {40, 40}, "a"},
        {"b alone", {140, 140}, "b"},
        {"root background", {5, 190}, "root"},
        {"outside the root", {250, 10}, nullptr},
    };
    for (int variant = 0; variant < 4; ++variant) {
        Pane root, a, a1, b;
        root.SetBounds({0, 0, 200, 200});
        a.Create(&root, {10, 10, 100, 100});
        a1.Create(&a, {0, 0, 20, 20});
        b.Create(&root, {50, 50, 100, 100});
        std::map<const Pane*, std::string> names{{&root, "root"}, {&a, "a"}, {&a1, "a1"}, {&b, "b"}};
        if (variant == 0) {
            for (const HitCase& c : cases) {
                Pane* hit = root.HitTest(c.at);
                EXPECT_EQ(hit ? names[hit] : std::string("none"), c.expected ? c.expected : "none") << c.what;
            }
            // ChildAt converts the point into the child's coordinates on the way down.
            EXPECT_EQ(a.ChildAt({5, 5}), &a1);
            continue;
        }
        // A hidden or disabled pane, or a pane inside a disabled parent, lets the point through.
        if (variant == 1)
            b.SetVisible(false);
        if (variant == 2)
            b.SetEnabled(false);
        if (variant == 3)
            a.SetEnabled(false);
        Pane* hit = root.HitTest({60, 60});
        EXPECT_EQ(names[hit], variant == 3 ? "b" : "a") << "variant " << variant;
        hit = root.HitTest({15, 15});
        EXPECT_EQ(names[hit], variant == 3 ? "root" : "a1") << "variant " << variant;
    }
}

TEST(PaneTree, InvalidationClimbsToTheRootWithOffsets) {
    TestRootPane root(300, 300);
    Pane a, b;
    a.Create(&root, {10, 20, 100, 100});
    b.Create(&a, {5, 6, 30, 40});
    root.ClearInvalidations();

    b.Invalidate({1, 2, 3, 4});
    ASSERT_EQ(root.invalidations.size(), 1u);
    EXPECT_EQ(root.invalidations[0], (Rect{16, 28, 3, 4}));

    // SetBounds invalidates where the pane was and where it is now.
    root.ClearInvalidations();
    b.SetBounds({50, 60, 10, 10});
    ASSERT_EQ(root.invalidations.size(), 2u);
    EXPECT_EQ(root.invalidations[0], (Rect{15, 26, 30, 40}));
    EXPECT_EQ(root.invalidations[1], (Rect{60, 80, 10, 10}));

    // SetVisible to the same value does nothing; SetEnabled always invalidates.
    root.ClearInvalidations();
    b.SetVisible(true);
    EXPECT_TRUE(root.invalidations.empty());
    b.SetEnabled(true);
    EXPECT_EQ(root.invalidations.size(), 1u);
    b.SetVisible(false);
    EXPECT_EQ(root.invalidations.size(), 2u);

    // A detached pane drops invalidation and answers neutrally.
    Pane loose;
    loose.SetBounds({0, 0, 10, 10});
    loose.InvalidateAll();
    EXPECT_EQ(loose.GetNativeWindow(), nullptr);
    EXPECT_FALSE(loose.IsUiThread());
    EXPECT_EQ(loose.MessageBox("c", "t", 1), 0);
    EXPECT_FALSE(loose.IsFocused(&loose));
    EXPECT_EQ(loose.GetAbsoluteOrigin(), (Point{0, 0}));
    EXPECT_EQ(b.GetAbsoluteOrigin(), (Point{60, 80}));
}

TEST(PaneTree, LayoutHookFollowsTreeChangesAndVisibility) {
    CountingPane parent, child;
    child.Create(&parent, {0, 0, 5, 5});
    EXPECT_EQ(parent.layouts, 1);
    child.SetVisible(false);
    EXPECT_EQ(child.layouts, 1); // the pane itself hears SetVisible, not its parent
    child.SetVisible(false);
    EXPECT_EQ(child.layouts, 1);
    parent.RemoveChild(&child);
    EXPECT_EQ(parent.layouts, 2);
    Pane stranger;
    parent.RemoveChild(&stranger); // not a child: nothing happens
    EXPECT_EQ(parent.layouts, 2);
}

TEST(PaneTree, OnDestroyRunsOnceAcrossCloseAndDestructor) {
    auto parent = std::make_unique<CountingPane>();
    auto child = std::make_unique<CountingPane>();
    auto grandchild = std::make_unique<CountingPane>();
    child->Create(parent.get(), {0, 0, 10, 10});
    grandchild->Create(child.get(), {0, 0, 5, 5});

    child->Close();
    EXPECT_EQ(child->destroyed, 1);
    EXPECT_EQ(grandchild->destroyed, 1);
    EXPECT_TRUE(child->IsClosed());
    EXPECT_EQ(child->GetParent(), nullptr);
    EXPECT_EQ(grandchild->GetParent(), nullptr);
    EXPECT_EQ(parent->GetChildCount(), 0);

    // Closed and attached again: the parent's OnDestroy does not run it twice.
    child->Create(parent.get(), {0, 0, 10, 10});
    parent->OnDestroy();
    EXPECT_EQ(child->destroyed, 1);
    child.reset();
    EXPECT_EQ(parent->GetChildCount(), 0);
    parent.reset();
    EXPECT_EQ(grandchild->destroyed, 1);
}

TEST(PaneTree, DestroyingAParentLeavesLiveChildrenDetached) {
    CountingPane a, b;
    {
        Pane parent;
        a.Create(&parent, {0, 0, 1, 1});
        b.Create(&parent, {0, 0, 1, 1});
    }
    EXPECT_EQ(a.GetParent(), nullptr);
    EXPECT_EQ(b.GetParent(), nullptr);
    EXPECT_EQ(a.destroyed, 1); // closed with the parent, not deleted
    // Deleting a child first leaves no dangling entry in the parent.
    Pane parent;
    auto c = std::make_unique<Pane>();
    c->Create(&parent, {0, 0, 1, 1});
    c.reset();
    EXPECT_EQ(parent.GetChildCount(), 0);
}

TEST(PaneTree, AChildIsListedOnceUnderOneParent) {
    Pane p1, p2, child;
    child.Create(&p1, {0, 0, 1, 1});
    child.Create(&p1, {0, 0, 2, 2}); // a second Create, as a rebuilt page does
    EXPECT_EQ(p1.GetChildCount(), 1);
    p1.AddChild(&child);
    EXPECT_EQ(p1.GetChildCount(), 1);

    child.Create(&p2, {0, 0, 1, 1}); // moves, never listed twice
    EXPECT_EQ(p1.GetChildCount(), 0);
    EXPECT_EQ(p2.GetChildCount(), 1);
    EXPECT_EQ(child.GetParent(), &p2);

    // No cycles: a pane cannot become a child of itself or of its descendant.
    p2.AddChild(&p2);
    child.AddChild(&p2);
    EXPECT_EQ(p2.GetParent(), nullptr);
    EXPECT_EQ(child.GetChildCount(), 0);
    p2.AddChild(nullptr);
    EXPECT_EQ(p2.GetChildCount(), 1);
}

TEST(PaneTree, RemoveAllChildrenEndsWhateverCloseOverridesDo) {
    Pane parent;
    StubbornPane s1, s2;
    Pane normal;
    s1.Create(&parent, {0, 0, 1, 1});
    normal.Create(&parent, {0, 0, 1, 1});
    s2.Create(&parent, {0, 0, 1, 1});
    parent.RemoveAllChildren();
    EXPECT_EQ(parent.GetChildCount(), 0);
    EXPECT_EQ(s1.closes, 1);
    EXPECT_EQ(s1.GetParent(), nullptr);
    EXPECT_EQ(s2.GetParent(), nullptr);
    EXPECT_EQ(normal.GetParent(), nullptr);

    // A parent whose RemoveChild keeps the entry still lets a dying child go.
    ClingingParent clinging;
    auto c = std::make_unique<Pane>();
    c->Create(&clinging, {0, 0, 1, 1});
    c.reset();
    EXPECT_EQ(clinging.GetChildCount(), 0);
}

TEST(PaneTree, FindByIdSearchesLastChildFirstDepthFirst) {
    Pane root, a, a1, b, b1;
    a.Create(&root, {});
    a1.Create(&a, {});
    b.Create(&root, {});
    b1.Create(&b, {});
    a.SetId(5);
    a1.SetId(7);
    b.SetId(9);
    b1.SetId(7);
    EXPECT_EQ(root.FindById(7), &b1); // b's subtree comes before a's
    EXPECT_EQ(root.FindById(5), &a);
    EXPECT_EQ(a.FindById(7), &a1);
    EXPECT_EQ(root.FindById(42), nullptr);
    b1.SetId(1);
    EXPECT_EQ(root.FindById(7), &a1);
    b.SetId(5);
    EXPECT_EQ(root.FindById(5), &b);
}

TEST(PaneTree, OnWindowCreatedReachesTheTree) {
    TestRootPane root(100, 100);
    CountingPane a, b;
    a.Create(&root, {0, 0, 10, 10});
    b.Create(&a, {0, 0, 5, 5});
    root.OnWindowCreated();
    EXPECT_EQ(a.created, 1);
    EXPECT_EQ(b.created, 1);
    EXPECT_EQ(root.GetBounds(), (Rect{0, 0, 100, 100}));
}

TEST(PaneTree, PaintHookIsCalledByTheDefaultPaint) {
    struct Hook : CountedObject<Delegate2<Pane*, GraphicsContext&, void>> {
        void Invoke(Pane* p, GraphicsContext&) override { seen.push_back(p); }
        std::vector<Pane*> seen;
    };
    Ref<Hook> hook(new Hook);
    Pane p;
    p.SetPaintHook(hook);
    RecordingContext gc;
    p.Paint(gc);
    ASSERT_EQ(hook->seen.size(), 1u);
    EXPECT_EQ(hook->seen[0], &p);
    p.SetPaintHook(nullptr);
    p.Paint(gc);
    EXPECT_EQ(hook->seen.size(), 1u);
}

} // namespace
} // namespace Corvell::Test
