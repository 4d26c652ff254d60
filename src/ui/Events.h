#pragma once
#include <cstdint>

#include "ui/core/String.h"

namespace Corvell {

class Pane;

// Event type codes; PaneEventName gives the text ToString uses.
enum PaneEventType : int32_t {
    kKeyDown = 0,
    kKeyRepeat = 1,
    kKeyUp = 2,
    kKeyChar = 3,
    kMouseEnter = 4,
    kMouseMove = 5,
    kMouseHover = 6, // defined, never produced
    kMouseLeave = 7,
    kMouseDrag = 8,
    kMouseDown = 9,
    kMouseUp = 10,
    kMouseWheel = 11,
    kFocusGained = 12,
    kFocusLost = 13,
    kWindowFocusGained = 14,
    kWindowFocusLost = 15,
    // The focus went to a window outside this one and its own child windows.
    kWindowDeactivated = 16,
};

// "KeyDown" ... "WINDOW_DEACTIVATED"; null for any other code.
const char* PaneEventName(int32_t type);

// Modifier bits of input events.
enum : uint32_t {
    kModShift = 0x1,
    kModControl = 0x2,
};

// Buttons held (MouseEvent::buttons) and button indexes (MouseEvent::button).
enum : int32_t {
    kHeldLeft = 0x2,
    kHeldRight = 0x4,
    kHeldMiddle = 0x8,

    kButtonNone = 0,
    kButtonLeft = 1,
    kButtonRight = 2,
    kButtonMiddle = 3,
};

// Events live on the stack for the length of their delivery; a pane must
// not keep a reference to one.
class PaneEvent {
public:
    explicit PaneEvent(int32_t t) : type(t) {}
    virtual ~PaneEvent() = default;
    // Delivers the event through the matching process overload of p.
    virtual void Dispatch(Pane* p) = 0;
    virtual String ToString() const;

    int32_t type;

protected:
    PaneEvent(const PaneEvent&) = default;
    PaneEvent& operator=(const PaneEvent&) = default;
};

class InputEvent : public PaneEvent {
public:
    explicit InputEvent(int32_t t, uint32_t mods = 0) : PaneEvent(t), modifiers(mods) {}

    bool IsShiftDown() const { return (modifiers & kModShift) != 0; }
    bool IsControlDown() const { return (modifiers & kModControl) != 0; }

    uint32_t modifiers;

protected:
    InputEvent(const InputEvent&) = default;
    InputEvent& operator=(const InputEvent&) = default;
};

class MouseEvent : public InputEvent {
public:
    explicit MouseEvent(int32_t t, int32_t px = 0, int32_t py = 0, int32_t held = 0, uint32_t mods = 0)
        : InputEvent(t, mods), x(px), y(py), buttons(held) {}
    MouseEvent(const MouseEvent&) = default;
    MouseEvent& operator=(const MouseEvent&) = default;

    void Dispatch(Pane* p) override;

    // Local coordinates of the receiving pane; screen coordinates for the wheel.
    int32_t x;
    int32_t y;
    int32_t buttons;        // kHeld* bits
    int32_t button = 0;     // MouseDown and MouseUp: kButtonLeft, kButtonRight, kButtonMiddle
    int32_t clickCount = 0; // MouseDown: 1 single, 2 double, ...
    int32_t wheel = 0;      // MouseWheel: notches, positive towards the user
    Pane* target = nullptr; // set by Dispatch
};

// Key events always carry modifiers 0.
class KeyEvent : public InputEvent {
public:
    KeyEvent(int32_t t, int32_t k) : InputEvent(t, 0), key(k) {}
    KeyEvent(const KeyEvent&) = default;
    KeyEvent& operator=(const KeyEvent&) = default;

    void Dispatch(Pane* p) override;
    String ToString() const override;

    // Virtual-key code; the character code for KeyChar.
    int32_t key;
};

class FocusEvent : public PaneEvent {
public:
    explicit FocusEvent(int32_t t) : PaneEvent(t) {}
    void Dispatch(Pane* p) override;
};

class WindowEvent : public PaneEvent {
public:
    explicit WindowEvent(int32_t t) : PaneEvent(t) {}
    void Dispatch(Pane* p) override;
};

} // namespace Corvell
