#include "PaneFixture.h"

#include <cstddef>
#include <string>
#include <vector>

namespace Corvell::Test {
namespace {

using Routing = PaneFixture;

const std::vector<int32_t> kHover{kMouseEnter, kMouseLeave, kMouseMove};

struct PathCase {
    const char* what;
    std::vector<Point> before; // where the pointer rests first
    std::vector<Point> path;   // the moves logged
    const char* expected;
};

TEST_F(Routing, HoverChainsProduceEnterAndLeaveWherePanesChange) {
    const PathCase cases[] = {
        {"parent onto its child", {{15, 15}}, {{25, 25}}, "C MouseEnter, C MouseMove"},
        {"child back onto the parent", {{25, 25}}, {{15, 15}}, "C MouseLeave, P MouseMove"},
        {"child of P onto sibling Q", {{25, 25}}, {{130, 20}},
         "C MouseLeave, P MouseLeave, Q MouseEnter, Q MouseMove"},
        {"within one pane", {{25, 25}}, {{30, 30}}, "C MouseMove"},
        {"out to the root's background", {{25, 25}}, {{5, 150}}, "C MouseLeave, P MouseLeave"},
    };
    for (const PathCase& pc : cases) {
        TestRootPane root(200, 200);
        EventLog log;
        LoggingPane p(log, "P"), c(log, "C"), q(log, "Q");
        p.Create(&root, {10, 10, 100, 100});
        c.Create(&p, {10, 10, 30, 30});
        q.Create(&root, {120, 10, 60, 60});
        for (Point at : pc.before)
            root.MoveTo(at.x, at.y);
        log.Clear();
        for (Point at : pc.path)
            root.MoveTo(at.x, at.y);
        EXPECT_EQ(log.Text(kHover), pc.expected) << pc.what;
    }
}

TEST_F(Routing, APaneCoveredByALaterSiblingLosesThePointer) {
    LoggingPane s(log, "S");
    s.Create(root.get(), {50, 50, 80, 80}); // on top of P's lower right part
    Rest(15, 15);
    root->MoveTo(60, 60); // still inside P, but S covers it
    EXPECT_EQ(log.Text(kHover), "P MouseLeave, S MouseEnter, S MouseMove");
    const LoggedEvent& move = log.events.back();
    EXPECT_EQ(move.x, 10);
    EXPECT_EQ(move.y, 10);
}

TEST_F(Routing, AHiddenOrDisabledPageUnderARestingPointerGetsNoClicks) {
    for (int variant = 0; variant < 2; ++variant) {
        TestRootPane root(200, 200);
        EventLog log;
        // The new page lies below the old one, as pages created earlier do.
        LoggingPane newPage(log, "New"), oldPage(log, "Old"), button(log, "Button");
        newPage.Create(&root, {0, 0, 200, 200});
        oldPage.Create(&root, {0, 0, 200, 200});
        button.Create(&oldPage, {10, 10, 50, 50});
        root.MoveTo(20, 20);
        log.Clear();

        if (variant == 0)
            oldPage.SetVisible(false);
        else
            oldPage.SetEnabled(false);
        root.Click(20, 20);
        EXPECT_EQ(log.Text({kMouseEnter, kMouseLeave, kMouseDown, kMouseUp}),
                  // the first captured event inside the pressed pane brings a MouseEnter
                  "Button MouseLeave, Old MouseLeave, New MouseEnter, New MouseDown, New MouseEnter, New MouseUp")
            << (variant == 0 ? "hidden" : "disabled");
    }
}

TEST_F(Routing, ACapturedDragStaysWithThePressedPaneInItsCoordinates) {
    Rest(25, 25);
    root->Press(25, 25);
    EXPECT_TRUE(root->HasCapture());
    EXPECT_TRUE(root->HasWindowFocus()); // capturing takes the keyboard focus
    root->MoveTo(30, 30);
    root->MoveTo(80, 80);   // out of C, still in P
    root->MoveTo(150, 150); // out of P too
    root->MoveTo(30, 30);   // back
    root->Release(30, 30);
    EXPECT_FALSE(root->HasCapture());

    const std::vector<int32_t> kinds{kMouseEnter, kMouseLeave, kMouseDrag, kMouseDown, kMouseUp, kMouseMove};
    // The first captured move inside the pressed pane brings one MouseEnter.
    EXPECT_EQ(log.Text(kinds), "C MouseDown, C MouseEnter, C MouseDrag, C MouseLeave, C MouseDrag, C MouseDrag, "
                               "C MouseEnter, C MouseDrag, C MouseUp");
    std::vector<int32_t> dragX;
    for (const LoggedEvent& e : log.events) {
        if (e.type == kMouseDrag)
            dragX.push_back(e.x);
    }
    EXPECT_EQ(dragX, (std::vector<int32_t>{10, 60, 130, 10}));
    const LoggedEvent& down = log.events.front();
    EXPECT_EQ(down.button, kButtonLeft);
    EXPECT_EQ(down.buttons, kHeldLeft);
    EXPECT_EQ(down.clickCount, 1);

    // Released outside the pane: the next move sorts the hover out.
    log.Clear();
    root->Press(30, 30);
    root->MoveTo(80, 80);
    root->Release(80, 80);
    root->MoveTo(81, 81);
    EXPECT_EQ(log.Text({kMouseLeave, kMouseMove, kMouseUp}), "C MouseLeave, C MouseUp, C MouseLeave, P MouseMove");
}

TEST_F(Routing, LosingTheCaptureEndsThePressOnce) {
    Rest(25, 25);
    root->Press(25, 25);
    root->MoveTo(30, 30);
    log.Clear();
    root->StealCapture(); // a modal loop or another window took it
    ASSERT_EQ(log.Text({kMouseUp}), "C MouseUp");
    const LoggedEvent& up = log.events.back();
    EXPECT_EQ(up.button, kButtonNone);
    EXPECT_EQ(up.buttons, 0);
    EXPECT_EQ(up.x, 10);

    // Moves are plain moves now, and a second loss tells nobody.
    log.Clear();
    root->MoveTo(31, 31);
    root->StealCapture();
    EXPECT_EQ(log.Text(), "C MouseMove");

    // Our own release is not a loss: exactly one MouseUp.
    log.Clear();
    root->Click(25, 25);
    EXPECT_EQ(log.Text({kMouseUp}), "C MouseUp");
}

TEST_F(Routing, APaneRemovedWhileItHoldsThePressHearsItEndOnce) {
    Rest(25, 25);
    root->Press(25, 25);
    root->MoveTo(30, 30);
    log.Clear();
    p->RemoveChild(c.get()); // a view takes the pane away mid-press
    ASSERT_EQ(log.Text({kMouseUp}), "C MouseUp");
    EXPECT_EQ(log.events.back().button, kButtonNone);
    EXPECT_EQ(log.events.back().buttons, 0);
    EXPECT_FALSE(root->HasCapture());

    // The real release goes where the pointer is, as after a lost capture;
    // the removed pane hears nothing more.
    log.Clear();
    root->Release(30, 30);
    EXPECT_EQ(log.Text(), "P MouseEnter, P MouseUp");
}

TEST_F(Routing, AMenuOpenedByAPressEndsThePressFirst) {
    // Such as a combo: the menu's modal loop takes the capture.
    alignas(alignof(std::max_align_t)) static unsigned char standIn[64];
    int32_t chosen = -2;
    c->onEvent = [&](PaneEvent& e) {
        if (e.type == kMouseDown)
            chosen = c->ShowPopupMenu(*reinterpret_cast<MenuItemList*>(standIn), c->LocalBounds());
        return false;
    };
    root->menuAnswers = {1};
    Rest(25, 25);
    root->Press(25, 25);
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(log.Text({kMouseDown, kMouseUp}), "C MouseDown, C MouseUp");
    EXPECT_EQ(log.events.back().button, kButtonNone);
    EXPECT_FALSE(root->HasCapture());
    // The real release comes later, without capture, as a plain MouseUp.
    root->Release(25, 25);
    EXPECT_EQ(log.Text({kMouseUp}), "C MouseUp, C MouseUp");
    EXPECT_EQ(log.events.back().button, kButtonLeft);
}

struct PressCase {
    const char* what;
    struct Press {
        uint32_t time;
        int32_t x;
        int32_t button;
    };
    std::vector<Press> presses;
    std::vector<int32_t> counts;
};

TEST_F(Routing, ClickCountsFollowTheDoubleClickTimeAndDistance) {
    const PressCase cases[] = {
        {"three quick presses", {{1000, 25, 1}, {1100, 25, 1}, {1200, 25, 1}}, {1, 2, 3}},
        {"exactly the double-click time apart", {{1000, 25, 1}, {1500, 25, 1}}, {1, 1}},
        {"just inside the time", {{1000, 25, 1}, {1499, 25, 1}}, {1, 2}},
        {"moved half the width", {{1000, 25, 1}, {1100, 27, 1}}, {1, 2}},
        {"moved more than half the width", {{1000, 25, 1}, {1100, 28, 1}}, {1, 1}},
        {"another button starts at 1", {{1000, 25, 1}, {1100, 25, 2}, {1200, 25, 1}}, {1, 1, 2}},
        {"the message clock wraps", {{0xFFFFFF00u, 25, 1}, {0x10u, 25, 1}}, {1, 2}},
    };
    for (const PressCase& pc : cases) {
        TestRootPane root(200, 200);
        EventLog log;
        LoggingPane pane(log, "Pane");
        pane.Create(&root, {0, 0, 200, 200});
        root.MoveTo(25, 25);
        std::vector<int32_t> counts;
        for (const auto& press : pc.presses) {
            root.PressAt(press.x, 25, press.button, press.time);
            root.Release(press.x, 25, press.button);
        }
        for (const LoggedEvent& e : log.events) {
            if (e.type == kMouseDown) {
                counts.push_back(e.clickCount);
            } else if (e.type == kMouseUp) {
                EXPECT_EQ(e.clickCount, 0) << pc.what;
            }
        }
        EXPECT_EQ(counts, pc.counts) << pc.what;
    }
    // The helpers: Click is always a fresh click, DoubleClick a double one.
    log.Clear();
    root->Click(25, 25);
    root->Click(25, 25);
    root->DoubleClick(25, 25);
    std::vector<int32_t> counts;
    for (const LoggedEvent& e : log.events) {
        if (e.type == kMouseDown)
            counts.push_back(e.clickCount);
    }
    EXPECT_EQ(counts, (std::vector<int32_t>{1, 1, 1, 2}));
}

TEST_F(Routing, WheelNotchesGoToThePaneUnderThePointerElseTheFocus) {
    Rest(25, 25);
    struct Step {
        int32_t delta;
        int32_t wheel;
    };
    // Away from the user is negative; part notches add up in one direction.
    const Step steps[] = {{120, -1}, {-240, 2}, {60, 0}, {60, -1}, {60, 0}, {-60, 0}, {-60, 1}, {-1, 0}};
    for (const Step& s : steps) {
        log.Clear();
        root->Wheel(s.delta);
        ASSERT_EQ(log.Text({kMouseWheel}), "C MouseWheel") << s.delta;
        EXPECT_EQ(log.events.front().wheel, s.wheel) << s.delta;
    }
    // Screen coordinates, no buttons.
    EXPECT_EQ(log.events.front().x, root->screenOrigin.x);
    EXPECT_EQ(log.events.front().buttons, 0);

    // Without a pane under the pointer, the focused pane gets it; without both, nobody.
    root->LeaveWindow();
    ASSERT_EQ(root->GetMousePane(), nullptr);
    log.Clear();
    root->Wheel(120);
    EXPECT_TRUE(log.events.empty());
    root->SetWindowFocus(true);
    q->RequestFocus(q.get());
    log.Clear();
    root->Wheel(-120);
    EXPECT_EQ(log.Text({kMouseWheel}), "Q MouseWheel");
}

TEST_F(Routing, TheWindowEdgeEntersAndLeavesTheWholeChain) {
    root->MoveTo(25, 25);
    EXPECT_TRUE(root->IsTrackingPointer());
    EXPECT_EQ(root->trackRequests, 1);
    EXPECT_EQ(log.Text({kMouseEnter}), "P MouseEnter, C MouseEnter, C MouseEnter");
    log.Clear();
    root->LeaveWindow();
    EXPECT_EQ(log.Text(), "C MouseLeave, P MouseLeave");
    EXPECT_EQ(root->GetMousePane(), nullptr);
    EXPECT_FALSE(root->IsTrackingPointer());

    // A move outside the window while tracking leaves the same way.
    root->MoveTo(25, 25);
    log.Clear();
    root->MoveTo(-5, 30);
    EXPECT_EQ(log.Text({kMouseLeave}), "C MouseLeave, P MouseLeave");

    // Without pointer-leave reporting there is no window-entry event.
    TestRootPane plain(200, 200);
    plain.trackingAvailable = false;
    EventLog plainLog;
    LoggingPane a(plainLog, "A");
    a.Create(&plain, {0, 0, 50, 50});
    plain.MoveTo(10, 10);
    EXPECT_EQ(plainLog.Text(), "A MouseEnter, A MouseMove");
    EXPECT_FALSE(plain.IsTrackingPointer());
}

TEST_F(Routing, MouseListenersHearTheEventsByCode) {
    std::vector<std::string> calls;
    LoggingListener l(calls, "L");
    c->AddMouseListener(&l);
    Rest(15, 15);
    root->MoveTo(25, 25);
    root->Press(25, 25);
    root->MoveTo(26, 26);
    root->Release(26, 26);
    root->Wheel(120);
    root->MoveTo(15, 15);
    MouseEvent hover(kMouseHover); // defined, never passed on
    c->ProcessEvent(hover);
    EXPECT_EQ(calls, (std::vector<std::string>{"L Entered", "L Moved", "L Pressed", "L Entered", "L Dragged",
                                               "L Released", "L Wheel", "L Exited"}));
    c->RemoveMouseListener(&l);
}

struct KeyCase {
    const char* what;
    bool wasDown;
    int32_t repeat;
    const char* expected;
};

TEST_F(Routing, KeyMessagesExpandIntoEventsForTheFocus) {
    root->SetWindowFocus(true);
    c->RequestFocus(c.get());
    ASSERT_TRUE(root->IsFocused(c.get()));
    c->passKeysUp = false;
    const KeyCase cases[] = {
        {"first stroke of three", false, 3, "C KeyDown, C KeyRepeat, C KeyRepeat"},
        {"held, three more", true, 3, "C KeyRepeat, C KeyRepeat, C KeyRepeat"},
        {"repeat count 0 is one stroke", false, 0, "C KeyDown"},
        {"repeat count 0 while held", true, 0, "C KeyRepeat"},
    };
    for (const KeyCase& k : cases) {
        log.Clear();
        root->HandleKeyDown(0x41, k.repeat, k.wasDown);
        EXPECT_EQ(log.Text(), k.expected) << k.what;
    }
    log.Clear();
    root->HandleChar('a', 2);
    root->HandleChar('b', 0);
    root->KeyUp(0x41);
    EXPECT_EQ(log.Text(), "C KeyChar, C KeyChar, C KeyChar, C KeyUp");
    EXPECT_EQ(log.events[2].key, 'b');
    EXPECT_EQ(log.events[3].modifiers, 0u);

    // A handler that moves the focus redirects the remaining repeats.
    c->onEvent = [this](PaneEvent& e) {
        if (e.type == kKeyDown)
            q->RequestFocus(q.get());
        return true;
    };
    log.Clear();
    root->HandleKeyDown(0x42, 3, false);
    EXPECT_EQ(log.Text({kKeyDown, kKeyRepeat}), "C KeyDown, Q KeyRepeat, Q KeyRepeat");

    // Unhandled keys climb to the root and stop there.
    c->onEvent = nullptr;
    c->passKeysUp = true;
    c->RequestFocus(c.get());
    log.Clear();
    root->KeyPress(0x43);
    EXPECT_EQ(log.Text(), "C KeyDown, P KeyDown, C KeyUp, P KeyUp");

    // With no focus the root receives keys and drops them.
    root->SetWindowFocus(false);
    ASSERT_EQ(root->GetFocusedPane(), nullptr);
    log.Clear();
    root->KeyPress(0x44);
    root->Type("xy");
    EXPECT_TRUE(log.events.empty());
}

TEST(PaneEvents, NamesAndTexts) {
    const char* names[] = {"KeyDown",   "KeyRepeat", "KeyUp",      "KeyChar",      "MouseEnter",
                           "MouseMove", "MouseHover", "MouseLeave", "MouseDrag",    "MouseDown",
                           "MouseUp",   "MouseWheel", "FOCUS_GAINED", "FOCUS_LOST", "WINDOW_FOCUS_GAINED",
                           "WINDOW_FOCUS_LOST", "WINDOW_DEACTIVATED"};
    for (int32_t t = 0; t < 17; ++t) {
        MouseEvent e(t);
        EXPECT_STREQ(e.ToString().c_str(), names[t]);
    }
    EXPECT_STREQ(FocusEvent(17).ToString().c_str(), "PaneEvent:17");
    EXPECT_STREQ(WindowEvent(-1).ToString().c_str(), "PaneEvent:-1");
    EXPECT_STREQ(KeyEvent(kKeyDown, 65).ToString().c_str(), "KeyDown: 65 mod: 0");
    EXPECT_STREQ(KeyEvent(kKeyRepeat, 66).ToString().c_str(), "KeyRepeat: 66 mod: 0");
    EXPECT_STREQ(KeyEvent(kKeyUp, 67).ToString().c_str(), "KeyUp: 67 mod: 0");
    EXPECT_STREQ(KeyEvent(kKeyChar, 97).ToString().c_str(), "KeyChar: 97 mod: 0");
    EXPECT_STREQ(KeyEvent(kMouseDown, 5).ToString().c_str(), "Event:9 key:5 mod:0");
}

TEST_F(Routing, DeliveryWritesTraceLinesExceptForMovesAndDrags) {
    TraceCapture trace;
    auto delivered = [&trace] {
        std::vector<std::string> out;
        for (const std::string& l : trace.lines) {
            if (l.rfind("Corvell::Pane::process", 0) == 0)
                out.push_back(l);
        }
        trace.lines.clear();
        return out;
    };
    Rest(25, 25);
    root->SetWindowFocus(true);
    c->RequestFocus(c.get());
    delivered();
    root->MoveTo(26, 26);
    EXPECT_TRUE(delivered().empty());
    root->Press(26, 26);
    root->MoveTo(27, 27);
    root->Release(27, 27);
    EXPECT_EQ(delivered(), (std::vector<std::string>{
                               "Corvell::Pane::process (Corvell::Test::LoggingPane) MouseDown\n",
                               "Corvell::Pane::process (Corvell::Test::LoggingPane) MouseEnter\n",
                               "Corvell::Pane::process (Corvell::Test::LoggingPane) MouseUp\n",
                           }));
    // process runs once, at the focus; the climb to the parent is not traced again.
    root->KeyDown(65);
    EXPECT_EQ(delivered(),
              (std::vector<std::string>{"Corvell::Pane::process (Corvell::Test::LoggingPane) KeyDown: 65 mod: 0\n"}));
}

} // namespace
} // namespace Corvell::Test
