#include "binding/CVRnC.h"

#include "binding/ProxyChain.h"

#include <algorithm>
#include <cstring>

namespace Corvell {

using Chain = ProxyChain<CVRnC, IRnC>;

namespace {

// ---- notices for the window's thread ------------------------------------------

// A notice on its way to the window's thread. It belongs to one attach of
// one proxy: dropped when the proxy died or attached again since it was sent.
template <class F>
struct NoticeCall : CountedObject<Delegate> {
    NoticeCall(Ref<Liveness> p, uint32_t g, F f) : proxy(std::move(p)), generation(g), deliver(std::move(f)) {}
    void Invoke() override {
        auto* p = static_cast<CVRnC*>(proxy->Target());
        if (p && p->Generation() == generation)
            deliver(*p);
    }
    Ref<Liveness> proxy;
    uint32_t generation;
    F deliver;
};

template <class F>
Ref<Delegate> MakeNoticeCall(const Ref<Liveness>& proxy, uint32_t generation, F deliver) {
    return Ref<Delegate>(new NoticeCall<F>(proxy, generation, std::move(deliver)));
}
} // namespace

// One preset bank's listeners. Registered with the engine as a single
// listener; notices from the engine reach the listeners on the window's
// thread, unless the proxy attached again or died in between.
class CVRnC::PresetGroup : public CountedObject<IRnC::PresetListener> {
public:
    // The engine calls a group only while it is registered, and the owner
    // withdraws it from the engine before it dies.
    explicit PresetGroup(CVRnC* owner) : m_owner(owner) {}

    void Add(IRnC::PresetListener* l) {
        LockGuard g(m_lock);
        m_listeners.emplace_back(l);
    }
    void Remove(IRnC::PresetListener* l) {
        Ref<IRnC::PresetListener> victim;
        {
            LockGuard g(m_lock);
            auto it = std::find_if(m_listeners.begin(), m_listeners.end(),
                                   [l](const Ref<IRnC::PresetListener>& r) { return r.Get() == l; });
            if (it == m_listeners.end())
                return;
            victim = std::move(*it);
            m_listeners.erase(it);
        }
    }

    void OnPresetChanged() override { Forward(false); }
    void OnPresetListChanged() override { Forward(true); }

    void NotifyChanged() {
        for (auto& l : Snapshot())
            l->OnPresetChanged();
    }
    void NotifyListChanged() {
        for (auto& l : Snapshot())
            l->OnPresetListChanged();
    }

private:
    void Forward(bool listChanged) {
        // The group stays alive until the posted call has run.
        Ref<PresetGroup> self(this);
        m_owner->m_site->RunOnUiThread(
            MakeNoticeCall(m_owner->m_alive, m_owner->Generation(), [self, listChanged](CVRnC&) {
                if (listChanged)
                    self->NotifyListChanged();
                else
                    self->NotifyChanged();
            }));
    }
    std::vector<Ref<IRnC::PresetListener>> Snapshot() {
        LockGuard g(m_lock);
        return m_listeners;
    }

    CVRnC* const m_owner;
    Lock m_lock;
    std::vector<Ref<IRnC::PresetListener>> m_listeners;
};

CVRnC::CVRnC(CVProxySite* site)
    : m_site(site), m_resetListeners(new MulticastDelegate), m_alive(new Liveness(this)) {
    m_parameterReceiver.owner = this;
    m_resetReceiver.owner = this;
    m_playbackReceiver.owner = this;
    m_fxReceiver.owner = this;
    m_messageReceiver.owner = this;
    Chain::Enter(this);
}

CVRnC::~CVRnC() {
    m_alive->Clear();
    Chain::Leave(this);
    DetachFromEngine();
    m_engine = nullptr;
    // Wait for a playback walk still running on an engine thread.
    LockGuard g(m_playbackLock);
}

std::vector<std::pair<int, Ref<CVRnC::PresetGroup>>> CVRnC::Groups() {
    LockGuard g(m_groupsLock);
    return {m_groups.begin(), m_groups.end()};
}

void CVRnC::DetachFromEngine() {
    IRnC* old = m_engine;
    if (!old)
        return;
    old->RemoveParameterListener(&m_parameterReceiver);
    old->RemoveResetListener(&m_resetReceiver);
    old->RemovePlaybackListener(&m_playbackReceiver);
    old->RemoveMessageListener(&m_messageReceiver);
    old->RemoveFxListener(&m_fxReceiver);
    for (auto& [bank, group] : Groups())
        old->RemovePresetListener(bank, group.Get());
    bool hadCallback;
    {
        LockGuard g(m_outputLock);
        hadCallback = m_outputCallback != nullptr;
    }
    if (hadCallback)
        old->SetOutputSettingCallback(nullptr, nullptr);
}

bool CVRnC::Attach(IRnC* engine) {
    if (Chain::LeadsBack(this, engine, [](const CVRnC* p) -> const IRnC* { return p->m_engine; }))
        return false;
    DetachFromEngine();
    m_generation.fetch_add(1);
    m_engine = engine;
    if (engine) {
        engine->AddParameterListener(&m_parameterReceiver);
        engine->AddResetListener(&m_resetReceiver);
        engine->AddPlaybackListener(&m_playbackReceiver);
        engine->AddMessageListener(&m_messageReceiver);
        engine->AddFxListener(&m_fxReceiver);
        for (auto& [bank, group] : Groups())
            engine->AddPresetListener(bank, group.Get());
        bool hasCallback;
        {
            LockGuard g(m_outputLock);
            hasCallback = m_outputCallback != nullptr;
        }
        if (hasCallback)
            engine->SetOutputSettingCallback(this, &CVRnC::OutputTrampoline);
        m_fxReceiver.Invoke({IRnC::kFxAll, false, true});
    }
    m_site->OnRnCReset();
    for (auto& entry : Groups())
        entry.second->NotifyListChanged();
    return true;
}

// ---- receivers: any thread ----------------------------------------------------

void CVRnC::ParameterReceiver::Invoke(ERnCPars par) { owner->m_site->OnRnCParameterChanged(par); }

void CVRnC::ResetReceiver::Invoke() { owner->m_site->OnRnCReset(); }

void CVRnC::PlaybackReceiver::Invoke(SPlaybackEvent e) {
    LockGuard g(owner->m_playbackLock);
    if (!owner->m_playbackListeners.IsEmpty())
        owner->m_playbackListeners.Invoke(e);
}

void CVRnC::FxReceiver::Invoke(FxListenerArgs args) {
    if (owner->m_fxMute.load())
        return;
    owner->m_site->RunOnUiThread(
        MakeNoticeCall(owner->m_alive, owner->Generation(), [args](CVRnC& p) { p.DeliverFx(args); }));
}

void CVRnC::DeliverFx(FxListenerArgs args) {
    if (!m_fxListeners.IsEmpty())
        m_fxListeners.Invoke(args);
}

void CVRnC::MessageReceiver::Invoke(const char* text) {
    if (!owner->m_messageListeners.IsEmpty())
        owner->m_messageListeners.Invoke(text);
}

// ---- listeners of the proxy ---------------------------------------------------

void CVRnC::AddParameterListener(Delegate1<ERnCPars>* l) { m_parameterListeners.Add(l); }
bool CVRnC::RemoveParameterListener(Delegate1<ERnCPars>* l) { return m_parameterListeners.Remove(l); }
void CVRnC::AddResetListener(Delegate* l) { m_resetListeners->Add(l); }
bool CVRnC::RemoveResetListener(Delegate* l) { return m_resetListeners->Remove(l); }

void CVRnC::AddPlaybackListener(Delegate1<SPlaybackEvent>* l) {
    LockGuard g(m_playbackLock);
    m_playbackListeners.Add(l);
}

bool CVRnC::RemovePlaybackListener(Delegate1<SPlaybackEvent>* l) {
    LockGuard g(m_playbackLock);
    return m_playbackListeners.Remove(l);
}

void CVRnC::AddMessageListener(Delegate1<const char*>* l) { m_messageListeners.Add(l); }
bool CVRnC::RemoveMessageListener(Delegate1<const char*>* l) { return m_messageListeners.Remove(l); }
void CVRnC::AddFxListener(Delegate1<FxListenerArgs>* l) { m_fxListeners.Add(l); }
bool CVRnC::RemoveFxListener(Delegate1<FxListenerArgs>* l) { return m_fxListeners.Remove(l); }

void CVRnC::AddPresetListener(int bank, PresetListener* l) {
    Ref<PresetGroup> group;
    bool created = false;
    {
        LockGuard g(m_groupsLock);
        auto& slot = m_groups[bank];
        if (!slot) {
            slot = new PresetGroup(this);
            created = true;
        }
        group = slot;
    }
    group->Add(l);
    // A new bank's group reaches the engine at once, not only at the next attach.
    if (created && m_engine)
        m_engine->AddPresetListener(bank, group.Get());
}

void CVRnC::RemovePresetListener(int bank, PresetListener* l) {
    Ref<PresetGroup> group;
    {
        LockGuard g(m_groupsLock);
        auto it = m_groups.find(bank);
        if (it == m_groups.end())
            return;
        group = it->second;
    }
    group->Remove(l);
}

// ---- forwarded operations -------------------------------------------------------

void CVRnC::TouchParameter(ERnCPars par, bool begin) {
    if (m_engine)
        m_engine->TouchParameter(par, begin);
}
void CVRnC::SetParameter(ERnCPars par, int value) {
    if (m_engine)
        m_engine->SetParameter(par, value);
}
int CVRnC::GetParameter(ERnCPars par) { return m_engine ? m_engine->GetParameter(par) : 0; }
void CVRnC::ResetToDefaults() {
    if (m_engine)
        m_engine->ResetToDefaults();
}
int CVRnC::GetParameterDefault(ERnCPars par) { return m_engine ? m_engine->GetParameterDefault(par) : 0; }

void CVRnC::PlayFretNote(int packed) {
    if (m_engine)
        m_engine->PlayFretNote(packed);
    const uint32_t u = static_cast<uint32_t>(packed);
    const unsigned char bytes[4] = {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8),
                                    static_cast<unsigned char>(u >> 16), static_cast<unsigned char>(u >> 24)};
    m_site->OnMidiEcho(bytes);
}

void CVRnC::Command14(int a, int b) {
    if (m_engine)
        m_engine->Command14(a, b);
}
void CVRnC::SendKeyboardNote(bool on, int note) {
    if (m_engine)
        m_engine->SendKeyboardNote(on, note);
}
int CVRnC::GetKeyFunction(int note) { return m_engine ? m_engine->GetKeyFunction(note) : 0; }
int CVRnC::GetFxType(int fxSlot) { return m_engine ? m_engine->GetFxType(fxSlot) : -1; }
void CVRnC::SetFxType(int fxSlot, int type) {
    if (m_engine)
        m_engine->SetFxType(fxSlot, type);
}
bool CVRnC::IsFxOn(int fxSlot) { return m_engine ? m_engine->IsFxOn(fxSlot) : false; }
void CVRnC::SetFxOn(int fxSlot, bool on) {
    if (m_engine)
        m_engine->SetFxOn(fxSlot, on);
}
int CVRnC::GetFxValue(int fxSlot, int index) { return m_engine ? m_engine->GetFxValue(fxSlot, index) : 0; }
void CVRnC::SetFxValue(int fxSlot, int index, int value) {
    if (m_engine)
        m_engine->SetFxValue(fxSlot, index, value);
}
bool CVRnC::Query23(int a, int b) { return m_engine ? m_engine->Query23(a, b) : false; }
int CVRnC::GetFxInfo(int fxSlot, int what, void* reserved) {
    return m_engine ? m_engine->GetFxInfo(fxSlot, what, reserved) : 0;
}
void CVRnC::SetFxSwitch(int fxSlot, int which, bool on) {
    if (m_engine)
        m_engine->SetFxSwitch(fxSlot, which, on);
}
bool CVRnC::IsTypedFxOn(int fxType) { return m_engine ? m_engine->IsTypedFxOn(fxType) : false; }
void CVRnC::SetTypedFxOn(int fxType, bool on) {
    if (m_engine)
        m_engine->SetTypedFxOn(fxType, on);
}
int CVRnC::GetTypedFxValue(int fxType, int index) { return m_engine ? m_engine->GetTypedFxValue(fxType, index) : 0; }
void CVRnC::SetTypedFxValue(int fxType, int index, int value) {
    if (m_engine)
        m_engine->SetTypedFxValue(fxType, index, value);
}

void CVRnC::EnumPresets(int bank, Delegate1<const char*>* each) {
    if (bank == 1)
        EnumPresets1(each);
}
int CVRnC::GetCurrentPresetName(int bank, char* out, unsigned size) {
    return bank == 1 ? GetCurrentPresetName1(out, size) : -1;
}
void CVRnC::LoadPreset(int bank, const char* name) {
    if (bank == 1)
        LoadPreset1(name);
}
bool CVRnC::SavePreset(int bank, const char* name) { return bank == 1 ? SavePreset1(name) : false; }
bool CVRnC::DeletePreset(int bank, const char* name) { return bank == 1 ? DeletePreset1(name) : false; }

void CVRnC::EnumPresets1(Delegate1<const char*>* each) {
    if (m_engine)
        m_engine->EnumPresets(1, each);
}
int CVRnC::GetCurrentPresetName1(char* out, unsigned size) {
    if (m_engine)
        return m_engine->GetCurrentPresetName(1, out, size);
    // A zero-sized buffer has no room even for the terminator.
    if (out && size > 0)
        out[0] = 0;
    return 0;
}
void CVRnC::LoadPreset1(const char* name) {
    if (m_engine)
        m_engine->LoadPreset(1, name);
}
bool CVRnC::SavePreset1(const char* name) { return m_engine ? m_engine->SavePreset(1, name) : false; }
bool CVRnC::DeletePreset1(const char* name) { return m_engine ? m_engine->DeletePreset(1, name) : false; }

int CVRnC::GetOutputSetting(int kind) {
    if (m_engine)
        return m_engine->GetOutputSetting(kind);
    return kind == 1 ? 1 : 0;
}
void CVRnC::SetOutputSetting(int kind, int value) {
    if (m_engine)
        m_engine->SetOutputSetting(kind, value);
}

void CVRnC::OutputTrampoline(void* context, int flag, const int* data) {
    auto* self = static_cast<CVRnC*>(context);
    void* ctx;
    OutputSettingCallback cb;
    {
        LockGuard g(self->m_outputLock);
        ctx = self->m_outputContext;
        cb = self->m_outputCallback;
    }
    if (cb)
        cb(ctx, flag, data);
}

void CVRnC::SetOutputSettingCallback(void* context, OutputSettingCallback callback) {
    {
        LockGuard g(m_outputLock);
        m_outputContext = callback ? context : nullptr;
        m_outputCallback = callback;
    }
    if (m_engine)
        m_engine->SetOutputSettingCallback(callback ? this : nullptr, callback ? &CVRnC::OutputTrampoline : nullptr);
}

bool CVRnC::Query46(int a) { return m_engine ? m_engine->Query46(a) : false; }
void CVRnC::Command47(int a, int b, int c, int d, int e) {
    if (m_engine)
        m_engine->Command47(a, b, c, d, e);
}
void CVRnC::SaveSettingsFile(const char* path) {
    if (m_engine)
        m_engine->SaveSettingsFile(path);
}
void CVRnC::LoadSettingsFile(const char* path) {
    if (m_engine)
        m_engine->LoadSettingsFile(path);
}
void CVRnC::SaveSettingsAsDefault() {
    if (m_engine)
        m_engine->SaveSettingsAsDefault();
}
void CVRnC::SettingsCommand51() {
    if (m_engine)
        m_engine->SettingsCommand51();
}
void CVRnC::SettingsCommand52() {
    if (m_engine)
        m_engine->SettingsCommand52();
}

} // namespace Corvell
