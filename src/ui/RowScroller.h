#pragma once
#include <cstdint>
#include <vector>

#include "shared/Graphics/GraphicsObjects.h"
#include "ui/ColorPane.h"
#include "ui/EditorHostPane.h"
#include "ui/MenuItemList.h"
#include "ui/MouseListener.h"
#include "ui/Pane.h"
#include "ui/TextEditor.h"
#include "ui/core/MulticastDelegate.h"
#include "ui/core/Ref.h"

namespace Corvell {

class GraphicsContext;
class ScrollBar;

// A row of a list or tree view: a pane shown for one row of the view's
// model while that row is on screen, then bound to another row as the view
// scrolls. An edit open over it goes, without a word, when the pane is
// bound to another row, closed, hidden, disabled or deleted.
class RowPane : public EditorHostPane<Pane>, public TextEditorHost {
public:
    static constexpr int32_t kHeight = 20;

    // The row of the view's model the pane shows; -1 while it shows none.
    int32_t GetRow() const { return m_row; }
    // Closes an open editor without a word.
    using EditorHostPane<Pane>::CloseEditor;
    // The row font: a bold copy of the context's font, made on the first
    // paint that has one; null before.
    Font* GetRowFont() const { return m_font.Get(); }

    // ---- TextEditorHost ----
    void EditFinished() override;
    void EditCancelled() override;
    void GetEditFont(Ref<Font>& out) override { out = m_font; }

protected:
    friend class RowScroller;

    // Shows another row. Derived panes end what belonged to the old row.
    virtual void Rebind(int32_t row);
    // The same row under a new index (rows were inserted or removed before it).
    void Shift(int32_t delta) { m_row += delta; }

    // Makes the row font when there is none yet and the context has one.
    Font* MakeRowFont(GraphicsContext& gc);
    // The row's background and text colour: palette 27 behind a selected
    // row, its text palette 25 in an activated view; palette 22 otherwise.
    static Color PaintBackground(GraphicsContext& gc, const Rect& bounds, bool selected, bool activated);
    // One line of text, vertically centred, in the row font when there is one.
    void DrawCell(GraphicsContext& gc, const char* text, const Rect& r);

    int32_t m_row = -1;

private:
    Ref<Font> m_font;
};

// The pane that holds the rows: as tall as all the rows together, it
// slides inside the viewport. It passes on only the part of an
// invalidation that the viewport shows.
class RowContentPane : public Pane {
public:
    void Invalidate(const Rect& r) override;

    // While one lives, invalidations from inside the pane are dropped: the
    // rows are being moved and bound, and the whole of what the viewport
    // shows is repainted once afterwards.
    class Quiet {
    public:
        explicit Quiet(RowContentPane& pane) : m_pane(pane) { ++m_pane.m_quiet; }
        ~Quiet() { --m_pane.m_quiet; }
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;

    private:
        RowContentPane& m_pane;
    };

private:
    int32_t m_quiet = 0;
};

// The frame both views share: the scroll bar at the right edge, the
// clipping viewport inset by 3 pixels, the content pane inside it, and row
// panes for the rows that meet the viewport (and one above and below),
// bound again as the view scrolls; a couple more wait hidden, unbound. Nothing here walks the rows of the
// model, so laying out, scrolling and painting cost the same for any
// number of rows.
//
// The viewport, content pane and scroll bar are made once, by Create, and
// resized by Layout; an owner may refill its view from inside an event of
// any of them.
class RowScroller {
public:
    static constexpr int32_t kRowHeight = RowPane::kHeight;
    static constexpr int32_t kInset = 3;
    static constexpr int32_t kBarWidth = 21;
    // Unbound panes kept hidden, after a layout or a scroll, for the next
    // rows that come into view.
    static constexpr size_t kSpares = 2;

    // What the scroller asks of its view.
    class Host {
    public:
        virtual RowPane* NewRowPane() = 0;
        virtual RowContentPane* NewContentPane() = 0;
        // Rows in the view's model now.
        virtual int32_t RowCount() const = 0;

    protected:
        ~Host() = default;
    };

    // listener hears the mouse events of the viewport and the rows.
    RowScroller(Pane& view, MouseListener& listener, Host& host);
    RowScroller(const RowScroller&) = delete;
    RowScroller& operator=(const RowScroller&) = delete;
    ~RowScroller() { Destroy(); }
    // Deletes the rows, the content pane, the viewport and the scroll bar.
    void Destroy();

    // Makes the scroll bar, the viewport and the content pane.
    void Create();
    // Fits viewport, content pane and scroll range to the view's size and
    // the model's rows, and binds the rows on screen.
    void Layout();
    // n notches of the wheel: 20 n pixels, while the bar is shown.
    void Wheel(int32_t notches);
    // Scrolls as little as possible to show the row whole.
    void EnsureVisible(int32_t row);

    // The pane showing row, or null when the row is not on screen.
    RowPane* Find(int32_t row) const;
    // The panes bound to rows.
    const std::vector<RowPane*>& Panes() const { return m_panes; }

    // The model changed under the panes: they keep showing the same rows.
    void Inserted(int32_t index, int32_t count);
    // The panes of the removed rows let go of them (an open edit closes,
    // an animation stops).
    void Removed(int32_t index, int32_t count);
    void RemoveAll();

    ScrollBar* GetScrollBar() const { return m_bar; }
    ColorPane* GetViewport() const { return m_viewport; }
    RowContentPane* GetContentPane() const { return m_content; }
    bool IsBarShown() const;
    // Width of the rows: the viewport's.
    int32_t ContentWidth() const;

private:
    void OnScroll(ScrollBar* bar);
    // The content pane to (0, -position).
    void MoveContent();
    // Row panes for the rows on screen now, and for no other.
    void Bind();
    // Moves the pane to its row's place; false when it was there.
    bool Place(RowPane* p);
    // Unbinds and hides the panes, as spares; the next Bind keeps kSpares.
    void Release(std::vector<RowPane*>& panes);

    Pane& m_view;
    MouseListener& m_listener;
    Host& m_host;
    ScrollBar* m_bar = nullptr;
    ColorPane* m_viewport = nullptr;
    RowContentPane* m_content = nullptr;
    std::vector<RowPane*> m_panes;
    std::vector<RowPane*> m_spares;
};

// A row's context menu: the owner fills it for the row (key), it shows at
// p (view coordinates) when it has items, and the owner hears the chosen
// item's identifier, or -1. The lists are held by value: a listener may
// delete the view.
template <class Key>
void ShowRowMenu(Pane& view, Key key, Point p, Ref<MulticastDelegate2<Key, MenuItemListImpl&, void>> requests,
                 Ref<MulticastDelegate2<Key, int, void>> choices) {
    if (requests->IsEmpty())
        return;
    PaneGuard self(&view);
    MenuItemListImpl menu;
    requests->Invoke(key, menu);
    if (!self.IsAlive() || menu.GetCount() < 1)
        return;
    const int32_t chosen = view.ShowPopupMenu(menu, Rect{p.x, p.y, 1, 1});
    if (!self.IsAlive())
        return;
    const int32_t id = menu.IsIndex(chosen) ? menu.GetItem(chosen).id : -1;
    if (!choices->IsEmpty())
        choices->Invoke(key, id);
}

} // namespace Corvell
