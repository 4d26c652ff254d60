#pragma once
// The sample player's read-outs in the view's display: memory in use and
// loading progress follow the sampler's notices, the number of sounding
// voices is polled. Holds its panes weakly; the sampler proxy and the
// timer pane must outlive it.
#include "binding/CVSampler.h"
#include "ui/ALabel.h"
#include "ui/TooltipViewer.h"

namespace Corvell {

class SamplerStatus {
public:
    static constexpr int32_t kPollMs = 100;
    static constexpr int32_t kDropDelayMs = 1000; // a lower voice count waits this long
    static constexpr int32_t kLoaded = 1000;

    // timers: the pane whose window runs the poll (normally the view).
    SamplerStatus(CVSampler* sampler, Pane* timers, ALabel* voices, ALabel* memory, TooltipViewer* status);
    ~SamplerStatus();
    SamplerStatus(const SamplerStatus&) = delete;
    SamplerStatus& operator=(const SamplerStatus&) = delete;

    // " %d MB" up to 999, then gigabytes with one decimal, rounded.
    static String MemoryText(int megabytes);
    // "Loading %d%%" below kLoaded, "Loaded" from there on.
    static String LoadingText(int progress);

    // Reads every value again (attach, reset).
    void Reload();
    // One poll of the voices, as the timer does it.
    void PollVoices();

private:
    void OnParameter(int par);
    void ShowMemory(bool force);
    void ShowLoading(bool force);
    void ShowVoices(int voices);

    CVSampler* const m_sampler;
    PaneGuard m_timers, m_voices, m_memory, m_status;
    Ref<Delegate1<int>> m_parameterListener;
    Ref<Delegate> m_resetListener;
    Ref<Delegate> m_poll;
    int m_shownMemory = -1;
    int m_shownTenth = -1;  // progress / 10 last shown
    int m_shownVoices = -1; // -1: nothing shown yet
    int m_lowerPolls = 0;   // polls in a row that read fewer voices
};

} // namespace Corvell
