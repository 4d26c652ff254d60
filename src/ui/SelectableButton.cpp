#include "ui/SelectableButton.h"

#include <algorithm>
#include <typeinfo>
#include <utility>

namespace Corvell {

namespace {
constexpr int32_t kSideEdge = 8;
}

SelectableButton::SelectableButton() : m_selectionListeners(new SelectionListenerList) {}

SelectableButton::~SelectableButton() {
    // A list still running (a listener deleted this button) calls no one after this.
    m_selectionListeners->Clear();
}

void SelectableButton::Paint(GraphicsContext& gc) {
    PaintBackground(gc);
    Button::Paint(gc);
}

void SelectableButton::PaintBackground(GraphicsContext& gc) {
    Bitmap* image = IsPressed() ? m_pressedImage.Get() : m_normalImage.Get();
    const Rect& b = GetBounds();
    TileImage(gc, image, b.width, b.height);
}

void SelectableButton::SetOn(bool on) {
    if (GetState() == on)
        return;
    ToggleButton::SetOn(on);
    NotifySelection();
}

void SelectableButton::NotifySelection() {
    Ref<SelectionListenerList> list = m_selectionListeners;
    if (!list->IsEmpty())
        list->Invoke(this);
}

void SelectableButton::AddSelectionListener(Ref<SelectionListener> l) { m_selectionListeners->Add(std::move(l)); }

bool SelectableButton::RemoveSelectionListener(SelectionListener* l) { return m_selectionListeners->Remove(l); }

void SelectableButton::SetImages(Ref<Bitmap> normal, Ref<Bitmap> pressed) {
    m_normalImage = std::move(normal);
    m_pressedImage = std::move(pressed);
    InvalidateAll();
}

std::vector<SelectableButton::TileSpan> SelectableButton::TileSpans(int32_t imageLength, int32_t edge,
                                                                    int32_t length) {
    std::vector<TileSpan> spans;
    if (imageLength <= 0 || length <= 0)
        return spans;
    auto add = [&spans](int32_t source, int32_t n, int32_t dest) {
        if (n > 0)
            spans.push_back(TileSpan{source, n, dest});
    };
    if (length == imageLength) {
        add(0, length, 0);
        return spans;
    }
    edge = std::max(edge, 0);
    const int64_t middle = int64_t(imageLength) - 2 * int64_t(edge);
    if (length < imageLength) {
        const int32_t first = length / 2;
        const int32_t last = length - first;
        add(0, first, 0);
        add(imageLength - last, last, first);
        return spans;
    }
    if (middle < 1) {
        // Nothing to repeat: the image's halves at the two ends.
        const int32_t first = imageLength / 2;
        const int32_t last = imageLength - first;
        add(0, first, 0);
        add(imageLength - last, last, length - last);
        return spans;
    }
    add(0, edge, 0);
    const int32_t end = length - edge;
    for (int32_t x = edge; x < end;) {
        const int32_t n = int32_t(std::min<int64_t>(middle, end - x)); // at least 1
        add(edge, n, x);
        x += n;
    }
    add(imageLength - edge, edge, end);
    return spans;
}

void SelectableButton::TileImage(GraphicsContext& gc, Bitmap* image, int32_t width, int32_t height) {
    if (!image || image->Width() <= 0 || image->Height() <= 0)
        return;
    const std::vector<TileSpan> columns = TileSpans(image->Width(), kSideEdge, width);
    const std::vector<TileSpan> rows = TileSpans(image->Height(), image->Height() / 4, height);
    for (const TileSpan& row : rows) {
        for (const TileSpan& col : columns)
            gc.DrawImage(Point{col.dest, row.dest}, image, Rect{col.source, row.source, col.length, row.length});
    }
}

// ---- SelectOnClickListener --------------------------------------------------------

void SelectOnClickListener::Invoke(ButtonListenerArgs args) {
    if (args.mouseButton != kButtonLeft)
        return;
    if (auto* button = dynamic_cast<SelectableButton*>(args.button))
        button->NotifySelection();
}

bool SelectOnClickListener::Equals(const AbstractDelegate* other) const {
    return other && typeid(*other) == typeid(*this);
}

Ref<ButtonListener> MakeSelectOnClickListener() { return Ref<ButtonListener>(new SelectOnClickListener); }

} // namespace Corvell
