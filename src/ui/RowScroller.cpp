#include "ui/RowScroller.h"

#include <algorithm>
#include <limits>

#include "shared/Graphics/Bitmap.h"
#include "shared/Graphics/GraphicsContext.h"
#include "shared/Graphics/Palette.h"
#include "ui/ScrollBar.h"

namespace Corvell {

namespace {
int32_t ClampToInt(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}
// The tallest content the 32-bit geometry holds, in whole rows.
constexpr int64_t kMaxContent =
    std::numeric_limits<int32_t>::max() / RowPane::kHeight * RowPane::kHeight - RowPane::kHeight;
} // namespace

// ---- RowPane ---------------------------------------------------------------------

void RowPane::EditFinished() {
    ForgetEditor();
    InvalidateAll();
}

void RowPane::EditCancelled() {
    ForgetEditor();
    InvalidateAll();
}

void RowPane::Rebind(int32_t row) {
    CloseEditor();
    m_row = row;
}

Font* RowPane::MakeRowFont(GraphicsContext& gc) {
    if (!m_font) {
        if (Font* current = gc.GetFont()) {
            FontDesc desc = current->Desc();
            desc.weight = 700;
            m_font = new Font(desc);
        }
    }
    return m_font.Get();
}

Color RowPane::PaintBackground(GraphicsContext& gc, const Rect& bounds, bool selected, bool activated) {
    if (!selected)
        return GetColor(22);
    gc.FillRect(bounds, GetColor(27));
    return GetColor(activated ? 25 : 22);
}

void RowPane::DrawCell(GraphicsContext& gc, const char* text, const Rect& r) {
    if (m_font)
        gc.DrawText(text, r, kTextVCenter, *m_font);
    else
        gc.DrawText(text, r, kTextVCenter);
}

// ---- RowContentPane ----------------------------------------------------------------

void RowContentPane::Invalidate(const Rect& r) {
    Pane* viewport = GetParent();
    if (!viewport || m_quiet > 0)
        return;
    const Rect& vb = viewport->GetBounds();
    const Rect shown{0, -GetBounds().y, vb.width, vb.height};
    const Rect part = Intersect(r, shown);
    if (!part.IsEmpty())
        Pane::Invalidate(part);
}

// ---- RowScroller ---------------------------------------------------------------------

RowScroller::RowScroller(Pane& view, MouseListener& listener, Host& host)
    : m_view(view), m_listener(listener), m_host(host) {}

void RowScroller::Destroy() {
    std::vector<RowPane*> gone;
    gone.swap(m_panes);
    gone.insert(gone.end(), m_spares.begin(), m_spares.end());
    m_spares.clear();
    for (RowPane* p : gone)
        delete p;
    delete m_content;
    m_content = nullptr;
    delete m_viewport;
    m_viewport = nullptr;
    delete m_bar;
    m_bar = nullptr;
}

void RowScroller::Create() {
    if (m_bar)
        return;
    const Rect& b = m_view.GetBounds();
    m_bar = new ScrollBar;
    Color colors[ScrollBar::kColorCount];
    std::copy(ScrollBarColors(), ScrollBarColors() + ScrollBar::kColorCount, colors);
    m_bar->SetColors(colors);
    m_bar->SetTrackImage(GetImage("ucm-scroll-bg"));
    m_bar->SetRange(0, 0, b.height, kRowHeight);
    m_bar->SetPosition(0);
    m_bar->Create(&m_view, Rect{b.width - kBarWidth, 0, kBarWidth, b.height});
    m_bar->AddPositionListener(MakeDelegate(this, &RowScroller::OnScroll));

    m_viewport = new ColorPane(GetColor(3));
    m_viewport->SetFlags(Pane::kOpaque, true);
    m_viewport->Create(&m_view, Rect{kInset, kInset, b.width - 2 * kInset, b.height - 2 * kInset});
    m_viewport->AddMouseListener(&m_listener);

    m_content = m_host.NewContentPane();
    m_content->Create(m_viewport, Rect{0, 0, b.width - 2 * kInset, 0});
}

bool RowScroller::IsBarShown() const { return m_bar && m_bar->IsVisible(); }

int32_t RowScroller::ContentWidth() const { return m_viewport ? m_viewport->GetBounds().width : 0; }

void RowScroller::Layout() {
    if (!m_bar)
        return;
    const Rect& b = m_view.GetBounds();
    const int32_t height =
        int32_t(std::min<int64_t>(int64_t(kRowHeight) * std::max(m_host.RowCount(), 0), kMaxContent));
    const int32_t page = b.height - 2 * kInset;
    const bool barShown = page < height;
    const int32_t width = barShown ? b.width - 2 * kInset - (kBarWidth - 1) : b.width - 2 * kInset;

    const Rect barRect{b.width - kBarWidth, 0, kBarWidth, b.height};
    if (m_bar->GetBounds() != barRect)
        m_bar->SetBounds(barRect);
    const Rect viewRect{kInset, kInset, width, page};
    if (m_viewport->GetBounds() != viewRect)
        m_viewport->SetBounds(viewRect);
    const Rect& cb = m_content->GetBounds();
    if (cb.width != width || cb.height != height)
        m_content->SetBounds(Rect{0, cb.y, width, height});

    m_bar->SetRange(m_bar->GetMinimum(), height, std::max(page, 1), m_bar->GetStep());
    MoveContent();
    m_bar->SetVisible(barShown);
    Bind();
    m_view.InvalidateAll();
}

void RowScroller::MoveContent() {
    if (!m_content)
        return;
    const Rect& cb = m_content->GetBounds();
    const int32_t y = -m_bar->GetPosition();
    if (cb.y != y)
        m_content->SetBounds(Rect{0, y, cb.width, cb.height});
}

void RowScroller::OnScroll(ScrollBar*) {
    MoveContent();
    Bind();
}

void RowScroller::Wheel(int32_t notches) {
    if (!IsBarShown())
        return;
    m_bar->SetPosition(ClampToInt(int64_t(m_bar->GetPosition()) + int64_t(kRowHeight) * notches));
    MoveContent();
    Bind();
}

void RowScroller::EnsureVisible(int32_t row) {
    if (m_bar && row >= 0)
        m_bar->EnsureVisible(ClampToInt(std::min<int64_t>(int64_t(kRowHeight) * row, kMaxContent)));
}

RowPane* RowScroller::Find(int32_t row) const {
    for (RowPane* p : m_panes) {
        if (p->GetRow() == row)
            return p;
    }
    return nullptr;
}

bool RowScroller::Place(RowPane* p) {
    const Rect r{0, ClampToInt(int64_t(kRowHeight) * p->GetRow()), ContentWidth(), kRowHeight};
    if (p->GetBounds() == r)
        return false;
    p->SetBounds(r);
    return true;
}

void RowScroller::Bind() {
    if (!m_content)
        return;
    // The rows that meet the viewport, and one either side.
    const int64_t count = m_host.RowCount();
    const int64_t position = m_bar->GetPosition();
    const int64_t shown = m_viewport->GetBounds().height;
    int64_t first = 0;
    int64_t last = -1;
    if (count > 0 && shown > 0) {
        first = std::max<int64_t>(0, position / kRowHeight - 1);
        last = std::min<int64_t>(count - 1, (position + shown - 1) / kRowHeight + 1);
    }
    const size_t wanted = last >= first ? size_t(last - first + 1) : 0;

    bool changed = false;
    {
        // Rows move and change here; one invalidation of what the viewport
        // shows, below, covers them all.
        RowContentPane::Quiet quiet(*m_content);

        // Panes whose row stays on screen keep it (and an edit open over
        // it); the others are bound to the rows that came into view.
        std::vector<bool> covered(wanted, false);
        std::vector<RowPane*> free;
        std::vector<RowPane*> kept;
        kept.reserve(wanted);
        for (RowPane* p : m_panes) {
            const int64_t row = p->GetRow();
            if (row >= first && row <= last && !covered[size_t(row - first)]) {
                covered[size_t(row - first)] = true;
                kept.push_back(p);
            } else {
                free.push_back(p);
            }
        }
        for (RowPane* p : kept)
            changed = Place(p) || changed;
        for (size_t i = 0; i < wanted; ++i) {
            if (covered[i])
                continue;
            const int32_t row = int32_t(first + int64_t(i));
            RowPane* p = nullptr;
            if (!free.empty()) {
                p = free.back();
                free.pop_back();
            } else if (!m_spares.empty()) {
                p = m_spares.back();
                m_spares.pop_back();
                p->SetVisible(true);
            }
            if (p) {
                p->Rebind(row);
                Place(p);
            } else {
                p = m_host.NewRowPane();
                p->Rebind(row);
                p->Create(m_content, Rect{0, ClampToInt(int64_t(kRowHeight) * row), ContentWidth(), kRowHeight});
                p->AddMouseListener(&m_listener);
            }
            changed = true;
            kept.push_back(p);
        }
        m_panes.swap(kept);
        changed = changed || !free.empty();
        Release(free);

        // A few spares stay: deleting a pane makes the root forget the pane
        // under the pointer, and scrolling by one row often needs one pane
        // less, then one more again.
        std::vector<RowPane*> gone;
        while (m_spares.size() > kSpares) {
            gone.push_back(m_spares.back());
            m_spares.pop_back();
        }
        for (RowPane* p : gone)
            delete p;
    }
    if (changed)
        m_content->InvalidateAll();
}

void RowScroller::Release(std::vector<RowPane*>& panes) {
    // Hidden and bound to no row, for the next rows that come into view
    // (after a collapse, the rows below it).
    for (RowPane* p : panes) {
        p->Rebind(-1);
        p->SetVisible(false);
        m_spares.push_back(p);
    }
    panes.clear();
}

void RowScroller::Inserted(int32_t index, int32_t count) {
    for (RowPane* p : m_panes) {
        if (p->GetRow() >= index)
            p->Shift(count);
    }
}

void RowScroller::Removed(int32_t index, int32_t count) {
    const int64_t end = int64_t(index) + count;
    std::vector<RowPane*> gone;
    size_t out = 0;
    for (RowPane* p : m_panes) {
        if (p->GetRow() >= index && p->GetRow() < end) {
            gone.push_back(p);
            continue;
        }
        if (p->GetRow() >= end)
            p->Shift(-count);
        m_panes[out++] = p;
    }
    m_panes.resize(out);
    Release(gone);
}

void RowScroller::RemoveAll() {
    std::vector<RowPane*> gone;
    gone.swap(m_panes);
    Release(gone);
}

} // namespace Corvell
