#include "ui/MouseListener.h"

namespace Corvell {

MouseEventMulticaster::~MouseEventMulticaster() {
    delete dynamic_cast<MouseEventMulticaster*>(a);
    delete dynamic_cast<MouseEventMulticaster*>(b);
}

MouseListener* MouseEventMulticaster::Add(MouseListener* current, MouseListener* l) {
    if (!l)
        return current;
    if (!current)
        return l;
    return new MouseEventMulticaster(current, l);
}

MouseListener* MouseEventMulticaster::Remove(MouseListener* l) {
    for (MouseListener** part : {&a, &b}) {
        if (*part == l)
            *part = nullptr;
        else if (auto* m = dynamic_cast<MouseEventMulticaster*>(*part))
            *part = m->Remove(l);
    }
    if (a && b)
        return this;
    // Detach the survivor first: deleting this multicaster must not delete
    // the nested multicaster that is handed back.
    MouseListener* survivor = a ? a : b;
    a = nullptr;
    b = nullptr;
    delete this;
    return survivor;
}

bool MouseEventMulticaster::Holds(const MouseListener* root, const MouseListener* l) {
    if (!root || !l)
        return false;
    if (root == l)
        return true;
    if (auto* m = dynamic_cast<const MouseEventMulticaster*>(root))
        return Holds(m->a, l) || Holds(m->b, l);
    return false;
}

void MouseEventMulticaster::Flatten(MouseListener* root, std::vector<MouseListener*>& out) {
    if (!root)
        return;
    if (auto* m = dynamic_cast<MouseEventMulticaster*>(root)) {
        Flatten(m->a, out);
        Flatten(m->b, out);
        return;
    }
    out.push_back(root);
}

#define CORVELL_MULTICAST(op)                                                                                          \
    void MouseEventMulticaster::op(MouseEvent& e) {                                                                    \
        if (a)                                                                                                         \
            a->op(e);                                                                                                  \
        if (b)                                                                                                         \
            b->op(e);                                                                                                  \
    }
CORVELL_MULTICAST(MousePressed)
CORVELL_MULTICAST(MouseReleased)
CORVELL_MULTICAST(MouseEntered)
CORVELL_MULTICAST(MouseExited)
CORVELL_MULTICAST(MouseHovered)
CORVELL_MULTICAST(MouseMoved)
CORVELL_MULTICAST(MouseDragged)
CORVELL_MULTICAST(MouseWheelMoved)
#undef CORVELL_MULTICAST

} // namespace Corvell
