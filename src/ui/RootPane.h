#pragma once
#include <cstdint>

#include "ui/Pane.h"
#include "ui/RootTimers.h"

namespace Corvell {

class NativeTextField;

// One pointer message as the platform reports it.
struct PointerInput {
    Point client;         // window client coordinates
    int32_t buttons = 0;  // kHeld* bits
    uint32_t modifiers = 0;
    uint32_t time = 0;    // message time in milliseconds (wraps)
    Point screen;         // screen position, for click counting
};

struct DoubleClickMetrics {
    uint32_t time = 500; // milliseconds
    int32_t width = 4;   // pixels
    int32_t height = 4;
};

// The top of a pane tree, bound to one native window. It holds the
// window-level state (focus, the pane under the pointer, capture, clicks)
// and all the logic above the platform, and owns the timers and deferred
// calls (RootTimers). The platform is reached only through the protected
// Native* seams below, which a window binding implements by translation
// alone.
//
// The binding calls the Handle*/Run*/Fire* entry points from its window
// procedure, on the window's thread: creation -> NativeWindowCreated,
// destruction -> NativeWindowDestroyed, size -> HandleSize, paint ->
// PaintRoot, focus set/kill -> HandleFocusChange, keys -> HandleKeyDown/
// HandleKeyUp/HandleChar, pointer -> HandlePointerMove/HandleButtonDown/
// HandleButtonUp/HandleWheel/HandlePointerLeave, capture taken by another
// window or cancelled -> HandleCaptureLost, timer -> FireTimer, wake-up ->
// RunDeferred. AddTimer, RemoveTimer and PostDeferred may be called from
// any thread; GetNativeWindow and IsUiThread must then be safe to call
// from any thread too.
class RootPane : public Pane {
public:
    RootPane();
    ~RootPane() override;

    // ---- Pane operations as the root answers them ----
    void Close() override;
    bool IsFocused(Pane* p) override;
    void RemoveChild(Pane* child) override;
    NativeWindow GetNativeWindow() override { return nullptr; }
    int32_t UnusedPointQuery(Point p) override;
    void ProcessEvent(PaneEvent& e) override;
    void ResetPointerState() override;
    void AddTimer(Ref<Delegate> d, int32_t milliseconds) override;
    void RemoveTimer(Delegate* d) override;
    void PostDeferred(Ref<Delegate> d) override;
    void RequestFocus(Pane* p) override;
    void ForgetPane(Pane* removed, Pane* fallback) override;
    void Invalidate(const Rect& r) override;
    int32_t ShowPopupMenu(MenuItemList& items, const Rect& anchor) override;
    void ReleaseCapture() override;
    int32_t MessageBox(const char* caption, const char* text, int32_t kind) override;
    bool UnusedChainQuery() override { return false; }
    bool IsUiThread() override { return false; }

    // ---- added by the root, in slot order ----
    virtual void OnBeforePaint();
    // Clips to the root's bounds, then OnBeforePaint and PaintAll.
    virtual void PaintRoot(GraphicsContext& gc);
    virtual void ProcessWindowFocus(WindowEvent& e);
    // Whether the platform's capture window is this window.
    virtual bool HasCapture() { return false; }
    // Marks an area of the window (client coordinates) for repainting.
    virtual void InvalidateNative(const Rect&) {}
    virtual void CaptureMouse();
    // Gives the window the keyboard focus, or runs the focus-gained step at
    // once when it has it already.
    virtual void Activate();
    virtual void DropFocus();
    // A new platform edit control for a text editor over this window, owned
    // by the caller; null where the platform has none (the default).
    virtual NativeTextField* NewTextField();

    // ---- entry points of the window binding ----
    // The window exists now, with this client size: the root takes the
    // bounds (0, 0, width, height), timers recorded before start, waiting
    // deferred calls are announced, and the tree hears OnWindowCreated.
    void NativeWindowCreated(int32_t width, int32_t height);
    // The window is gone: the tree is closed and detached, timers are
    // stopped, and deferred calls are released without running.
    void NativeWindowDestroyed();
    void HandleSize(int32_t width, int32_t height);

    // e.x, e.y in window client coordinates.
    void RouteMouseEvent(MouseEvent& e);
    void HandlePointerMove(const PointerInput& in);
    // The platform reports that the pointer left the window; at is the
    // pointer's position now, in client coordinates.
    void HandlePointerLeave(Point at);
    void HandleButtonDown(const PointerInput& in, int32_t button);
    void HandleButtonUp(const PointerInput& in, int32_t button);
    // delta as the platform gives it (120 a notch, positive away from the user).
    void HandleWheel(uint32_t modifiers, Point screen, int32_t delta);
    void HandleKeyDown(int32_t key, int32_t repeat, bool wasDown);
    void HandleKeyUp(int32_t key);
    void HandleChar(int32_t ch, int32_t repeat);
    void HandleFocusChange(bool gained);
    // The keyboard focus went to a window outside this one and its own
    // child windows (another application, another window of the host): the
    // root's children hear kWindowDeactivated, so open popups close. Not
    // while the root's own menu or message box is open, which takes the
    // focus for a moment only.
    void HandleActivationLost();
    // The capture was taken away (another window, a modal loop): the pane
    // holding the press gets a MouseUp with button 0 and no buttons held,
    // which ends its gesture without a click.
    void HandleCaptureLost();
    // A platform timer with this identifier fired.
    void FireTimer(uintptr_t id);
    // The wake-up message arrived: runs the deferred calls posted so far.
    void RunDeferred();

    // ---- state ----
    Pane* GetFocusedPane() const { return m_current; }
    Pane* GetMostRecentFocus() const { return m_mostRecent; }
    Pane* GetRequestedFocus() const { return m_requested; }
    Pane* GetMousePane() const { return m_mousePane; }
    bool IsPointerInsideCaptured() const { return m_insideCaptured; }
    bool IsTrackingPointer() const { return m_tracking; }
    int32_t GetClickCount(int32_t button) const;
    size_t GetTimerCount() const { return m_timers.TimerCount(); }
    size_t GetDeferredCount() const { return m_timers.DeferredCount(); }

protected:
    // ---- platform seams: translation only, neutral by default ----
    virtual void NativeSetCapture() {}
    virtual void NativeReleaseCapture() {}
    virtual bool NativeHasFocus() { return false; }
    // Takes the keyboard focus; the platform then reports the change
    // through HandleFocusChange (it reports nothing when the window had it).
    virtual void NativeTakeFocus() {}
    virtual void NativeDropFocus() {}
    // Asks to be told when the pointer leaves the window; false when unavailable.
    virtual bool NativeTrackPointerLeave() { return false; }
    virtual void NativeCancelPointerLeave() {}
    virtual DoubleClickMetrics NativeDoubleClickMetrics() { return DoubleClickMetrics(); }
    // A periodic platform timer that calls FireTimer(id); false on failure.
    virtual bool NativeStartTimer(uintptr_t /*id*/, int32_t /*milliseconds*/) { return false; }
    virtual void NativeStopTimer(uintptr_t /*id*/) {}
    // Posts the message that makes the window call RunDeferred; false on failure.
    virtual bool NativePostWakeUp() { return false; }
    // Shows the items below the anchor (client coordinates) and returns the
    // chosen item's index, or -1.
    virtual int32_t NativeShowPopupMenu(MenuItemList& /*items*/, const Rect& /*anchor*/) { return -1; }
    // Kind 1: a Yes/No warning answering 1 for Yes, else 0. Other kinds: OK box.
    virtual int32_t NativeMessageBox(const char* /*caption*/, const char* /*text*/, int32_t /*kind*/) { return 0; }
    // A millisecond clock (wraps).
    virtual uint32_t NativeNowMs() { return 0; }
    virtual void NativeDebugOutput(const char* /*text*/) {}
    virtual void NativeDestroyWindow() {}

    void RegisterTimer(Pane* owner, Ref<Delegate> d, int32_t milliseconds) override;

private:
    struct ClickState {
        int32_t count = 0;
        uint32_t time = 0;
        Point screen;
    };
    // Answers the timer queues through the platform seams above.
    class TimerPlatform final : public RootTimers::Platform {
    public:
        explicit TimerPlatform(RootPane& root) : m_root(root) {}
        bool HasWindow() override { return m_root.GetNativeWindow() != nullptr; }
        bool OnWindowThread() override { return m_root.IsUiThread(); }
        bool StartTimer(uintptr_t id, int32_t ms) override { return m_root.NativeStartTimer(id, ms); }
        void StopTimer(uintptr_t id) override { m_root.NativeStopTimer(id); }
        bool PostWakeUp() override { return m_root.NativePostWakeUp(); }

    private:
        RootPane& m_root;
    };
    // How far one walk of the hover chain got.
    enum class HoverWalk { kSettled, kTreeChanged, kRootGone };

    Point ToLocal(const Pane* p, Point client) const;
    bool KeepsPointer(Pane* q, Point client) const;
    // Enabled and visible with an effectively enabled parent chain.
    static bool Reachable(const Pane* p);
    // The topmost reachable child of p under the pointer, or null.
    Pane* ChildUnder(Pane* p, Point client) const;
    void Deliver(PaneEvent& e, Pane* p);

    // The steps of RouteMouseEvent. The crossing and capture steps return
    // false when a handler deleted the root.
    // Crossing, under capture: the pressed pane hears the pointer leave and
    // come back.
    bool CrossCaptured(const MouseEvent& e, Point client);
    // Crossing, without capture: the hover chain follows the pointer,
    // walked again while handlers change the tree.
    bool CrossHover(const MouseEvent& e, Point client);
    HoverWalk LeaveLostPanes(const MouseEvent& e, Point client, uint32_t epoch);
    HoverWalk EnterPanesUnder(const MouseEvent& e, Point client, uint32_t epoch);
    // Capture: a press takes it, the release of the last button gives it back.
    bool FollowPressWithCapture(const MouseEvent& e);
    // Delivery: the event in the local coordinates of the pane under the pointer.
    void DeliverToMousePane(MouseEvent& e, Point client);

    void CheckPointerInside(const PointerInput& in);
    void RouteSynthetic(int32_t type, const PointerInput& in);
    void DeliverKey(int32_t type, int32_t key);
    void WriteFocusSummary();

    // Focus: all within the tree, never owned.
    Pane* m_current = nullptr;
    Pane* m_mostRecent = nullptr;
    Pane* m_requested = nullptr;
    Pane* m_mousePane = nullptr;
    bool m_insideCaptured = false;

    bool m_tracking = false;
    bool m_captureActive = false; // capture taken by a press and not yet released by us
    Point m_lastPointer;
    ClickState m_clicks[4];
    int32_t m_wheelRest = 0;
    uint32_t m_treeEpoch = 0; // changes whenever a pane leaves the tree

    bool m_menuOpen = false;
    bool m_boxOpen = false;
    bool m_menuClosedOnce = false;
    uint32_t m_lastMenuClose = 0;

    TimerPlatform m_timerPlatform{*this};
    RootTimers m_timers{m_timerPlatform};
};

} // namespace Corvell
