#pragma once
#include <cstdint>

#include "shared/Graphics/Bitmap.h"
#include "shared/Graphics/Color.h"
#include "ui/MenuItemList.h"
#include "ui/Pane.h"
#include "ui/core/Delegate.h"
#include "ui/core/MulticastDelegate.h"
#include "ui/core/String.h"

namespace Corvell {

class Combo;

using ComboIndexListener = Delegate1<int>;
using ComboListener = Delegate1<Combo*>;

// A pane that shows its selected item and, when clicked, offers its items
// in the platform's popup menu below itself. The selected item carries the
// check mark in that menu.
class Combo : public Pane {
public:
    static constexpr int32_t kArrowWidth = 12; // arrow area without an image

    Combo();
    ~Combo() override;

    // ---- Pane ----
    void Paint(GraphicsContext& gc) override;
    void OnMouseEvent(MouseEvent& e) override;

    // ---- added by the combo, in slot order ----
    // The item's text, or the empty text for an index out of range.
    virtual String GetItemText(int32_t index);
    // Returns the new item's index.
    virtual int32_t AddItem(const String& text);
    // texts: NUL-terminated texts ended by an empty one. Returns how many
    // were added (also the new count for a combo that was empty).
    virtual int32_t AddItems(const char* texts);
    // Returns the new count, or -1 for a bad index.
    virtual int32_t RemoveItem(int32_t index);
    virtual void Clear();

    // ---- selection ----
    // Returns the selection: index, or -1 when it is out of range.
    int32_t Select(int32_t index);
    int32_t GetSelectedIndex() const { return m_selected; }
    int32_t GetItemCount() const { return m_items.GetCount(); }
    MenuItemListImpl& GetItems() { return m_items; }
    // Opens the menu as a click does: opening listeners, the menu, and on a
    // choice Select, the selection listeners, the chosen listeners.
    // Returns the chosen index or -1.
    int32_t OpenMenu();

    // ---- listeners (a listener may delete the combo) ----
    // Told the chosen index.
    void AddSelectionListener(Ref<ComboIndexListener> l);
    bool RemoveSelectionListener(ComboIndexListener* l);
    // Told before the menu opens; owners may refill the items there.
    void AddOpeningListener(Ref<ComboListener> l);
    bool RemoveOpeningListener(ComboListener* l);
    // Told the index of each added item.
    void AddItemAddedListener(Ref<ComboIndexListener> l);
    bool RemoveItemAddedListener(ComboIndexListener* l);
    // Told after a choice, once the selection listeners have been.
    void AddChosenListener(Ref<ComboListener> l);
    bool RemoveChosenListener(ComboListener* l);

    // ---- look ----
    void SetEmptyText(const String& text);
    const String& GetEmptyText() const { return m_emptyText; }
    // Two frames side by side: enabled, disabled. Null falls back to the
    // drawn triangle (when the triangle flag is set).
    void SetTriangleImage(Ref<Bitmap> image);
    Bitmap* GetTriangleImage() const { return m_triangle.Get(); }
    // choice: with at least two items and enabled; other: otherwise.
    void SetTextColors(Color choice, Color other);
    void SetFrameColors(Color enabled, Color disabled);
    void SetTextFormat(uint32_t format);
    uint32_t GetTextFormat() const { return m_textFormat; }
    void SetTriangle(bool drawn) { m_drawTriangle = drawn; }
    void SetFramed(bool framed);
    bool IsFramed() const { return m_framed; }
    Color GetChoiceTextColor() const { return m_textColors[0]; }
    Color GetOtherTextColor() const { return m_textColors[1]; }
    Color GetEnabledFrameColor() const { return m_frameColors[0]; }
    Color GetDisabledFrameColor() const { return m_frameColors[1]; }

    // The width of the arrow area on the right.
    int32_t ArrowWidth() const;
    // Draws a strip of two arrow frames (enabled, then disabled) as a combo
    // does, centred in the arrow area at the right of a pane of `size`.
    // Returns that area's width, or -1, drawing nothing, without a strip.
    static int32_t DrawArrowStrip(GraphicsContext& gc, Bitmap* strip, Size size, bool enabled);
    // The text's rectangle: the bounds without the arrow area, inset by 1
    // (2 when framed).
    Rect TextRect() const;
    // The colour the text is drawn in now.
    Color CurrentTextColor() const;

protected:
    // Draws the arrow, the text and the frame.
    void PaintCombo(GraphicsContext& gc);

private:
    // On the heap: a listener may delete the combo while a list runs.
    Ref<MulticastDelegate1<int>> m_selectionListeners;
    Ref<MulticastDelegate1<Combo*>> m_openingListeners;
    Ref<MulticastDelegate1<int>> m_itemAddedListeners;
    MenuItemListImpl m_items;
    int32_t m_selected = -1;
    uint32_t m_textFormat;
    Color m_textColors[2];
    Color m_frameColors[2];
    Ref<Bitmap> m_triangle;
    String m_emptyText;
    Ref<MulticastDelegate1<Combo*>> m_chosenListeners;
    bool m_drawTriangle = true;
    bool m_framed = false;
};

// A combo in the toolkit's colours, its text centred.
class BCombo : public Combo {
public:
    BCombo();
};

} // namespace Corvell
