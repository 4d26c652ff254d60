#include "TestRootPane.h"

#include <algorithm>

namespace Corvell::Test {

namespace {
// Any non-null value: the core never looks behind it.
char g_windowTag;

int32_t HeldBit(int32_t button) {
    switch (button) {
    case kButtonLeft:
        return kHeldLeft;
    case kButtonRight:
        return kHeldRight;
    case kButtonMiddle:
        return kHeldMiddle;
    default:
        return 0;
    }
}
} // namespace

TestRootPane::TestRootPane(int32_t width, int32_t height) { OpenWindow(width, height); }

TestRootPane::~TestRootPane() {
    // Close while the simulated platform still exists.
    Close();
}

void TestRootPane::OpenWindow(int32_t width, int32_t height) {
    m_window = &g_windowTag;
    m_uiThread = std::this_thread::get_id();
    NativeWindowCreated(width, height);
}

void TestRootPane::DestroyWindow() { NativeDestroyWindow(); }

void TestRootPane::NativeDestroyWindow() {
    if (!m_window)
        return;
    m_window = nullptr;
    m_platformTimers.clear();
    m_wakeUps = 0;
    m_capture = false;
    PaneGuard self(this);
    NativeWindowDestroyed();
    if (self.IsAlive())
        textFields.DestroyAll();
}

Region TestRootPane::InvalidRegion() const {
    Region r;
    for (const Rect& x : invalidations)
        r.Add(x);
    return r;
}

// ---- timers and messages -----------------------------------------------------

bool TestRootPane::NativeStartTimer(uintptr_t id, int32_t milliseconds) {
    // The platform raises periods below 10 ms to 10 ms.
    const uint32_t period = uint32_t(std::max(milliseconds, 10));
    m_platformTimers[id] = PlatformTimer{period, m_timerTime + period};
    return true;
}

void TestRootPane::AdvanceTime(uint32_t ms) {
    const uint64_t end = m_timerTime + ms;
    for (;;) {
        auto next = m_platformTimers.end();
        for (auto it = m_platformTimers.begin(); it != m_platformTimers.end(); ++it) {
            if (it->second.due <= end && (next == m_platformTimers.end() || it->second.due < next->second.due))
                next = it;
        }
        if (next == m_platformTimers.end())
            break;
        const uintptr_t id = next->first;
        m_clock += uint32_t(next->second.due - m_timerTime);
        m_timerTime = next->second.due;
        next->second.due += next->second.period;
        FireTimer(id);
    }
    m_clock += uint32_t(end - m_timerTime);
    m_timerTime = end;
}

void TestRootPane::FireTimers() {
    std::vector<uintptr_t> ids;
    for (const auto& t : m_platformTimers)
        ids.push_back(t.first);
    for (uintptr_t id : ids) {
        if (m_platformTimers.count(id))
            FireTimer(id);
    }
}

bool TestRootPane::NativePostWakeUp() {
    if (failWakeUps || !m_window)
        return false;
    ++m_wakeUps;
    ++wakeUpsPosted;
    return true;
}

int32_t TestRootPane::PumpMessages() {
    int32_t runs = 0;
    // Bounded: a call that always posts another one must not hang a test.
    while (m_wakeUps > 0 && runs < 10000) {
        --m_wakeUps;
        ++runs;
        RunDeferred();
    }
    return runs;
}

// ---- modal boxes -------------------------------------------------------------

int32_t TestRootPane::NativeShowPopupMenu(MenuItemList& items, const Rect& anchor) {
    menuCalls.push_back(MenuCall{&items, anchor});
    if (modalTakesCapture)
        StealCapture();
    if (duringModal)
        duringModal();
    if (menuHandler)
        return menuHandler(items, anchor);
    if (menuAnswers.empty())
        return -1;
    const int32_t answer = menuAnswers.front();
    menuAnswers.pop_front();
    return answer;
}

int32_t TestRootPane::NativeMessageBox(const char* caption, const char* text, int32_t kind) {
    messageBoxes.push_back(BoxCall{caption, text, kind});
    if (modalTakesCapture)
        StealCapture();
    const bool hadFocus = messageBoxTakesFocus && m_focused;
    if (hadFocus) {
        // The box is a window of its own: the platform reports a deactivation.
        SetWindowFocus(false);
        HandleActivationLost();
    }
    if (duringModal)
        duringModal();
    int32_t answer = kind == 1 ? 0 : 1;
    if (!messageBoxAnswers.empty()) {
        answer = messageBoxAnswers.front();
        messageBoxAnswers.pop_front();
    }
    if (hadFocus)
        SetWindowFocus(true);
    return answer;
}

// ---- capture and focus ---------------------------------------------------------

void TestRootPane::NativeReleaseCapture() {
    if (!m_capture)
        return;
    m_capture = false;
    // The platform reports every capture change, our own release included.
    HandleCaptureLost();
}

void TestRootPane::StealCapture() {
    if (!m_capture)
        return;
    m_capture = false;
    HandleCaptureLost();
}

void TestRootPane::NativeTakeFocus() {
    if (m_focused || !m_window)
        return;
    m_focused = true;
    HandleFocusChange(true);
}

void TestRootPane::NativeDropFocus() {
    if (!m_focused)
        return;
    m_focused = false;
    HandleFocusChange(false);
}

void TestRootPane::SetWindowFocus(bool focused) {
    if (focused == m_focused || !m_window)
        return;
    m_focused = focused;
    HandleFocusChange(focused);
}

void TestRootPane::Deactivate() {
    SetWindowFocus(false);
    HandleActivationLost();
}

bool TestRootPane::NativeTrackPointerLeave() {
    ++trackRequests;
    return trackingAvailable;
}

// ---- input ---------------------------------------------------------------------

PointerInput TestRootPane::Input(int32_t x, int32_t y) const {
    PointerInput in;
    in.client = Point{x, y};
    in.buttons = m_held;
    in.modifiers = modifiers;
    in.time = m_clock;
    in.screen = Point{x + screenOrigin.x, y + screenOrigin.y};
    return in;
}

void TestRootPane::MoveTo(int32_t x, int32_t y) {
    ++m_clock;
    HandlePointerMove(Input(x, y));
}

void TestRootPane::Press(int32_t x, int32_t y, int32_t button) { PressAt(x, y, button, ++m_clock); }

void TestRootPane::PressAt(int32_t x, int32_t y, int32_t button, uint32_t time) {
    m_clock = time;
    m_held |= HeldBit(button);
    HandleButtonDown(Input(x, y), button);
}

void TestRootPane::Release(int32_t x, int32_t y, int32_t button) {
    ++m_clock;
    m_held &= ~HeldBit(button);
    HandleButtonUp(Input(x, y), button);
}

void TestRootPane::Click(int32_t x, int32_t y, int32_t button) {
    NewGesture();
    MoveTo(x, y);
    Press(x, y, button);
    Release(x, y, button);
}

void TestRootPane::DoubleClick(int32_t x, int32_t y, int32_t button) {
    Click(x, y, button);
    m_clock += 10;
    Press(x, y, button);
    Release(x, y, button);
}

void TestRootPane::Drag(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t steps, int32_t button) {
    NewGesture();
    MoveTo(x0, y0);
    Press(x0, y0, button);
    steps = std::max(steps, 1);
    for (int32_t i = 1; i <= steps; ++i)
        MoveTo(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
    Release(x1, y1, button);
}

void TestRootPane::LeaveWindow(int32_t x, int32_t y) {
    ++m_clock;
    HandlePointerLeave(Point{x, y});
}

void TestRootPane::Wheel(int32_t delta) {
    ++m_clock;
    HandleWheel(modifiers, screenOrigin, delta);
}

void TestRootPane::KeyDown(int32_t key, int32_t repeat) {
    ++m_clock;
    HandleKeyDown(key, repeat, false);
}

void TestRootPane::KeyUp(int32_t key) {
    ++m_clock;
    HandleKeyUp(key);
}

void TestRootPane::KeyPress(int32_t key) {
    KeyDown(key);
    KeyUp(key);
}

void TestRootPane::Char(int32_t ch, int32_t repeat) {
    ++m_clock;
    HandleChar(ch, repeat);
}

void TestRootPane::Type(const char* text) {
    for (; text && *text; ++text)
        Char(static_cast<unsigned char>(*text));
}

} // namespace Corvell::Test
