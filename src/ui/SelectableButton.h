#pragma once
#include <cstdint>
#include <vector>

#include "shared/Graphics/Bitmap.h"
#include "ui/ToggleButton.h"

namespace Corvell {

class SelectableButton;

using SelectionListener = Delegate1<SelectableButton*>;
using SelectionListenerList = MulticastDelegate1<SelectableButton*>;

// A toggle that tells its selection listeners when its state changes, and
// shows a background image tiled over its bounds: the pressed image while
// it looks pressed, else the normal one.
class SelectableButton : public ToggleButton {
public:
    SelectableButton();
    ~SelectableButton() override;

    void Paint(GraphicsContext& gc) override;

    // Stores a changed state, invalidates and tells the selection
    // listeners; an unchanged state does nothing.
    void SetOn(bool on);
    // Tells the selection listeners (when there are any) without changing the state.
    void NotifySelection();

    void AddSelectionListener(Ref<SelectionListener> l);
    bool RemoveSelectionListener(SelectionListener* l);

    // Either may be null; an image without pixels draws nothing.
    void SetImages(Ref<Bitmap> normal, Ref<Bitmap> pressed);
    Bitmap* GetNormalImage() const { return m_normalImage.Get(); }
    Bitmap* GetPressedImage() const { return m_pressedImage.Get(); }

    // One run of the tiling in one direction: `length` pixels of the image
    // from `source`, drawn at `dest`.
    struct TileSpan {
        int32_t source;
        int32_t length;
        int32_t dest;
        bool operator==(const TileSpan& o) const {
            return source == o.source && length == o.length && dest == o.dest;
        }
    };
    // The runs that cover `length` pixels with an image `imageLength` long
    // whose two edges are `edge` long: the image as it is when the lengths
    // match; its first and last parts meeting in the middle when the button
    // is shorter; the edges with copies of the middle between them when it
    // is longer. An image without a middle shows its two halves at the ends.
    static std::vector<TileSpan> TileSpans(int32_t imageLength, int32_t edge, int32_t length);
    // Tiles the image over (0, 0, width, height): 8-pixel side edges, top
    // and bottom edges a quarter of the image high.
    static void TileImage(GraphicsContext& gc, Bitmap* image, int32_t width, int32_t height);

protected:
    void PaintBackground(GraphicsContext& gc);

private:
    Ref<SelectionListenerList> m_selectionListeners;
    Ref<Bitmap> m_normalImage;
    Ref<Bitmap> m_pressedImage;
};

// A click listener for selectable buttons: a left click tells the button's
// selection listeners, and leaves the state as it is. Buttons used as
// plain commands get it once, before their first selection listener.
class SelectOnClickListener : public CountedObject<ButtonListener> {
public:
    void Invoke(ButtonListenerArgs args) override;
    // Every instance does the same.
    bool Equals(const AbstractDelegate* other) const override;
};

Ref<ButtonListener> MakeSelectOnClickListener();

} // namespace Corvell
