#pragma once
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "FakeTextField.h"
#include "shared/Graphics/Region.h"
#include "ui/RootPane.h"

namespace Corvell::Test {

// A root pane over a simulated platform, so that any pane tree can be
// driven without a window: invalidations are recorded, timers and deferred
// calls run when the test says so, menus and message boxes answer from a
// script, capture and keyboard focus behave as the platform's do, and a
// fake clock stamps the input.
//
// Input helpers take window client coordinates. Click, DoubleClick and Drag
// start a new gesture (the clock moves past the double-click time first);
// Press and Release do not, so tests of click counting can place presses.
class TestRootPane : public RootPane {
public:
    explicit TestRootPane(int32_t width = 800, int32_t height = 588);
    ~TestRootPane() override;

    // ---- the window ----
    // Creates the simulated window (the constructor already did).
    void OpenWindow(int32_t width, int32_t height);
    // The platform destroyed the window (its handle goes first, as there).
    void DestroyWindow();
    bool HasWindow() const { return m_window != nullptr; }

    NativeWindow GetNativeWindow() override { return m_window; }
    bool IsUiThread() override { return m_window && std::this_thread::get_id() == m_uiThread; }
    bool HasCapture() override { return m_capture; }
    void InvalidateNative(const Rect& r) override { invalidations.push_back(r); }

    // ---- what the platform was asked ----
    std::vector<Rect> invalidations;
    Region InvalidRegion() const;
    void ClearInvalidations() { invalidations.clear(); }
    std::vector<std::string> debugOutput;

    struct MenuCall {
        MenuItemList* items;
        Rect anchor; // client coordinates
    };
    std::vector<MenuCall> menuCalls;
    // Answers of the next menus, in order; -1 (cancelled) when empty.
    std::deque<int32_t> menuAnswers;
    // When set, answers instead of menuAnswers (and may look at the items).
    std::function<int32_t(MenuItemList&, const Rect&)> menuHandler;

    struct BoxCall {
        std::string caption;
        std::string text;
        int32_t kind;
    };
    std::vector<BoxCall> messageBoxes;
    // Answers of the next boxes; when empty, No (0) for kind 1 and OK (1) otherwise.
    std::deque<int32_t> messageBoxAnswers;
    // Runs inside every menu and message box, as the platform's modal loop
    // runs timers and deferred calls while one is open.
    std::function<void()> duringModal;
    // As on the platform: an opening menu or box takes the mouse capture,
    // and a message box takes the keyboard focus until it closes.
    bool modalTakesCapture = true;
    bool messageBoxTakesFocus = true;

    // ---- platform settings ----
    DoubleClickMetrics doubleClick;
    bool trackingAvailable = true;
    std::atomic<bool> failWakeUps{false}; // the wake-up post fails
    int32_t trackRequests = 0; // pointer-leave tracking asked for
    std::atomic<int32_t> wakeUpsPosted{0};

    // ---- clock, timers, deferred calls ----
    uint32_t Now() const { return m_clock; }
    void SetClock(uint32_t ms) { m_clock = ms; }
    // Moves the clock on and fires every timer that falls due, in time order.
    void AdvanceTime(uint32_t ms);
    // Fires every running timer once.
    void FireTimers();
    // Platform timers running now.
    size_t RunningTimers() const { return m_platformTimers.size(); }
    // Delivers the posted wake-up messages (each runs RunDeferred); returns how many.
    int32_t PumpMessages();
    int32_t PendingWakeUps() const { return m_wakeUps.load(); }

    // ---- input ----
    uint32_t modifiers = 0;        // applied to pointer input
    Point screenOrigin{100, 100};  // where the client area is on the screen
    int32_t HeldButtons() const { return m_held; }

    void MoveTo(int32_t x, int32_t y);
    void Press(int32_t x, int32_t y, int32_t button = kButtonLeft);
    // A press with a given message time (for click counting).
    void PressAt(int32_t x, int32_t y, int32_t button, uint32_t time);
    void Release(int32_t x, int32_t y, int32_t button = kButtonLeft);
    void Click(int32_t x, int32_t y, int32_t button = kButtonLeft);
    void DoubleClick(int32_t x, int32_t y, int32_t button = kButtonLeft);
    // Press at the start, `steps` moves to the end, release there.
    void Drag(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t steps = 4, int32_t button = kButtonLeft);
    // The platform reports the pointer outside the window.
    void LeaveWindow(int32_t x = -1, int32_t y = -1);
    // delta in platform units (120 a notch, positive away from the user);
    // it goes to the pane under the pointer (MoveTo first), else the focus.
    void Wheel(int32_t delta);
    void KeyDown(int32_t key, int32_t repeat = 1);
    void KeyUp(int32_t key);
    void KeyPress(int32_t key);
    void Char(int32_t ch, int32_t repeat = 1);
    void Type(const char* text);

    // ---- platform events ----
    // Another window takes the mouse capture.
    void StealCapture();
    // The user moves the keyboard focus to this window (true) or away.
    void SetWindowFocus(bool focused);
    bool HasWindowFocus() const { return m_focused; }
    // The user activates another window (another application, another
    // window of the host): the focus goes, and so does the activation.
    void Deactivate();

    void PaintWindow(GraphicsContext& gc) { PaintRoot(gc); }

    // ---- text fields ----
    // The edit controls text editors opened over this window. Destroying
    // the window destroys the open ones after the tree has closed, as the
    // platform destroys child windows after their parent heard it.
    FakeTextFields textFields;
    NativeTextField* NewTextField() override { return new FakeTextField(textFields); }

protected:
    void NativeSetCapture() override { m_capture = true; }
    void NativeReleaseCapture() override;
    bool NativeHasFocus() override { return m_focused; }
    void NativeTakeFocus() override;
    void NativeDropFocus() override;
    bool NativeTrackPointerLeave() override;
    void NativeCancelPointerLeave() override {}
    DoubleClickMetrics NativeDoubleClickMetrics() override { return doubleClick; }
    bool NativeStartTimer(uintptr_t id, int32_t milliseconds) override;
    void NativeStopTimer(uintptr_t id) override { m_platformTimers.erase(id); }
    bool NativePostWakeUp() override;
    int32_t NativeShowPopupMenu(MenuItemList& items, const Rect& anchor) override;
    int32_t NativeMessageBox(const char* caption, const char* text, int32_t kind) override;
    uint32_t NativeNowMs() override { return m_clock; }
    void NativeDebugOutput(const char* text) override { debugOutput.emplace_back(text); }
    void NativeDestroyWindow() override;

private:
    struct PlatformTimer {
        uint32_t period;
        uint64_t due; // on the timer timeline
    };
    PointerInput Input(int32_t x, int32_t y) const;
    void NewGesture() { m_clock += doubleClick.time + 1; }

    NativeWindow m_window = nullptr;
    std::thread::id m_uiThread;
    bool m_capture = false;
    bool m_focused = false;
    int32_t m_held = 0;
    uint32_t m_clock = 1000;
    uint64_t m_timerTime = 0; // moves only with AdvanceTime
    std::map<uintptr_t, PlatformTimer> m_platformTimers;
    std::atomic<int32_t> m_wakeUps{0}; // posted from any thread
};

} // namespace Corvell::Test
