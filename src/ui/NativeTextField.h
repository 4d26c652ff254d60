#pragma once
#include <cstdint>

#include "shared/Graphics/Geometry.h"
#include "shared/Graphics/GraphicsObjects.h"
#include "ui/Pane.h"
#include "ui/core/String.h"

namespace Corvell {

// The platform's one-line edit control laid over a pane tree's window: the
// one native child window of the toolkit. The root of the tree makes it
// (RootPane::NewTextField); TextEditorImpl decides everything else.
class NativeTextField {
public:
    // What the control reports, on the window's thread. Each call may
    // delete the field; the field touches nothing of itself afterwards.
    class Listener {
    public:
        // Enter was pressed (the key goes no further).
        virtual void FieldEnter() = 0;
        // Escape was pressed (the key goes no further).
        virtual void FieldEscape() = 0;
        // The control lost the keyboard focus.
        virtual void FieldFocusLost() = 0;
        // The control was destroyed from outside (its window went).
        virtual void FieldGone() = 0;

    protected:
        ~Listener() = default;
    };

    // Destroys the control if it is still open.
    virtual ~NativeTextField() = default;

    // Opens the control over r (client coordinates of window) with the
    // text and font, and gives it the keyboard focus. The user can type no
    // more than limit characters; a longer text given here is kept whole.
    // False when the platform refused.
    virtual bool Open(NativeWindow window, const Rect& r, const String& text, Font* font, int32_t limit,
                      Listener* listener) = 0;
    // The whole text in the control now; empty once closed.
    virtual String GetText() = 0;
    // Tells the user that a key was refused (the platform's warning sound).
    virtual void Refuse() = 0;
    // Destroys the control. Notifications the platform sends while it goes
    // (a focus loss) may still arrive during the call; none after it.
    virtual void Destroy() = 0;
};

} // namespace Corvell
