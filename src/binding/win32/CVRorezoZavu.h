#pragma once
#include <windows.h>
#include <ocidl.h>

#include "ui/Base.h"

namespace Corvell {

class ICorvellHost;

// The view object the engine drives as a property page. The window, the
// pane tree and the host site arrive with the property-page work; until
// then it answers the page protocol without a window.
class CVRorezoZavu : public Base, public IPropertyPage {
public:
    CVRorezoZavu() = default;
    ~CVRorezoZavu() override;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP SetPageSite(IPropertyPageSite* site) override;
    STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL modal) override;
    STDMETHODIMP Deactivate() override;
    STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override;
    STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override;
    STDMETHODIMP Show(UINT cmd) override;
    STDMETHODIMP Move(LPCRECT rect) override;
    STDMETHODIMP IsPageDirty() override;
    STDMETHODIMP Apply() override;
    STDMETHODIMP Help(LPCOLESTR dir) override;
    STDMETHODIMP TranslateAccelerator(MSG* msg) override;

    static constexpr int kWidth = 800;
    static constexpr int kHeight = 588;

private:
    volatile LONG m_refs = 0;
    IPropertyPageSite* m_site = nullptr;
    ICorvellHost* m_host = nullptr;
};

} // namespace Corvell
