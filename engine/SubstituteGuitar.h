#pragma once
// A model of the installed guitars: a list that tests and the demo set, the
// current guitar, and a simulated load of the chosen one — stepped by hand,
// or by the engine's loader thread at a set pace.
#include "CallLog.h"
#include "ListenerList.h"
#include "Notifier.h"
#include "SubstituteSampler.h"
#include "binding/IGuitar.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Corvell {
namespace Substitute {

class SubstituteGuitar final : public IGuitar {
public:
    struct Guitar {
        std::string name;
        int memoryMB;
    };

    SubstituteGuitar(CallLog& log, Notifier& notifier, SubstituteSampler& sampler);
    ~SubstituteGuitar();

    // Replaces the installed guitars and names the current one (clamped to
    // the list); notifies. Nothing is loaded by this.
    void SetGuitars(std::vector<Guitar> guitars, int current = 0);
    // 0: loads advance only through the sampler's StepLoad. Otherwise the
    // loader thread takes one step per period.
    void SetLoadPace(std::chrono::milliseconds period);
    size_t ListenerCount() { return m_listeners.Count(); }

    // IGuitar
    int GetGuitarCount() override;
    void GetGuitarInfo(int index, GuitarInfo* out) override;
    int GetCurrentGuitar() override;
    void SelectGuitar(int index) override;
    void AddGuitarListener(Delegate* l) override;
    bool RemoveGuitarListener(Delegate* l) override;

private:
    void Notify();
    void RunLoader();

    CallLog& m_log;
    Notifier& m_notifier;
    SubstituteSampler& m_sampler;

    std::mutex m_mutex;
    std::vector<Guitar> m_guitars;
    int m_current = 0;
    std::chrono::milliseconds m_pace{0};
    bool m_loadPending = false;
    bool m_stop = false;
    std::condition_variable m_wake;
    std::thread m_loader;

    ListenerList<Delegate> m_listeners;
};

} // namespace Substitute
} // namespace Corvell
