#pragma once
#include <cstdint>
#include <vector>

#include "ui/MenuItemList.h"
#include "ui/MouseListener.h"
#include "ui/Pane.h"
#include "ui/RowScroller.h"
#include "ui/core/Delegate.h"
#include "ui/core/MulticastDelegate.h"
#include "ui/core/String.h"

namespace Corvell {

class ListView;
class ScrollBar;

// What a list view shows; implemented by its owner, who keeps it alive as
// long as the view uses it.
class ListViewDataSource {
public:
    virtual ~ListViewDataSource() = default;
    virtual int32_t GetCount(ListView* view) = 0;
    // The owner's object for a row; the view never asks for it.
    virtual void* GetItem(ListView* view, int32_t row) = 0;
    virtual String GetText(ListView* view, int32_t row, int32_t column) = 0;
};

// Rows of text in one or more columns, 20 pixels each, sliding in a
// clipping viewport under a vertical scroll bar. Rows are selected with
// the mouse and the up and down keys, ask the owner for a context menu,
// and their first column can be renamed in place.
//
// The view never fills itself. An owner fills it with SetUpdating(true),
// RemoveAllItems(), AddItem(i, columns) for every row of its data source,
// SetUpdating(false), UpdateLayout().
//
// The rows are records; panes exist only for the rows on screen (and one
// above and below) and are bound to other rows as the view scrolls, so
// painting, scrolling and laying out cost the same for any number of rows.
//
// Every listener may refill the view or delete it.
class ListView : public Pane, public MouseHandlerImp, private RowScroller::Host {
public:
    struct ItemChangingArgs {
        int32_t reserved = 0; // 0 in every use
        String text;
    };
    class ItemPane;
    class ContentPane : public RowContentPane {};

    using SelectionListener = Delegate1<int>;
    using MenuRequestListener = Delegate2<int, MenuItemListImpl&, void>;
    using MenuChoiceListener = Delegate2<int, int, void>;
    using ItemChangingListener = Delegate2<int, ItemChangingArgs, bool>;

    static constexpr int32_t kUpKey = 0x26;
    static constexpr int32_t kDownKey = 0x28;

    ListView();
    ~ListView() override;

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
    // Not owned; nothing else happens.
    void SetDataSource(ListViewDataSource* source) { m_source = source; }
    ListViewDataSource* GetDataSource() const { return m_source; }
    void RemoveAllItems();
    // Appends a row for that data-source row with that many text columns
    // and returns its index; lays the view out unless updating.
    int32_t AddItem(int32_t row, int32_t columns);
    void SetUpdating(bool updating) { m_updating = updating; }
    bool IsUpdating() const { return m_updating; }
    // Fits viewport, content and scroll range to the rows; a selected row
    // that still exists stays selected and is scrolled into view.
    void UpdateLayout();

    // Clamps index into [-1, rows - 1]; false when that is the selection
    // already. Scrolls the row into view; tells no listener.
    bool Select(int32_t index);
    int32_t GetSelection() const { return m_selection; }
    bool IsActivated() const { return m_activated; }

    // Opens the text editor over the first column of the row (scrolled
    // into view first); false for a row that does not exist or has no
    // columns.
    bool EditItem(int32_t row);
    // The data source's text; empty without one.
    String GetItemText(int32_t row, int32_t column);
    // Tells the item-changing listeners; the column is not passed on and
    // nothing is stored.
    void SetItemText(int32_t row, int32_t column, const String& text);

    // ---- listeners; each may refill or delete the view ----
    // The selected row: after a click that changed it, and on the release
    // of the up or down key.
    void AddSelectionListener(Ref<SelectionListener> l) { m_selectionListeners->Add(std::move(l)); }
    bool RemoveSelectionListener(SelectionListener* l) { return m_selectionListeners->Remove(l); }
    // A right-click on a row (-1 below the last row) with an empty menu to fill.
    void AddMenuRequestListener(Ref<MenuRequestListener> l) { m_menuRequestListeners->Add(std::move(l)); }
    bool RemoveMenuRequestListener(MenuRequestListener* l) { return m_menuRequestListeners->Remove(l); }
    // The row and the chosen item's identifier, -1 when the menu was dismissed.
    void AddMenuChoiceListener(Ref<MenuChoiceListener> l) { m_menuChoiceListeners->Add(std::move(l)); }
    bool RemoveMenuChoiceListener(MenuChoiceListener* l) { return m_menuChoiceListeners->Remove(l); }
    // The data-source row and the accepted text of an edit.
    void AddItemChangingListener(Ref<ItemChangingListener> l) { m_itemChangingListeners->Add(std::move(l)); }
    bool RemoveItemChangingListener(ItemChangingListener* l) { return m_itemChangingListeners->Remove(l); }

    // ---- rows ----
    int32_t GetRowCount() const { return int32_t(m_rows.size()); }
    // The data-source row a row shows, and its columns; -1 and 0 out of range.
    int32_t GetDataRow(int32_t row) const;
    int32_t GetColumnCount(int32_t row) const;
    // The pane showing row, or null when the row is not on screen.
    ItemPane* GetRowPane(int32_t row) const;

    ScrollBar* GetScrollBar() const { return m_frame.GetScrollBar(); }
    ColorPane* GetViewport() const { return m_frame.GetViewport(); }
    ContentPane* GetContentPane() const;

private:
    friend class ItemPane;
    struct Row {
        int32_t dataRow;
        int32_t columns;
    };

    // ---- RowScroller::Host ----
    RowPane* NewRowPane() override;
    RowContentPane* NewContentPane() override { return new ContentPane; }
    int32_t RowCount() const override { return GetRowCount(); }

    // The row a mouse event's pane stands for: its row, -1 for the
    // viewport, -2 for anything else.
    int32_t RowOf(const MouseEvent& e) const;
    // Asks for a menu for row and shows it at p (view coordinates).
    void ShowRowMenu(int32_t row, Point p);
    // false when a listener deleted the view.
    bool NotifySelection();

    Ref<MulticastDelegate1<int>> m_selectionListeners;
    Ref<MulticastDelegate2<int, MenuItemListImpl&, void>> m_menuRequestListeners;
    Ref<MulticastDelegate2<int, int, void>> m_menuChoiceListeners;
    Ref<MulticastDelegate2<int, ItemChangingArgs, bool>> m_itemChangingListeners;
    std::vector<Row> m_rows;
    RowScroller m_frame;
    ListViewDataSource* m_source = nullptr;
    int32_t m_selection = -1;
    bool m_activated = false;
    bool m_updating = false;
};

// A row on screen: its columns of text, and the editor over the first.
class ListView::ItemPane : public RowPane {
public:
    explicit ItemPane(ListView& view) : m_view(view) {}

    void Paint(GraphicsContext& gc) override;

    ListView& GetView() const { return m_view; }
    bool IsSelected() const { return m_row >= 0 && m_row == m_view.m_selection; }
    // Widths of the columns for n columns: the narrow width is
    // k = (width - 4) / 2 / n, the first column width - k (n - 1) - 4.
    int32_t NarrowWidth(int32_t columns) const;
    int32_t FirstWidth(int32_t columns) const;
    // Where the editor opens: (2, 1, first column width, height - 2).
    Rect EditRect() const;
    // Opens the editor; false when the row has no columns.
    bool BeginEdit();

    // ---- TextEditorHost ----
    void GetEditText(String& out) override;
    void CommitEdit(const String& text) override;

private:
    ListView& m_view;
};

} // namespace Corvell
