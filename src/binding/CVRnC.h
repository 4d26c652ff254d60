#pragma once
// The view's stand-in for the engine's IRnC: forwards to the engine it is
// attached to (or answers defaults), and fans the engine's notices out to
// any number of listeners that survive re-attachment.
#include "binding/CVProxySite.h"
#include "binding/IRnC.h"
#include "ui/core/Lock.h"
#include "ui/core/MulticastDelegate.h"

#include <atomic>
#include <map>
#include <vector>

namespace Corvell {

class CVRnC : public IRnC, public Object {
public:
    explicit CVRnC(CVProxySite* site);
    virtual ~CVRnC();
    CVRnC(const CVRnC&) = delete;
    CVRnC& operator=(const CVRnC&) = delete;

    // Attach to an engine or another proxy; null detaches. Refuses (and
    // stays as it is) when engine would lead back to this proxy.
    bool Attach(IRnC* engine);
    IRnC* Engine() const { return m_engine; }
    // Changes with every attach: notices still queued from an earlier
    // engine are recognised as stale and dropped.
    uint32_t Generation() const { return m_generation.load(); }

    // While set, effect notices are dropped (parameter 97). Answers the
    // previous state.
    bool SetFxMute(bool mute) { return m_fxMute.exchange(mute); }
    bool IsFxMuted() const { return m_fxMute.load(); }

    // For the site, on the window's thread.
    bool HasParameterListeners() const { return !m_parameterListeners.IsEmpty(); }
    void InvokeParameterListeners(ERnCPars par) { m_parameterListeners.Invoke(par); }
    bool HasResetListeners() const { return !m_resetListeners->IsEmpty(); }
    void InvokeResetListeners() { m_resetListeners->Invoke(); }
    // Delivers an effect notice to the effect listeners on the calling thread.
    void DeliverFx(FxListenerArgs args);

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
    void EnumPresets1(Delegate1<const char*>* each) override;
    int GetCurrentPresetName1(char* out, unsigned size) override;
    void LoadPreset1(const char* name) override;
    bool SavePreset1(const char* name) override;
    bool DeletePreset1(const char* name) override;

private:
    class PresetGroup;

    // Receivers embedded in the proxy: counting does nothing.
    struct ParameterReceiver : EmbeddedCounting<Delegate1<ERnCPars>> {
        CVRnC* owner = nullptr;
        void Invoke(ERnCPars par) override;
    };
    struct ResetReceiver : EmbeddedCounting<Delegate> {
        CVRnC* owner = nullptr;
        void Invoke() override;
    };
    struct PlaybackReceiver : EmbeddedCounting<Delegate1<SPlaybackEvent>> {
        CVRnC* owner = nullptr;
        void Invoke(SPlaybackEvent e) override;
    };
    struct FxReceiver : EmbeddedCounting<Delegate1<FxListenerArgs>> {
        CVRnC* owner = nullptr;
        void Invoke(FxListenerArgs args) override;
    };
    struct MessageReceiver : EmbeddedCounting<Delegate1<const char*>> {
        CVRnC* owner = nullptr;
        void Invoke(const char* text) override;
    };

    void DetachFromEngine();
    std::vector<std::pair<int, Ref<PresetGroup>>> Groups();
    static void OutputTrampoline(void* context, int flag, const int* data);

    IRnC* m_engine = nullptr;
    CVProxySite* const m_site;

    ParameterReceiver m_parameterReceiver;
    ResetReceiver m_resetReceiver;
    PlaybackReceiver m_playbackReceiver;
    FxReceiver m_fxReceiver;
    MessageReceiver m_messageReceiver;

    MulticastDelegate1<ERnCPars> m_parameterListeners;
    Ref<MulticastDelegate> m_resetListeners;
    MulticastDelegate1<FxListenerArgs> m_fxListeners;
    MulticastDelegate1<SPlaybackEvent> m_playbackListeners;
    // Every lock of the proxy is the core's recursive Lock: a playback
    // listener may add or remove playback listeners from inside its call.
    Lock m_playbackLock;
    MulticastDelegate1<const char*> m_messageListeners;

    Lock m_groupsLock;
    std::map<int, Ref<PresetGroup>> m_groups;

    std::atomic<bool> m_fxMute{false};
    std::atomic<uint32_t> m_generation{0};
    Ref<Liveness> m_alive;

    // The owner's output-settings callback; the engine only ever sees our
    // trampoline, withdrawn on detach, so it never calls a dead owner.
    Lock m_outputLock;
    void* m_outputContext = nullptr;
    OutputSettingCallback m_outputCallback = nullptr;
};

} // namespace Corvell
