#include "SubstituteHost.h"

namespace Corvell {
namespace Substitute {

SubstituteHost::SubstituteHost(Notifier::Mode mode)
    : m_notifier(mode), m_rnc(new SubstituteRnC(m_log, m_notifier)),
      m_sampler(new SubstituteSampler(m_log, m_notifier)),
      m_knobs(new SubstituteKnobs(m_log, m_notifier)), m_pars(new SubstituteDizuvozaPars(m_log, m_notifier)),
      m_guitar(new SubstituteGuitar(m_log, m_notifier, *m_sampler)) {
    m_served["GuitarUI::Knobs"] = static_cast<GuitarUI::Knobs*>(m_knobs.get());
    m_served["IDizuvozaPars"] = static_cast<IDizuvozaPars*>(m_pars.get());
    m_served["IRnC"] = static_cast<IRnC*>(m_rnc.get());
    m_served["IGuitar"] = static_cast<IGuitar*>(m_guitar.get());
    m_served["ISampler"] = static_cast<ISampler*>(m_sampler.get());
}

SubstituteHost::~SubstituteHost() { m_notifier.Flush(); }

void* SubstituteHost::GetInterface(const char* name) {
    const std::string n = name ? name : "";
    m_log.Add("ICorvellHost", "GetInterface", {}, n);
    std::lock_guard<std::mutex> g(m_mutex);
    if (m_withheld.count(n))
        return nullptr;
    auto it = m_served.find(n);
    return it == m_served.end() ? nullptr : it->second;
}

void SubstituteHost::Withhold(const std::string& name, bool withhold) {
    std::lock_guard<std::mutex> g(m_mutex);
    if (withhold)
        m_withheld.insert(name);
    else
        m_withheld.erase(name);
}

void SubstituteHost::Serve(const std::string& name, void* iface) {
    std::lock_guard<std::mutex> g(m_mutex);
    m_served[name] = iface;
}

} // namespace Substitute
} // namespace Corvell
