// The Win32 window binding of the root pane, in a real window under Wine.
#include "../WineHelpers.h"
#include "EventLog.h"
#include "ui/MenuItemList.h"
#include "ui/win32/Win32NativePane.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace Corvell {
namespace {

using Test::EventLog;
using Test::LoggedEvent;
using Test::LoggingPane;

// The last logged event of a kind; a failure when there is none.
const LoggedEvent& Last(const EventLog& log, int32_t type) {
    for (size_t i = log.events.size(); i-- > 0;) {
        if (log.events[i].type == type)
            return log.events[i];
    }
    ADD_FAILURE() << "no event of type " << type;
    static const LoggedEvent none;
    return none;
}

HWND MakeParent() { return WineTest::MakeTopLevel(420, 340); }

using WineTest::RunMessagesUntil;
using WineTest::RunQueued;

// A thread timer that raises a flag once: a message that comes after the
// given time at the earliest.
struct Probe {
    static bool fired;
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        fired = true;
    }
    static void Start(UINT milliseconds) {
        fired = false;
        SetTimer(nullptr, 0, milliseconds, &Fire);
    }
};
bool Probe::fired = false;

struct Window : ::testing::Test {
    // One top-level window for the suite: mapping one costs Wine a while.
    static HWND parent;
    static void SetUpTestSuite() { parent = MakeParent(); }
    static void TearDownTestSuite() { DestroyWindow(parent); }
    Win32NativePane* root = nullptr;
    EventLog log;
    void SetUp() override {
        ASSERT_NE(nullptr, parent);
        root = new Win32NativePane;
        ASSERT_TRUE(root->CreateNativeWindow(parent, Rect{0, 0, 400, 300}));
        RunQueued();
    }
    void TearDown() override {
        delete root;
        RunQueued();
    }
};
HWND Window::parent = nullptr;

TEST_F(Window, ChildWindowOfTheSharedClassWithTheRootAtTheOrigin) {
    HWND hwnd = root->Hwnd();
    ASSERT_NE(nullptr, hwnd);
    char cls[128];
    GetClassNameA(hwnd, cls, sizeof cls);
    EXPECT_TRUE(std::string(cls).find("_CVCHILD") != std::string::npos) << cls;
    EXPECT_EQ(parent, GetParent(hwnd));
    RECT rc;
    GetClientRect(hwnd, &rc);
    EXPECT_EQ(400, rc.right);
    EXPECT_EQ(300, rc.bottom);
    EXPECT_EQ(0, root->GetBounds().x);
    EXPECT_EQ(400, root->GetBounds().width);
    EXPECT_TRUE(root->IsUiThread());
    bool other = true;
    std::thread([&] { other = root->IsUiThread(); }).join();
    EXPECT_FALSE(other);
}

TEST_F(Window, DeferredCallsFromAnotherThreadRunOnTheWindowThreadInOrder) {
    struct Call : CountedObject<Delegate> {
        Call(std::vector<int>& o, std::vector<DWORD>& t, int n) : order(o), threads(t), id(n) {}
        void Invoke() override {
            order.push_back(id);
            threads.push_back(GetCurrentThreadId());
        }
        std::vector<int>& order;
        std::vector<DWORD>& threads;
        int id;
    };
    std::vector<int> order;
    std::vector<DWORD> threads;
    std::thread poster([&] {
        for (int i = 0; i < 200; ++i)
            root->PostDeferred(Ref<Delegate>(new Call(order, threads, i)));
    });
    poster.join();
    ASSERT_TRUE(RunMessagesUntil([&] { return order.size() >= 200; })) << order.size();
    ASSERT_EQ(200u, order.size());
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(i, order[static_cast<size_t>(i)]);
    for (DWORD t : threads)
        EXPECT_EQ(GetCurrentThreadId(), t);
}

TEST_F(Window, SyntheticClickReachesThePaneUnderThePointer) {
    auto* a = new LoggingPane(log, "a");
    auto* b = new LoggingPane(log, "b");
    a->Create(root, Rect{0, 0, 200, 300});
    b->Create(root, Rect{200, 0, 200, 300});
    HWND hwnd = root->Hwnd();
    const LPARAM at = MAKELPARAM(250, 40);
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, at);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(hwnd, WM_LBUTTONUP, 0, at);
    const std::string text = log.Text({kMouseDown, kMouseUp});
    EXPECT_NE(std::string::npos, text.find("b MouseDown")) << text;
    EXPECT_NE(std::string::npos, text.find("b MouseUp")) << text;
    EXPECT_EQ(std::string::npos, text.find("a Mouse")) << text;
    ASSERT_FALSE(log.events.empty());
    EXPECT_EQ(50, log.events.back().x) << "local coordinates of b";
}

TEST_F(Window, KeyStateBitsBecomeTheNamedModifiersAndHeldButtons) {
    struct Case {
        WPARAM keys;
        uint32_t modifiers;
        int32_t held;
    };
    const Case cases[] = {
        {0, 0, 0},
        {MK_SHIFT, kModShift, 0},
        {MK_CONTROL, kModControl, 0},
        {MK_SHIFT | MK_CONTROL | MK_LBUTTON, kModShift | kModControl, kHeldLeft},
        {MK_RBUTTON, 0, kHeldRight},
        {MK_MBUTTON | MK_CONTROL, kModControl, kHeldMiddle},
    };
    auto* a = new LoggingPane(log, "a");
    a->Create(root, Rect{0, 0, 400, 300});
    HWND hwnd = root->Hwnd();
    for (const Case& c : cases) {
        log.Clear();
        SendMessageA(hwnd, WM_MOUSEMOVE, c.keys, MAKELPARAM(20, 20));
        SendMessageA(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(c.keys, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(5, 5));
        ASSERT_EQ("a MouseMove, a MouseWheel", log.Text({kMouseMove, kMouseWheel})) << c.keys;
        const LoggedEvent& move = Last(log, kMouseMove);
        const LoggedEvent& wheel = Last(log, kMouseWheel);
        EXPECT_EQ(c.modifiers, move.modifiers) << c.keys;
        EXPECT_EQ(c.held, move.buttons) << c.keys;
        EXPECT_EQ(c.modifiers, wheel.modifiers) << c.keys;
        EXPECT_EQ(1, wheel.wheel) << c.keys;
    }
}

// A button-down whose button-up never comes: whatever takes the capture
// away ends the press, once, and gives the capture up.
TEST_F(Window, APressEndsWhenTheCaptureIsTakenOrModesAreCancelled) {
    struct Case {
        const char* what;
        void (*end)(HWND window, HWND parent);
        void (*restore)(HWND window);
    };
    const Case cases[] = {
        {"another window takes the capture", [](HWND, HWND other) { SetCapture(other); },
         [](HWND) { ReleaseCapture(); }},
        {"the system cancels modes", [](HWND w, HWND) { SendMessageA(w, WM_CANCELMODE, 0, 0); }, [](HWND) {}},
        {"the window is disabled", [](HWND w, HWND) { EnableWindow(w, FALSE); },
         [](HWND w) { EnableWindow(w, TRUE); }},
    };
    auto* a = new LoggingPane(log, "a");
    a->Create(root, Rect{0, 0, 400, 300});
    HWND hwnd = root->Hwnd();
    const std::vector<int32_t> kinds{kMouseDown, kMouseUp, kMouseMove, kMouseDrag};
    auto check = [&](const Case& c) {
        SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        ASSERT_EQ(hwnd, GetCapture()) << "a press takes the capture";
        log.Clear();
        c.end(hwnd, parent);
        RunQueued();
        EXPECT_NE(hwnd, GetCapture());
        ASSERT_EQ("a MouseUp", log.Text(kinds));
        const LoggedEvent& up = Last(log, kMouseUp);
        EXPECT_EQ(kButtonNone, up.button);
        EXPECT_EQ(0, up.buttons);
        EXPECT_EQ(10, up.x);

        // The press is over: moves are plain moves, and the late button-up
        // is a plain one.
        log.Clear();
        SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(12, 12));
        SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(12, 12));
        EXPECT_EQ("a MouseMove, a MouseUp", log.Text(kinds));
        EXPECT_EQ(kButtonLeft, Last(log, kMouseUp).button);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        check(c);
        c.restore(hwnd);
        // Whatever a failed case left behind must not spill into the next.
        if (GetCapture())
            ReleaseCapture();
        SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(12, 12));
        RunQueued();
    }
}

TEST_F(Window, TimersFireOnTheWindowAndStopWhenRemoved) {
    struct Tick : CountedObject<Delegate> {
        void Invoke() override { ++n; }
        int n = 0;
    };
    Ref<Tick> tick(new Tick);
    root->AddTimer(tick, 10);
    ASSERT_TRUE(RunMessagesUntil([&] { return tick->n > 2; })) << tick->n;
    root->RemoveTimer(tick.Get());
    const int after = tick->n;
    // Ten periods later, by a timer message: a running timer would have ticked.
    Probe::Start(100);
    ASSERT_TRUE(RunMessagesUntil([] { return Probe::fired; }));
    EXPECT_EQ(after, tick->n);
}

// Closes the next modal window from a thread timer, once it is up; until
// then every tick tries again.
struct ModalCloser {
    static std::vector<std::string> seen;
    // Reads the menu that is up, then cancels it.
    static void CALLBACK InspectMenu(HWND, UINT, UINT_PTR id, DWORD) {
        HWND w = FindWindowA("#32768", nullptr);
        if (!w || !IsWindowVisible(w))
            return;
        KillTimer(nullptr, id);
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(w, 0x01E1 /* MN_GETHMENU */, 0, 0));
        const int n = GetMenuItemCount(menu);
        for (int i = 0; i < n; ++i) {
            char text[64] = {};
            GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
            seen.push_back(std::string(text) + ":" + std::to_string(GetMenuItemID(menu, i)) +
                           ((state & MF_CHECKED) ? ":checked" : "") +
                           ((state & MF_GRAYED) && !(state & MF_SEPARATOR) ? ":grey" : "") +
                           ((state & MF_SEPARATOR) ? ":sep" : ""));
        }
        EndMenu();
    }
    static void CALLBACK AnswerNo(HWND, UINT, UINT_PTR id, DWORD) {
        HWND box = FindWindowA(nullptr, "Tarrow question");
        if (!box)
            return;
        KillTimer(nullptr, id);
        PostMessageA(box, WM_COMMAND, IDNO, 0);
    }
};

std::vector<std::string> ModalCloser::seen;

// The guard against reopening a menu at once is a matter of the clock: the
// root's tests drive it with theirs.
TEST_F(Window, PopupMenuShowsTheItemsAndIsClosedFromATimer) {
    MenuItemListImpl items;
    items.Add("One");
    items.Add("Two", -1, MenuItem::Checked);
    items.AddSeparator();
    items.Add("Three", -1, MenuItem::Disabled);
    items.Add("Four");
    ModalCloser::seen.clear();
    SetTimer(nullptr, 0, 10, &ModalCloser::InspectMenu);
    EXPECT_EQ(-1, root->ShowPopupMenu(items, Rect{10, 10, 50, 20}));
    const std::vector<std::string> expected = {"One:1000", "Two:1001:checked", ":0:sep", "Three:1003:grey",
                                               "Four:1004"};
    EXPECT_EQ(expected, ModalCloser::seen);
}

TEST_F(Window, MessageBoxAnsweredNoFromATimer) {
    SetTimer(nullptr, 0, 10, &ModalCloser::AnswerNo);
    EXPECT_EQ(0, root->MessageBox("Tarrow question", "Keep going?", 1));
}

TEST(WindowLifetime, DestroyingTheWindowReleasesPendingCallsWithoutRunningThem) {
    HWND parent = MakeParent();
    auto* root = new Win32NativePane;
    ASSERT_TRUE(root->CreateNativeWindow(parent, Rect{0, 0, 100, 100}));
    struct Call : CountedObject<Delegate> {
        explicit Call(std::atomic<int>& r) : ran(r) {}
        void Invoke() override { ++ran; }
        std::atomic<int>& ran;
    };
    std::atomic<int> ran{0};
    Ref<Delegate> call(new Call(ran));
    root->PostDeferred(call);
    root->DestroyNativeWindow();
    RunQueued();
    EXPECT_EQ(0, ran.load());
    EXPECT_EQ(nullptr, root->Hwnd());
    root->PostDeferred(call); // dropped: no window
    EXPECT_EQ(0u, root->GetDeferredCount());
    delete root;
    DestroyWindow(parent);
}

} // namespace
} // namespace Corvell
