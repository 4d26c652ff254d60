#include "SubstituteRnC.h"

#include "ChordRecognizer.h"
#include "ui/core/Effects.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace Corvell {
namespace Substitute {

namespace {
// Parameter identifiers as the view's pages bind them; the shared header
// names only those the main view needs, and these reuse its names.
enum Par : int {
    PlayMode = rncPlayMode,
    StrumTime = rncStrumTime,
    KeyboardLow = rncKeyboardLow,
    KeyboardHigh = rncKeyboardHigh,
    PitchBendUpDestination = 5,
    PitchBendUpSlideSteps = 6,
    PitchBendUpRange = 7,
    ModWheelDestination = 8,
    ModWheelSlideSteps = 9,
    ModWheelRange = 10,
    AftertouchDestination = 11,
    AftertouchRange = 12,
    VelocityCurve = rncVelocityCurve,
    Capo = rncCapo,
    AutoFretPosition = rncAutoFretPosition,
    SlideKind = 17, // 0 off, 1 up, 2 down
    SlideUpVelocity = 18,
    SlideUpSteps = 19,
    SlideUpTime = 20,
    SlideDownVelocity = 21,
    SlideDownSteps = 22,
    SlideDownTime = 23,
    BendKind = 24, // 0 off, 1 bend, 2 reverse bend
    BendVelocity = 25,
    BendSteps = 26,
    BendTime = 27,
    ReverseBendVelocity = 28,
    ReverseBendSteps = 29,
    ReverseBendTime = 30,
    Hold = rncHold,
    PatternLatch = 32,
    ChordType = 33, // the chord display's fields, -1 for none
    ChordRoot = 34,
    ChordBass = 35,
    ChordShownPosition = 36,
    UserChord = 37,
    ChordPosition = 38,
    SlowStrumHighVelo = 39,
    SlowStrumHighVelocity = 40,
    SlowStrumHighTime = 41,
    SlowStrumLowVelo = 42,
    SlowStrumLowVelocity = 43,
    SlowStrumLowTime = 44,
    AlterBass = 45,
    BassMono = 46,
    ChordDetectTime = rncChordDetectTime,
    AddOnKeys = 48,
    LowerString = 49,
    UpperString = 50,
    StringCount = 51,
    Harmony = 53,
    SoloHold = rncSoloHold,
    Legato = 55,
    SilentMode = rncSilentMode,
    VeloMute = 60,
    VeloMuteVelocity = 61,
    MonoSteps = 66,
    HammerOn = 67,
    HammerOnSteps = 68,
    HammerOnStepsTwin = 69, // always written with HammerOnSteps
    BassZone = 73,
    BassZoneUpperKey = 74,
    ChordAndBass = 75,
    PickPosition = rncPickPosition,
    PitchBendDownDestination = 78, // -1: as pitch bend up
    PitchBendDownSlideSteps = 79,
    PitchBendDownRange = 80, // -11: none chosen yet
    PedalFunction = 81,
    KeySwitchReduce = rncKeySwitchReduce,
    WheelsOnPressedKeys = rncWheelsOnPressedKeys,
    SlideOverCapo = 84,
    VeloUp = 88,
    VeloDown = 89,
    WahController = 90,
    FeedbackerInterval = 91,
    SlideTime = 92,
    PatternMode = rncPatternMode,
    PatternFromTrack = 96,
    FxNoticesSuspended = rncFxNoticesSuspended,
};

struct RangeRow {
    Par par;
    int minimum, maximum, defaultValue;
};

// Ranges fixed by the controls that show them; the rest are plain 0..127.
constexpr RangeRow kRanges[] = {
    // par                       min  max  default
    {PlayMode,                     1,  10,   1},
    {StrumTime,                   20,  60,  30},
    {KeyboardLow,                 24,  48,  36},
    {KeyboardHigh,                72,  96,  84},
    {PitchBendUpDestination,       0,   5,   2},
    {PitchBendUpSlideSteps,        1,  12,   2},
    {PitchBendUpRange,           -10,   4,   0},
    {ModWheelDestination,          0,   4,   3},
    {ModWheelSlideSteps,           1,  12,   2},
    {ModWheelRange,              -10,   4,   0},
    {AftertouchDestination,        0,   5,   0},
    {AftertouchRange,              0,   4,   0},
    {VelocityCurve,                0,   3,   0},
    {Capo,                         0,  22,   0},
    {AutoFretPosition,             0,   1,   0},
    {SlideKind,                    0,   2,   0},
    {SlideUpVelocity,              1, 127, 100},
    {SlideUpSteps,                 1,   3,   1},
    {SlideUpTime,                 40, 200,  90},
    {SlideDownVelocity,            1, 127, 100},
    {SlideDownSteps,               2,  12,   5},
    {SlideDownTime,               40, 200, 120},
    {BendKind,                     0,   2,   0},
    {BendVelocity,                 1, 127, 100},
    {BendSteps,                    1,   2,   1},
    {BendTime,                   100, 800, 200},
    {ReverseBendVelocity,          1, 127, 100},
    {ReverseBendSteps,             1,   2,   1},
    {ReverseBendTime,            100, 800, 200},
    {Hold,                         0,   1,   0},
    {PatternLatch,                 0,   1,   0},
    {ChordType,                   -1,  70,  -1},
    {ChordRoot,                   -1,  11,  -1},
    {ChordBass,                   -1,  11,  -1},
    {ChordShownPosition,           0,   4,   0},
    {UserChord,                    0,   1,   0},
    {ChordPosition,                1,   5,   1},
    {SlowStrumHighVelo,            0,   1,   0},
    {SlowStrumHighVelocity,        1, 127, 100},
    {SlowStrumHighTime,           45, 300, 100},
    {SlowStrumLowVelo,             0,   1,   0},
    {SlowStrumLowVelocity,         1, 127,  40},
    {SlowStrumLowTime,            45, 300, 100},
    {AlterBass,                    0,   1,   0},
    {BassMono,                     0,   1,   0},
    {ChordDetectTime,              0,  50,  10},
    {AddOnKeys,                    0,   2,   1},
    {LowerString,                  1,   6,   6},
    {UpperString,                  1,   6,   1},
    {StringCount,                  2,   5,   4},
    {Harmony,                      1,   6,   1},
    {SoloHold,                     0,   1,   0},
    {Legato,                       0,   1,   0},
    {SilentMode,                   0,   1,   0},
    {VeloMute,                     0,   1,   0},
    {VeloMuteVelocity,             1, 127,  20},
    {MonoSteps,                    0,   1,   0},
    {HammerOn,                     0,   1,   0},
    {HammerOnSteps,                1,  12,   2},
    {HammerOnStepsTwin,            1,  12,   2},
    {BassZone,                     0,   1,   0},
    {BassZoneUpperKey,            40,  76,  52},
    {ChordAndBass,                 0,   1,   0},
    {PickPosition,                -7,   7,   0},
    {PitchBendDownDestination,    -1,   5,  -1},
    {PitchBendDownSlideSteps,      0,  12,   0},
    {PitchBendDownRange,         -11,   4, -11},
    {PedalFunction,                0,   8,   0},
    {KeySwitchReduce,              0,   4,   0},
    {WheelsOnPressedKeys,          0,   1,   0},
    {SlideOverCapo,                0,   2,   0},
    {VeloUp,                       1, 127, 100},
    {VeloDown,                     1, 127,  30},
    {WahController,                0, 127,  11},
    {FeedbackerInterval,           0,   5,   0},
    {SlideTime,                   40, 200,  80},
    {PatternMode,                  0,   1,   0},
    {PatternFromTrack,             0,   1,   0},
    {FxNoticesSuspended,           0,   1,   0},
};

// One row per parameter, in ascending order, each default inside its range.
constexpr bool RangesWellFormed() {
    int last = -1;
    for (const RangeRow& r : kRanges) {
        if (r.par <= last || r.par >= static_cast<int>(rncParCount) || r.minimum > r.maximum || r.defaultValue < r.minimum ||
            r.defaultValue > r.maximum)
            return false;
        last = r.par;
    }
    return true;
}
static_assert(RangesWellFormed(), "parameter range table");
} // namespace

SubstituteRnC::Range SubstituteRnC::ParameterRange(int par) {
    for (const auto& r : kRanges)
        if (r.par == par)
            return {r.minimum, r.maximum, r.defaultValue};
    return {0, 127, 0};
}

SubstituteRnC::SubstituteRnC(CallLog& log, Notifier& notifier) : m_log(log), m_notifier(notifier) {
    for (int i = 0; i < rncParCount; ++i)
        m_values[i] = ParameterRange(i).defaultValue;
}

SubstituteRnC::~SubstituteRnC() { m_notifier.Flush(); }

int SubstituteRnC::GestureDepth(int par) const {
    std::lock_guard<std::mutex> g(m_mutex);
    return ValidPar(par) ? m_gesture[par] : 0;
}

size_t SubstituteRnC::ListenerCount() {
    size_t n = m_parameterListeners.Count() + m_resetListeners.Count() + m_playbackListeners.Count() +
               m_messageListeners.Count() + m_fxListeners.Count();
    std::lock_guard<std::mutex> g(m_presetListenerMutex);
    for (auto& [bank, list] : m_presetListeners)
        n += list.Count();
    return n;
}

// ---- notices ------------------------------------------------------------------

void SubstituteRnC::NotifyParameter(ERnCPars par) {
    m_notifier.Send([this, par] { m_parameterListeners.ForEach([par](Delegate1<ERnCPars>* d) { d->Invoke(par); }); });
}

void SubstituteRnC::NotifyReset() {
    m_notifier.Send([this] { m_resetListeners.ForEach([](Delegate* d) { d->Invoke(); }); });
}

// Effect and preset notices come on the calling thread, as the real engine's do.
void SubstituteRnC::NotifyFx(FxListenerArgs args) {
    m_fxListeners.ForEach([args](Delegate1<FxListenerArgs>* d) { d->Invoke(args); });
}

void SubstituteRnC::NotifyPresets(int bank, bool listChanged) {
    ListenerList<PresetListener>* list;
    {
        std::lock_guard<std::mutex> g(m_presetListenerMutex);
        list = &m_presetListeners[bank];
    }
    list->ForEach([listChanged](PresetListener* l) {
        if (listChanged)
            l->OnPresetListChanged();
        else
            l->OnPresetChanged();
    });
}

void SubstituteRnC::SendMessage(const char* text) {
    std::string copy = text ? text : "";
    m_notifier.Send([this, copy] { m_messageListeners.ForEach([&copy](Delegate1<const char*>* d) { d->Invoke(copy.c_str()); }); });
}

void SubstituteRnC::SendPlayback(SPlaybackEvent e) {
    m_notifier.Send([this, e] { m_playbackListeners.ForEach([e](Delegate1<SPlaybackEvent>* d) { d->Invoke(e); }); });
}

// ---- parameters ---------------------------------------------------------------

void SubstituteRnC::StoreParameter(ERnCPars par, int value) {
    bool resumeFx = false;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        const Range r = ParameterRange(par);
        const int old = m_values[par];
        m_values[par] = std::clamp(value, r.minimum, r.maximum);
        resumeFx = par == rncFxNoticesSuspended && old != 0 && m_values[par] == 0;
    }
    NotifyParameter(par);
    if (resumeFx)
        NotifyFx({kFxAll, false, true});
}

void SubstituteRnC::TouchParameter(ERnCPars par, bool begin) {
    m_log.Add("IRnC", "TouchParameter", {par, begin});
    if (!ValidPar(par))
        return;
    std::lock_guard<std::mutex> g(m_mutex);
    m_gesture[par] = std::max(0, m_gesture[par] + (begin ? 1 : -1));
}

void SubstituteRnC::SetParameter(ERnCPars par, int value) {
    m_log.Add("IRnC", "SetParameter", {par, value});
    if (ValidPar(par))
        StoreParameter(par, value);
}

void SubstituteRnC::EngineSetParameter(ERnCPars par, int value) {
    if (ValidPar(par))
        StoreParameter(par, value);
}

int SubstituteRnC::GetParameter(ERnCPars par) {
    if (!ValidPar(par))
        return 0;
    std::lock_guard<std::mutex> g(m_mutex);
    return m_values[par];
}

int SubstituteRnC::GetParameterDefault(ERnCPars par) { return ValidPar(par) ? ParameterRange(par).defaultValue : 0; }

void SubstituteRnC::ResetToDefaults() {
    m_log.Add("IRnC", "ResetToDefaults");
    {
        std::lock_guard<std::mutex> g(m_mutex);
        for (int i = 0; i < rncParCount; ++i)
            m_values[i] = ParameterRange(i).defaultValue;
        m_heldKeys.clear();
        for (auto& s : m_slots)
            s = Slot();
        for (auto& t : m_typed)
            t = Typed();
    }
    NotifyReset();
    NotifyFx({kFxAll, false, true});
    SendPlayback(SPlaybackEvent::Make(SPlaybackEvent::ClearAll, 0, 0, 0));
}

// ---- listeners -----------------------------------------------------------------

void SubstituteRnC::AddParameterListener(Delegate1<ERnCPars>* l) {
    m_log.Add("IRnC", "AddParameterListener");
    m_parameterListeners.Add(l);
}
bool SubstituteRnC::RemoveParameterListener(Delegate1<ERnCPars>* l) {
    m_log.Add("IRnC", "RemoveParameterListener");
    return m_parameterListeners.Remove(l);
}
void SubstituteRnC::AddResetListener(Delegate* l) {
    m_log.Add("IRnC", "AddResetListener");
    m_resetListeners.Add(l);
}
bool SubstituteRnC::RemoveResetListener(Delegate* l) {
    m_log.Add("IRnC", "RemoveResetListener");
    return m_resetListeners.Remove(l);
}
void SubstituteRnC::AddPlaybackListener(Delegate1<SPlaybackEvent>* l) {
    m_log.Add("IRnC", "AddPlaybackListener");
    m_playbackListeners.Add(l);
}
bool SubstituteRnC::RemovePlaybackListener(Delegate1<SPlaybackEvent>* l) {
    m_log.Add("IRnC", "RemovePlaybackListener");
    return m_playbackListeners.Remove(l);
}
void SubstituteRnC::AddMessageListener(Delegate1<const char*>* l) {
    m_log.Add("IRnC", "AddMessageListener");
    m_messageListeners.Add(l);
}
bool SubstituteRnC::RemoveMessageListener(Delegate1<const char*>* l) {
    m_log.Add("IRnC", "RemoveMessageListener");
    return m_messageListeners.Remove(l);
}
void SubstituteRnC::AddFxListener(Delegate1<FxListenerArgs>* l) {
    m_log.Add("IRnC", "AddFxListener");
    m_fxListeners.Add(l);
}
bool SubstituteRnC::RemoveFxListener(Delegate1<FxListenerArgs>* l) {
    m_log.Add("IRnC", "RemoveFxListener");
    return m_fxListeners.Remove(l);
}
void SubstituteRnC::AddPresetListener(int bank, PresetListener* l) {
    m_log.Add("IRnC", "AddPresetListener", {bank});
    std::lock_guard<std::mutex> g(m_presetListenerMutex);
    m_presetListeners[bank].Add(l);
}
void SubstituteRnC::RemovePresetListener(int bank, PresetListener* l) {
    m_log.Add("IRnC", "RemovePresetListener", {bank});
    std::lock_guard<std::mutex> g(m_presetListenerMutex);
    auto it = m_presetListeners.find(bank);
    if (it != m_presetListeners.end())
        it->second.Remove(l);
}

// ---- notes and keys ---------------------------------------------------------------

void SubstituteRnC::PlayFretNote(int packed) {
    m_log.Add("IRnC", "PlayFretNote", {packed});
    const uint32_t u = static_cast<uint32_t>(packed);
    // The neck marks it; no key event, the library echoes the key itself.
    SendPlayback(SPlaybackEvent::Make(u & 0xFF, (u >> 8) & 0xFF, (u >> 16) & 0xFF, (u >> 24) & 0xFF));
}

void SubstituteRnC::Command14(int a, int b) { m_log.Add("IRnC", "Command14", {a, b}); }

void SubstituteRnC::SendKeyboardNote(bool on, int note) {
    m_log.Add("IRnC", "SendKeyboardNote", {on, note});
    if (note < 0 || note > 127)
        return;
    SendPlayback(SPlaybackEvent::Make(on ? SPlaybackEvent::KeyDown : SPlaybackEvent::KeyUp, static_cast<unsigned>(note), 0, 0));
    bool changed;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        changed = on ? m_heldKeys.insert(note).second : m_heldKeys.erase(note) > 0;
    }
    // A repeated press or a stray release leaves the chord as it is.
    if (changed)
        ShowHeldChord();
    // A plain fingering: the highest string (of standard tuning) that reaches the note within 22 frets.
    static const int open[6] = {64, 59, 55, 50, 45, 40};
    for (int s = 0; s < 6; ++s) {
        const int fret = note - open[s];
        if (fret >= 0 && fret <= 22) {
            SendPlayback(SPlaybackEvent::Make(on ? SPlaybackEvent::NoteOn : SPlaybackEvent::NoteOff,
                                              static_cast<unsigned>(s), static_cast<unsigned>(fret), 100));
            break;
        }
    }
}

void SubstituteRnC::ShowHeldChord() {
    ERnCPars changed[5];
    int count = 0;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        const RecognizedChord c = RecognizeChord(m_heldKeys);
        const int values[5] = {c.type, c.root, c.bass, c.position, 0};
        for (int i = 0; i < 5; ++i) {
            const ERnCPars par = ERnCPars(ChordType + i);
            if (m_values[par] != values[i]) {
                m_values[par] = values[i];
                changed[count++] = par;
            }
        }
    }
    // Only what changed is told, as the engine does.
    for (int i = 0; i < count; ++i)
        NotifyParameter(changed[i]);
}

int SubstituteRnC::GetKeyFunction(int note) {
    // Key switches: the lowest keys from 24 (fewer as 82 grows) and the top group.
    const int reduce = GetParameter(rncKeySwitchReduce);
    if (note >= 24 && note < 24 + 16 - reduce)
        return 8;
    if (note >= 92 && note <= 108)
        return 8;
    return 0;
}

// ---- effects -------------------------------------------------------------------------

int SubstituteRnC::GetFxType(int fxSlot) {
    if (!ValidSlot(fxSlot))
        return -1;
    std::lock_guard<std::mutex> g(m_mutex);
    return m_slots[fxSlot].type;
}

void SubstituteRnC::SetFxType(int fxSlot, int type) {
    m_log.Add("IRnC", "SetFxType", {fxSlot, type});
    if (!ValidSlot(fxSlot))
        return;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        Slot& s = m_slots[fxSlot];
        s.type = std::max(-5, std::min(type, kFxTypes - 1));
        s.value[0] = s.value[1] = 0;
    }
    NotifyFx({fxSlot, true, true});
}

bool SubstituteRnC::IsFxOn(int fxSlot) {
    if (!ValidSlot(fxSlot))
        return false;
    std::lock_guard<std::mutex> g(m_mutex);
    return m_slots[fxSlot].on;
}

void SubstituteRnC::SetFxOn(int fxSlot, bool on) {
    m_log.Add("IRnC", "SetFxOn", {fxSlot, on});
    if (!ValidSlot(fxSlot))
        return;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        m_slots[fxSlot].on = on;
    }
    NotifyFx({fxSlot, true, false});
}

int SubstituteRnC::GetFxValue(int fxSlot, int index) {
    if (!ValidSlot(fxSlot) || index < 0 || index > 1)
        return 0;
    std::lock_guard<std::mutex> g(m_mutex);
    return m_slots[fxSlot].value[index];
}

void SubstituteRnC::SetFxValue(int fxSlot, int index, int value) {
    m_log.Add("IRnC", "SetFxValue", {fxSlot, index, value});
    if (!ValidSlot(fxSlot) || index < 0 || index > 1)
        return;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        // The effect's own range where it has this value (times run to 2000 ms).
        const Effects::EffectRecord& r = Effects::Lookup(m_slots[fxSlot].type);
        const bool ranged = index < r.valueCount;
        m_slots[fxSlot].value[index] =
            std::clamp(value, ranged ? r.values[index].minimum : 0, ranged ? r.values[index].maximum : 127);
    }
    NotifyFx({fxSlot, true, false});
}

bool SubstituteRnC::Query23(int a, int b) {
    m_log.Add("IRnC", "Query23", {a, b});
    return false;
}

int SubstituteRnC::GetFxInfo(int fxSlot, int what, void*) {
    if (!ValidSlot(fxSlot))
        return what == 3 ? -1 : 0;
    std::lock_guard<std::mutex> g(m_mutex);
    const Slot& s = m_slots[fxSlot];
    if (what >= 0 && what <= 2)
        return s.sw[what] ? 1 : 0;
    if (what == 3)
        return s.type >= 0 ? 0 : -1;
    return 0;
}

void SubstituteRnC::SetFxSwitch(int fxSlot, int which, bool on) {
    m_log.Add("IRnC", "SetFxSwitch", {fxSlot, which, on});
    if (!ValidSlot(fxSlot) || which < 0 || which > 2)
        return;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        m_slots[fxSlot].sw[which] = on;
    }
    NotifyFx({fxSlot, true, false});
}

bool SubstituteRnC::IsTypedFxOn(int fxType) {
    if (!ValidType(fxType))
        return false;
    std::lock_guard<std::mutex> g(m_mutex);
    return m_typed[fxType].on;
}

void SubstituteRnC::SetTypedFxOn(int fxType, bool on) {
    m_log.Add("IRnC", "SetTypedFxOn", {fxType, on});
    if (!ValidType(fxType))
        return;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        m_typed[fxType].on = on;
    }
    NotifyFx({fxType, false, false});
}

int SubstituteRnC::GetTypedFxValue(int fxType, int index) {
    if (!ValidType(fxType) || index < 0 || index > 1)
        return 0;
    std::lock_guard<std::mutex> g(m_mutex);
    return m_typed[fxType].value[index];
}

void SubstituteRnC::SetTypedFxValue(int fxType, int index, int value) {
    m_log.Add("IRnC", "SetTypedFxValue", {fxType, index, value});
    if (!ValidType(fxType) || index < 0 || index > 1)
        return;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        m_typed[fxType].value[index] = std::clamp(value, 0, 127);
    }
    NotifyFx({fxType, false, false});
}

// ---- presets (bank 1 holds the key-switch rows, slots 3..35) ---------------------------

void SubstituteRnC::EnumPresets(int bank, Delegate1<const char*>* each) {
    m_log.Add("IRnC", "EnumPresets", {bank});
    if (!each)
        return;
    std::vector<std::string> names;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        for (const auto& [name, preset] : m_presets[bank])
            names.push_back(name);
    }
    for (const auto& n : names)
        each->Invoke(n.c_str());
}

int SubstituteRnC::GetCurrentPresetName(int bank, char* out, unsigned size) {
    m_log.Add("IRnC", "GetCurrentPresetName", {bank, size});
    if (!out || size == 0)
        return -1;
    std::lock_guard<std::mutex> g(m_mutex);
    auto it = m_currentPreset.find(bank);
    const std::string name = it == m_currentPreset.end() ? std::string() : it->second;
    const size_t n = std::min<size_t>(name.size(), size - 1);
    std::memcpy(out, name.data(), n);
    out[n] = 0;
    return name.empty() ? -1 : 0;
}

void SubstituteRnC::LoadPreset(int bank, const char* name) {
    m_log.Add("IRnC", "LoadPreset", {bank}, name ? name : "");
    if (!name)
        return;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        auto& bankPresets = m_presets[bank];
        auto it = bankPresets.find(name);
        if (it == bankPresets.end())
            return;
        for (int i = 0; i < 33; ++i)
            m_slots[3 + i] = it->second[static_cast<size_t>(i)];
        m_currentPreset[bank] = name;
    }
    NotifyFx({kFxAll, false, true});
    NotifyPresets(bank, false);
}

bool SubstituteRnC::SavePreset(int bank, const char* name) {
    m_log.Add("IRnC", "SavePreset", {bank}, name ? name : "");
    if (!name || !*name)
        return false;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        Preset p;
        for (int i = 0; i < 33; ++i)
            p[static_cast<size_t>(i)] = m_slots[3 + i];
        m_presets[bank][name] = p;
        m_currentPreset[bank] = name;
    }
    NotifyPresets(bank, true);
    return true;
}

bool SubstituteRnC::DeletePreset(int bank, const char* name) {
    m_log.Add("IRnC", "DeletePreset", {bank}, name ? name : "");
    if (!name)
        return false;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        if (m_presets[bank].erase(name) == 0)
            return false;
        if (m_currentPreset[bank] == name)
            m_currentPreset.erase(bank);
    }
    NotifyPresets(bank, true);
    return true;
}

// ---- output settings -------------------------------------------------------------------

int SubstituteRnC::GetOutputSetting(int kind) {
    if (kind < 1 || kind > 2)
        return 0;
    std::lock_guard<std::mutex> g(m_mutex);
    return m_output[kind];
}

void SubstituteRnC::SetOutputSetting(int kind, int value) {
    m_log.Add("IRnC", "SetOutputSetting", {kind, value});
    if (kind < 1 || kind > 2)
        return;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        m_output[kind] = kind == 1 ? std::clamp(value, 1, 3) : std::clamp(value, 0, 15);
        value = m_output[kind];
    }
    NotifyOutput(kind, value);
}

void SubstituteRnC::NotifyOutput(int kind, int value) {
    void* ctx;
    OutputSettingCallback cb;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        ctx = m_outputContext;
        cb = m_outputCallback;
    }
    const int data[3] = {kind, 0, value};
    if (cb)
        cb(ctx, 0, data);
}

void SubstituteRnC::SetOutputSettingCallback(void* context, OutputSettingCallback callback) {
    m_log.Add("IRnC", "SetOutputSettingCallback", {callback != nullptr});
    std::lock_guard<std::mutex> g(m_mutex);
    m_outputContext = callback ? context : nullptr;
    m_outputCallback = callback;
}

bool SubstituteRnC::Query46(int a) {
    m_log.Add("IRnC", "Query46", {a});
    return false;
}
void SubstituteRnC::Command47(int a, int b, int c, int d, int e) { m_log.Add("IRnC", "Command47", {a, b, c, d, e}); }
void SubstituteRnC::SettingsCommand51() { m_log.Add("IRnC", "SettingsCommand51"); }
void SubstituteRnC::SettingsCommand52() { m_log.Add("IRnC", "SettingsCommand52"); }

// ---- settings files: "par <id> <value>", "slot <i> <type> <on> <v0> <v1> <s0> <s1> <s2>",
// "typed <t> <on> <v0> <v1>", "output <kind> <value>" -------------------------------------

bool SubstituteRnC::WriteSettings(const std::string& path) {
    std::ostringstream out;
    out << "kvsong 1\n";
    {
        std::lock_guard<std::mutex> g(m_mutex);
        for (int i = 0; i < rncParCount; ++i)
            out << "par " << i << ' ' << m_values[i] << '\n';
        for (int i = 0; i < kFxSlots; ++i) {
            const Slot& s = m_slots[i];
            out << "slot " << i << ' ' << s.type << ' ' << s.on << ' ' << s.value[0] << ' ' << s.value[1] << ' '
                << s.sw[0] << ' ' << s.sw[1] << ' ' << s.sw[2] << '\n';
        }
        for (int t = 0; t < kFxTypes; ++t)
            out << "typed " << t << ' ' << m_typed[t].on << ' ' << m_typed[t].value[0] << ' ' << m_typed[t].value[1]
                << '\n';
        out << "output 1 " << m_output[1] << "\noutput 2 " << m_output[2] << '\n';
    }
    // Written beside and renamed over, so a failed write never destroys the old file.
    const std::string tmp = path + ".tmp";
    {
        std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
        f << out.str();
        if (!f.flush())
            return false;
    }
    std::remove(path.c_str());
    return std::rename(tmp.c_str(), path.c_str()) == 0;
}

void SubstituteRnC::SaveSettingsFile(const char* path) {
    m_log.Add("IRnC", "SaveSettingsFile", {}, path ? path : "");
    if (!path || !WriteSettings(path))
        SendMessage("Could not save the settings file.");
}

void SubstituteRnC::SaveSettingsAsDefault() {
    m_log.Add("IRnC", "SaveSettingsAsDefault");
    if (defaultSettingsPath.empty() || !WriteSettings(defaultSettingsPath))
        SendMessage("Could not save the default settings.");
}

void SubstituteRnC::LoadSettingsFile(const char* path) {
    m_log.Add("IRnC", "LoadSettingsFile", {}, path ? path : "");
    std::ifstream f(path ? path : "", std::ios::binary);
    std::string magic;
    int version = 0;
    if (!f || !(f >> magic >> version) || magic != "kvsong" || version != 1) {
        SendMessage("Not a settings file.");
        return;
    }
    // Parse everything first: a damaged file changes nothing.
    int values[rncParCount];
    Slot slots[kFxSlots];
    Typed typed[kFxTypes];
    int output[3];
    {
        std::lock_guard<std::mutex> g(m_mutex);
        std::copy(std::begin(m_values), std::end(m_values), values);
        std::copy(std::begin(m_slots), std::end(m_slots), slots);
        std::copy(std::begin(m_typed), std::end(m_typed), typed);
        std::copy(std::begin(m_output), std::end(m_output), output);
    }
    std::string word;
    bool ok = true;
    while (ok && f >> word) {
        int i = -1;
        if (word == "par") {
            int v;
            ok = static_cast<bool>(f >> i >> v) && ValidPar(i);
            if (ok) {
                const Range r = ParameterRange(i);
                values[i] = std::clamp(v, r.minimum, r.maximum);
            }
        } else if (word == "slot") {
            Slot s;
            ok = static_cast<bool>(f >> i >> s.type >> s.on >> s.value[0] >> s.value[1] >> s.sw[0] >> s.sw[1] >> s.sw[2]) &&
                 ValidSlot(i);
            if (ok)
                slots[i] = s;
        } else if (word == "typed") {
            Typed t;
            ok = static_cast<bool>(f >> i >> t.on >> t.value[0] >> t.value[1]) && ValidType(i);
            if (ok)
                typed[i] = t;
        } else if (word == "output") {
            int v;
            ok = static_cast<bool>(f >> i >> v) && (i == 1 || i == 2);
            if (ok)
                output[i] = v;
        } else {
            ok = false;
        }
    }
    if (!ok) {
        SendMessage("The settings file is damaged; nothing was changed.");
        return;
    }
    {
        std::lock_guard<std::mutex> g(m_mutex);
        std::copy(std::begin(values), std::end(values), m_values);
        std::copy(std::begin(slots), std::end(slots), m_slots);
        std::copy(std::begin(typed), std::end(typed), m_typed);
        std::copy(std::begin(output), std::end(output), m_output);
    }
    NotifyReset();
    NotifyFx({kFxAll, false, true});
}

} // namespace Substitute
} // namespace Corvell
