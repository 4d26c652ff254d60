#pragma once
#include <cstdint>

#include "shared/Graphics/Bitmap.h"
#include "ui/MenuItemList.h"
#include "ui/MouseListener.h"
#include "ui/Pane.h"
#include "ui/RowScroller.h"
#include "ui/TreeRowStore.h"
#include "ui/core/Delegate.h"
#include "ui/core/MulticastDelegate.h"
#include "ui/core/String.h"

namespace Corvell {

class TreeView;
class ScrollBar;

// What a tree view shows; implemented by its owner. Items are the owner's
// opaque pointers, told apart by equality; a null item stands for the top
// level where the calls say so.
class TreeViewDataSource {
public:
    virtual ~TreeViewDataSource() = default;
    virtual bool HasChildren(TreeView* view, void* item) = 0;
    // Null item: the top level.
    virtual int32_t GetChildCount(TreeView* view, void* item) = 0;
    virtual void* GetChild(TreeView* view, void* item, int32_t index) = 0;
    // The view asks for column 0 only.
    virtual String GetText(TreeView* view, void* item, int32_t column) = 0;
};

// The items of a data source as an indented list, 20 pixels a row, in a
// clipping viewport under a vertical scroll bar. Items expand and collapse
// (the rows of the children come and go) with a small animation of the
// expander arrow; rows are selected with the mouse and the arrow keys, ask
// the owner for a context menu, and can be renamed in place.
//
// The rows are records in a block store; panes exist only for the rows on
// screen (and one above and below) and are bound to other rows as the view
// scrolls. Expanding, collapsing, inserting and removing rows, and finding
// an item's row, cost the same for any number of rows.
//
// Every listener may refill the view or delete it.
class TreeView : public Pane, public MouseHandlerImp, private RowScroller::Host {
public:
    struct ItemChangingArgs {
        int32_t reserved = 0; // 0 in every use
        String text;
    };
    class ItemPane;
    class ContentPane : public RowContentPane {};

    using SelectionListener = Delegate1<void*>;
    using MenuRequestListener = Delegate2<void*, MenuItemListImpl&, void>;
    using MenuChoiceListener = Delegate2<void*, int, void>;
    using ItemChangingListener = Delegate2<void*, ItemChangingArgs, bool>;

    static constexpr int32_t kLeftKey = 0x25;
    static constexpr int32_t kUpKey = 0x26;
    static constexpr int32_t kRightKey = 0x27;
    static constexpr int32_t kDownKey = 0x28;

    TreeView();
    ~TreeView() override;

    // ---- Pane ----
    // Builds the scroll bar, the viewport and the content pane, then lays out.
    void Create(Pane* parent, const Rect& bounds) override;
    void Paint(GraphicsContext& gc) override;
    void OnKeyEvent(KeyEvent& e) override;
    // The wheel over the frame of the view.
    void OnMouseEvent(MouseEvent& e) override;

    // ---- MouseListener: the viewport and the rows ----
    void MousePressed(MouseEvent& e) override;
    void MouseReleased(MouseEvent& e) override;
    void MouseWheelMoved(MouseEvent& e) override;

    // ---- content ----
    // Not owned. Replaces every row by a row of depth 0 for each top-level
    // item; the selection stays.
    void SetDataSource(TreeViewDataSource* source);
    TreeViewDataSource* GetDataSource() const { return m_source; }
    void RemoveAllItems();
    // These lay the view out unless updating, and return the row's index
    // (-1 for RemoveItemAt out of range).
    int32_t AddItem(void* item, int32_t depth);
    // index is clamped to [0, rows].
    int32_t InsertItem(int32_t index, void* item, int32_t depth);
    // Removes the row and the rows of its descendants (the deeper rows
    // right after it).
    int32_t RemoveItemAt(int32_t index);
    void SetUpdating(bool updating) { m_updating = updating; }
    bool IsUpdating() const { return m_updating; }
    // Fits viewport, content and scroll range to the rows; unless quiet,
    // then SelectItem(the selection).
    void UpdateLayout(bool quiet);

    // Stores the selection (also an item without a row), closes the editor
    // of every other row, scrolls the item's row into view and tells the
    // selection listeners, also when nothing changed.
    void SelectItem(void* item);
    void* GetSelectedItem() const { return m_selection; }
    bool IsActivated() const { return m_activated; }

    int32_t IndexOfItem(void* item) const { return m_rows.IndexOf(item); }
    void* ItemAt(int32_t row) const;
    void EnsureItemVisible(void* item);

    bool IsExpanded(void* item) const;
    // Inserts the item's children after its row, one level deeper. Nothing
    // without a data source, for a null item, an item without children or
    // one expanded already; no children only sets the flag.
    void Expand(void* item);
    // Removes the rows after the item's row that are deeper than it
    // (whatever the data source says now) and clears its flag. A selection
    // whose row went becomes null, and the listeners hear it.
    void Collapse(void* item);

    // Opens the text editor over the item's text (its row scrolled into
    // view first); false for a null item or one without a row.
    bool EditItem(void* item);
    // Column 0 of the data source; empty without one.
    String GetItemText(void* item);
    // Tells the item-changing listeners; the column is not passed on.
    void SetItemText(void* item, int32_t column, const String& text);

    // ---- listeners; each may refill or delete the view ----
    void AddSelectionListener(Ref<SelectionListener> l) { m_selectionListeners->Add(std::move(l)); }
    bool RemoveSelectionListener(SelectionListener* l) { return m_selectionListeners->Remove(l); }
    // A right-click on a row (null below the last row) with an empty menu to fill.
    void AddMenuRequestListener(Ref<MenuRequestListener> l) { m_menuRequestListeners->Add(std::move(l)); }
    bool RemoveMenuRequestListener(MenuRequestListener* l) { return m_menuRequestListeners->Remove(l); }
    // The item and the chosen item's identifier, -1 when the menu was dismissed.
    void AddMenuChoiceListener(Ref<MenuChoiceListener> l) { m_menuChoiceListeners->Add(std::move(l)); }
    bool RemoveMenuChoiceListener(MenuChoiceListener* l) { return m_menuChoiceListeners->Remove(l); }
    void AddItemChangingListener(Ref<ItemChangingListener> l) { m_itemChangingListeners->Add(std::move(l)); }
    bool RemoveItemChangingListener(ItemChangingListener* l) { return m_itemChangingListeners->Remove(l); }

    // ---- rows ----
    int32_t GetRowCount() const { return m_rows.Count(); }
    // Depth of a row; -1 out of range.
    int32_t GetDepth(int32_t row) const;
    // The pane showing row, or null when the row is not on screen.
    ItemPane* GetRowPane(int32_t row) const;

    ScrollBar* GetScrollBar() const { return m_frame.GetScrollBar(); }
    ColorPane* GetViewport() const { return m_frame.GetViewport(); }
    ContentPane* GetContentPane() const;

private:
    friend class ItemPane;

    // ---- RowScroller::Host ----
    RowPane* NewRowPane() override;
    RowContentPane* NewContentPane() override { return new ContentPane; }
    int32_t RowCount() const override { return GetRowCount(); }

    void InsertRows(int32_t index, const TreeRow* rows, int32_t count);
    void RemoveRows(int32_t index, int32_t count);
    // The pane a mouse event's pane is, when it is one of the rows.
    ItemPane* PaneOf(const MouseEvent& e) const;
    void ShowRowMenu(void* item, Point p);
    // false when a listener deleted the view.
    bool NotifySelection();
    Bitmap* Arrows();

    Ref<MulticastDelegate1<void*>> m_selectionListeners;
    Ref<MulticastDelegate2<void*, MenuItemListImpl&, void>> m_menuRequestListeners;
    Ref<MulticastDelegate2<void*, int, void>> m_menuChoiceListeners;
    Ref<MulticastDelegate2<void*, ItemChangingArgs, bool>> m_itemChangingListeners;
    TreeRowStore m_rows;
    RowScroller m_frame;
    TreeViewDataSource* m_source = nullptr;
    void* m_selection = nullptr;
    bool m_activated = false;
    bool m_updating = false;
    Ref<Bitmap> m_arrows;
    bool m_arrowsLoaded = false;
};

// A row on screen: the expander arrow and the item's text, indented by
// its depth. The arrow's animation runs on a 50 ms timer that belongs to
// the pane: it stops when the pane is bound to another row, closed,
// deleted or found hidden, and the next paint of a row in mid-animation
// starts it again.
class TreeView::ItemPane : public RowPane {
public:
    static constexpr int32_t kFrameMs = 50;

    explicit ItemPane(TreeView& view);
    ~ItemPane() override;

    void Paint(GraphicsContext& gc) override;
    void OnDestroy() override;

    TreeView& GetView() const { return m_view; }
    void* GetItem() const;
    int32_t GetDepth() const;
    bool IsSelected() const;
    bool IsTimerRunning() const { return m_timerRunning; }

    // r = height - 2 and x0 = r depth + 2: the expander box is x0 to
    // x0 + r - 1 across, 1 to r down; the text (x0 + r, 1, width - 4 -
    // r (depth + 1), r), where the editor opens too.
    bool InExpanderBox(int32_t x, int32_t y) const;
    Rect TextRect() const;
    void BeginEdit();

    // ---- TextEditorHost ----
    void GetEditText(String& out) override;
    void CommitEdit(const String& text) override;

protected:
    void Rebind(int32_t row) override;

private:
    int32_t Indent() const;
    void StartTimer();
    void StopTimer();
    void OnTick();

    TreeView& m_view;
    Ref<Delegate> m_tick;
    bool m_timerRunning = false;
};

} // namespace Corvell
