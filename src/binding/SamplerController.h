#pragma once
// The sample player's settings as bound controls see them. It listens to
// the view's sampler proxy (whose notices already arrive on the window's
// thread) and passes each change on to the panels and to the listeners of
// that setting.
#include "binding/CVProxySite.h"
#include "binding/CVSampler.h"
#include "ui/ControlAdapters.h"
#include "ui/ControlSite.h"

#include <map>
#include <vector>

namespace Corvell {

class SamplerController : public ControlSite {
public:
    static constexpr int32_t kInfoKind = 2;

    // sampler: borrowed, must outlive the controller.
    explicit SamplerController(CVSampler* sampler);
    ~SamplerController();
    SamplerController(const SamplerController&) = delete;
    SamplerController& operator=(const SamplerController&) = delete;

    // ---- ControlSite: reads answer 0 (false) and writes are dropped while
    // the proxy has no engine ----
    int32_t GetValue(int32_t id) override;
    void SetValue(int32_t id, int32_t value) override;
    void GetInfo(int32_t id, ControlInfo* out) override;
    bool GetSwitch(int32_t id) override;
    void SetSwitch(int32_t id, bool on) override;
    void BeginEdit(int32_t id) override;
    void EndEdit(int32_t id) override;
    void AddListener(int32_t id, Delegate* l) override;
    void RemoveListener(int32_t id, Delegate* l) override;

    // Panels told about every change; not owned. An observer removed while
    // the others are being told is not told any more.
    void AddObserver(SamplerUI* ui);
    void RemoveObserver(SamplerUI* ui);

    // The proxy's notices, on the window's thread.
    void OnParameter(int32_t id);
    void OnReset();

private:
    bool IsObserver(SamplerUI* ui) const;
    // tell(observer) for every observer; false when the controller went
    // while they were told.
    template <class Tell>
    bool TellObservers(Tell tell);
    void TellListeners(std::vector<std::pair<int32_t, Ref<Delegate>>> listeners);
    bool IsListening(int32_t id, Delegate* l) const;

    CVSampler* const m_sampler;
    // Counted apart from the controller: the proxy's list holds one while
    // it calls it, and a controller deleted by that call must not be
    // released afterwards. They reach the controller only while it lives,
    // and a walk over the observers stops when one of them deleted it.
    Ref<Liveness> m_target{new Liveness(this)};
    Ref<Delegate1<int>> m_parameterReceiver;
    Ref<Delegate> m_resetReceiver;
    std::vector<SamplerUI*> m_observers;
    std::multimap<int32_t, Ref<Delegate>> m_listeners;
};

} // namespace Corvell
