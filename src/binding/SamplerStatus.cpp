#include "binding/SamplerStatus.h"

namespace Corvell {

SamplerStatus::SamplerStatus(CVSampler* sampler, Pane* timers, ALabel* voices, ALabel* memory,
                             TooltipViewer* status)
    : m_sampler(sampler), m_timers(timers), m_voices(voices), m_memory(memory), m_status(status),
      m_parameterListener(MakeDelegate(this, &SamplerStatus::OnParameter)),
      m_resetListener(MakeDelegate(this, &SamplerStatus::Reload)),
      m_poll(MakeDelegate(this, &SamplerStatus::PollVoices)) {
    if (m_sampler) {
        m_sampler->AddParameterListener(m_parameterListener.Get());
        m_sampler->AddResetListener(m_resetListener.Get());
    }
    if (timers)
        timers->AddTimer(m_poll, kPollMs);
    Reload();
}

SamplerStatus::~SamplerStatus() {
    if (m_sampler) {
        m_sampler->RemoveParameterListener(m_parameterListener.Get());
        m_sampler->RemoveResetListener(m_resetListener.Get());
    }
    if (Pane* p = m_timers.Get())
        p->RemoveTimer(m_poll.Get());
}

String SamplerStatus::MemoryText(int mb) {
    String text;
    if (mb < 1000) {
        text.Format(" %d MB", mb);
    } else {
        // Rounded to the nearest tenth, carrying into the whole gigabytes.
        const long long tenths = (static_cast<long long>(mb) * 10 + 512) / 1024;
        text.Format("%lld.%lld GB", tenths / 10, tenths % 10);
    }
    return text;
}

String SamplerStatus::LoadingText(int progress) {
    if (progress >= kLoaded)
        return String("Loaded");
    String text;
    text.Format("Loading %d%%", progress / 10);
    return text;
}

void SamplerStatus::Reload() {
    ShowMemory(true);
    ShowLoading(true);
    m_lowerPolls = 0;
    m_shownVoices = -1;
    PollVoices();
}

void SamplerStatus::OnParameter(int par) {
    if (par == ISampler::MemoryMB)
        ShowMemory(false);
    else if (par == ISampler::LoadingProgress)
        ShowLoading(false);
}

void SamplerStatus::ShowMemory(bool force) {
    auto* label = static_cast<ALabel*>(m_memory.Get());
    if (!label)
        return;
    if (!m_sampler || !m_sampler->Engine()) {
        if (label->GetText().GetLength() > 0)
            label->SetText(String());
        m_shownMemory = -1;
        return;
    }
    const int mb = m_sampler->GetParameter(ISampler::MemoryMB);
    if (!force && mb == m_shownMemory)
        return;
    m_shownMemory = mb;
    label->SetText(MemoryText(mb));
}

void SamplerStatus::ShowLoading(bool force) {
    auto* line = static_cast<TooltipViewer*>(m_status.Get());
    if (!line || !m_sampler || !m_sampler->Engine()) {
        m_shownTenth = -1;
        return;
    }
    const int progress = m_sampler->GetParameter(ISampler::LoadingProgress);
    const int tenth = progress / 10;
    if (!force && tenth == m_shownTenth)
        return;
    m_shownTenth = tenth;
    if (progress >= kLoaded)
        line->ShowTimed(LoadingText(progress));
    else
        line->Show(LoadingText(progress));
}

void SamplerStatus::PollVoices() {
    if (!m_sampler || !m_sampler->Engine()) {
        m_lowerPolls = 0;
        ShowVoices(-1);
        return;
    }
    const int voices = m_sampler->GetParameter(ISampler::Voices);
    if (voices >= m_shownVoices) {
        m_lowerPolls = 0;
        if (voices > m_shownVoices)
            ShowVoices(voices);
        return;
    }
    // Short drops do not flicker: a lower count shows once it has lasted.
    if (++m_lowerPolls * kPollMs >= kDropDelayMs) {
        m_lowerPolls = 0;
        ShowVoices(voices);
    }
}

void SamplerStatus::ShowVoices(int voices) {
    auto* label = static_cast<ALabel*>(m_voices.Get());
    m_shownVoices = voices;
    if (!label)
        return;
    String text;
    if (voices >= 0)
        text.Format("v:%3d", voices);
    // Polled ten times a second: repaint only what changed.
    if (text != label->GetText())
        label->SetText(text);
}

} // namespace Corvell
