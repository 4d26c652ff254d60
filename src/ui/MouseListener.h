#pragma once
#include <vector>

#include "ui/Events.h"

namespace Corvell {

class EventListener {
public:
    virtual ~EventListener() = default;
};

// Receives the mouse events of a pane (Pane::AddMouseListener).
class MouseListener : public EventListener {
public:
    virtual void MousePressed(MouseEvent& e) = 0;
    virtual void MouseReleased(MouseEvent& e) = 0;
    virtual void MouseEntered(MouseEvent& e) = 0;
    virtual void MouseExited(MouseEvent& e) = 0;
    virtual void MouseHovered(MouseEvent& e) = 0;
    virtual void MouseMoved(MouseEvent& e) = 0;
    virtual void MouseDragged(MouseEvent& e) = 0;
    virtual void MouseWheelMoved(MouseEvent& e) = 0;
};

// Every operation a no-op: listeners override what they need.
class MouseHandlerImp : public MouseListener {
public:
    void MousePressed(MouseEvent&) override {}
    void MouseReleased(MouseEvent&) override {}
    void MouseEntered(MouseEvent&) override {}
    void MouseExited(MouseEvent&) override {}
    void MouseHovered(MouseEvent&) override {}
    void MouseMoved(MouseEvent&) override {}
    void MouseDragged(MouseEvent&) override {}
    void MouseWheelMoved(MouseEvent&) override {}
};

// Two listeners behind one: each operation calls a, then b. Multicasters
// are made and deleted by the panes; they own the parts that are
// multicasters, never plain listeners.
class MouseEventMulticaster : public MouseListener {
public:
    MouseEventMulticaster(MouseListener* first, MouseListener* second) : a(first), b(second) {}
    ~MouseEventMulticaster() override;
    MouseEventMulticaster(const MouseEventMulticaster&) = delete;
    MouseEventMulticaster& operator=(const MouseEventMulticaster&) = delete;

    // What a listener slot holding `current` becomes when l is added.
    static MouseListener* Add(MouseListener* current, MouseListener* l);

    // Removes every occurrence of l. Returns what replaces this multicaster:
    // itself while both parts remain; otherwise the surviving part (or null),
    // and this multicaster is deleted.
    MouseListener* Remove(MouseListener* l);

    // Whether the listener tree `root` holds l.
    static bool Holds(const MouseListener* root, const MouseListener* l);
    // Appends the plain listeners of `root` in calling order.
    static void Flatten(MouseListener* root, std::vector<MouseListener*>& out);

    void MousePressed(MouseEvent& e) override;
    void MouseReleased(MouseEvent& e) override;
    void MouseEntered(MouseEvent& e) override;
    void MouseExited(MouseEvent& e) override;
    void MouseHovered(MouseEvent& e) override;
    void MouseMoved(MouseEvent& e) override;
    void MouseDragged(MouseEvent& e) override;
    void MouseWheelMoved(MouseEvent& e) override;

    MouseListener* a;
    MouseListener* b;
};

} // namespace Corvell
