#pragma once
// A model of the engine's play logic: parameters with ranges and defaults,
// edit gestures, effect slots and types, presets, output settings, settings
// files, engine messages and playback events.
#include "CallLog.h"
#include "ListenerList.h"
#include "Notifier.h"
#include "binding/IRnC.h"

#include <array>
#include <map>
#include <mutex>
#include <set>
#include <string>

namespace Corvell {
namespace Substitute {

class SubstituteRnC final : public IRnC {
public:
    static constexpr int kFxSlots = 37;
    static constexpr int kFxTypes = 39;

    struct Range {
        int minimum, maximum, defaultValue;
    };

    SubstituteRnC(CallLog& log, Notifier& notifier);
    ~SubstituteRnC();

    static Range ParameterRange(int par);
    int GestureDepth(int par) const;
    size_t ListenerCount();

    // Test and host drivers: notices as the real engine would send them.
    void SendMessage(const char* text);
    void SendPlayback(SPlaybackEvent e);
    // Writes a parameter from inside the engine (no gesture, logged apart).
    void EngineSetParameter(ERnCPars par, int value);

    // IRnC
    void TouchParameter(ERnCPars par, bool begin) override;
    void SetParameter(ERnCPars par, int value) override;
    int GetParameter(ERnCPars par) override;
    void AddParameterListener(Delegate1<ERnCPars>* l) override;
    bool RemoveParameterListener(Delegate1<ERnCPars>* l) override;
    void AddResetListener(Delegate* l) override;
    bool RemoveResetListener(Delegate* l) override;
    void AddPlaybackListener(Delegate1<SPlaybackEvent>* l) override;
    bool RemovePlaybackListener(Delegate1<SPlaybackEvent>* l) override;
    void AddMessageListener(Delegate1<const char*>* l) override;
    bool RemoveMessageListener(Delegate1<const char*>* l) override;
    void ResetToDefaults() override;
    int GetParameterDefault(ERnCPars par) override;
    void PlayFretNote(int packed) override;
    void Command14(int a, int b) override;
    void SendKeyboardNote(bool on, int note) override;
    int GetKeyFunction(int note) override;
    int GetFxType(int fxSlot) override;
    void SetFxType(int fxSlot, int type) override;
    bool IsFxOn(int fxSlot) override;
    void SetFxOn(int fxSlot, bool on) override;
    int GetFxValue(int fxSlot, int index) override;
    void SetFxValue(int fxSlot, int index, int value) override;
    bool Query23(int a, int b) override;
    int GetFxInfo(int fxSlot, int what, void* reserved) override;
    void SetFxSwitch(int fxSlot, int which, bool on) override;
    bool IsTypedFxOn(int fxType) override;
    void SetTypedFxOn(int fxType, bool on) override;
    int GetTypedFxValue(int fxType, int index) override;
    void SetTypedFxValue(int fxType, int index, int value) override;
    void AddFxListener(Delegate1<FxListenerArgs>* l) override;
    bool RemoveFxListener(Delegate1<FxListenerArgs>* l) override;
    void EnumPresets(int bank, Delegate1<const char*>* each) override;
    int GetCurrentPresetName(int bank, char* out, unsigned size) override;
    void LoadPreset(int bank, const char* name) override;
    bool SavePreset(int bank, const char* name) override;
    bool DeletePreset(int bank, const char* name) override;
    void AddPresetListener(int bank, PresetListener* l) override;
    void RemovePresetListener(int bank, PresetListener* l) override;
    int Reserved39() override { return 0; }
    void Reserved40() override {}
    int Reserved41() override { return 0; }
    void Reserved42() override {}
    int GetOutputSetting(int kind) override;
    void SetOutputSetting(int kind, int value) override;
    void SetOutputSettingCallback(void* context, OutputSettingCallback callback) override;
    bool Query46(int a) override;
    void Command47(int a, int b, int c, int d, int e) override;
    void SaveSettingsFile(const char* path) override;
    void LoadSettingsFile(const char* path) override;
    void SaveSettingsAsDefault() override;
    void SettingsCommand51() override;
    void SettingsCommand52() override;
    void EnumPresets1(Delegate1<const char*>* each) override { EnumPresets(1, each); }
    int GetCurrentPresetName1(char* out, unsigned size) override { return GetCurrentPresetName(1, out, size); }
    void LoadPreset1(const char* name) override { LoadPreset(1, name); }
    bool SavePreset1(const char* name) override { return SavePreset(1, name); }
    bool DeletePreset1(const char* name) override { return DeletePreset(1, name); }

    std::string defaultSettingsPath; // SaveSettingsAsDefault writes here

private:
    struct Slot {
        int type = -1;
        bool on = false;
        int value[2] = {0, 0};
        bool sw[3] = {false, false, false};
    };
    struct Typed {
        bool on = false;
        int value[2] = {0, 0};
    };
    using Preset = std::array<Slot, 33>; // slots 3..35

    static bool ValidPar(int par) { return par >= 0 && par < rncParCount; }
    static bool ValidSlot(int s) { return s >= 0 && s < kFxSlots; }
    static bool ValidType(int t) { return t >= 0 && t < kFxTypes; }
    void StoreParameter(ERnCPars par, int value); // clamps, stores, notifies
    // The held keys changed: the chord they form goes to 33..37.
    void ShowHeldChord();
    void NotifyParameter(ERnCPars par);
    void NotifyReset();
    void NotifyFx(FxListenerArgs args);
    void NotifyPresets(int bank, bool listChanged);
    void NotifyOutput(int kind, int value);
    bool WriteSettings(const std::string& path);

    CallLog& m_log;
    Notifier& m_notifier;

    mutable std::mutex m_mutex; // engine state
    int m_values[rncParCount];
    std::set<int> m_heldKeys; // keyboard notes down
    int m_gesture[rncParCount] = {};
    Slot m_slots[kFxSlots];
    Typed m_typed[kFxTypes];
    int m_output[3] = {0, 1, 0};
    void* m_outputContext = nullptr;
    OutputSettingCallback m_outputCallback = nullptr;
    std::map<int, std::map<std::string, Preset>> m_presets;
    std::map<int, std::string> m_currentPreset;

    ListenerList<Delegate1<ERnCPars>> m_parameterListeners;
    ListenerList<Delegate> m_resetListeners;
    ListenerList<Delegate1<SPlaybackEvent>> m_playbackListeners;
    ListenerList<Delegate1<const char*>> m_messageListeners;
    ListenerList<Delegate1<FxListenerArgs>> m_fxListeners;
    std::mutex m_presetListenerMutex;
    std::map<int, ListenerList<PresetListener>> m_presetListeners;
};

} // namespace Substitute
} // namespace Corvell
