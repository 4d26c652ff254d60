#include "ui/Events.h"

#include "ui/Pane.h"

namespace Corvell {

namespace {
const char* const kNames[] = {
    "KeyDown",    "KeyRepeat", "KeyUp",     "KeyChar",      "MouseEnter",   "MouseMove",
    "MouseHover", "MouseLeave", "MouseDrag", "MouseDown",   "MouseUp",      "MouseWheel",
    "FOCUS_GAINED", "FOCUS_LOST", "WINDOW_FOCUS_GAINED", "WINDOW_FOCUS_LOST", "WINDOW_DEACTIVATED",
};
} // namespace

const char* PaneEventName(int32_t type) {
    if (type < 0 || type >= int32_t(sizeof(kNames) / sizeof(kNames[0])))
        return nullptr;
    return kNames[type];
}

String PaneEvent::ToString() const {
    if (const char* name = PaneEventName(type))
        return String(name);
    String s;
    s.Format("PaneEvent:%d", type);
    return s;
}

String KeyEvent::ToString() const {
    String s;
    switch (type) {
    case kKeyDown:
        s.Format("KeyDown: %d mod: %u", key, modifiers);
        break;
    case kKeyRepeat:
        s.Format("KeyRepeat: %d mod: %u", key, modifiers);
        break;
    case kKeyUp:
        s.Format("KeyUp: %d mod: %u", key, modifiers);
        break;
    case kKeyChar:
        s.Format("KeyChar: %d mod: %u", key, modifiers);
        break;
    default:
        s.Format("Event:%d key:%d mod:%u", type, key, modifiers);
        break;
    }
    return s;
}

void MouseEvent::Dispatch(Pane* p) {
    target = p;
    if (p)
        p->process(*this);
}

void KeyEvent::Dispatch(Pane* p) {
    if (p)
        p->process(*this);
}

void FocusEvent::Dispatch(Pane* p) {
    if (p)
        p->process(*this);
}

void WindowEvent::Dispatch(Pane* p) {
    if (p)
        p->process(*this);
}

} // namespace Corvell
