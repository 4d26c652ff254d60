#pragma once
// The view's stand-in for the engine's sample player. Besides forwarding,
// it shows setting 13 inverted (100 - v) and keeps settings 5 and 6
// ordered (5 <= 6) when either is written.
#include "binding/CVProxySite.h"
#include "binding/ISampler.h"
#include "ui/core/MulticastDelegate.h"

#include <atomic>

namespace Corvell {

class CVSampler : public ISampler, public Object {
public:
    static constexpr int kInverted = 13;
    static constexpr int kLowOfPair = 5;
    static constexpr int kHighOfPair = 6;

    explicit CVSampler(CVProxySite* site);
    virtual ~CVSampler();
    CVSampler(const CVSampler&) = delete;
    CVSampler& operator=(const CVSampler&) = delete;

    bool Attach(ISampler* engine);
    ISampler* Engine() const { return m_engine; }
    uint32_t Generation() const { return m_generation.load(); }

    // For the site, on the window's thread.
    void InvokeParameterListeners(int par);
    void InvokeResetListeners();

    // ISampler
    void TouchParameter(int par, bool begin) override;
    void SetParameter(int par, int value) override;
    int GetParameter(int par) override;
    // For 13 the range and default are turned as the value is.
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
    struct ParameterReceiver : EmbeddedCounting<Delegate1<int>> {
        CVSampler* owner = nullptr;
        void Invoke(int par) override;
    };
    struct ResetReceiver : EmbeddedCounting<Delegate> {
        CVSampler* owner = nullptr;
        void Invoke() override;
    };

    void DetachFromEngine();

    ISampler* m_engine = nullptr;
    CVProxySite* const m_site;
    ParameterReceiver m_parameterReceiver;
    ResetReceiver m_resetReceiver;
    Ref<MulticastDelegate1<int>> m_parameterListeners;
    Ref<MulticastDelegate> m_resetListeners;
    std::atomic<uint32_t> m_generation{0};
};

} // namespace Corvell
