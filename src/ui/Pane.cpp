#include "ui/Pane.h"

#include <algorithm>

#include "shared/Graphics/GraphicsContext.h"
#include "ui/PaneTrace.h"

namespace Corvell {

// ---- PaneGuard ---------------------------------------------------------------

PaneGuard::PaneGuard(Pane* pane) : m_pane(pane) {
    if (m_pane) {
        m_next = m_pane->m_guards;
        m_pane->m_guards = this;
    }
}

PaneGuard::~PaneGuard() {
    if (!m_pane)
        return;
    for (PaneGuard** g = &m_pane->m_guards; *g; g = &(*g)->m_next) {
        if (*g == this) {
            *g = m_next;
            break;
        }
    }
}

// ---- Pane --------------------------------------------------------------------

Pane::Pane() = default;

Pane::~Pane() {
    for (PaneGuard* g = m_guards; g;) {
        PaneGuard* next = g->m_next;
        g->m_pane = nullptr;
        g->m_next = nullptr;
        g = next;
    }
    m_guards = nullptr;

    if (!IsClosed())
        OnDestroy();
    if (m_children)
        RemoveAllChildren();
    if (Pane* parent = m_parent) {
        parent->RemoveChild(this);
        // A RemoveChild override that kept the entry must not leave the
        // parent pointing at freed memory.
        if (m_parent == parent)
            parent->Pane::RemoveChild(this);
        m_parent = nullptr;
    }
    delete dynamic_cast<MouseEventMulticaster*>(m_mouseListener);
    m_mouseListener = nullptr;
    m_paintHook.Reset();
    m_focusListeners.Clear();
}

void Pane::Create(Pane* parent, const Rect& bounds) {
    m_bounds = bounds;
    if (parent)
        parent->AddChild(this);
}

void Pane::OnWindowCreated() {
    for (int32_t i = 0; i < GetChildCount(); ++i)
        (*m_children)[size_t(i)]->OnWindowCreated();
}

void Pane::OnDestroy() {
    m_flags |= kClosed;
    // A child closed before keeps its single OnDestroy.
    for (int32_t i = 0; i < GetChildCount(); ++i) {
        Pane* c = (*m_children)[size_t(i)];
        if (!c->IsClosed())
            c->OnDestroy();
    }
}

void Pane::Close() {
    if (!IsClosed())
        OnDestroy();
    if (m_children)
        RemoveAllChildren();
    if (m_parent)
        m_parent->RemoveChild(this);
}

void Pane::GetLocalBounds(Rect& out) const { out = Rect{0, 0, m_bounds.width, m_bounds.height}; }

bool Pane::Contains(Point p) const { return p.x >= 0 && p.x < m_bounds.width && p.y >= 0 && p.y < m_bounds.height; }

Pane* Pane::HitTest(Point p) {
    if (Pane* c = ChildAt(p))
        return c;
    return Contains(p) ? this : nullptr;
}

Pane* Pane::ChildAt(Point p) {
    if (!m_children || !IsEffectivelyEnabled())
        return nullptr;
    for (size_t i = m_children->size(); i-- > 0;) {
        Pane* c = (*m_children)[i];
        if (!c->IsVisible() || !c->IsEnabled())
            continue;
        const Rect& b = c->m_bounds;
        if (!b.Contains(p))
            continue;
        if (Pane* hit = c->HitTest(Point{p.x - b.x, p.y - b.y}))
            return hit;
    }
    return nullptr;
}

bool Pane::UnusedQuery() { return false; }

bool Pane::IsFocused(Pane* p) { return m_parent ? m_parent->IsFocused(p) : false; }

void Pane::SetVisible(bool visible) {
    if (IsVisible() == visible)
        return;
    SetFlags(kVisible, visible);
    InvalidateAll();
    OnLayoutChanged();
}

void Pane::SetEnabled(bool enabled) {
    SetFlags(kEnabled, enabled);
    InvalidateAll();
}

void Pane::AddChild(Pane* child) {
    // Never a cycle: not itself, not an ancestor.
    if (!child || child->IsAncestorOf(this))
        return;
    if (m_children && std::find(m_children->begin(), m_children->end(), child) != m_children->end()) {
        child->m_parent = this;
        return;
    }
    if (Pane* old = child->m_parent) {
        old->RemoveChild(child);
        if (child->m_parent == old)
            old->Pane::RemoveChild(child);
        child->m_parent = nullptr;
    }
    if (!m_children)
        m_children = new std::vector<Pane*>();
    m_children->push_back(child);
    child->m_parent = this;
    OnLayoutChanged();
}

void Pane::RemoveChild(Pane* child) {
    if (!child || !m_children || std::find(m_children->begin(), m_children->end(), child) == m_children->end())
        return;
    PaneGuard self(this);
    PaneGuard kept(child);
    ForgetPane(child, this);
    if (self.IsAlive())
        ResetPointerState();
    if (self.IsAlive() && kept.IsAlive() && child->m_parent == this)
        child->InvalidateAll();
    if (!self.IsAlive())
        return;
    // Focus listeners run above may have changed the list.
    if (kept.IsAlive() && child->m_parent == this)
        child->m_parent = nullptr;
    if (m_children) {
        auto it = std::find(m_children->begin(), m_children->end(), child);
        if (it != m_children->end())
            m_children->erase(it);
    }
    OnLayoutChanged();
}

NativeWindow Pane::GetNativeWindow() { return m_parent ? m_parent->GetNativeWindow() : nullptr; }

int32_t Pane::UnusedPointQuery(Point p) {
    return m_parent ? m_parent->UnusedPointQuery(Point{p.x + m_bounds.x, p.y + m_bounds.y}) : 0;
}

void Pane::process(FocusEvent& e) { OnFocusEvent(e); }

void Pane::process(KeyEvent& e) {
    if (IsPaneTraceOn()) {
        String line = String("Corvell::Pane::process") + " (" + PaneClassName(this) + ") " + e.ToString() + "\n";
        PaneTrace(line.c_str());
    }
    OnKeyEvent(e);
}

void Pane::process(MouseEvent& e) {
    if (e.type != kMouseMove && e.type != kMouseDrag && IsPaneTraceOn()) {
        String line = String("Corvell::Pane::process") + " (" + PaneClassName(this) + ") " + e.ToString() + "\n";
        PaneTrace(line.c_str());
    }
    OnMouseEvent(e);
}

void Pane::process(WindowEvent& e) { ProcessEvent(e); }

void Pane::PaintAll(GraphicsContext& gc) {
    if (m_children)
        PaintOpaqueChildren(gc);
    const Point saved = gc.GetOrigin();
    gc.SetOrigin(GetAbsoluteOrigin());
    const bool enabled = IsEffectivelyEnabled();
    if (enabled && (m_flags & kFillBackground))
        gc.FillRect(LocalBounds(), m_background);
    else if (!enabled && (m_flags & kFillDisabled))
        gc.FillRect(LocalBounds(), m_disabledBackground);
    Paint(gc);
    gc.SetOrigin(saved);
    if (m_children)
        PaintChildren(gc);
}

void Pane::Paint(GraphicsContext& gc) {
    if (m_paintHook)
        m_paintHook->Invoke(this, gc);
}

void Pane::ProcessEvent(PaneEvent& e) {
    // The type code picks the handler; an event of another class with a
    // borrowed code is not passed on.
    if (e.type >= kKeyDown && e.type <= kKeyChar) {
        if (auto* k = dynamic_cast<KeyEvent*>(&e))
            OnKeyEvent(*k);
    } else if (e.type >= kMouseEnter && e.type <= kMouseWheel) {
        if (auto* m = dynamic_cast<MouseEvent*>(&e))
            OnMouseEvent(*m);
    } else if (e.type == kFocusGained || e.type == kFocusLost) {
        if (auto* f = dynamic_cast<FocusEvent*>(&e))
            OnFocusEvent(*f);
    }
}

void Pane::OnKeyEvent(KeyEvent& e) {
    if (m_parent)
        m_parent->OnKeyEvent(e);
}

void Pane::OnFocusEvent(FocusEvent& e) {
    if (m_focusListeners.IsEmpty())
        return;
    if (e.type == kFocusGained)
        m_focusListeners.Invoke(true);
    else if (e.type == kFocusLost)
        m_focusListeners.Invoke(false);
}

namespace {
void CallListener(MouseListener* l, MouseEvent& e) {
    switch (e.type) {
    case kMouseDown:
        l->MousePressed(e);
        break;
    case kMouseUp:
        l->MouseReleased(e);
        break;
    case kMouseEnter:
        l->MouseEntered(e);
        break;
    case kMouseLeave:
        l->MouseExited(e);
        break;
    case kMouseMove:
        l->MouseMoved(e);
        break;
    case kMouseDrag:
        l->MouseDragged(e);
        break;
    case kMouseWheel:
        l->MouseWheelMoved(e);
        break;
    default:
        break;
    }
}
} // namespace

void Pane::OnMouseEvent(MouseEvent& e) {
    if (!m_mouseListener)
        return;
    if (!dynamic_cast<MouseEventMulticaster*>(m_mouseListener)) {
        CallListener(m_mouseListener, e);
        return;
    }
    // The listeners in multicaster order. A listener may remove another one
    // (or delete the pane) while the event runs: each is checked before it
    // is called.
    std::vector<MouseListener*> listeners;
    MouseEventMulticaster::Flatten(m_mouseListener, listeners);
    PaneGuard self(this);
    for (MouseListener* l : listeners) {
        if (!self.IsAlive())
            return;
        if (MouseEventMulticaster::Holds(m_mouseListener, l))
            CallListener(l, e);
    }
}

void Pane::ResetPointerState() {
    if (m_parent)
        m_parent->ResetPointerState();
}

void Pane::OnLayoutChanged() {}

void Pane::AddTimer(Ref<Delegate> d, int32_t milliseconds) {
    if (m_parent)
        m_parent->RegisterTimer(this, std::move(d), milliseconds);
}

void Pane::RegisterTimer(Pane* owner, Ref<Delegate> d, int32_t milliseconds) {
    if (m_parent)
        m_parent->RegisterTimer(owner, std::move(d), milliseconds);
}

void Pane::RemoveTimer(Delegate* d) {
    if (m_parent)
        m_parent->RemoveTimer(d);
}

void Pane::PostDeferred(Ref<Delegate> d) {
    if (m_parent)
        m_parent->PostDeferred(std::move(d));
}

void Pane::RequestFocus(Pane* p) {
    if (m_parent)
        m_parent->RequestFocus(p);
}

void Pane::ForgetPane(Pane* removed, Pane* fallback) {
    if (m_parent)
        m_parent->ForgetPane(removed, fallback);
}

void Pane::Invalidate(const Rect& r) {
    if (m_parent)
        m_parent->Invalidate(Rect{r.x + m_bounds.x, r.y + m_bounds.y, r.width, r.height});
}

int32_t Pane::ShowPopupMenu(MenuItemList& items, const Rect& anchor) {
    if (!m_parent)
        return -1;
    return m_parent->ShowPopupMenu(items,
                                   Rect{anchor.x + m_bounds.x, anchor.y + m_bounds.y, anchor.width, anchor.height});
}

void Pane::ReleaseCapture() {
    if (m_parent)
        m_parent->ReleaseCapture();
}

void Pane::PaintChildren(GraphicsContext& gc) {
    const Region saved = gc.GetClip();
    for (size_t i = 0; m_children && i < m_children->size(); ++i) {
        Pane* c = (*m_children)[i];
        if (!c->IsVisible())
            continue;
        const Rect r = PaintRect(c);
        if (!gc.IsVisible(r))
            continue;
        gc.IntersectClip(r);
        c->PaintAll(gc);
        gc.SetClip(saved);
    }
}

void Pane::PaintOpaqueChildren(GraphicsContext& gc) {
    Region rest = gc.GetClip();
    for (size_t i = m_children ? m_children->size() : 0; i-- > 0;) {
        if (!m_children || i >= m_children->size())
            continue;
        Pane* c = (*m_children)[i];
        if (!c->IsOpaque() || !c->IsVisible())
            continue;
        const Rect r = PaintRect(c);
        if (!gc.IsVisible(r))
            continue;
        gc.IntersectClip(r);
        c->PaintAll(gc);
        rest.Subtract(r);
        gc.SetClip(rest);
    }
}

void Pane::RemoveAllChildren() {
    PaneGuard self(this);
    while (self.IsAlive() && m_children && !m_children->empty()) {
        Pane* c = m_children->front();
        c->Close();
        if (!self.IsAlive())
            return;
        if (!m_children || m_children->empty() || m_children->front() != c)
            continue;
        // Close() left it in place (an override that does not detach):
        // remove it here, so the loop always ends.
        RemoveChild(c);
        if (self.IsAlive() && m_children && !m_children->empty() && m_children->front() == c) {
            m_children->erase(m_children->begin());
            if (c->m_parent == this)
                c->m_parent = nullptr;
        }
    }
    if (!self.IsAlive())
        return;
    delete m_children;
    m_children = nullptr;
}

int32_t Pane::MessageBox(const char* caption, const char* text, int32_t kind) {
    return m_parent ? m_parent->MessageBox(caption, text, kind) : 0;
}

bool Pane::UnusedChainQuery() { return m_parent ? m_parent->UnusedChainQuery() : false; }

bool Pane::IsUiThread() { return m_parent ? m_parent->IsUiThread() : false; }

// ---- non-virtual operations ------------------------------------------------------

void Pane::SetBounds(const Rect& r) {
    InvalidateAll();
    m_bounds = r;
    InvalidateAll();
}

Rect Pane::LocalBounds() const {
    Rect r;
    GetLocalBounds(r);
    return r;
}

Pane* Pane::GetChild(int32_t index) const {
    if (index < 0 || index >= GetChildCount())
        return nullptr;
    return (*m_children)[size_t(index)];
}

bool Pane::IsAncestorOf(const Pane* p) const {
    for (; p; p = p->m_parent) {
        if (p == this)
            return true;
    }
    return false;
}

Point Pane::GetAbsoluteOrigin() const {
    int64_t x = 0;
    int64_t y = 0;
    for (const Pane* p = this; p; p = p->m_parent) {
        x += p->m_bounds.x;
        y += p->m_bounds.y;
    }
    return Point{int32_t(x), int32_t(y)};
}

void Pane::SetFlags(uint32_t mask, bool on) {
    if (on)
        m_flags |= mask;
    else
        m_flags &= ~mask;
}

bool Pane::IsEffectivelyEnabled() const {
    for (const Pane* p = this; p; p = p->m_parent) {
        if (!p->IsEnabled())
            return false;
    }
    return true;
}

bool Pane::IsShowing() const {
    for (const Pane* p = this; p; p = p->m_parent) {
        if (!p->IsVisible())
            return false;
    }
    return true;
}

void Pane::SetBackground(Color c) {
    m_flags |= kFillBackground;
    m_background = c;
    InvalidateAll();
}

void Pane::SetDisabledBackground(Color c) {
    m_flags |= kFillDisabled;
    m_disabledBackground = c;
    InvalidateAll();
}

Pane* Pane::FindById(int32_t id) {
    if (m_id == id)
        return this;
    for (size_t i = m_children ? m_children->size() : 0; i-- > 0;) {
        if (Pane* found = (*m_children)[i]->FindById(id))
            return found;
    }
    return nullptr;
}

void Pane::AddMouseListener(MouseListener* l) { m_mouseListener = MouseEventMulticaster::Add(m_mouseListener, l); }

void Pane::RemoveMouseListener(MouseListener* l) {
    if (!l || !m_mouseListener)
        return;
    if (m_mouseListener == l)
        m_mouseListener = nullptr;
    else if (auto* m = dynamic_cast<MouseEventMulticaster*>(m_mouseListener))
        m_mouseListener = m->Remove(l);
}

void Pane::InvalidateAll() { Invalidate(LocalBounds()); }

Rect Pane::PaintRect(const Pane* p) {
    const Point o = p->GetAbsoluteOrigin();
    return Rect{o.x, o.y, p->m_bounds.width, p->m_bounds.height};
}

} // namespace Corvell
