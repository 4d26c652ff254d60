#pragma once
// The host object of the substitute engine: serves the engine interfaces by
// name, can withhold any of them, and owns the engine's parts.
#include "CallLog.h"
#include "Notifier.h"
#include "SubstituteGuitar.h"
#include "SubstituteKnobs.h"
#include "SubstituteRnC.h"
#include "SubstituteSampler.h"
#include "binding/ICorvellHost.h"

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

namespace Corvell {
namespace Substitute {

class SubstituteHost : public ICorvellHost {
public:
    explicit SubstituteHost(Notifier::Mode mode = Notifier::Mode::Synchronous);
    ~SubstituteHost();

    void* GetInterface(const char* name) override;

    // Makes GetInterface answer null for name (or serve it again).
    void Withhold(const std::string& name, bool withhold = true);
    // Serves an interface of another part of the engine under name.
    void Serve(const std::string& name, void* iface);

    CallLog& Log() { return m_log; }
    Notifier& Notices() { return m_notifier; }
    SubstituteRnC& RnC() { return *m_rnc; }
    SubstituteGuitar& Guitar() { return *m_guitar; }
    SubstituteSampler& Sampler() { return *m_sampler; }
    SubstituteKnobs& Knobs() { return *m_knobs; }
    SubstituteDizuvozaPars& GameControllerPars() { return *m_pars; }

private:
    CallLog m_log;
    Notifier m_notifier;
    std::unique_ptr<SubstituteRnC> m_rnc;
    std::unique_ptr<SubstituteSampler> m_sampler;
    std::unique_ptr<SubstituteKnobs> m_knobs;
    std::unique_ptr<SubstituteDizuvozaPars> m_pars;
    // Goes first: its loader thread steps the sampler.
    std::unique_ptr<SubstituteGuitar> m_guitar;
    std::mutex m_mutex;
    std::map<std::string, void*> m_served;
    std::set<std::string> m_withheld;
};

} // namespace Substitute
} // namespace Corvell
