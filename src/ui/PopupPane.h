#pragma once
#include <cstdint>
#include <vector>

#include "shared/Graphics/Bitmap.h"
#include "ui/Pane.h"
#include "ui/core/Delegate.h"
#include "ui/core/MulticastDelegate.h"

namespace Corvell {

class BasicPopupPane;

using PopupClosedListener = Delegate1<BasicPopupPane*>;

// An overlay inside the window: a grey content pane with a drop shadow,
// above everything else of the root. A left press outside the content or
// Escape closes it; the close is deferred, so the event that caused it
// finishes first.
//
// Closing runs once, whoever asks (the user, the owner, a deferred call):
// the closed listeners hear it while the popup's panes still exist; then
// the sub-panes and the content go, the popup leaves the tree, and it
// deletes itself when told to. Deleting an open popup closes it the same
// way (without the self-delete), and a close still waiting in the queue
// is withdrawn and can no longer reach it.
class BasicPopupPane : public Pane {
public:
    static constexpr int32_t kShadow = 16; // the shadow's reach around the content
    static constexpr int32_t kEscape = 27;

    BasicPopupPane();
    ~BasicPopupPane() override;

    // ---- Pane ----
    // rect: the content, in parent's coordinates.
    void Create(Pane* parent, const Rect& rect) override;
    void Close() override;
    // The content's size.
    void GetLocalBounds(Rect& out) const override;
    // Children go into the content once it exists.
    void AddChild(Pane* child) override;
    void PaintAll(GraphicsContext& gc) override;
    void Paint(GraphicsContext& gc) override;
    void OnKeyEvent(KeyEvent& e) override;
    // The window lost the activation: the popup closes, as on Escape.
    void ProcessEvent(PaneEvent& e) override;
    void OnMouseEvent(MouseEvent& e) override;

    void AddClosedListener(Ref<PopupClosedListener> l);
    bool RemoveClosedListener(PopupClosedListener* l);
    void SetDeleteOnClose(bool on) { m_deleteOnClose = on; }
    bool GetDeleteOnClose() const { return m_deleteOnClose; }

    // Queues one Close on the window's thread; a second request while one
    // waits adds nothing.
    void PostClose();
    bool IsClosePending() const { return m_closePending; }
    bool IsOpen() const { return m_content != nullptr; }
    Pane* GetContent() const { return m_content; }
    // The content's rectangle in the popup's coordinates.
    Rect ContentRect() const;
    // The content with its shadow, in the popup's coordinates.
    Rect ShadowRect() const;

    // The content's colour: palette entry 9 at 90 %.
    static Color ContentColor();

protected:
    // The rectangle the popup takes in the root, given the root's size and
    // the content's rectangle in the root's coordinates.
    virtual Rect PopupBounds(const Rect& root, const Rect& content);

    // Owned: closed and deleted with the popup. id -1 keeps the pane's id.
    // A pane without a parent is put into the popup.
    void AddSubpane(Pane* pane, int32_t id);

private:
    class CloseCall;
    // The close steps without the self-delete; false when a listener
    // deleted the popup.
    bool CloseSteps();
    void RunPostedClose();
    void WithdrawPostedClose();

    Ref<MulticastDelegate1<BasicPopupPane*>> m_closedListeners;
    Pane* m_content = nullptr;
    bool m_deleteOnClose = false;
    std::vector<Pane*> m_subpanes;
    Ref<CloseCall> m_closeCall;
    bool m_closePending = false;
    bool m_closing = false;
    Ref<Bitmap> m_shadow;
    bool m_shadowLoaded = false;
};

// Covers the whole root: nothing below it takes a click while it is open.
class PopupPane : public BasicPopupPane {};

// Covers only its content and the shadow around it (and any area added
// before Create), so clicks elsewhere reach the panes below. Despite the
// name it does not block the rest of the window.
class ModalPopupPane : public BasicPopupPane {
public:
    bool Contains(Point p) const override;
    // Widens the covered area (root coordinates); takes effect at Create.
    void AddCoveredArea(const Rect& r);
    const Rect& GetCoveredArea() const { return m_area; }

protected:
    Rect PopupBounds(const Rect& root, const Rect& content) override;

private:
    Rect m_area;
};

// A popup that owns the panes registered with AddSubpane: they are closed
// and deleted with it.
template <class P>
class PaneControllingSubpanes : public P {
public:
    using BasicPopupPane::AddSubpane;
};

} // namespace Corvell
