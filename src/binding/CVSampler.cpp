#include "binding/CVSampler.h"

#include "binding/ProxyChain.h"

#include <algorithm>

namespace Corvell {

using SamplerChain = ProxyChain<CVSampler, ISampler>;

namespace {
int16_t Turned(int v) { return static_cast<int16_t>(std::clamp(100 - v, -32768, 32767)); }
} // namespace

CVSampler::CVSampler(CVProxySite* site)
    : m_site(site), m_parameterListeners(new MulticastDelegate1<int>), m_resetListeners(new MulticastDelegate) {
    m_parameterReceiver.owner = this;
    m_resetReceiver.owner = this;
    SamplerChain::Enter(this);
}

CVSampler::~CVSampler() {
    SamplerChain::Leave(this);
    DetachFromEngine();
}

void CVSampler::DetachFromEngine() {
    if (!m_engine)
        return;
    m_engine->RemoveParameterListener(&m_parameterReceiver);
    m_engine->RemoveResetListener(&m_resetReceiver);
    m_engine = nullptr;
}

bool CVSampler::Attach(ISampler* engine) {
    if (SamplerChain::LeadsBack(this, engine, [](const CVSampler* p) -> const ISampler* { return p->m_engine; }))
        return false;
    DetachFromEngine();
    m_generation.fetch_add(1);
    m_engine = engine;
    if (m_engine) {
        m_engine->AddParameterListener(&m_parameterReceiver);
        m_engine->AddResetListener(&m_resetReceiver);
    }
    // Panels read every setting and range again from the new engine.
    m_site->OnSamplerReset();
    return true;
}

void CVSampler::ParameterReceiver::Invoke(int par) { owner->m_site->OnSamplerParameterChanged(par); }

void CVSampler::ResetReceiver::Invoke() { owner->m_site->OnSamplerReset(); }

void CVSampler::InvokeParameterListeners(int par) {
    if (!m_parameterListeners->IsEmpty())
        m_parameterListeners->Invoke(par);
}

void CVSampler::InvokeResetListeners() {
    if (!m_resetListeners->IsEmpty())
        m_resetListeners->Invoke();
}

void CVSampler::TouchParameter(int par, bool begin) {
    if (m_engine)
        m_engine->TouchParameter(par, begin);
}

void CVSampler::SetParameter(int par, int value) {
    if (!m_engine)
        return;
    switch (par) {
    case kInverted:
        m_engine->SetParameter(par, 100 - value);
        return;
    case kLowOfPair:
        if (m_engine->GetParameter(kHighOfPair) < value)
            m_engine->SetParameter(kHighOfPair, value);
        break;
    case kHighOfPair:
        if (value < m_engine->GetParameter(kLowOfPair))
            m_engine->SetParameter(kLowOfPair, value);
        break;
    default:
        break;
    }
    m_engine->SetParameter(par, value);
}

int CVSampler::GetParameter(int par) {
    if (!m_engine)
        return 0;
    const int v = m_engine->GetParameter(par);
    return par == kInverted ? 100 - v : v;
}

bool CVSampler::GetParameterInfo(int par, ParInfo* out) {
    if (!m_engine || !out || !m_engine->GetParameterInfo(par, out))
        return false;
    if (par == kInverted) {
        // The control runs over 100 - v, so its ends swap and its default
        // turns with it.
        const int16_t lo = Turned(out->maximum), hi = Turned(out->minimum);
        out->minimum = lo;
        out->maximum = hi;
        out->defaultValue = Turned(out->defaultValue);
    }
    return true;
}

int CVSampler::Query4(int a) { return m_engine ? m_engine->Query4(a) : 0; }

void CVSampler::AddParameterListener(Delegate1<int>* l) { m_parameterListeners->Add(l); }

bool CVSampler::RemoveParameterListener(Delegate1<int>* l) { return m_parameterListeners->Remove(l); }

void CVSampler::AddResetListener(Delegate* l) { m_resetListeners->Add(l); }

bool CVSampler::RemoveResetListener(Delegate* l) { return m_resetListeners->Remove(l); }

void CVSampler::SetSwitch(int id, bool on) {
    if (m_engine)
        m_engine->SetSwitch(id, on);
}

bool CVSampler::GetSwitch(int id) { return m_engine ? m_engine->GetSwitch(id) : false; }

void CVSampler::ResetToDefaults() {
    if (m_engine)
        m_engine->ResetToDefaults();
}

} // namespace Corvell
