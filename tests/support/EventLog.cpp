#include "EventLog.h"

#include "shared/Graphics/GraphicsContext.h"
#include "ui/PaneTrace.h"

#include <algorithm>

namespace Corvell::Test {

std::vector<std::string> EventLog::Lines(std::vector<int32_t> types) const {
    std::vector<std::string> out;
    for (const LoggedEvent& e : events) {
        if (!types.empty() && std::find(types.begin(), types.end(), e.type) == types.end())
            continue;
        const char* name = PaneEventName(e.type);
        out.push_back(e.pane + " " + (name ? name : std::to_string(e.type)));
    }
    return out;
}

std::string EventLog::Text(std::vector<int32_t> types) const {
    std::string s;
    for (const std::string& l : Lines(std::move(types))) {
        if (!s.empty())
            s += ", ";
        s += l;
    }
    return s;
}

std::vector<std::string> EventLog::PaintOrder() const {
    std::vector<std::string> out;
    for (const LoggedPaint& p : paints)
        out.push_back(p.pane);
    return out;
}

LoggingPane::LoggingPane(EventLog& log, std::string name) : m_log(log), m_name(std::move(name)) {}

bool LoggingPane::RunHook(PaneEvent& e) {
    if (!onEvent)
        return false;
    // The hook may delete this pane (and itself with it).
    auto hook = onEvent;
    PaneGuard self(this);
    const bool consumed = hook(e);
    return consumed || !self.IsAlive();
}

void LoggingPane::OnMouseEvent(MouseEvent& e) {
    LoggedEvent l;
    l.pane = m_name;
    l.type = e.type;
    l.x = e.x;
    l.y = e.y;
    l.buttons = e.buttons;
    l.button = e.button;
    l.clickCount = e.clickCount;
    l.wheel = e.wheel;
    l.modifiers = e.modifiers;
    m_log.events.push_back(l);
    if (RunHook(e))
        return;
    Pane::OnMouseEvent(e);
}

void LoggingPane::OnKeyEvent(KeyEvent& e) {
    LoggedEvent l;
    l.pane = m_name;
    l.type = e.type;
    l.key = e.key;
    l.modifiers = e.modifiers;
    m_log.events.push_back(l);
    if (RunHook(e))
        return;
    if (passKeysUp)
        Pane::OnKeyEvent(e);
}

void LoggingPane::OnFocusEvent(FocusEvent& e) {
    LoggedEvent l;
    l.pane = m_name;
    l.type = e.type;
    m_log.events.push_back(l);
    if (RunHook(e))
        return;
    Pane::OnFocusEvent(e);
}

void LoggingPane::Paint(GraphicsContext& gc) {
    m_log.paints.push_back(LoggedPaint{m_name, gc.GetOrigin(), gc.GetClip()});
    if (fill)
        gc.FillRect(LocalBounds(), fillColor);
    Pane::Paint(gc);
}

namespace {
TraceCapture* g_capture = nullptr;
void CaptureLine(const char* line) {
    if (g_capture)
        g_capture->lines.emplace_back(line);
}
} // namespace

TraceCapture::TraceCapture() {
    g_capture = this;
    SetPaneTraceSink(&CaptureLine);
}

TraceCapture::~TraceCapture() {
    SetPaneTraceSink(nullptr);
    g_capture = nullptr;
}

} // namespace Corvell::Test
