#include "binding/SamplerController.h"

#include "ui/core/FunctionDelegate.h"

#include <algorithm>

namespace Corvell {

SamplerController::SamplerController(CVSampler* sampler) : m_sampler(sampler) {
    m_parameterReceiver = Fn<int>([target = m_target](int id) {
        if (auto* site = static_cast<SamplerController*>(target->Target()))
            site->OnParameter(id);
    });
    m_resetReceiver = Fn([target = m_target] {
        if (auto* site = static_cast<SamplerController*>(target->Target()))
            site->OnReset();
    });
    m_sampler->AddParameterListener(m_parameterReceiver.Get());
    m_sampler->AddResetListener(m_resetReceiver.Get());
}

SamplerController::~SamplerController() {
    m_target->Clear();
    m_sampler->RemoveParameterListener(m_parameterReceiver.Get());
    m_sampler->RemoveResetListener(m_resetReceiver.Get());
}

int32_t SamplerController::GetValue(int32_t id) { return m_sampler->GetParameter(id); }

void SamplerController::SetValue(int32_t id, int32_t value) { m_sampler->SetParameter(id, value); }

void SamplerController::GetInfo(int32_t id, ControlInfo* out) {
    if (!out)
        return;
    ParInfo record{};
    if (!m_sampler->GetParameterInfo(id, &record)) {
        *out = ControlInfo{};
        return;
    }
    // The record's values are signed: decibel and semitone ranges start below 0.
    out->kind = kInfoKind;
    out->minimum = record.minimum;
    out->maximum = record.maximum;
    out->defaultValue = record.defaultValue;
    out->extra = record.fourth;
}

bool SamplerController::GetSwitch(int32_t id) { return m_sampler->GetSwitch(id); }

void SamplerController::SetSwitch(int32_t id, bool on) { m_sampler->SetSwitch(id, on); }

void SamplerController::BeginEdit(int32_t id) { m_sampler->TouchParameter(id, true); }

void SamplerController::EndEdit(int32_t id) { m_sampler->TouchParameter(id, false); }

void SamplerController::AddListener(int32_t id, Delegate* l) {
    if (l)
        m_listeners.emplace(id, Ref<Delegate>(l));
}

void SamplerController::RemoveListener(int32_t id, Delegate* l) {
    auto range = m_listeners.equal_range(id);
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second.Get() == l) {
            m_listeners.erase(it);
            return;
        }
    }
}

void SamplerController::AddObserver(SamplerUI* ui) {
    if (ui && !IsObserver(ui))
        m_observers.push_back(ui);
}

void SamplerController::RemoveObserver(SamplerUI* ui) {
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), ui), m_observers.end());
}

bool SamplerController::IsObserver(SamplerUI* ui) const {
    return std::find(m_observers.begin(), m_observers.end(), ui) != m_observers.end();
}

bool SamplerController::IsListening(int32_t id, Delegate* l) const {
    auto range = m_listeners.equal_range(id);
    return std::any_of(range.first, range.second, [l](const auto& e) { return e.second.Get() == l; });
}

// Observers and listeners may come and go while they are told: each walk
// goes over a copy and skips whoever has left in the meantime. The walk
// stops when one of them has deleted the controller.

template <class Tell>
bool SamplerController::TellObservers(Tell tell) {
    const Ref<Liveness> alive = m_target;
    const std::vector<SamplerUI*> observers = m_observers;
    for (SamplerUI* ui : observers) {
        if (!alive->Target())
            return false;
        if (IsObserver(ui))
            tell(ui);
    }
    return alive->Target() != nullptr;
}

void SamplerController::TellListeners(std::vector<std::pair<int32_t, Ref<Delegate>>> listeners) {
    const Ref<Liveness> alive = m_target;
    for (const auto& l : listeners) {
        if (!alive->Target())
            return;
        if (IsListening(l.first, l.second.Get()))
            l.second->Invoke();
    }
}

void SamplerController::OnParameter(int32_t id) {
    if (!TellObservers([id](SamplerUI* ui) { ui->OnParameterChanged(id); }))
        return;
    auto range = m_listeners.equal_range(id);
    TellListeners({range.first, range.second});
}

void SamplerController::OnReset() {
    if (!TellObservers([](SamplerUI* ui) { ui->OnReset(); }))
        return;
    TellListeners({m_listeners.begin(), m_listeners.end()});
}

} // namespace Corvell
