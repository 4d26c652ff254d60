#pragma once
// Text messages of the engine on screen: each message, from any thread,
// becomes a task posted to the window's thread, where the notifier says it
// (after a tab, so the line shows it left-aligned) to its text listeners.
#include "binding/CVProxySite.h"
#include "binding/IRnC.h"
#include "ui/Tooltip.h"

namespace Corvell {

class StrokeNotifier : public TooltipNotifier {
public:
    // pane: the view; rnc: the view's proxy, which outlives the notifier;
    // ui: how tasks reach the window's thread.
    StrokeNotifier(Pane* pane, IRnC* rnc, UiThread* ui);
    // Leaves the message listeners first, so no message posts after the
    // tasks still queued are disarmed; none of those then runs.
    ~StrokeNotifier() override;

private:
    class Receiver;
    IRnC* const m_rnc;
    Ref<Liveness> m_alive;
    Ref<Receiver> m_receiver;
};

// One message on its way to the window: a copy of the text and the
// notifier it is for.
class NotifyTask : public CountedObject<Delegate> {
public:
    NotifyTask(Ref<Liveness> notifier, const char* text);
    void Invoke() override;

private:
    Ref<Liveness> m_notifier;
    String m_text;
};

} // namespace Corvell
