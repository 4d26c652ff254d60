#include "PaneFixture.h"

#include <cstdio>
#include <string>
#include <vector>

namespace Corvell::Test {
namespace {

using Focus = PaneFixture;

const std::vector<int32_t> kFocus{kFocusGained, kFocusLost};

TEST_F(Focus, RequestsMoveTheFocusBetweenPanes) {
    // The window does not have the keyboard focus: it takes it, and the
    // platform's report completes the request.
    c->RequestFocus(c.get());
    EXPECT_EQ(log.Text(kFocus), "C FOCUS_GAINED");
    EXPECT_TRUE(root->HasWindowFocus());
    EXPECT_TRUE(c->IsFocused(c.get()));
    EXPECT_FALSE(c->IsFocused(q.get()));
    EXPECT_EQ(root->debugOutput, (std::vector<std::string>{"OnFocus(1)\n"}));

    // With the window focused, the step runs at once.
    log.Clear();
    q->RequestFocus(q.get());
    EXPECT_EQ(log.Text(kFocus), "C FOCUS_LOST, Q FOCUS_GAINED");
    EXPECT_EQ(root->debugOutput.size(), 2u);

    // The focused pane asked again: gained again, nothing lost.
    log.Clear();
    q->RequestFocus(q.get());
    EXPECT_EQ(log.Text(kFocus), "Q FOCUS_GAINED");

    // The window loses the focus and gets it back without a request.
    log.Clear();
    root->SetWindowFocus(false);
    EXPECT_EQ(root->GetFocusedPane(), nullptr);
    EXPECT_EQ(root->GetMostRecentFocus(), q.get());
    root->SetWindowFocus(true);
    EXPECT_EQ(log.Text(kFocus), "Q FOCUS_LOST, Q FOCUS_GAINED");
    EXPECT_EQ(root->debugOutput.back(), "OnFocus(1)\n");

    // A null request gives the keyboard focus away.
    log.Clear();
    q->RequestFocus(nullptr);
    EXPECT_EQ(log.Text(kFocus), "Q FOCUS_LOST");
    EXPECT_FALSE(root->HasWindowFocus());
    EXPECT_EQ(root->debugOutput.back(), "OnFocus(0)\n");
}

TEST_F(Focus, TheRootTakesTheFocusWhenNothingElseHadIt) {
    root->SetWindowFocus(true);
    EXPECT_EQ(root->GetFocusedPane(), root.get());
    EXPECT_TRUE(log.events.empty());
    // A pane outside the tree cannot be focused through the root.
    LoggingPane stranger(log, "S");
    root->RequestFocus(&stranger);
    EXPECT_EQ(root->GetFocusedPane(), root.get());
    EXPECT_EQ(root->GetRequestedFocus(), nullptr);
    EXPECT_TRUE(log.events.empty());
}

TEST_F(Focus, FocusListenersHearGainAndLoss) {
    struct Listener : CountedObject<Delegate1<bool>> {
        void Invoke(bool gained) override { seen.push_back(gained); }
        std::vector<bool> seen;
    };
    Ref<Listener> l(new Listener);
    c->AddFocusListener(l);
    c->RequestFocus(c.get());
    q->RequestFocus(q.get());
    EXPECT_EQ(l->seen, (std::vector<bool>{true, false}));
    EXPECT_TRUE(c->RemoveFocusListener(l.Get()));
    c->RequestFocus(c.get());
    EXPECT_EQ(l->seen.size(), 2u);
}

TEST_F(Focus, RemovingTheFocusedPaneHandsTheFocusToItsParent) {
    c->RequestFocus(c.get());
    log.Clear();
    p->RemoveChild(c.get());
    EXPECT_EQ(root->GetFocusedPane(), p.get());
    EXPECT_EQ(log.Text(kFocus), "P FOCUS_GAINED"); // the removed pane is not told
}

// Every root pointer that can name a pane: focus, most recent, requested
// (cleared by the reset), the pane under the pointer, and the captured pane.
enum class Held { Focus, MostRecent, Mouse, Capture };

TEST(FocusLifetime, NoRootPointerSurvivesItsRemovedSubtree) {
    for (Held held : {Held::Focus, Held::MostRecent, Held::Mouse, Held::Capture}) {
        SCOPED_TRACE(int(held));
        EventLog log;
        TestRootPane root(200, 200);
        auto page = std::make_unique<LoggingPane>(log, "Page");
        auto inner = std::make_unique<LoggingPane>(log, "Inner");
        auto leaf = std::make_unique<LoggingPane>(log, "Leaf");
        page->Create(&root, {0, 0, 100, 100});
        inner->Create(page.get(), {10, 10, 80, 80});
        leaf->Create(inner.get(), {10, 10, 40, 40});

        switch (held) {
        case Held::Focus:
            leaf->RequestFocus(leaf.get());
            break;
        case Held::MostRecent:
            leaf->RequestFocus(leaf.get());
            root.SetWindowFocus(false);
            ASSERT_EQ(root.GetMostRecentFocus(), leaf.get());
            break;
        case Held::Mouse:
            root.MoveTo(30, 30);
            ASSERT_EQ(root.GetMousePane(), leaf.get());
            break;
        case Held::Capture:
            root.MoveTo(30, 30);
            root.Press(30, 30);
            root.MoveTo(31, 31);
            break;
        }

        // The page goes; its focused or hovered descendant dies while detached.
        root.RemoveChild(page.get());
        for (Pane* p : {root.GetFocusedPane(), root.GetMostRecentFocus(), root.GetRequestedFocus(),
                        root.GetMousePane()})
            EXPECT_FALSE(p && page->IsAncestorOf(p));
        leaf.reset();
        inner.reset();
        page.reset();

        // Everything that reads those pointers, under the sanitizers.
        root.KeyPress(65);
        root.Char('x');
        root.Wheel(120);
        root.MoveTo(32, 32);
        root.Release(32, 32);
        root.StealCapture();
        root.SetWindowFocus(false);
        root.SetWindowFocus(true);
        root.LeaveWindow();
        EXPECT_EQ(root.GetFocusedPane(), &root);
    }
}

TEST_F(Focus, WindowFocusChangesWriteTheirTraceLines) {
    TraceCapture trace;
    c->RequestFocus(c.get());
    trace.lines.clear();
    root->SetWindowFocus(false);
    char expected[3][200];
    std::snprintf(expected[0], sizeof expected[0], "%p (Corvell::Test::LoggingPane): dispatch FOCUS_LOST.\n",
                  static_cast<void*>(c.get()));
    std::snprintf(expected[1], sizeof expected[1], "%p (Corvell::Test::LoggingPane): FOCUS_LOST processed.\n",
                  static_cast<void*>(c.get()));
    // Null pointers print as the platform prints them, with "(null)" for the class.
    char nullPointer[32];
    std::snprintf(nullPointer, sizeof nullPointer, "%p", static_cast<void*>(nullptr));
    std::snprintf(expected[2], sizeof expected[2],
                  "Handle end: current = %s ((null)),\n        most recent = %p (Corvell::Test::LoggingPane),\n"
                  "          requested = %s ((null))\n",
                  nullPointer, static_cast<void*>(c.get()), nullPointer);
    ASSERT_EQ(trace.lines.size(), 3u);
    EXPECT_EQ(trace.lines[0], expected[0]);
    EXPECT_EQ(trace.lines[1], expected[1]);
    EXPECT_EQ(trace.lines[2], expected[2]);
}

} // namespace
} // namespace Corvell::Test
