#pragma once
// The proxies' owner on the view side: brings parameter and reset notices
// to the window's thread before panes see them, and handles parameter 97.
#include "binding/CVProxySite.h"
#include "binding/CVRnC.h"

namespace Corvell {

class UiProxySite : public CVProxySite {
public:
    explicit UiProxySite(UiThread* ui);
    ~UiProxySite() override;

    void SetRnC(CVRnC* rnc) { m_rnc = rnc; }

    void OnGuitarChanged() override {}
    void OnRnCParameterChanged(ERnCPars par) override;
    void OnRnCReset() override;
    void OnSamplerParameterChanged(int) override {}
    void OnSamplerReset() override {}
    void OnMidiEcho(const unsigned char*) override {}
    void RunOnUiThread(Ref<Delegate> call) override;

protected:
    // On the window's thread. By default they call the proxy's lists.
    virtual void HandleRnCParameter(ERnCPars par);
    virtual void HandleRnCReset();

private:
    struct Call;
    uint32_t Generation() const;
    UiThread* m_ui;
    CVRnC* m_rnc = nullptr;
    Ref<Liveness> m_alive;
};

} // namespace Corvell
