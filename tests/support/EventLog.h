#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "shared/Graphics/Region.h"
#include "ui/Pane.h"

namespace Corvell::Test {

// One delivered event, as a pane saw it.
struct LoggedEvent {
    std::string pane;
    int32_t type = -1;
    int32_t x = 0, y = 0, buttons = 0, button = 0, clickCount = 0, wheel = 0, key = 0;
    uint32_t modifiers = 0;
};

// One Paint call: who, with which origin and clip.
struct LoggedPaint {
    std::string pane;
    Point origin;
    Region clip;
};

class EventLog {
public:
    std::vector<LoggedEvent> events;
    std::vector<LoggedPaint> paints;

    void Clear() {
        events.clear();
        paints.clear();
    }
    // "pane EventName" per event, optionally only of the given types.
    std::vector<std::string> Lines(std::vector<int32_t> types = {}) const;
    // Lines() joined with ", ".
    std::string Text(std::vector<int32_t> types = {}) const;
    std::vector<std::string> PaintOrder() const;
};

// A pane that logs what it receives and paints, then behaves as a Pane.
class LoggingPane : public Pane {
public:
    LoggingPane(EventLog& log, std::string name);

    void OnMouseEvent(MouseEvent& e) override;
    void OnKeyEvent(KeyEvent& e) override;
    void OnFocusEvent(FocusEvent& e) override;
    void Paint(GraphicsContext& gc) override;

    const std::string& Name() const { return m_name; }

    // Runs after logging and before the default handling; return true to
    // stop there (the event is consumed). It may delete the pane.
    std::function<bool(PaneEvent&)> onEvent;
    // Key events are consumed here unless set (the default passes them up).
    bool passKeysUp = true;
    // When set, Paint also fills the local bounds with this colour.
    bool fill = false;
    Color fillColor = 0;

private:
    bool RunHook(PaneEvent& e);
    EventLog& m_log;
    std::string m_name;
};

// A mouse listener that logs its calls as "name Operation".
class LoggingListener : public MouseListener {
public:
    LoggingListener(std::vector<std::string>& log, std::string name) : m_log(log), m_name(std::move(name)) {}
    void MousePressed(MouseEvent&) override { Log("Pressed"); }
    void MouseReleased(MouseEvent&) override { Log("Released"); }
    void MouseEntered(MouseEvent&) override { Log("Entered"); }
    void MouseExited(MouseEvent&) override { Log("Exited"); }
    void MouseHovered(MouseEvent&) override { Log("Hovered"); }
    void MouseMoved(MouseEvent&) override { Log("Moved"); }
    void MouseDragged(MouseEvent&) override { Log("Dragged"); }
    void MouseWheelMoved(MouseEvent&) override { Log("Wheel"); }

    std::function<void()> onCall;

private:
    void Log(const char* op) {
        m_log.push_back(m_name + " " + op);
        if (onCall)
            onCall();
    }
    std::vector<std::string>& m_log;
    std::string m_name;
};

// Collects the pane trace lines while it lives.
class TraceCapture {
public:
    TraceCapture();
    ~TraceCapture();
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;
    std::vector<std::string> lines;
};

} // namespace Corvell::Test
