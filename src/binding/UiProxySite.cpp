#include "binding/UiProxySite.h"

namespace Corvell {

// A notice on its way to the window. It belongs to one attach of its
// proxy: one from before the proxy's last attach is dropped.
struct UiProxySite::Call : CountedObject<Delegate> {
    Call(Ref<Liveness> s, Kind k, uint32_t g, int p) : site(std::move(s)), kind(k), generation(g), par(p) {}
    void Invoke() override {
        auto* s = static_cast<UiProxySite*>(site->Target());
        if (s && s->Generation(kind) == generation)
            s->Deliver(kind, par);
    }
    Ref<Liveness> site;
    Kind kind;
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
    Post(Kind::RnCParameter, par);
}

void UiProxySite::OnRnCReset() { Post(Kind::RnCReset, 0); }
void UiProxySite::OnGuitarChanged() { Post(Kind::Guitar, 0); }
void UiProxySite::OnSamplerParameterChanged(int par) { Post(Kind::SamplerParameter, par); }
void UiProxySite::OnSamplerReset() { Post(Kind::SamplerReset, 0); }

void UiProxySite::Post(Kind kind, int par) {
    RunOnUiThread(Ref<Delegate>(new Call(m_alive, kind, Generation(kind), par)));
}

uint32_t UiProxySite::Generation(Kind kind) const {
    switch (kind) {
    case Kind::RnCParameter:
    case Kind::RnCReset:
        return m_rnc ? m_rnc->Generation() : 0;
    case Kind::Guitar:
        return m_guitar ? m_guitar->Generation() : 0;
    default:
        return m_sampler ? m_sampler->Generation() : 0;
    }
}

void UiProxySite::Deliver(Kind kind, int par) {
    switch (kind) {
    case Kind::RnCParameter:
        HandleRnCParameter(static_cast<ERnCPars>(par));
        break;
    case Kind::RnCReset:
        HandleRnCReset();
        break;
    case Kind::Guitar:
        HandleGuitarChanged();
        break;
    case Kind::SamplerParameter:
        HandleSamplerParameter(par);
        break;
    case Kind::SamplerReset:
        HandleSamplerReset();
        break;
    }
}

void UiProxySite::HandleRnCParameter(ERnCPars par) {
    if (m_rnc && m_rnc->HasParameterListeners())
        m_rnc->InvokeParameterListeners(par);
}

void UiProxySite::HandleRnCReset() {
    if (m_rnc && m_rnc->HasResetListeners())
        m_rnc->InvokeResetListeners();
}

void UiProxySite::HandleGuitarChanged() {
    if (m_guitar)
        m_guitar->InvokeGuitarListeners();
}

void UiProxySite::HandleSamplerParameter(int par) {
    if (m_sampler)
        m_sampler->InvokeParameterListeners(par);
}

void UiProxySite::HandleSamplerReset() {
    if (m_sampler)
        m_sampler->InvokeResetListeners();
}

} // namespace Corvell
