#include "SubstituteKnobs.h"

#include <algorithm>

namespace Corvell {
namespace Substitute {

int SubstituteKnobs::GetKnob(int index) {
    std::lock_guard<std::mutex> g(m_mutex);
    return index >= 0 && index < kKnobs ? m_knobs[size_t(index)] : 0;
}

void SubstituteKnobs::SetKnob(int index, int value) {
    m_log.Add("GuitarUI::Knobs", "SetKnob", {index, value});
    if (index < 0 || index >= kKnobs)
        return;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        m_knobs[size_t(index)] = value;
    }
    m_notifier.Send([this, index] { m_listeners.ForEach([index](Delegate1<int>* d) { d->Invoke(index); }); });
}

void SubstituteKnobs::AddChangedListener(Delegate1<int>* l) {
    m_log.Add("GuitarUI::Knobs", "AddChangedListener");
    m_listeners.Add(l);
}

bool SubstituteKnobs::RemoveChangedListener(Delegate1<int>* l) {
    m_log.Add("GuitarUI::Knobs", "RemoveChangedListener");
    return m_listeners.Remove(l);
}

namespace {
// Every game-controller parameter is 0..127 here; the view reads only the
// switch of its view (0).
class ParInfo final : public CountedObject<IDizuvozaParInfo> {
public:
    int Minimum() override { return 0; }
    int Maximum() override { return 127; }
    int Default() override { return 0; }
};
} // namespace

int SubstituteDizuvozaPars::GetParameter(int id) {
    std::lock_guard<std::mutex> g(m_mutex);
    return id >= 0 && id < kParameters ? m_values[size_t(id)] : 0;
}

void SubstituteDizuvozaPars::Store(int id, int value) {
    if (id < 0 || id >= kParameters)
        return;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        m_values[size_t(id)] = std::clamp(value, 0, 127);
    }
    m_notifier.Send([this, id] {
        const int v = GetParameter(id);
        m_listeners.ForEach([id, v](Delegate2<int, int, void>* d) { d->Invoke(id, v); });
    });
}

void SubstituteDizuvozaPars::SetParameter(int id, int value) {
    m_log.Add("IDizuvozaPars", "SetParameter", {id, value});
    Store(id, value);
}

void SubstituteDizuvozaPars::EngineSetParameter(int id, int value) { Store(id, value); }

void SubstituteDizuvozaPars::AddParameterListener(Delegate2<int, int, void>* l) {
    m_log.Add("IDizuvozaPars", "AddParameterListener");
    m_listeners.Add(l);
}

bool SubstituteDizuvozaPars::RemoveParameterListener(Delegate2<int, int, void>* l) {
    m_log.Add("IDizuvozaPars", "RemoveParameterListener");
    return m_listeners.Remove(l);
}

IDizuvozaParInfo* SubstituteDizuvozaPars::GetParameterInfo(int id) {
    return id >= 0 && id < kParameters ? new ParInfo : nullptr;
}

} // namespace Substitute
} // namespace Corvell
