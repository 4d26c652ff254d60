#include "ui/RootPane.h"

#include <algorithm>
#include <cstdlib>

#include "shared/Graphics/GraphicsContext.h"
#include "ui/PaneTrace.h"

namespace Corvell {

namespace {
constexpr uint32_t kMenuReopenGuardMs = 50;
constexpr int32_t kWheelNotch = 120;
// A pane entered or left by a handler during routing restarts the hover
// walk; this bounds the restarts.
constexpr int kMaxHoverPasses = 8;
} // namespace

RootPane::RootPane() = default;

RootPane::~RootPane() {
    // Tear the tree down while this is still a root, so every removal is
    // forgotten here and no timer of a child survives.
    if (!IsClosed())
        OnDestroy();
    RemoveAllChildren();
    m_current = m_mostRecent = m_requested = m_mousePane = nullptr;
    m_timers.Release();
}

// ---- Pane operations ---------------------------------------------------------

void RootPane::Close() {
    if (!IsClosed())
        OnDestroy();
    // An override that did not reach the base still leaves the pane closed.
    if (!IsClosed())
        Pane::OnDestroy();
    RemoveAllChildren();
    if (Pane* parent = GetParent())
        parent->RemoveChild(this);
    NativeDestroyWindow();
    m_timers.Release();
}

bool RootPane::IsFocused(Pane* p) { return p && p == m_current; }

void RootPane::RemoveChild(Pane* child) {
    if (child && child->GetParent() == this) {
        m_mousePane = nullptr;
        ++m_treeEpoch;
    }
    Pane::RemoveChild(child);
}

int32_t RootPane::UnusedPointQuery(Point) { return 0; }

void RootPane::ProcessEvent(PaneEvent& e) {
    if (e.type == kWindowFocusGained || e.type == kWindowFocusLost) {
        if (auto* w = dynamic_cast<WindowEvent*>(&e))
            ProcessWindowFocus(*w);
        return;
    }
    Pane::ProcessEvent(e);
}

void RootPane::ResetPointerState() {
    ++m_treeEpoch;
    m_mousePane = nullptr;
    m_mostRecent = nullptr;
    m_requested = nullptr;
}

void RootPane::AddTimer(Ref<Delegate> d, int32_t milliseconds) { RegisterTimer(nullptr, std::move(d), milliseconds); }

void RootPane::RegisterTimer(Pane* owner, Ref<Delegate> d, int32_t milliseconds) {
    m_timers.Add(owner, std::move(d), milliseconds);
}

void RootPane::RemoveTimer(Delegate* d) { m_timers.Remove(d); }

void RootPane::PostDeferred(Ref<Delegate> d) { m_timers.Post(std::move(d)); }

void RootPane::RequestFocus(Pane* p) {
    // Only panes of this tree: the root must never hold a pane it will not
    // hear about when it goes.
    if (p && !IsAncestorOf(p))
        return;
    m_requested = p;
    m_mostRecent = m_current;
    if (p)
        Activate();
    else
        DropFocus();
}

void RootPane::ForgetPane(Pane* removed, Pane* fallback) {
    if (!removed)
        return;
    ++m_treeEpoch;
    // Whatever lies in the removed subtree is forgotten, not only the pane itself.
    auto gone = [removed](Pane* p) { return p && removed->IsAncestorOf(p); };
    if (gone(m_mostRecent))
        m_mostRecent = nullptr;
    if (gone(m_requested))
        m_requested = nullptr;
    // A pane that leaves the tree while it holds the press would never see
    // the release: it hears the press end as when the capture is lost. A
    // closing pane ends its own gestures and takes no more events.
    Pane* pressEnds = nullptr;
    if (gone(m_mousePane)) {
        if (m_captureActive && !m_mousePane->IsClosed()) {
            pressEnds = m_mousePane;
            ReleaseCapture();
        }
        m_mousePane = nullptr;
    }

    // A pane out of the tree can no longer stop its timers.
    m_timers.RemoveOwnedWithin(removed);

    PaneGuard self(this);
    PaneGuard held(pressEnds);
    if (gone(m_current)) {
        m_current = nullptr;
        RequestFocus(fallback && !gone(fallback) ? fallback : nullptr);
    }
    if (self.IsAlive() && held.IsAlive()) {
        const Point local = ToLocal(pressEnds, m_lastPointer);
        MouseEvent up(kMouseUp, local.x, local.y, 0, 0);
        up.button = kButtonNone;
        Deliver(up, pressEnds);
    }
}

void RootPane::Invalidate(const Rect& r) {
    const Rect& b = GetBounds();
    InvalidateNative(Rect{r.x + b.x, r.y + b.y, r.width, r.height});
}

int32_t RootPane::ShowPopupMenu(MenuItemList& items, const Rect& anchor) {
    // One menu at a time; and the click that closed a menu must not reopen it.
    if (m_menuOpen)
        return -1;
    if (m_menuClosedOnce && uint32_t(NativeNowMs() - m_lastMenuClose) < kMenuReopenGuardMs)
        return -1;
    const Rect& b = GetBounds();
    PaneGuard self(this);
    m_menuOpen = true;
    const int32_t chosen = NativeShowPopupMenu(items, Rect{anchor.x + b.x, anchor.y + b.y, anchor.width, anchor.height});
    if (!self.IsAlive()) // the modal loop ran a call that destroyed the window
        return -1;
    m_menuOpen = false;
    m_menuClosedOnce = true;
    m_lastMenuClose = NativeNowMs();
    return chosen < 0 ? -1 : chosen;
}

void RootPane::ReleaseCapture() {
    // Cleared first: the platform reports our own release as a capture change.
    m_captureActive = false;
    if (HasCapture())
        NativeReleaseCapture();
}

int32_t RootPane::MessageBox(const char* caption, const char* text, int32_t kind) {
    PaneGuard self(this);
    const bool outer = !m_boxOpen;
    m_boxOpen = true;
    const int32_t answer = NativeMessageBox(caption ? caption : "", text ? text : "", kind);
    if (self.IsAlive() && outer)
        m_boxOpen = false;
    return answer;
}

// ---- root operations -----------------------------------------------------------

void RootPane::OnBeforePaint() {}

void RootPane::PaintRoot(GraphicsContext& gc) {
    const Region saved = gc.GetClip();
    gc.IntersectClip(GetBounds());
    OnBeforePaint();
    PaintAll(gc);
    gc.SetClip(saved);
}

void RootPane::ProcessWindowFocus(WindowEvent& e) {
    PaneGuard self(this);
    if (e.type == kWindowFocusGained) {
        if (m_requested) {
            if (m_requested != m_current) {
                Pane* old = m_current;
                m_current = m_requested;
                if (old) {
                    FocusEvent lost(kFocusLost);
                    lost.Dispatch(old);
                    if (!self.IsAlive())
                        return;
                }
            }
        } else {
            m_current = m_mostRecent ? m_mostRecent : this;
        }
        m_requested = nullptr;
        if (m_current) {
            FocusEvent gained(kFocusGained);
            gained.Dispatch(m_current);
            if (!self.IsAlive())
                return;
        }
    } else if (e.type == kWindowFocusLost) {
        m_mostRecent = m_current;
        if (Pane* old = m_current) {
            m_current = nullptr;
            const String name = PaneClassName(old);
            PaneTracef("%p (%s): dispatch FOCUS_LOST.\n", static_cast<void*>(old), name.c_str());
            FocusEvent lost(kFocusLost);
            lost.Dispatch(old);
            if (!self.IsAlive())
                return;
            PaneTracef("%p (%s): FOCUS_LOST processed.\n", static_cast<void*>(old), name.c_str());
        }
    }
    WriteFocusSummary();
}

void RootPane::CaptureMouse() {
    m_captureActive = true;
    if (!HasCapture()) {
        NativeSetCapture();
        NativeTakeFocus();
    }
}

void RootPane::Activate() {
    if (!NativeHasFocus()) {
        NativeTakeFocus();
        return;
    }
    NativeDebugOutput("OnFocus(1)\n");
    WindowEvent e(kWindowFocusGained);
    e.Dispatch(this);
}

void RootPane::DropFocus() { NativeDropFocus(); }

NativeTextField* RootPane::NewTextField() { return nullptr; }

// ---- window lifetime -------------------------------------------------------------

void RootPane::NativeWindowCreated(int32_t width, int32_t height) {
    // The window is placed by the binding; inside it the tree starts at (0, 0).
    Create(nullptr, Rect{0, 0, width, height});
    m_timers.WindowCreated();
    OnWindowCreated();
}

void RootPane::NativeWindowDestroyed() {
    PaneGuard self(this);
    // The waiting calls go on return, when the root is no longer used:
    // releasing one may delete it.
    const std::vector<Ref<Delegate>> dropped = m_timers.WindowDestroyed();
    m_tracking = false;
    m_captureActive = false;
    if (!IsClosed())
        OnDestroy();
    if (!self.IsAlive())
        return;
    RemoveAllChildren();
    if (!self.IsAlive())
        return;
    if (Pane* parent = GetParent())
        parent->RemoveChild(this);
}

void RootPane::HandleSize(int32_t width, int32_t height) {
    const Rect& b = GetBounds();
    SetBounds(Rect{b.x, b.y, width, height});
    OnLayoutChanged();
}

// ---- mouse -------------------------------------------------------------------------

Point RootPane::ToLocal(const Pane* p, Point client) const {
    const Point o = p->GetAbsoluteOrigin();
    return Point{client.x - o.x, client.y - o.y};
}

bool RootPane::Reachable(const Pane* p) {
    return p->IsVisible() && p->IsEnabled() && (!p->GetParent() || p->GetParent()->IsEffectivelyEnabled());
}

bool RootPane::KeepsPointer(Pane* q, Point client) const {
    if (!q->Contains(ToLocal(q, client)))
        return false;
    if (q == this)
        return true;
    // A pane hidden or disabled under a resting pointer must let it go.
    if (!q->IsShowing() || !q->IsEffectivelyEnabled())
        return false;
    Pane* parent = q->GetParent();
    if (!parent)
        return false;
    bool above = false;
    for (int32_t i = 0; i < parent->GetChildCount(); ++i) {
        Pane* s = parent->GetChild(i);
        if (s == q) {
            above = true;
        } else if (above && Reachable(s) && s->Contains(ToLocal(s, client))) {
            return false;
        }
    }
    return true;
}

Pane* RootPane::ChildUnder(Pane* p, Point client) const {
    for (int32_t i = p->GetChildCount(); i-- > 0;) {
        Pane* c = p->GetChild(i);
        if (Reachable(c) && c->Contains(ToLocal(c, client)))
            return c;
    }
    return nullptr;
}

void RootPane::Deliver(PaneEvent& e, Pane* p) { e.Dispatch(p); }

void RootPane::RouteMouseEvent(MouseEvent& e) {
    const Point client{e.x, e.y};
    const bool alive = HasCapture() && m_mousePane ? CrossCaptured(e, client) : CrossHover(e, client);
    if (!alive || !m_mousePane)
        return;
    if (!FollowPressWithCapture(e))
        return;
    DeliverToMousePane(e, client);
}

bool RootPane::CrossCaptured(const MouseEvent& e, Point client) {
    Pane* mp = m_mousePane;
    const Point local = ToLocal(mp, client);
    const bool inside = mp->Contains(local) && Reachable(mp);
    if (m_insideCaptured == inside)
        return true;
    m_insideCaptured = inside;
    MouseEvent crossing(e);
    crossing.type = inside ? kMouseEnter : kMouseLeave;
    crossing.x = local.x;
    crossing.y = local.y;
    PaneGuard self(this);
    Deliver(crossing, mp);
    return self.IsAlive();
}

bool RootPane::CrossHover(const MouseEvent& e, Point client) {
    for (int pass = 0; pass < kMaxHoverPasses; ++pass) {
        const uint32_t epoch = m_treeEpoch;
        HoverWalk walk = LeaveLostPanes(e, client, epoch);
        if (walk == HoverWalk::kSettled)
            walk = EnterPanesUnder(e, client, epoch);
        if (walk == HoverWalk::kRootGone)
            return false;
        if (walk == HoverWalk::kSettled)
            break;
    }
    return true;
}

RootPane::HoverWalk RootPane::LeaveLostPanes(const MouseEvent& e, Point client, uint32_t epoch) {
    // Up the old chain: every pane that lost the pointer hears so, innermost first.
    PaneGuard self(this);
    for (Pane* q = m_mousePane; q;) {
        Pane* parent = q->GetParent();
        if (!KeepsPointer(q, client)) {
            while (Pane* mp = m_mousePane) {
                m_mousePane = mp->GetParent();
                const Point local = ToLocal(mp, client);
                MouseEvent leave(kMouseLeave, local.x, local.y, 0, e.modifiers);
                Deliver(leave, mp);
                if (!self.IsAlive())
                    return HoverWalk::kRootGone;
                if (m_treeEpoch != epoch)
                    return HoverWalk::kTreeChanged;
                if (mp == q)
                    break;
            }
        }
        q = parent;
    }
    return HoverWalk::kSettled;
}

RootPane::HoverWalk RootPane::EnterPanesUnder(const MouseEvent& e, Point client, uint32_t epoch) {
    // Down from where the pointer is still kept: the topmost reachable child
    // under it, level by level.
    PaneGuard self(this);
    if (!m_mousePane && e.type != kMouseLeave)
        m_mousePane = this;
    while (m_mousePane && m_mousePane->GetChildCount() > 0) {
        Pane* next = ChildUnder(m_mousePane, client);
        if (!next)
            break;
        m_mousePane = next;
        const Point local = ToLocal(next, client);
        MouseEvent enter(e);
        enter.type = kMouseEnter;
        enter.x = local.x;
        enter.y = local.y;
        Deliver(enter, next);
        if (!self.IsAlive())
            return HoverWalk::kRootGone;
        if (m_treeEpoch != epoch)
            return HoverWalk::kTreeChanged;
    }
    return HoverWalk::kSettled;
}

bool RootPane::FollowPressWithCapture(const MouseEvent& e) {
    PaneGuard self(this);
    if (e.type == kMouseDown && e.buttons != 0)
        CaptureMouse();
    else if (e.type == kMouseUp && e.buttons == 0)
        ReleaseCapture();
    return self.IsAlive();
}

void RootPane::DeliverToMousePane(MouseEvent& e, Point client) {
    // Read here, after the capture step: taking the capture takes the
    // keyboard focus too, and a focus handler may have taken the pane out
    // of the tree, which forgets it.
    Pane* target = m_mousePane;
    if (!target)
        return;
    const Point local = ToLocal(target, client);
    e.x = local.x;
    e.y = local.y;
    Deliver(e, target);
}

void RootPane::RouteSynthetic(int32_t type, const PointerInput& in) {
    MouseEvent e(type, in.client.x, in.client.y, in.buttons, in.modifiers);
    RouteMouseEvent(e);
}

void RootPane::CheckPointerInside(const PointerInput& in) {
    const Rect& b = GetBounds();
    const bool inside = b.Contains(in.client);
    if (inside && !m_tracking) {
        if (NativeTrackPointerLeave()) {
            m_tracking = true;
            RouteSynthetic(kMouseEnter, in);
        }
    } else if (!inside && m_tracking) {
        NativeCancelPointerLeave();
        m_tracking = false;
        RouteSynthetic(kMouseLeave, in);
    }
}

void RootPane::HandlePointerMove(const PointerInput& in) {
    PaneGuard self(this);
    m_lastPointer = in.client;
    CheckPointerInside(in);
    if (!self.IsAlive())
        return;
    MouseEvent e(HasCapture() ? kMouseDrag : kMouseMove, in.client.x, in.client.y, in.buttons, in.modifiers);
    RouteMouseEvent(e);
}

void RootPane::HandlePointerLeave(Point at) {
    if (!m_tracking)
        return;
    NativeCancelPointerLeave();
    m_tracking = false;
    MouseEvent e(kMouseLeave, at.x, at.y, 0, 0);
    RouteMouseEvent(e);
}

void RootPane::HandleButtonDown(const PointerInput& in, int32_t button) {
    PaneGuard self(this);
    m_lastPointer = in.client;
    CheckPointerInside(in);
    if (!self.IsAlive())
        return;
    int32_t count = 1;
    if (button >= kButtonLeft && button <= kButtonMiddle) {
        ClickState& s = m_clicks[button];
        const DoubleClickMetrics m = NativeDoubleClickMetrics();
        const uint32_t elapsed = in.time - s.time; // the message clock wraps
        const int64_t dx = 2 * std::llabs(int64_t(in.screen.x) - s.screen.x);
        const int64_t dy = 2 * std::llabs(int64_t(in.screen.y) - s.screen.y);
        if (elapsed < m.time && dx <= m.width && dy <= m.height && s.count < INT32_MAX)
            ++s.count;
        else
            s.count = 1;
        s.time = in.time;
        s.screen = in.screen;
        count = s.count;
    }
    MouseEvent e(kMouseDown, in.client.x, in.client.y, in.buttons, in.modifiers);
    e.button = button;
    e.clickCount = count;
    RouteMouseEvent(e);
}

void RootPane::HandleButtonUp(const PointerInput& in, int32_t button) {
    m_lastPointer = in.client;
    MouseEvent e(kMouseUp, in.client.x, in.client.y, in.buttons, in.modifiers);
    e.button = button;
    RouteMouseEvent(e);
}

void RootPane::HandleWheel(uint32_t modifiers, Point screen, int32_t delta) {
    // Whole notches; a part of one is kept until the rest comes in the same direction.
    if ((delta > 0 && m_wheelRest < 0) || (delta < 0 && m_wheelRest > 0))
        m_wheelRest = 0;
    const int64_t total = int64_t(m_wheelRest) + delta;
    const int64_t notches = total / -kWheelNotch;
    m_wheelRest = int32_t(total + notches * kWheelNotch);

    MouseEvent e(kMouseWheel, screen.x, screen.y, 0, modifiers);
    e.wheel = int32_t(notches);
    if (Pane* target = m_mousePane ? m_mousePane : m_current)
        Deliver(e, target);
}

void RootPane::HandleCaptureLost() {
    if (!m_captureActive)
        return;
    m_captureActive = false;
    Pane* p = m_mousePane;
    if (!p)
        return;
    const Point local = ToLocal(p, m_lastPointer);
    MouseEvent up(kMouseUp, local.x, local.y, 0, 0);
    up.button = kButtonNone;
    Deliver(up, p);
}

int32_t RootPane::GetClickCount(int32_t button) const {
    return button >= kButtonLeft && button <= kButtonMiddle ? m_clicks[button].count : 0;
}

// ---- keys and focus -----------------------------------------------------------------

void RootPane::DeliverKey(int32_t type, int32_t key) {
    // Read for every event: a handler may move the focus.
    KeyEvent e(type, key);
    Deliver(e, m_current ? m_current : this);
}

void RootPane::HandleKeyDown(int32_t key, int32_t repeat, bool wasDown) {
    PaneGuard self(this);
    // A repeat count of 0 (synthetic messages) still means one key stroke.
    int32_t n = std::max(repeat, 1);
    if (!wasDown) {
        DeliverKey(kKeyDown, key);
        --n;
    }
    for (; n > 0 && self.IsAlive(); --n)
        DeliverKey(kKeyRepeat, key);
}

void RootPane::HandleKeyUp(int32_t key) { DeliverKey(kKeyUp, key); }

void RootPane::HandleChar(int32_t ch, int32_t repeat) {
    PaneGuard self(this);
    for (int32_t n = std::max(repeat, 1); n > 0 && self.IsAlive(); --n)
        DeliverKey(kKeyChar, ch);
}

void RootPane::HandleFocusChange(bool gained) {
    NativeDebugOutput(gained ? "OnFocus(1)\n" : "OnFocus(0)\n");
    WindowEvent e(gained ? kWindowFocusGained : kWindowFocusLost);
    e.Dispatch(this);
}

void RootPane::HandleActivationLost() {
    if (m_menuOpen || m_boxOpen)
        return;
    // A handler may close or delete any child (or the root): each is
    // checked before it hears.
    std::vector<Pane*> children;
    for (int32_t i = 0; i < GetChildCount(); ++i)
        children.push_back(GetChild(i));
    PaneGuard self(this);
    for (Pane* c : children) {
        if (!self.IsAlive())
            return;
        bool stillHere = false;
        for (int32_t i = 0; i < GetChildCount() && !stillHere; ++i)
            stillHere = GetChild(i) == c;
        if (!stillHere)
            continue;
        WindowEvent e(kWindowDeactivated);
        e.Dispatch(c);
    }
}

void RootPane::WriteFocusSummary() {
    if (!IsPaneTraceOn())
        return;
    PaneTracef("Handle end: current = %p (%s),\n        most recent = %p (%s),\n          requested = %p (%s)\n",
               static_cast<void*>(m_current), PaneClassName(m_current).c_str(), static_cast<void*>(m_mostRecent),
               PaneClassName(m_mostRecent).c_str(), static_cast<void*>(m_requested),
               PaneClassName(m_requested).c_str());
}

// ---- timers and deferred calls -------------------------------------------------------

void RootPane::FireTimer(uintptr_t id) { m_timers.Fire(id); }

void RootPane::RunDeferred() {
    PaneGuard self(this);
    m_timers.RunDeferred(self);
}

} // namespace Corvell
