#pragma once
#include "ui/Button.h"

namespace Corvell {

class Bitmap;

// A button with an on/off state. An on button looks pressed, and pressing
// it shows the released look. The state changes only through SetOn: views
// set it from their click listeners or from the engine.
class ToggleButton : public Button {
public:
    ToggleButton() = default;

    bool IsPressed() const override;
    bool IsOn() const override;

    // ---- added by the toggle ----
    // Lets a button fit its bounds to what it shows; called by the code
    // that places it. Nothing by default.
    virtual void FitToContent();

    // Stores the state and invalidates; tells no one.
    void SetOn(bool on);

protected:
    bool GetState() const { return m_on; }
    // The physical press: the left button held with the pointer over the
    // button, whatever the on state.
    bool IsHeldDown() const { return IsHeld() && IsHovered(); }
    // Draws frame `index` of a strip of square frames `side` pixels wide,
    // centred in the button. False, drawing nothing, when the image does
    // not hold that frame.
    bool DrawFrame(GraphicsContext& gc, Bitmap* strip, int32_t index, int32_t side);

private:
    bool m_on = false;
};

} // namespace Corvell
