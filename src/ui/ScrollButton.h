#pragma once
#include <cstdint>

#include "shared/Graphics/Bitmap.h"
#include "shared/Graphics/Color.h"
#include "ui/Pane.h"
#include "ui/core/Delegate.h"
#include "ui/core/MulticastDelegate.h"

namespace Corvell {

class ScrollButton;

using ScrollButtonListener = Delegate1<ScrollButton*>;
using ScrollButtonListenerList = MulticastDelegate1<ScrollButton*>;

// A small spin button: a press in the upper half steps the value up, in
// the lower half down (the other way round when inverted). Held, it steps
// again after 500 ms and then every 100 ms, on the root's timers. Every
// step stays inside [minimum, maximum]; at a bound nothing moves and
// nobody hears anything.
//
// The repeat lasts only as long as the press: it ends with the release,
// when the pointer leaves, when the capture is lost, and when the button
// is hidden, disabled, closed or deleted. The button does not repaint
// itself for a new value; its owner does.
class ScrollButton : public Pane {
public:
    static constexpr int32_t kDelay = 500;  // ms before the repeat
    static constexpr int32_t kRepeat = 100; // ms between repeated steps
    static constexpr Color kActiveColor = 0x282828;
    static constexpr Color kInactiveColor = 0x646464;

    ScrollButton();
    ~ScrollButton() override;

    // ---- Pane ----
    void Paint(GraphicsContext& gc) override;
    void OnMouseEvent(MouseEvent& e) override;
    void OnDestroy() override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;

    // ---- value ----
    // A range given the wrong way round is taken with its ends swapped; the
    // value is clamped into it.
    void SetRange(int32_t minimum, int32_t maximum);
    // Clamped to the range; no listener is told.
    void SetValue(int32_t value);
    int32_t GetValue() const { return m_value; }
    int32_t GetMinimum() const { return m_min; }
    int32_t GetMaximum() const { return m_max; }
    void SetInverted(bool inverted) { m_inverted = inverted; }
    bool IsInverted() const { return m_inverted; }
    void SetColors(Color active, Color inactive);
    Color GetActiveColor() const { return m_active; }
    Color GetInactiveColor() const { return m_inactive; }

    // Called with the button after each step. A listener may delete the button.
    void AddValueListener(Ref<ScrollButtonListener> l);
    bool RemoveValueListener(ScrollButtonListener* l);

    // ---- state ----
    // -1 or +1 while a press steps the value, else 0.
    int32_t GetDirection() const { return m_direction; }
    bool IsRepeating() const { return m_repeating; }
    // Whether the upper (lower) arrow can act: the value can move its way.
    bool UpperCanAct() const;
    bool LowerCanAct() const;

private:
    // One step in the press's direction; false when the button is gone.
    bool Step();
    void OnDelay();
    void OnRepeat();
    // Ends a press: both timers stop and the direction is cleared.
    void StopRepeat();

    // On the heap: a listener may delete the button while the list runs.
    Ref<ScrollButtonListenerList> m_listeners;
    Color m_active = kActiveColor;
    Color m_inactive = kInactiveColor;
    Ref<Bitmap> m_arrows;
    bool m_arrowsLoaded = false;
    int32_t m_min = 0;
    int32_t m_max = 99;
    int32_t m_value = 0;
    int32_t m_direction = 0;
    bool m_repeating = false;
    bool m_inverted = false;
    Ref<Delegate> m_delayTimer;
    Ref<Delegate> m_repeatTimer;
};

} // namespace Corvell
