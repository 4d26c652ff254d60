#pragma once
// The play-logic interface of the engine. The slot order is shared with the
// engine module: never insert, remove or reorder an operation.
#include "binding/EngineTypes.h"
#include "ui/core/Delegate.h"

#include <climits>

namespace Corvell {

class IRnC {
public:
    // Effect change notice. index INT_MAX means "all".
    struct FxListenerArgs {
        int index;
        bool bySlot; // index names an effect slot (true) or an effect type (false)
        bool reload; // the effect type changed: reload every control
        bool operator==(const FxListenerArgs& o) const {
            return index == o.index && bySlot == o.bySlot && reload == o.reload;
        }
    };

    // Preset notices, per bank: after the delegate slots, two operations.
    class PresetListener : public AbstractDelegate {
    public:
        virtual void OnPresetChanged() = 0;
        virtual void OnPresetListChanged() = 0;
    };

    using OutputSettingCallback = void (*)(void* context, int flag, const int* data);

    /* 0 */ virtual void TouchParameter(ERnCPars par, bool begin) = 0;
    /* 1 */ virtual void SetParameter(ERnCPars par, int value) = 0;
    /* 2 */ virtual int GetParameter(ERnCPars par) = 0;
    /* 3 */ virtual void AddParameterListener(Delegate1<ERnCPars>* l) = 0;
    /* 4 */ virtual bool RemoveParameterListener(Delegate1<ERnCPars>* l) = 0;
    /* 5 */ virtual void AddResetListener(Delegate* l) = 0;
    /* 6 */ virtual bool RemoveResetListener(Delegate* l) = 0;
    /* 7 */ virtual void AddPlaybackListener(Delegate1<SPlaybackEvent>* l) = 0;
    /* 8 */ virtual bool RemovePlaybackListener(Delegate1<SPlaybackEvent>* l) = 0;
    /* 9 */ virtual void AddMessageListener(Delegate1<const char*>* l) = 0;
    /* 10 */ virtual bool RemoveMessageListener(Delegate1<const char*>* l) = 0;
    /* 11 */ virtual void ResetToDefaults() = 0;
    /* 12 */ virtual int GetParameterDefault(ERnCPars par) = 0;
    /* 13 */ virtual void PlayFretNote(int packed) = 0;
    /* 14 */ virtual void Command14(int a, int b) = 0;
    /* 15 */ virtual void SendKeyboardNote(bool on, int note) = 0;
    /* 16 */ virtual int GetKeyFunction(int note) = 0;
    /* 17 */ virtual int GetFxType(int fxSlot) = 0;
    /* 18 */ virtual void SetFxType(int fxSlot, int type) = 0;
    /* 19 */ virtual bool IsFxOn(int fxSlot) = 0;
    /* 20 */ virtual void SetFxOn(int fxSlot, bool on) = 0;
    /* 21 */ virtual int GetFxValue(int fxSlot, int index) = 0;
    /* 22 */ virtual void SetFxValue(int fxSlot, int index, int value) = 0;
    /* 23 */ virtual bool Query23(int a, int b) = 0;
    /* 24 */ virtual int GetFxInfo(int fxSlot, int what, void* reserved) = 0;
    /* 25 */ virtual void SetFxSwitch(int fxSlot, int which, bool on) = 0;
    /* 26 */ virtual bool IsTypedFxOn(int fxType) = 0;
    /* 27 */ virtual void SetTypedFxOn(int fxType, bool on) = 0;
    /* 28 */ virtual int GetTypedFxValue(int fxType, int index) = 0;
    /* 29 */ virtual void SetTypedFxValue(int fxType, int index, int value) = 0;
    /* 30 */ virtual void AddFxListener(Delegate1<FxListenerArgs>* l) = 0;
    /* 31 */ virtual bool RemoveFxListener(Delegate1<FxListenerArgs>* l) = 0;
    /* 32 */ virtual void EnumPresets(int bank, Delegate1<const char*>* each) = 0;
    /* 33 */ virtual int GetCurrentPresetName(int bank, char* out, unsigned size) = 0;
    /* 34 */ virtual void LoadPreset(int bank, const char* name) = 0;
    /* 35 */ virtual bool SavePreset(int bank, const char* name) = 0;
    /* 36 */ virtual bool DeletePreset(int bank, const char* name) = 0;
    /* 37 */ virtual void AddPresetListener(int bank, PresetListener* l) = 0;
    /* 38 */ virtual void RemovePresetListener(int bank, PresetListener* l) = 0;
    /* 39 */ virtual int Reserved39() = 0;
    /* 40 */ virtual void Reserved40() = 0;
    /* 41 */ virtual int Reserved41() = 0;
    /* 42 */ virtual void Reserved42() = 0;
    /* 43 */ virtual int GetOutputSetting(int kind) = 0;
    /* 44 */ virtual void SetOutputSetting(int kind, int value) = 0;
    /* 45 */ virtual void SetOutputSettingCallback(void* context, OutputSettingCallback callback) = 0;
    /* 46 */ virtual bool Query46(int a) = 0;
    /* 47 */ virtual void Command47(int a, int b, int c, int d, int e) = 0;
    /* 48 */ virtual void SaveSettingsFile(const char* path) = 0;
    /* 49 */ virtual void LoadSettingsFile(const char* path) = 0;
    /* 50 */ virtual void SaveSettingsAsDefault() = 0;
    /* 51 */ virtual void SettingsCommand51() = 0;
    /* 52 */ virtual void SettingsCommand52() = 0;
    /* 53 */ virtual void EnumPresets1(Delegate1<const char*>* each) = 0;
    /* 54 */ virtual int GetCurrentPresetName1(char* out, unsigned size) = 0;
    /* 55 */ virtual void LoadPreset1(const char* name) = 0;
    /* 56 */ virtual bool SavePreset1(const char* name) = 0;
    /* 57 */ virtual bool DeletePreset1(const char* name) = 0;

    static constexpr int kFxAll = INT_MAX;

protected:
    ~IRnC() = default;
};

static_assert(sizeof(IRnC::FxListenerArgs) == 8 && offsetof(IRnC::FxListenerArgs, bySlot) == 4 &&
                  offsetof(IRnC::FxListenerArgs, reload) == 5,
              "FxListenerArgs layout");

} // namespace Corvell
