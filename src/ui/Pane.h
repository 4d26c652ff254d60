#pragma once
#include <cstdint>
#include <vector>

#include "shared/Graphics/Color.h"
#include "shared/Graphics/Geometry.h"
#include "ui/core/Delegate.h"
#include "ui/Events.h"
#include "ui/MouseListener.h"
#include "ui/core/MulticastDelegate.h"

namespace Corvell {

class GraphicsContext;
class MenuItemList;
class Pane;

// The platform's window handle, opaque to the core.
using NativeWindow = void*;

// Tells whether a pane still exists after a call that may delete it (a
// listener, a focus change, a modal loop). On the stack, or as a member of
// an object that watches a pane it does not own (it is not copied or moved).
class PaneGuard {
public:
    explicit PaneGuard(Pane* pane);
    ~PaneGuard();
    PaneGuard(const PaneGuard&) = delete;
    PaneGuard& operator=(const PaneGuard&) = delete;

    bool IsAlive() const { return m_pane != nullptr; }
    Pane* Get() const { return m_pane; }

private:
    friend class Pane;
    Pane* m_pane;
    PaneGuard* m_next = nullptr;
};

// A rectangle in its parent's coordinates with children drawn on top of it.
// A parent does not own its children: whoever creates a pane deletes it;
// closing or destroying a parent only detaches the children.
//
// Services (invalidation, timers, deferred calls, focus, capture, menus,
// message boxes) are asked of the parent and reach the root; a detached
// pane gets the neutral answer.
//
// A class that overrides OnDestroy must also call
// `if (!IsClosed()) OnDestroy();` in its own destructor: the base
// destructor can only reach Pane::OnDestroy.
class Pane {
public:
    enum Flag : uint32_t {
        kVisible = 0x1,
        kEnabled = 0x2,
        kOpaque = 0x8,          // painted before its parent and cut out of the parent's clip
        kClosed = 0x100,        // OnDestroy has run
        kFillBackground = 0x200,
        kFillDisabled = 0x400,  // disabled (or inside a disabled ancestor): fill with the disabled colour
    };
    using PaintHook = Delegate2<Pane*, GraphicsContext&, void>;

    Pane();
    Pane(const Pane&) = delete;
    Pane& operator=(const Pane&) = delete;

    // ---- virtual operations, in slot order ----
    virtual ~Pane();
    virtual void Create(Pane* parent, const Rect& bounds);
    virtual void OnWindowCreated();
    virtual void OnDestroy();
    virtual void Close();
    virtual void GetLocalBounds(Rect& out) const;
    // p in local coordinates.
    virtual bool Contains(Point p) const;
    virtual Pane* HitTest(Point p);
    virtual Pane* ChildAt(Point p);
    virtual bool UnusedQuery();
    virtual bool IsFocused(Pane* p);
    virtual void SetVisible(bool visible);
    virtual void SetEnabled(bool enabled);
    virtual void AddChild(Pane* child);
    virtual void RemoveChild(Pane* child);
    virtual NativeWindow GetNativeWindow();
    virtual int32_t UnusedPointQuery(Point p);
    virtual void process(FocusEvent& e);
    virtual void process(KeyEvent& e);
    virtual void process(MouseEvent& e);
    virtual void process(WindowEvent& e);
    virtual void PaintAll(GraphicsContext& gc);
    virtual void Paint(GraphicsContext& gc);
    virtual void ProcessEvent(PaneEvent& e);
    virtual void OnKeyEvent(KeyEvent& e);
    virtual void OnFocusEvent(FocusEvent& e);
    virtual void OnMouseEvent(MouseEvent& e);
    virtual void ResetPointerState();
    virtual void OnLayoutChanged();
    virtual void AddTimer(Ref<Delegate> d, int32_t milliseconds);
    virtual void RemoveTimer(Delegate* d);
    virtual void PostDeferred(Ref<Delegate> d);
    virtual void RequestFocus(Pane* p);
    virtual void ForgetPane(Pane* removed, Pane* fallback);
    virtual void Invalidate(const Rect& r);
    virtual int32_t ShowPopupMenu(MenuItemList& items, const Rect& anchor);
    virtual void ReleaseCapture();
    virtual void PaintChildren(GraphicsContext& gc);
    virtual void PaintOpaqueChildren(GraphicsContext& gc);
    virtual void RemoveAllChildren();
    // kind 1: a Yes/No warning, 1 for Yes and 0 otherwise.
    virtual int32_t MessageBox(const char* caption, const char* text, int32_t kind);
    virtual bool UnusedChainQuery();
    virtual bool IsUiThread();

    // ---- geometry and tree ----
    const Rect& GetBounds() const { return m_bounds; }
    void SetBounds(const Rect& r);
    Rect LocalBounds() const;
    Pane* GetParent() const { return m_parent; }
    int32_t GetChildCount() const { return m_children ? int32_t(m_children->size()) : 0; }
    // Null for an index out of range.
    Pane* GetChild(int32_t index) const;
    // Whether p is this pane or one of its descendants.
    bool IsAncestorOf(const Pane* p) const;
    Point GetAbsoluteOrigin() const;

    // ---- state ----
    uint32_t GetFlags() const { return m_flags; }
    void SetFlags(uint32_t mask, bool on);
    bool IsVisible() const { return (m_flags & kVisible) != 0; }
    bool IsEnabled() const { return (m_flags & kEnabled) != 0; }
    bool IsClosed() const { return (m_flags & kClosed) != 0; }
    bool IsOpaque() const { return (m_flags & kOpaque) != 0; }
    // Enabled, and every ancestor enabled.
    bool IsEffectivelyEnabled() const;
    // Visible, and every ancestor visible.
    bool IsShowing() const;

    void SetBackground(Color c);
    void SetDisabledBackground(Color c);
    Color GetBackground() const { return m_background; }
    Color GetDisabledBackground() const { return m_disabledBackground; }
    void SetPaintHook(Ref<PaintHook> hook) { m_paintHook = std::move(hook); }

    int32_t GetId() const { return m_id; }
    void SetId(int32_t id) { m_id = id; }
    // This pane when its id matches, else the children from the last to
    // the first, depth first.
    Pane* FindById(int32_t id);

    void AddFocusListener(Ref<Delegate1<bool>> d) { m_focusListeners.Add(std::move(d)); }
    bool RemoveFocusListener(Delegate1<bool>* d) { return m_focusListeners.Remove(d); }

    // Not owned; a second listener makes a multicaster.
    void AddMouseListener(MouseListener* l);
    void RemoveMouseListener(MouseListener* l);
    MouseListener* GetMouseListener() const { return m_mouseListener; }

    void InvalidateAll();

protected:
    // Timers carry the pane that asked for them, so the root can drop them
    // when the pane leaves its tree (it can no longer stop them then).
    virtual void RegisterTimer(Pane* owner, Ref<Delegate> d, int32_t milliseconds);

    // The rectangle of a child in root coordinates (its bounds at its absolute origin).
    static Rect PaintRect(const Pane* p);

private:
    friend class PaneGuard;

    MulticastDelegate1<bool> m_focusListeners;
    uint32_t m_flags = kVisible | kEnabled;
    Pane* m_parent = nullptr;
    std::vector<Pane*>* m_children = nullptr;
    Rect m_bounds;
    Color m_background = 0;
    Color m_disabledBackground = 0;
    MouseListener* m_mouseListener = nullptr;
    Ref<PaintHook> m_paintHook;
    int32_t m_id = -1;
    PaneGuard* m_guards = nullptr;
};

} // namespace Corvell
