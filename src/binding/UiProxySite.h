#pragma once
// The proxies' owner on the view side: brings parameter, reset and guitar
// notices to the window's thread before panes see them, and handles
// parameter 97.
#include "binding/CVGuitar.h"
#include "binding/CVProxySite.h"
#include "binding/CVRnC.h"
#include "binding/CVSampler.h"

namespace Corvell {

class UiProxySite : public CVProxySite {
public:
    explicit UiProxySite(UiThread* ui);
    ~UiProxySite() override;

    void SetRnC(CVRnC* rnc) { m_rnc = rnc; }
    void SetGuitar(CVGuitar* guitar) { m_guitar = guitar; }
    void SetSampler(CVSampler* sampler) { m_sampler = sampler; }

    void OnGuitarChanged() override;
    void OnRnCParameterChanged(ERnCPars par) override;
    void OnRnCReset() override;
    void OnSamplerParameterChanged(int par) override;
    void OnSamplerReset() override;
    void OnMidiEcho(const unsigned char*) override {}
    void RunOnUiThread(Ref<Delegate> call) override;

protected:
    // On the window's thread. By default they call the proxy's lists.
    virtual void HandleRnCParameter(ERnCPars par);
    virtual void HandleRnCReset();
    virtual void HandleGuitarChanged();
    virtual void HandleSamplerParameter(int par);
    virtual void HandleSamplerReset();

private:
    enum class Kind { RnCParameter, RnCReset, Guitar, SamplerParameter, SamplerReset };
    struct Call;
    void Post(Kind kind, int par);
    uint32_t Generation(Kind kind) const;
    void Deliver(Kind kind, int par);

    UiThread* m_ui;
    CVRnC* m_rnc = nullptr;
    CVGuitar* m_guitar = nullptr;
    CVSampler* m_sampler = nullptr;
    Ref<Liveness> m_alive;
};

} // namespace Corvell
