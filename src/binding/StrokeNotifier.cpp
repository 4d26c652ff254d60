#include "binding/StrokeNotifier.h"

namespace Corvell {

// Hears the engine's messages on any thread; touches nothing of the
// notifier there, only posts.
class StrokeNotifier::Receiver : public CountedObject<Delegate1<const char*>> {
public:
    Receiver(Ref<Liveness> alive, UiThread* ui) : m_alive(std::move(alive)), m_ui(ui) {}
    void Invoke(const char* text) override {
        if (m_ui)
            m_ui->Post(Ref<Delegate>(new NotifyTask(m_alive, text)));
    }

private:
    Ref<Liveness> m_alive;
    UiThread* const m_ui;
};

StrokeNotifier::StrokeNotifier(Pane* pane, IRnC* rnc, UiThread* ui)
    : TooltipNotifier(pane, String()), m_rnc(rnc), m_alive(new Liveness(this)), m_receiver(new Receiver(m_alive, ui)) {
    if (m_rnc)
        m_rnc->AddMessageListener(m_receiver.Get());
}

StrokeNotifier::~StrokeNotifier() {
    if (m_rnc)
        m_rnc->RemoveMessageListener(m_receiver.Get());
    m_alive->Clear();
}

NotifyTask::NotifyTask(Ref<Liveness> notifier, const char* text)
    : m_notifier(std::move(notifier)), m_text(text ? text : "") {}

void NotifyTask::Invoke() {
    auto* n = static_cast<StrokeNotifier*>(m_notifier->Target());
    if (!n)
        return;
    String shown("\t");
    shown += m_text;
    n->Notify(shown);
}

} // namespace Corvell
