#include "ui/TreeView.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "shared/Graphics/GraphicsContext.h"
#include "shared/Graphics/Palette.h"
#include "ui/ScrollBar.h"

namespace Corvell {

namespace {
int32_t Saturate(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}
} // namespace

TreeView::TreeView()
    : m_selectionListeners(new MulticastDelegate1<void*>),
      m_menuRequestListeners(new MulticastDelegate2<void*, MenuItemListImpl&, void>),
      m_menuChoiceListeners(new MulticastDelegate2<void*, int, void>),
      m_itemChangingListeners(new MulticastDelegate2<void*, ItemChangingArgs, bool>), m_frame(*this, *this, *this) {}

TreeView::~TreeView() {
    // The rows first: they refer to the view while they go.
    m_frame.Destroy();
}

void TreeView::Create(Pane* parent, const Rect& bounds) {
    Pane::Create(parent, bounds);
    m_frame.Create();
    UpdateLayout(false);
}

TreeView::ContentPane* TreeView::GetContentPane() const {
    return static_cast<ContentPane*>(m_frame.GetContentPane());
}

RowPane* TreeView::NewRowPane() { return new ItemPane(*this); }

TreeView::ItemPane* TreeView::GetRowPane(int32_t row) const { return static_cast<ItemPane*>(m_frame.Find(row)); }

Bitmap* TreeView::Arrows() {
    if (!m_arrowsLoaded) {
        m_arrowsLoaded = true;
        m_arrows = GetImage("dark-arrows");
    }
    return m_arrows.Get();
}

// ---- rows --------------------------------------------------------------------------------

void TreeView::InsertRows(int32_t index, const TreeRow* rows, int32_t count) {
    index = m_rows.Insert(index, rows, count);
    m_frame.Inserted(index, count);
}

void TreeView::RemoveRows(int32_t index, int32_t count) {
    const int32_t removed = m_rows.Remove(index, count);
    if (removed > 0)
        m_frame.Removed(index, removed);
}

void TreeView::RemoveAllItems() {
    m_rows.Clear();
    m_frame.RemoveAll();
}

void TreeView::SetDataSource(TreeViewDataSource* source) {
    m_updating = true;
    m_source = source;
    RemoveAllItems();
    if (m_source) {
        const int32_t n = m_source->GetChildCount(this, nullptr);
        std::vector<TreeRow> rows;
        rows.reserve(size_t(std::max(n, 0)));
        for (int32_t i = 0; i < n; ++i)
            rows.push_back(TreeRow{m_source->GetChild(this, nullptr, i), 0, false, 0});
        InsertRows(0, rows.data(), int32_t(rows.size()));
    }
    m_updating = false;
    UpdateLayout(true);
}

int32_t TreeView::AddItem(void* item, int32_t depth) { return InsertItem(GetRowCount(), item, depth); }

int32_t TreeView::InsertItem(int32_t index, void* item, int32_t depth) {
    const TreeRow row{item, std::max(depth, 0), false, 0};
    index = std::clamp(index, 0, GetRowCount());
    InsertRows(index, &row, 1);
    if (!m_updating)
        UpdateLayout(false);
    return index;
}

int32_t TreeView::RemoveItemAt(int32_t index) {
    if (index < 0 || index >= GetRowCount())
        return -1;
    // Its descendants go with it: rows left behind would show items the
    // owner has discarded.
    RemoveRows(index, 1 + m_rows.DescendantCount(index));
    if (!m_updating)
        UpdateLayout(false);
    return index;
}

void* TreeView::ItemAt(int32_t row) const {
    return row >= 0 && row < GetRowCount() ? m_rows.At(row).item : nullptr;
}

int32_t TreeView::GetDepth(int32_t row) const { return row >= 0 && row < GetRowCount() ? m_rows.At(row).depth : -1; }

void TreeView::UpdateLayout(bool quiet) {
    m_frame.Layout();
    if (!quiet)
        SelectItem(m_selection);
}

// ---- selection -------------------------------------------------------------------------------

bool TreeView::NotifySelection() {
    if (m_selectionListeners->IsEmpty())
        return true;
    PaneGuard self(this);
    Ref<MulticastDelegate1<void*>> list = m_selectionListeners;
    list->Invoke(m_selection);
    return self.IsAlive();
}

void TreeView::SelectItem(void* item) {
    for (RowPane* p : m_frame.Panes()) {
        if (!item || static_cast<ItemPane*>(p)->GetItem() != item)
            p->CloseEditor();
        p->InvalidateAll();
    }
    m_selection = item;
    if (item)
        EnsureItemVisible(item);
    NotifySelection();
}

void TreeView::EnsureItemVisible(void* item) {
    const int32_t row = IndexOfItem(item);
    if (row >= 0)
        m_frame.EnsureVisible(row);
}

// ---- expanding and collapsing ------------------------------------------------------------

bool TreeView::IsExpanded(void* item) const {
    const int32_t row = IndexOfItem(item);
    return row >= 0 && m_rows.At(row).expanded;
}

void TreeView::Expand(void* item) {
    // The top level is always shown: a null item (the keys without a
    // selection) never inserts it a second time.
    if (!m_source || !item || !m_source->HasChildren(this, item))
        return;
    const int32_t row = IndexOfItem(item);
    if (row >= 0) {
        if (m_rows.At(row).expanded)
            return;
        m_rows.At(row).expanded = true;
        if (ItemPane* p = GetRowPane(row))
            p->InvalidateAll();
    }
    const int32_t k = m_source->GetChildCount(this, item);
    if (k <= 0)
        return;
    m_updating = true;
    const int32_t depth = row >= 0 ? m_rows.At(row).depth + 1 : 0;
    std::vector<TreeRow> children;
    children.reserve(size_t(k));
    for (int32_t i = 0; i < k; ++i)
        children.push_back(TreeRow{m_source->GetChild(this, item, i), depth, false, 0});
    InsertRows(row + 1, children.data(), k);
    m_updating = false;
    UpdateLayout(true);
    // The children come after the item: its row stays where it was.
    if (row >= 0)
        m_frame.EnsureVisible(row);
}

void TreeView::Collapse(void* item) {
    if (!m_source || !item)
        return;
    const int32_t row = IndexOfItem(item);
    if (row < 0 || !m_rows.At(row).expanded)
        return;
    m_updating = true;
    // The rows that were inserted under it, counted by depth: the data
    // source may have changed since.
    RemoveRows(row + 1, m_rows.DescendantCount(row));
    m_rows.At(row).expanded = false;
    if (ItemPane* p = GetRowPane(row))
        p->InvalidateAll();
    m_updating = false;
    UpdateLayout(true);
    m_frame.EnsureVisible(row);
    if (m_selection && IndexOfItem(m_selection) < 0) {
        m_selection = nullptr;
        NotifySelection();
    }
}

// ---- editing -------------------------------------------------------------------------------

bool TreeView::EditItem(void* item) {
    const int32_t row = item ? IndexOfItem(item) : -1;
    if (row < 0)
        return false;
    m_frame.EnsureVisible(row);
    ItemPane* p = GetRowPane(row);
    if (!p)
        return false;
    p->BeginEdit();
    return true;
}

String TreeView::GetItemText(void* item) { return m_source ? m_source->GetText(this, item, 0) : String(); }

void TreeView::SetItemText(void* item, int32_t /*column*/, const String& text) {
    if (m_itemChangingListeners->IsEmpty())
        return;
    Ref<MulticastDelegate2<void*, ItemChangingArgs, bool>> list = m_itemChangingListeners;
    ItemChangingArgs args;
    args.text = text;
    list->Invoke(item, args);
}

// ---- painting ---------------------------------------------------------------------------

void TreeView::Paint(GraphicsContext& gc) {
    Pane::Paint(gc);
    const Rect& b = GetBounds();
    const int32_t w = m_frame.IsBarShown() ? b.width - (RowScroller::kBarWidth - 1) : b.width;
    gc.DrawRect(Rect{0, 0, w, b.height}, GetColor(20));
    gc.DrawRect(Rect{1, 1, w - 2, b.height - 2}, GetColor(23));
}

// ---- mouse and keys ------------------------------------------------------------------------

TreeView::ItemPane* TreeView::PaneOf(const MouseEvent& e) const {
    for (RowPane* p : m_frame.Panes()) {
        if (p == e.target)
            return static_cast<ItemPane*>(p);
    }
    return nullptr;
}

void TreeView::MousePressed(MouseEvent& e) {
    ItemPane* pane = PaneOf(e);
    if (!pane || pane->GetRow() < 0 || pane->GetRow() >= GetRowCount())
        return;
    void* item = pane->GetItem();
    if (e.button == kButtonLeft) {
        const bool inBox = m_source && m_source->HasChildren(this, item) && pane->InExpanderBox(e.x, e.y);
        const bool doubleClick = e.clickCount >= 2 && e.clickCount % 2 == 0;
        if (inBox || doubleClick) {
            if (IsExpanded(item))
                Collapse(item);
            else
                Expand(item);
            return;
        }
    }
    PaneGuard self(this);
    if (item != m_selection) {
        SelectItem(item);
        if (!self.IsAlive())
            return;
    }
    if (!m_activated) {
        m_activated = true;
        InvalidateAll();
    }
    RequestFocus(this);
}

void TreeView::MouseReleased(MouseEvent& e) {
    if (e.button != kButtonRight)
        return;
    void* item = nullptr;
    if (ItemPane* pane = PaneOf(e))
        item = pane->GetItem();
    else if (!e.target || e.target != GetViewport())
        return;
    const Point at = e.target->GetAbsoluteOrigin();
    const Point self = GetAbsoluteOrigin();
    ShowRowMenu(item, Point{at.x + e.x - self.x, at.y + e.y - self.y});
}

void TreeView::ShowRowMenu(void* item, Point p) {
    Corvell::ShowRowMenu(*this, item, p, m_menuRequestListeners, m_menuChoiceListeners);
}

void TreeView::MouseWheelMoved(MouseEvent& e) { m_frame.Wheel(e.wheel); }

void TreeView::OnMouseEvent(MouseEvent& e) {
    // Scrolling calls nobody back: the view is still there afterwards.
    if (e.type == kMouseWheel)
        m_frame.Wheel(e.wheel);
    Pane::OnMouseEvent(e);
}

void TreeView::OnKeyEvent(KeyEvent& e) {
    if (e.key != kLeftKey && e.key != kUpKey && e.key != kRightKey && e.key != kDownKey) {
        Pane::OnKeyEvent(e);
        return;
    }
    if (e.type == kKeyUp) {
        NotifySelection();
        return;
    }
    if (e.type != kKeyDown && e.type != kKeyRepeat)
        return;
    if (e.key == kLeftKey) {
        Collapse(m_selection);
    } else if (e.key == kRightKey) {
        Expand(m_selection);
    } else {
        const int32_t at = m_selection ? IndexOfItem(m_selection) : -1;
        int32_t to = -1;
        if (e.key == kUpKey)
            to = at > 0 ? at - 1 : -1;
        else
            to = at + 1 < GetRowCount() ? at + 1 : -1;
        if (to >= 0 && ItemAt(to) != m_selection)
            SelectItem(ItemAt(to));
    }
}

// ---- ItemPane ------------------------------------------------------------------------------

TreeView::ItemPane::ItemPane(TreeView& view) : m_view(view), m_tick(MakeDelegate(this, &ItemPane::OnTick)) {}

TreeView::ItemPane::~ItemPane() {
    if (!IsClosed())
        OnDestroy();
    // Stopped here too: OnDestroy may have run long before, and the timer
    // holds a delegate bound to this pane.
    StopTimer();
}

void TreeView::ItemPane::OnDestroy() {
    StopTimer();
    RowPane::OnDestroy();
}

void TreeView::ItemPane::Rebind(int32_t row) {
    // The animation belonged to the old row; the new row's paint starts its own.
    StopTimer();
    RowPane::Rebind(row);
}

void TreeView::ItemPane::StartTimer() {
    if (m_timerRunning)
        return;
    m_timerRunning = true;
    AddTimer(m_tick, kFrameMs);
}

void TreeView::ItemPane::StopTimer() {
    if (!m_timerRunning)
        return;
    m_timerRunning = false;
    RemoveTimer(m_tick.Get());
}

void TreeView::ItemPane::OnTick() {
    // Hidden, the row is not painted and the animation would never end.
    if (!IsShowing()) {
        StopTimer();
        return;
    }
    InvalidateAll();
}

void* TreeView::ItemPane::GetItem() const { return m_view.ItemAt(m_row); }

int32_t TreeView::ItemPane::GetDepth() const { return std::max(m_view.GetDepth(m_row), 0); }

bool TreeView::ItemPane::IsSelected() const {
    void* item = GetItem();
    return item && item == m_view.m_selection;
}

int32_t TreeView::ItemPane::Indent() const {
    return Saturate(int64_t(GetBounds().height - 2) * GetDepth() + 2);
}

bool TreeView::ItemPane::InExpanderBox(int32_t x, int32_t y) const {
    const int32_t r = GetBounds().height - 2;
    const int64_t x0 = Indent();
    return x >= x0 && x <= x0 + r - 1 && y >= 1 && y <= r;
}

Rect TreeView::ItemPane::TextRect() const {
    const int64_t r = GetBounds().height - 2;
    return Rect{Saturate(Indent() + r), 1, Saturate(GetBounds().width - 4 - r * (int64_t(GetDepth()) + 1)),
                int32_t(r)};
}

void TreeView::ItemPane::Paint(GraphicsContext& gc) {
    Pane::Paint(gc);
    if (m_row < 0 || m_row >= m_view.GetRowCount())
        return;
    void* item = GetItem();
    MakeRowFont(gc);
    const Rect& b = GetBounds();
    const int32_t r = b.height - 2;
    const int32_t x0 = Indent();
    const bool selected = IsSelected();
    const Color text = PaintBackground(gc, LocalBounds(), selected, m_view.m_activated);

    TreeViewDataSource* source = m_view.m_source;
    if (source && source->HasChildren(&m_view, item) && m_row < m_view.GetRowCount()) {
        // Each paint shows the next frame; the timer only asks for the paint.
        TreeRow& row = m_view.m_rows.At(m_row);
        if (row.expanded && row.frame < 3) {
            ++row.frame;
            if (row.frame == 3)
                StopTimer();
            else
                StartTimer();
        } else if (!row.expanded && row.frame > 0) {
            --row.frame;
            if (row.frame == 0)
                StopTimer();
            else
                StartTimer();
        }
        Bitmap* arrows = m_view.Arrows();
        if (arrows && arrows->Width() >= 4 && arrows->Height() >= 4) {
            const int32_t cw = arrows->Width() / 4;
            const int32_t ch = arrows->Height() / 4;
            const int32_t column = selected && m_view.m_activated ? 2 : 0;
            gc.DrawImage(Point{x0 + (r - cw) / 2, 1 + (r - ch) / 2}, arrows,
                         Rect{column * cw, row.frame * ch, cw, ch});
        }
    }

    const Color saved = gc.GetTextColor();
    gc.SetTextColor(text);
    const String s = m_view.GetItemText(item);
    DrawCell(gc, s.c_str(), TextRect());
    gc.SetTextColor(saved);
}

void TreeView::ItemPane::BeginEdit() { OpenEditor(this, TextRect()); }

void TreeView::ItemPane::GetEditText(String& out) { out = m_view.GetItemText(GetItem()); }

void TreeView::ItemPane::CommitEdit(const String& text) {
    void* item = GetItem();
    InvalidateAll();
    // The editor stays known while the owner hears the text: if the owner
    // selects another item, refills or deletes the view, the row deletes
    // the editor, which then reports nothing more. Nothing of the row is
    // touched after the call.
    m_view.SetItemText(item, 0, text);
}

} // namespace Corvell
