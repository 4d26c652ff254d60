#pragma once
// A model of the sample player: 73 numbered settings with ranges and
// defaults, switches kept apart from the values, and the status values a
// loading guitar moves (progress, voices, memory).
#include "CallLog.h"
#include "ListenerList.h"
#include "Notifier.h"
#include "binding/ISampler.h"

#include <mutex>

namespace Corvell {
namespace Substitute {

class SubstituteSampler final : public ISampler {
public:
    static constexpr int kSettings = 73;
    static constexpr int kLoadSteps = 20;

    struct Range {
        int minimum, maximum, defaultValue;
    };

    SubstituteSampler(CallLog& log, Notifier& notifier);
    ~SubstituteSampler();

    static Range SettingRange(int par);
    static bool DefaultSwitch(int id);
    int GestureDepth(int par) const;
    size_t ListenerCount();

    // Loading, driven by the guitar part: progress back to 0 and memory
    // towards targetMB in kLoadSteps steps. Each step notifies the progress
    // and the memory; voices move while samples stream in.
    void BeginLoad(int targetMB);
    // One step; false once the load is complete (nothing then changes).
    bool StepLoad();
    bool IsLoading() const;
    // Sets a status value from inside the engine and notifies it.
    void SetStatus(int id, int value);

    // ISampler
    void TouchParameter(int par, bool begin) override;
    void SetParameter(int par, int value) override;
    int GetParameter(int par) override;
    bool GetParameterInfo(int par, ParInfo* out) override;
    int Query4(int a) override;
    void AddParameterListener(Delegate1<int>* l) override;
    bool RemoveParameterListener(Delegate1<int>* l) override;
    void AddResetListener(Delegate* l) override;
    bool RemoveResetListener(Delegate* l) override;
    void SetSwitch(int id, bool on) override;
    bool GetSwitch(int id) override;
    void ResetToDefaults() override;

private:
    static bool ValidSetting(int par) { return par >= 0 && par < kSettings; }
    void Notify(int par);

    CallLog& m_log;
    Notifier& m_notifier;

    mutable std::mutex m_mutex;
    int m_values[kSettings];
    bool m_switches[kSettings];
    int m_gesture[kSettings] = {};
    int m_progress = 1000;
    int m_voices = 0;
    int m_memory = 0;
    int m_loadFromMB = 0;
    int m_loadToMB = 0;
    int m_step = kLoadSteps;

    ListenerList<Delegate1<int>> m_parameterListeners;
    ListenerList<Delegate> m_resetListeners;
};

} // namespace Substitute
} // namespace Corvell
