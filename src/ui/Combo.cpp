#include "ui/Combo.h"

#include "shared/Graphics/GraphicsContext.h"
#include "shared/Graphics/GraphicsObjects.h"
#include "shared/Graphics/Palette.h"

#include <string>

namespace Corvell {

namespace {
template <class A>
Ref<MulticastDelegate1<A>> NewList() {
    return Ref<MulticastDelegate1<A>>(new MulticastDelegate1<A>);
}
} // namespace

Combo::Combo()
    : m_selectionListeners(NewList<int>()), m_openingListeners(NewList<Combo*>()),
      m_itemAddedListeners(NewList<int>()), m_textFormat(kTextVCenter), m_textColors{0x000000, 0x808080},
      m_frameColors{0x505050, 0xa0a0a0}, m_chosenListeners(NewList<Combo*>()) {}

Combo::~Combo() = default;

// ---- items ----------------------------------------------------------------

String Combo::GetItemText(int32_t index) {
    return m_items.IsIndex(index) ? m_items.GetItem(index).text : m_emptyText;
}

int32_t Combo::AddItem(const String& text) {
    const int32_t index = m_items.Add(text);
    if (!m_itemAddedListeners->IsEmpty()) {
        Ref<MulticastDelegate1<int>> list = m_itemAddedListeners;
        list->Invoke(index);
    }
    return index;
}

int32_t Combo::AddItems(const char* texts) {
    if (!texts)
        return 0;
    PaneGuard self(this);
    int32_t added = 0;
    for (const char* p = texts; *p; p += std::char_traits<char>::length(p) + 1) {
        AddItem(String(p));
        ++added;
        if (!self.IsAlive())
            break;
    }
    return added;
}

int32_t Combo::RemoveItem(int32_t index) {
    if (!m_items.Remove(index))
        return -1;
    if (m_selected == index)
        m_selected = -1;
    else if (m_selected > index)
        --m_selected;
    InvalidateAll();
    return m_items.GetCount();
}

void Combo::Clear() {
    m_items.Clear();
    m_selected = -1;
    InvalidateAll();
}

int32_t Combo::Select(int32_t index) {
    if (m_items.IsIndex(m_selected)) {
        MenuItem& old = m_items.Item(m_selected);
        if (!(old.flags & MenuItem::Separator))
            old.flags &= ~uint32_t(MenuItem::Checked);
    }
    if (!m_items.IsIndex(index)) {
        m_selected = -1;
    } else {
        m_items.Item(index).flags |= MenuItem::Checked;
        m_selected = index;
    }
    InvalidateAll();
    return m_selected;
}

// ---- the menu ---------------------------------------------------------------

int32_t Combo::OpenMenu() {
    PaneGuard self(this);
    if (!m_openingListeners->IsEmpty()) {
        Ref<MulticastDelegate1<Combo*>> list = m_openingListeners;
        list->Invoke(this);
        if (!self.IsAlive())
            return -1;
    }
    const int32_t chosen = ShowPopupMenu(m_items, LocalBounds());
    // The menu's modal loop runs timers and deferred calls: the combo may be
    // gone, or its items changed under the menu.
    if (!self.IsAlive() || chosen < 0 || !m_items.IsIndex(chosen))
        return -1;
    Select(chosen);
    if (!m_selectionListeners->IsEmpty()) {
        Ref<MulticastDelegate1<int>> list = m_selectionListeners;
        list->Invoke(chosen);
        if (!self.IsAlive())
            return chosen;
    }
    if (!m_chosenListeners->IsEmpty()) {
        Ref<MulticastDelegate1<Combo*>> list = m_chosenListeners;
        list->Invoke(this);
    }
    return chosen;
}

void Combo::OnMouseEvent(MouseEvent& e) {
    PaneGuard self(this);
    if (e.type == kMouseDown && e.button == kButtonLeft)
        OpenMenu();
    if (self.IsAlive())
        Pane::OnMouseEvent(e);
}

// ---- listeners -------------------------------------------------------------

void Combo::AddSelectionListener(Ref<ComboIndexListener> l) { m_selectionListeners->Add(std::move(l)); }
bool Combo::RemoveSelectionListener(ComboIndexListener* l) { return m_selectionListeners->Remove(l); }
void Combo::AddOpeningListener(Ref<ComboListener> l) { m_openingListeners->Add(std::move(l)); }
bool Combo::RemoveOpeningListener(ComboListener* l) { return m_openingListeners->Remove(l); }
void Combo::AddItemAddedListener(Ref<ComboIndexListener> l) { m_itemAddedListeners->Add(std::move(l)); }
bool Combo::RemoveItemAddedListener(ComboIndexListener* l) { return m_itemAddedListeners->Remove(l); }
void Combo::AddChosenListener(Ref<ComboListener> l) { m_chosenListeners->Add(std::move(l)); }
bool Combo::RemoveChosenListener(ComboListener* l) { return m_chosenListeners->Remove(l); }

// ---- look ------------------------------------------------------------------

void Combo::SetEmptyText(const String& text) {
    m_emptyText = text;
    InvalidateAll();
}

void Combo::SetTriangleImage(Ref<Bitmap> image) {
    m_triangle = std::move(image);
    InvalidateAll();
}

void Combo::SetTextColors(Color choice, Color other) {
    m_textColors[0] = choice;
    m_textColors[1] = other;
    InvalidateAll();
}

void Combo::SetFrameColors(Color enabled, Color disabled) {
    m_frameColors[0] = enabled;
    m_frameColors[1] = disabled;
    InvalidateAll();
}

void Combo::SetTextFormat(uint32_t format) {
    m_textFormat = format;
    InvalidateAll();
}

void Combo::SetFramed(bool framed) {
    m_framed = framed;
    InvalidateAll();
}

int32_t Combo::ArrowWidth() const {
    if (m_triangle && m_triangle->Width() > 0)
        return m_triangle->Width() & ~1;
    return kArrowWidth;
}

int32_t Combo::DrawArrowStrip(GraphicsContext& gc, Bitmap* strip, Size size, bool enabled) {
    if (!strip || strip->Width() <= 0)
        return -1;
    // Two frames side by side, centred in the arrow area.
    const int32_t area = strip->Width() & ~1, frame = strip->Width() / 2;
    const int32_t x = size.width - (area + frame) / 2;
    const int32_t y = (size.height - strip->Height()) / 2;
    gc.DrawImage(Point{x, y}, strip, Rect{enabled ? 0 : frame, 0, frame, strip->Height()});
    return area;
}

Rect Combo::TextRect() const {
    const Rect& b = GetBounds();
    const int32_t inset = m_framed ? 2 : 1;
    return Rect{inset, inset, b.width - ArrowWidth() - 2 * inset, b.height - 2 * inset};
}

Color Combo::CurrentTextColor() const {
    return IsEffectivelyEnabled() && m_items.GetCount() >= 2 ? m_textColors[0] : m_textColors[1];
}

void Combo::Paint(GraphicsContext& gc) { PaintCombo(gc); }

void Combo::PaintCombo(GraphicsContext& gc) {
    const Rect& b = GetBounds();
    const bool enabled = IsEffectivelyEnabled();
    const Color text = CurrentTextColor();
    if (DrawArrowStrip(gc, m_triangle.Get(), Size{b.width, b.height}, enabled) < 0 && m_drawTriangle) {
        const int32_t m = (b.height + 1) / 2;
        const Point corners[3] = {{b.width - 3, m - 2}, {b.width - 6, m + 1}, {b.width - 9, m - 2}};
        Brush brush(text);
        Pen pen(text);
        gc.FillPolygon(corners, 3, brush);
        gc.DrawPolygon(corners, 3, pen);
    }
    const Color saved = gc.GetTextColor();
    gc.SetTextColor(text);
    const String shown = GetItemText(m_selected);
    gc.DrawText(shown.c_str(), TextRect(), m_textFormat);
    gc.SetTextColor(saved);
    if (m_framed)
        gc.DrawRect(Rect{0, 0, b.width, b.height}, m_frameColors[enabled ? 0 : 1]);
}

// ---- BCombo ------------------------------------------------------------------

BCombo::BCombo() {
    SetTextColors(GetColor(5), GetColor(6));
    SetTextFormat(kTextCenter | kTextVCenter);
}

} // namespace Corvell
