#pragma once
#include <cstdint>

#include "shared/Graphics/Bitmap.h"
#include "shared/Graphics/Color.h"
#include "ui/Pane.h"
#include "ui/core/Delegate.h"
#include "ui/core/MulticastDelegate.h"

namespace Corvell {

class ScrollBar;

using ScrollBarListener = Delegate1<ScrollBar*>;

// An integer position inside [minimum, maximum - page], snapped to a step:
// an arrow square at each end, a track and a thumb. Horizontal when it is
// at least as wide as it is high, else vertical.
//
// A press on an arrow steps by one step, on the track by one page; held,
// it repeats after 500 ms and then every 100 ms on the root's timers. The
// repeat lasts only as long as the press: it ends with the release, a lost
// capture, and when the bar is hidden, disabled, closed or deleted.
class ScrollBar : public Pane {
public:
    static constexpr int32_t kDelay = 500;  // ms before the repeat
    static constexpr int32_t kRepeat = 100; // ms between repeated steps
    // The thumb is never shorter than this while the track is longer.
    static constexpr int32_t kMinThumb = 10;
    enum ColorIndex {
        kArrowOn,        // triangles of an active bar that can move that way
        kArrowOff,       // triangles otherwise
        kArrowShadow,
        kTrack,
        kFace,           // arrow squares and thumb
        kOuterLine,
        kInnerLine,
        kColorCount
    };

    ScrollBar();
    ~ScrollBar() override;

    // ---- Pane ----
    void Paint(GraphicsContext& gc) override;
    void OnMouseEvent(MouseEvent& e) override;
    void OnDestroy() override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;

    // maximum becomes snap(maximum) and at least minimum + step, the page
    // at most maximum - minimum, the position clamp(snap(position)). A
    // step of 0 or less is taken as 1. No listener is called.
    void SetRange(int32_t minimum, int32_t maximum, int32_t page, int32_t step);
    // clamp(snap(p)); no listener is called.
    void SetPosition(int32_t p);
    int32_t GetPosition() const { return m_position; }
    int32_t GetMinimum() const { return m_min; }
    int32_t GetMaximum() const { return m_max; }
    int32_t GetPage() const { return m_page; }
    int32_t GetStep() const { return m_step; }

    // Scrolls as little as possible so that [a, a + step) is inside the
    // page, then calls the listeners (none when it was inside already).
    void EnsureVisible(int32_t a);

    // The step's multiple at or above x (toward zero for negatives), and x
    // kept inside [minimum, maximum - page].
    int32_t Snap(int32_t x) const;
    int32_t Clamp(int32_t x) const;

    void SetColors(const Color (&colors)[kColorCount]);
    Color GetColor(int32_t index) const { return m_colors[index]; }
    void SetTrackImage(Ref<Bitmap> image);

    // Called with the bar when the user or EnsureVisible moves it. A
    // listener may delete the bar.
    void AddPositionListener(Ref<ScrollBarListener> l);
    bool RemovePositionListener(ScrollBarListener* l);

    // ---- geometry, in the bar's coordinates ----
    bool IsVertical() const;
    int32_t Thickness() const;
    Rect FirstArrow() const;
    Rect SecondArrow() const;
    Rect Thumb() const;

    // ---- state ----
    bool IsDragging() const { return m_dragging; }
    bool IsRepeating() const { return m_repeating; }
    int32_t GetDirection() const { return m_direction; }
    // Whether the position can move toward the minimum (the maximum).
    bool CanMoveBack() const { return m_position > m_min; }
    bool CanMoveOn() const { return m_position + m_page < m_max; }

private:
    // The long side's length.
    int32_t Length() const;
    // The track's length between the arrows.
    int64_t Track() const;
    // Whether the page is so small a part of the range that the thumb
    // keeps its least length.
    bool ThumbAtLeast() const;
    // Where a step in the current direction lands.
    int32_t Stepped() const;
    // Stores p, tells the listeners and invalidates; false when a listener
    // deleted the bar.
    bool MoveTo(int32_t p);
    bool NotifyPosition();
    void OnDelay();
    void OnRepeat();
    // Ends a press: the drag (without a snap) and the repeat.
    void EndGesture();
    void StopTimers();

    // On the heap: a listener may delete the bar while the list runs.
    Ref<MulticastDelegate1<ScrollBar*>> m_listeners;
    int32_t m_position = 0;
    int32_t m_min = 0;
    int32_t m_max = 100;
    int32_t m_page = 1;
    int32_t m_step = 1;
    Color m_colors[kColorCount];
    Ref<Bitmap> m_track;
    bool m_repeating = false;
    int32_t m_direction = 0;
    bool m_byLine = false;
    Rect m_pressedArrow;
    bool m_dragging = false;
    int32_t m_dragStartPosition = 0;
    Point m_dragStartPointer;
    Point m_lastPointer;
    Ref<Delegate> m_delayTimer;
    Ref<Delegate> m_repeatTimer;
};

} // namespace Corvell
