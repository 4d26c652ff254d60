#include "SubstituteSampler.h"

#include <algorithm>
#include <cstring>

namespace Corvell {
namespace Substitute {

namespace {
struct RangeRow {
    int par, minimum, maximum, defaultValue;
};

// Ranges in the units the sampler's panels show (tenths of a dB, cents,
// per cent, tenths of a Hz ...); every other setting is plain 0..127.
constexpr RangeRow kRanges[] = {
    // par   min   max  default
    {0,    -600,   60,    0},  // master volume
    {1,     -12,   12,    0},  // pitch, semitones
    {2,    -100,  100,    0},  // pitch, cents
    {3,       0,  100,    0},  // modulation depth
    {4,       1,  200,   50},  // modulation frequency
    {5,       1,  127,   64},  // accent velocity, low (kept <= 6)
    {6,       1,  127,  100},  // accent velocity, high
    {7,    -600,   60,    0},  // muted sound
    {8,    -600,   60,    0},  // slow strum
    {9,    -600,   60,    0},  // key and pedal switch effects
    {10,   -600,   60,  -60},  // fret noise
    {11,   -600,   60,  -60},  // release noise
    {12,   -600,   60,  -60},  // pick noise
    {13,      0,  100,   50},  // attack time
    {15,   -100,  100,    0},  // release time
    {16,   -120,  120,    0},  // treble
    {17,   -120,  120,    0},  // bass
    {18,      0,  100,   50},  // tremolo depth
    {19,      1,  200,   50},  // tremolo frequency
    {20,      0,  100,   50},  // chorus level
    {22,      0,  100,   30},  // chorus depth 1
    {23,      1,  100,   20},  // chorus frequency
    {24,      0,  100,   30},  // chorus depth 2
    {32,      0,    8,    0},  // alternate samples
    {37,      0,    1,    1},  // quick load
    {43,      0,    9,    4},  // modulation duration
    {53,   -600,   60,    0},  // bridge mute
    {54,   -600,   60,    0},  // pinch harmonics
    {55,   -600,   60,    0},  // scrapes
    {56,   -600,   60,    0},  // scrapes
    {57,   -600,   60,    0},  // harmonics
    {59,      0,  120,   60},  // wah quality
    {60,     66,  143,  100},  // wah frequency
    {61,      0,    9,    4},  // wah modulation duration
    {62,      1,  200,   50},  // wah modulation rate
    {63,      0,  360,    0},  // wah modulation phase
    {64,      0,  100,   50},  // wah modulation depth
    {65,     66,  143,  100},  // wah modulation frequency
    {66,      0,  100,   50},  // auto wah depth
    {67,     66,  143,  100},  // auto wah frequency
    {68,      0,  100,   50},  // auto wah (falling) depth
    {69,     66,  143,  100},  // auto wah (falling) frequency
    {70,     66,  143,  143},  // wah top frequency
};

// Switches that start on: the noises and the modulation effects.
constexpr int kSwitchesOn[] = {10, 11, 12, 18, 20};

bool IsStatus(int id) {
    return id == ISampler::LoadingProgress || id == ISampler::Voices || id == ISampler::MemoryMB;
}
} // namespace

SubstituteSampler::Range SubstituteSampler::SettingRange(int par) {
    for (const auto& r : kRanges)
        if (r.par == par)
            return {r.minimum, r.maximum, r.defaultValue};
    return {0, 127, 0};
}

bool SubstituteSampler::DefaultSwitch(int id) {
    return std::find(std::begin(kSwitchesOn), std::end(kSwitchesOn), id) != std::end(kSwitchesOn);
}

SubstituteSampler::SubstituteSampler(CallLog& log, Notifier& notifier) : m_log(log), m_notifier(notifier) {
    for (int i = 0; i < kSettings; ++i) {
        m_values[i] = SettingRange(i).defaultValue;
        m_switches[i] = DefaultSwitch(i);
    }
}

SubstituteSampler::~SubstituteSampler() { m_notifier.Flush(); }

int SubstituteSampler::GestureDepth(int par) const {
    std::lock_guard<std::mutex> g(m_mutex);
    return ValidSetting(par) ? m_gesture[par] : 0;
}

size_t SubstituteSampler::ListenerCount() { return m_parameterListeners.Count() + m_resetListeners.Count(); }

void SubstituteSampler::Notify(int par) {
    m_notifier.Send([this, par] { m_parameterListeners.ForEach([par](Delegate1<int>* d) { d->Invoke(par); }); });
}

// ---- loading ------------------------------------------------------------------

void SubstituteSampler::BeginLoad(int targetMB) {
    {
        std::lock_guard<std::mutex> g(m_mutex);
        m_progress = 0;
        m_step = 0;
        m_loadFromMB = m_memory;
        m_loadToMB = std::max(0, targetMB);
        m_voices = 0;
    }
    Notify(LoadingProgress);
    Notify(MemoryMB);
}

bool SubstituteSampler::StepLoad() {
    {
        std::lock_guard<std::mutex> g(m_mutex);
        if (m_step >= kLoadSteps)
            return false;
        ++m_step;
        m_progress = m_step * 1000 / kLoadSteps;
        m_memory = m_loadFromMB + (m_loadToMB - m_loadFromMB) * m_step / kLoadSteps;
        // A few voices sound while the first samples arrive, then fade.
        static constexpr int kVoices[] = {0, 2, 6, 12, 9, 4, 1};
        m_voices = m_step < kLoadSteps ? kVoices[m_step % 7] : 0;
    }
    Notify(LoadingProgress);
    Notify(MemoryMB);
    return true;
}

bool SubstituteSampler::IsLoading() const {
    std::lock_guard<std::mutex> g(m_mutex);
    return m_step < kLoadSteps;
}

void SubstituteSampler::SetStatus(int id, int value) {
    {
        std::lock_guard<std::mutex> g(m_mutex);
        if (id == LoadingProgress)
            m_progress = value;
        else if (id == Voices)
            m_voices = value;
        else if (id == MemoryMB)
            m_memory = value;
        else
            return;
    }
    Notify(id);
}

// ---- ISampler -------------------------------------------------------------------

void SubstituteSampler::TouchParameter(int par, bool begin) {
    m_log.Add("ISampler", "TouchParameter", {par, begin});
    if (!ValidSetting(par))
        return;
    std::lock_guard<std::mutex> g(m_mutex);
    m_gesture[par] = std::max(0, m_gesture[par] + (begin ? 1 : -1));
}

void SubstituteSampler::SetParameter(int par, int value) {
    m_log.Add("ISampler", "SetParameter", {par, value});
    if (!ValidSetting(par))
        return; // status values are read-only
    {
        std::lock_guard<std::mutex> g(m_mutex);
        const Range r = SettingRange(par);
        m_values[par] = std::clamp(value, r.minimum, r.maximum);
    }
    Notify(par);
}

int SubstituteSampler::GetParameter(int par) {
    std::lock_guard<std::mutex> g(m_mutex);
    if (ValidSetting(par))
        return m_values[par];
    switch (par) {
    case LoadingProgress:
        return m_progress;
    case Voices:
        return m_voices;
    case MemoryMB:
        return m_memory;
    default:
        return 0;
    }
}

bool SubstituteSampler::GetParameterInfo(int par, ParInfo* out) {
    m_log.Add("ISampler", "GetParameterInfo", {par});
    if (!out || !ValidSetting(par))
        return false;
    const Range r = SettingRange(par);
    std::memset(out, 0, sizeof *out);
    out->minimum = static_cast<int16_t>(r.minimum);
    out->maximum = static_cast<int16_t>(r.maximum);
    out->defaultValue = static_cast<int16_t>(r.defaultValue);
    return true;
}

int SubstituteSampler::Query4(int a) {
    m_log.Add("ISampler", "Query4", {a});
    return 0;
}

void SubstituteSampler::AddParameterListener(Delegate1<int>* l) {
    m_log.Add("ISampler", "AddParameterListener");
    m_parameterListeners.Add(l);
}

bool SubstituteSampler::RemoveParameterListener(Delegate1<int>* l) {
    m_log.Add("ISampler", "RemoveParameterListener");
    return m_parameterListeners.Remove(l);
}

void SubstituteSampler::AddResetListener(Delegate* l) {
    m_log.Add("ISampler", "AddResetListener");
    m_resetListeners.Add(l);
}

bool SubstituteSampler::RemoveResetListener(Delegate* l) {
    m_log.Add("ISampler", "RemoveResetListener");
    return m_resetListeners.Remove(l);
}

void SubstituteSampler::SetSwitch(int id, bool on) {
    m_log.Add("ISampler", "SetSwitch", {id, on});
    if (!ValidSetting(id) || IsStatus(id))
        return;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        m_switches[id] = on;
    }
    Notify(id);
}

bool SubstituteSampler::GetSwitch(int id) {
    std::lock_guard<std::mutex> g(m_mutex);
    return ValidSetting(id) && m_switches[id];
}

void SubstituteSampler::ResetToDefaults() {
    m_log.Add("ISampler", "ResetToDefaults");
    {
        std::lock_guard<std::mutex> g(m_mutex);
        for (int i = 0; i < kSettings; ++i) {
            m_values[i] = SettingRange(i).defaultValue;
            m_switches[i] = DefaultSwitch(i);
            m_gesture[i] = 0;
        }
    }
    m_notifier.Send([this] { m_resetListeners.ForEach([](Delegate* d) { d->Invoke(); }); });
}

} // namespace Substitute
} // namespace Corvell
