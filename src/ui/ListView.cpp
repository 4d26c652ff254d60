#include "ui/ListView.h"

#include <algorithm>

#include "shared/Graphics/GraphicsContext.h"
#include "shared/Graphics/Palette.h"
#include "ui/ScrollBar.h"

namespace Corvell {

ListView::ListView()
    : m_selectionListeners(new MulticastDelegate1<int>),
      m_menuRequestListeners(new MulticastDelegate2<int, MenuItemListImpl&, void>),
      m_menuChoiceListeners(new MulticastDelegate2<int, int, void>),
      m_itemChangingListeners(new MulticastDelegate2<int, ItemChangingArgs, bool>), m_frame(*this, *this, *this) {}

ListView::~ListView() {
    // The rows first: they refer to the view while they go.
    m_frame.Destroy();
}

void ListView::Create(Pane* parent, const Rect& bounds) {
    Pane::Create(parent, bounds);
    m_frame.Create();
    UpdateLayout();
}

ListView::ContentPane* ListView::GetContentPane() const {
    return static_cast<ContentPane*>(m_frame.GetContentPane());
}

RowPane* ListView::NewRowPane() { return new ItemPane(*this); }

// ---- content ---------------------------------------------------------------------------

void ListView::RemoveAllItems() {
    m_rows.clear();
    m_frame.RemoveAll();
}

int32_t ListView::AddItem(int32_t row, int32_t columns) {
    m_rows.push_back(Row{row, std::max(columns, 0)});
    const int32_t index = GetRowCount() - 1;
    if (!m_updating)
        UpdateLayout();
    return index;
}

int32_t ListView::GetDataRow(int32_t row) const {
    return row >= 0 && row < GetRowCount() ? m_rows[size_t(row)].dataRow : -1;
}

int32_t ListView::GetColumnCount(int32_t row) const {
    return row >= 0 && row < GetRowCount() ? m_rows[size_t(row)].columns : 0;
}

ListView::ItemPane* ListView::GetRowPane(int32_t row) const { return static_cast<ItemPane*>(m_frame.Find(row)); }

void ListView::UpdateLayout() {
    m_frame.Layout();
    // The selection stays while its row exists, marked again and scrolled into view.
    const int32_t old = m_selection;
    m_selection = -1;
    if (old >= 0 && old < GetRowCount())
        Select(old);
}

bool ListView::Select(int32_t index) {
    const int32_t count = GetRowCount();
    if (index < 0)
        index = -1;
    else if (index >= count)
        index = count - 1;
    if (index == m_selection)
        return false;
    if (ItemPane* old = GetRowPane(m_selection)) {
        old->CloseEditor();
        old->InvalidateAll();
    }
    m_selection = index;
    if (index >= 0) {
        if (ItemPane* p = GetRowPane(index))
            p->InvalidateAll();
        m_frame.EnsureVisible(index);
    }
    return true;
}

bool ListView::EditItem(int32_t row) {
    if (row < 0 || row >= GetRowCount() || m_rows[size_t(row)].columns <= 0)
        return false;
    m_frame.EnsureVisible(row);
    ItemPane* p = GetRowPane(row);
    return p && p->BeginEdit();
}

String ListView::GetItemText(int32_t row, int32_t column) {
    return m_source ? m_source->GetText(this, row, column) : String();
}

void ListView::SetItemText(int32_t row, int32_t /*column*/, const String& text) {
    if (m_itemChangingListeners->IsEmpty())
        return;
    Ref<MulticastDelegate2<int, ItemChangingArgs, bool>> list = m_itemChangingListeners;
    ItemChangingArgs args;
    args.text = text;
    list->Invoke(row, args);
}

bool ListView::NotifySelection() {
    if (m_selectionListeners->IsEmpty())
        return true;
    PaneGuard self(this);
    Ref<MulticastDelegate1<int>> list = m_selectionListeners;
    list->Invoke(m_selection);
    return self.IsAlive();
}

// ---- painting ---------------------------------------------------------------------------

void ListView::Paint(GraphicsContext& gc) {
    Pane::Paint(gc);
    const Rect& b = GetBounds();
    const int32_t w = m_frame.IsBarShown() ? b.width - (RowScroller::kBarWidth - 1) : b.width;
    gc.DrawRect(Rect{0, 0, w, b.height}, GetColor(20));
    gc.DrawRect(Rect{1, 1, w - 2, b.height - 2}, GetColor(23));
}

// ---- mouse and keys ------------------------------------------------------------------------

int32_t ListView::RowOf(const MouseEvent& e) const {
    if (e.target && e.target == GetViewport())
        return -1;
    for (RowPane* p : m_frame.Panes()) {
        if (p == e.target)
            return p->GetRow();
    }
    return -2;
}

void ListView::MousePressed(MouseEvent& e) {
    const int32_t row = RowOf(e);
    if (row < 0)
        return;
    PaneGuard self(this);
    // A press on the selected row does nothing at all.
    if (!Select(row))
        return;
    if (!m_activated) {
        m_activated = true;
        InvalidateAll();
    }
    RequestFocus(this);
    if (self.IsAlive())
        NotifySelection();
}

void ListView::MouseReleased(MouseEvent& e) {
    if (e.button != kButtonRight)
        return;
    const int32_t row = RowOf(e);
    if (row < -1)
        return;
    // The pointer in the view's coordinates: the pane under it may go
    // while the owner fills the menu.
    const Point at = e.target->GetAbsoluteOrigin();
    const Point self = GetAbsoluteOrigin();
    ShowRowMenu(row, Point{at.x + e.x - self.x, at.y + e.y - self.y});
}

void ListView::ShowRowMenu(int32_t row, Point p) {
    Corvell::ShowRowMenu(*this, row, p, m_menuRequestListeners, m_menuChoiceListeners);
}

void ListView::MouseWheelMoved(MouseEvent& e) { m_frame.Wheel(e.wheel); }

void ListView::OnMouseEvent(MouseEvent& e) {
    // Scrolling calls nobody back: the view is still there afterwards.
    if (e.type == kMouseWheel)
        m_frame.Wheel(e.wheel);
    Pane::OnMouseEvent(e);
}

void ListView::OnKeyEvent(KeyEvent& e) {
    if (e.key != kUpKey && e.key != kDownKey) {
        Pane::OnKeyEvent(e);
        return;
    }
    if (e.type == kKeyDown || e.type == kKeyRepeat) {
        if (e.key == kUpKey) {
            if (m_selection > 0)
                Select(m_selection - 1);
        } else if (m_selection + 1 < GetRowCount()) {
            Select(m_selection + 1);
        }
    } else if (e.type == kKeyUp) {
        NotifySelection();
    }
}

// ---- ItemPane ------------------------------------------------------------------------------

int32_t ListView::ItemPane::NarrowWidth(int32_t columns) const {
    return columns > 0 ? (GetBounds().width - 4) / 2 / columns : 0;
}

int32_t ListView::ItemPane::FirstWidth(int32_t columns) const {
    if (columns <= 0)
        return 0;
    return int32_t(GetBounds().width - int64_t(NarrowWidth(columns)) * (columns - 1) - 4);
}

Rect ListView::ItemPane::EditRect() const {
    return Rect{2, 1, FirstWidth(m_view.GetColumnCount(m_row)), GetBounds().height - 2};
}

void ListView::ItemPane::Paint(GraphicsContext& gc) {
    Pane::Paint(gc);
    if (m_row < 0 || m_row >= m_view.GetRowCount())
        return;
    const Row row = m_view.m_rows[size_t(m_row)];
    MakeRowFont(gc);
    const Rect& b = GetBounds();
    const Color text = PaintBackground(gc, LocalBounds(), IsSelected(), m_view.m_activated);
    // A row without columns has no text to show (and no width to split).
    if (row.columns <= 0)
        return;
    const Color saved = gc.GetTextColor();
    gc.SetTextColor(text);
    const int32_t narrow = NarrowWidth(row.columns);
    int32_t x = 2;
    for (int32_t column = 0; column < row.columns; ++column) {
        const int32_t w = column == 0 ? FirstWidth(row.columns) : narrow;
        // Columns of no width show nothing; with very many columns all
        // but the first have none.
        if (w <= 0)
            break;
        const String s = m_view.GetItemText(row.dataRow, column);
        DrawCell(gc, s.c_str(), Rect{x, 1, w, b.height - 2});
        x += w;
    }
    gc.SetTextColor(saved);
}

bool ListView::ItemPane::BeginEdit() {
    if (m_view.GetColumnCount(m_row) <= 0)
        return false;
    OpenEditor(this, EditRect());
    return true;
}

void ListView::ItemPane::GetEditText(String& out) { out = m_view.GetItemText(m_view.GetDataRow(m_row), 0); }

void ListView::ItemPane::CommitEdit(const String& text) {
    if (m_view.GetColumnCount(m_row) <= 0)
        return;
    InvalidateAll();
    // The editor stays known while the owner hears the text: if the owner
    // selects another row, refills or deletes the view, the row deletes
    // the editor, which then reports nothing more. Nothing of the row is
    // touched after the call.
    m_view.SetItemText(m_view.GetDataRow(m_row), 0, text);
}

} // namespace Corvell
