#pragma once
// A COM property page whose content is a pane tree in a child window.
#include "ui/core/Base.h"
#include "ui/win32/Win32NativePane.h"

#include <ocidl.h>

namespace Corvell {

class ComPropertyPage : public Base, public Win32NativePane, public IPropertyPage {
public:
    ComPropertyPage();
    ~ComPropertyPage() override;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IPropertyPage
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

    // Base and Win32NativePane both bring class-level allocation; the
    // module count belongs to Base.
    using Base::operator new;
    using Base::operator delete;

protected:
    // The work of SetObjects and GetPageInfo.
    virtual bool ApplyObjects(ULONG count, IUnknown** objects) = 0;
    virtual void FillPageInfo(PROPPAGEINFO& info) = 0;
    // After the window exists and the root took its bounds.
    virtual void OnPageWindowCreated(int32_t width, int32_t height);

private:
    void TearDown();
    HRESULT Fault(const char* operation);

    IPropertyPageSite* m_site = nullptr;
    volatile LONG m_refs = 0;
};

} // namespace Corvell
