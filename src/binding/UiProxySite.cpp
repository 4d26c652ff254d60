#include "binding/UiProxySite.h"

namespace Corvell {

// A parameter (or, with kReset, a reset) notice on its way to the window.
struct UiProxySite::Call : CountedObject<Delegate> {
    static constexpr int kReset = -1;
    Call(Ref<Liveness> s, uint32_t g, int p) : site(std::move(s)), generation(g), par(p) {}
    void Invoke() override {
        auto* s = static_cast<UiProxySite*>(site->Target());
        // A notice from before the last attach belongs to another engine.
        if (!s || (s->m_rnc && s->m_rnc->Generation() != generation))
            return;
        if (par == kReset)
            s->HandleRnCReset();
        else
            s->HandleRnCParameter(static_cast<ERnCPars>(par));
    }
    Ref<Liveness> site;
    uint32_t generation;
    int par;
};

UiProxySite::UiProxySite(UiThread* ui) : m_ui(ui), m_alive(new Liveness(this)) {}

UiProxySite::~UiProxySite() { m_alive->Clear(); }

void UiProxySite::RunOnUiThread(Ref<Delegate> call) {
    if (!call)
        return;
    if (!m_ui || m_ui->IsUiThread())
        call->Invoke();
    else
        m_ui->Post(std::move(call));
}

void UiProxySite::OnRnCParameterChanged(ERnCPars par) {
    if (par == rncFxNoticesSuspended && m_rnc) {
        // On the engine's thread, so notices sent right after are judged by
        // the new state.
        const bool mute = m_rnc->GetParameter(rncFxNoticesSuspended) != 0;
        const bool wasMuted = m_rnc->SetFxMute(mute);
        // Notices dropped while muted are not replayed by anyone: make every
        // effect pane reload once the suspension ends.
        if (wasMuted && !mute) {
            struct Reload : CountedObject<Delegate> {
                explicit Reload(Ref<Liveness> s) : site(std::move(s)) {}
                void Invoke() override {
                    if (auto* s = static_cast<UiProxySite*>(site->Target()); s && s->m_rnc)
                        s->m_rnc->DeliverFx({IRnC::kFxAll, false, true});
                }
                Ref<Liveness> site;
            };
            RunOnUiThread(Ref<Delegate>(new Reload(m_alive)));
        }
    }
    RunOnUiThread(Ref<Delegate>(new Call(m_alive, Generation(), par)));
}

void UiProxySite::OnRnCReset() { RunOnUiThread(Ref<Delegate>(new Call(m_alive, Generation(), Call::kReset))); }

uint32_t UiProxySite::Generation() const { return m_rnc ? m_rnc->Generation() : 0; }

void UiProxySite::HandleRnCParameter(ERnCPars par) {
    if (m_rnc && m_rnc->HasParameterListeners())
        m_rnc->InvokeParameterListeners(par);
}

void UiProxySite::HandleRnCReset() {
    if (m_rnc && m_rnc->HasResetListeners())
        m_rnc->InvokeResetListeners();
}

} // namespace Corvell
