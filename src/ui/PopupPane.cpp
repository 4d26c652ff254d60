#include "ui/PopupPane.h"

#include <algorithm>

#include "shared/Graphics/GraphicsContext.h"
#include "shared/Graphics/GraphicsObjects.h"
#include "shared/Graphics/Palette.h"
#include "ui/GrayPane.h"
#include "ui/SelectableButton.h"

namespace Corvell {

namespace {
Rect Grown(const Rect& r, int32_t by) { return Rect{r.x - by, r.y - by, r.width + 2 * by, r.height + 2 * by}; }

Rect United(const Rect& a, const Rect& b) {
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    const int64_t left = std::min(a.x, b.x), top = std::min(a.y, b.y);
    const int64_t right = std::max(a.Right(), b.Right()), bottom = std::max(a.Bottom(), b.Bottom());
    return Rect{int32_t(left), int32_t(top), int32_t(right - left), int32_t(bottom - top)};
}
} // namespace

// The posted close. It reaches the popup only while the popup lets it: a
// deleted popup, or one that closed by another way, cuts it loose, so a
// call still waiting in the queue then does nothing.
class BasicPopupPane::CloseCall final : public CountedObject<Delegate> {
public:
    explicit CloseCall(BasicPopupPane* popup) : m_popup(popup) {}
    void Invoke() override {
        if (BasicPopupPane* p = m_popup)
            p->RunPostedClose();
    }
    void CutLoose() { m_popup = nullptr; }

private:
    BasicPopupPane* m_popup;
};

BasicPopupPane::BasicPopupPane()
    : m_closedListeners(new MulticastDelegate1<BasicPopupPane*>), m_closeCall(new CloseCall(this)) {}

BasicPopupPane::~BasicPopupPane() {
    WithdrawPostedClose();
    m_closeCall->CutLoose();
    // Deleted while open (or from a closed listener): the owned panes go
    // without a word.
    std::vector<Pane*> subpanes;
    subpanes.swap(m_subpanes);
    for (Pane* p : subpanes)
        delete p;
    if (Pane* c = m_content) {
        m_content = nullptr;
        delete c;
    }
}

Color BasicPopupPane::ContentColor() {
    const Color c = GetColor(9);
    auto dim = [](uint8_t v) { return uint8_t(std::clamp(int(v * 0.9f), 0, 255)); };
    return MakeColor(dim(RedOf(c)), dim(GreenOf(c)), dim(BlueOf(c)));
}

Rect BasicPopupPane::PopupBounds(const Rect& root, const Rect& /*content*/) { return root; }

void BasicPopupPane::Create(Pane* parent, const Rect& rect) {
    if (IsOpen() || IsClosed() || !parent)
        return;
    // The content's rectangle in the root's coordinates.
    Pane* root = parent;
    Rect content = rect;
    for (; root->GetParent(); root = root->GetParent()) {
        content.x += root->GetBounds().x;
        content.y += root->GetBounds().y;
    }
    const Rect& rb = root->GetBounds();
    const Rect bounds = PopupBounds(Rect{0, 0, rb.width, rb.height}, content);
    Pane::Create(root, bounds);
    RequestFocus(this);

    m_content = new GrayPane(ContentColor());
    m_content->SetFlags(kOpaque, true);
    m_content->Create(this, Rect{content.x - bounds.x, content.y - bounds.y, content.width, content.height});
    m_content->SetEnabled(true);
    // The shadow too, not only the content.
    Invalidate(ShadowRect());
}

void BasicPopupPane::GetLocalBounds(Rect& out) const {
    if (m_content) {
        const Rect& c = m_content->GetBounds();
        out = Rect{0, 0, c.width, c.height};
        return;
    }
    Pane::GetLocalBounds(out);
}

void BasicPopupPane::AddChild(Pane* child) {
    if (m_content && child != m_content) {
        m_content->AddChild(child);
        return;
    }
    Pane::AddChild(child);
}

Rect BasicPopupPane::ContentRect() const { return m_content ? m_content->GetBounds() : Rect{}; }

Rect BasicPopupPane::ShadowRect() const { return m_content ? Grown(m_content->GetBounds(), kShadow) : Rect{}; }

void BasicPopupPane::PaintAll(GraphicsContext& gc) {
    Ref<Font> font = new Font("9pt", 0);
    FontScope scope(gc, font.Get());
    Pane::PaintAll(gc);
}

void BasicPopupPane::Paint(GraphicsContext& gc) {
    Pane::Paint(gc);
    if (!m_content)
        return;
    if (!m_shadowLoaded) {
        m_shadow = GetImage("drop-shadow.png");
        m_shadowLoaded = true;
    }
    Bitmap* image = m_shadow.Get();
    if (!image || image->Width() <= 0 || image->Height() <= 0)
        return;
    // Three-part tiling as the buttons do, around the content.
    const Rect r = ShadowRect();
    using Spans = std::vector<SelectableButton::TileSpan>;
    const Spans columns = SelectableButton::TileSpans(image->Width(), 8, r.width);
    const Spans rows = SelectableButton::TileSpans(image->Height(), image->Height() / 4, r.height);
    for (const auto& row : rows) {
        for (const auto& col : columns)
            gc.DrawImage(Point{r.x + col.dest, r.y + row.dest}, image, Rect{col.source, row.source, col.length, row.length});
    }
}

void BasicPopupPane::OnKeyEvent(KeyEvent& e) {
    if (e.type == kKeyDown && e.key == kEscape) {
        PostClose();
        return;
    }
    Pane::OnKeyEvent(e);
}

void BasicPopupPane::ProcessEvent(PaneEvent& e) {
    if (e.type == kWindowDeactivated) {
        PostClose();
        return;
    }
    Pane::ProcessEvent(e);
}

void BasicPopupPane::OnMouseEvent(MouseEvent& e) {
    // Only a press outside the content reaches the popup itself.
    if (e.type == kMouseDown && e.button == kButtonLeft)
        PostClose();
    Pane::OnMouseEvent(e);
}

void BasicPopupPane::AddClosedListener(Ref<PopupClosedListener> l) { m_closedListeners->Add(std::move(l)); }

bool BasicPopupPane::RemoveClosedListener(PopupClosedListener* l) { return m_closedListeners->Remove(l); }

void BasicPopupPane::AddSubpane(Pane* pane, int32_t id) {
    if (!pane || std::find(m_subpanes.begin(), m_subpanes.end(), pane) != m_subpanes.end())
        return;
    if (id != -1)
        pane->SetId(id);
    if (!pane->GetParent())
        AddChild(pane);
    m_subpanes.push_back(pane);
}

void BasicPopupPane::PostClose() {
    if (m_closePending || m_closing || !IsOpen())
        return;
    m_closePending = true;
    PostDeferred(Ref<Delegate>(m_closeCall.Get()));
}

void BasicPopupPane::RunPostedClose() {
    m_closePending = false;
    Close();
}

void BasicPopupPane::WithdrawPostedClose() {
    if (!m_closePending)
        return;
    m_closePending = false;
    RemoveTimer(m_closeCall.Get());
}

void BasicPopupPane::Close() {
    if (m_closing || !IsOpen())
        return;
    if (!CloseSteps())
        return;
    if (m_deleteOnClose)
        delete this;
}

bool BasicPopupPane::CloseSteps() {
    m_closing = true;
    WithdrawPostedClose();
    // A call still queued from before can no longer reach this popup.
    m_closeCall->CutLoose();
    m_closeCall = new CloseCall(this);
    // The shadow lies outside the popup's local bounds: repaint it away.
    Invalidate(ShadowRect());

    PaneGuard self(this);
    // Listeners first, while the popup's panes exist: an owner that
    // detaches from them must find them alive.
    if (!m_closedListeners->IsEmpty()) {
        Ref<MulticastDelegate1<BasicPopupPane*>> list = m_closedListeners;
        list->Invoke(this);
        if (!self.IsAlive())
            return false;
    }

    std::vector<Pane*> subpanes;
    subpanes.swap(m_subpanes);
    for (Pane*& p : subpanes) {
        PaneGuard alive(p);
        p->Close();
        if (!alive.IsAlive())
            p = nullptr;
    }
    for (Pane* p : subpanes)
        delete p;
    if (!self.IsAlive())
        return false;

    if (Pane* c = m_content) {
        m_content = nullptr;
        delete c;
    }
    if (!self.IsAlive())
        return false;
    Pane::Close();
    if (!self.IsAlive())
        return false;
    m_closing = false;
    return true;
}

// ---- ModalPopupPane -------------------------------------------------------------

void ModalPopupPane::AddCoveredArea(const Rect& r) { m_area = United(m_area, r); }

Rect ModalPopupPane::PopupBounds(const Rect& /*root*/, const Rect& content) {
    m_area = United(Grown(content, kShadow), m_area);
    return m_area;
}

bool ModalPopupPane::Contains(Point p) const {
    const Rect& b = GetBounds();
    const Rect area{m_area.x - b.x, m_area.y - b.y, m_area.width, m_area.height};
    return ContentRect().Contains(p) || area.Contains(p);
}

} // namespace Corvell
