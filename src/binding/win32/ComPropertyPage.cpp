#include "binding/win32/ComPropertyPage.h"

#include "binding/win32/Registration.h"

#include <cstdio>

namespace Corvell {

ComPropertyPage::ComPropertyPage() = default;

ComPropertyPage::~ComPropertyPage() {
    TearDown();
    // A site still held would keep the host's object alive.
    if (m_site)
        m_site->Release();
    m_site = nullptr;
}

STDMETHODIMP ComPropertyPage::QueryInterface(REFIID riid, void** ppv) {
    if (IsNullReference(&riid) || !ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IPropertyPage) || IsEqualIID(riid, IID_IUnknown)) {
        *ppv = static_cast<IPropertyPage*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ComPropertyPage::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }

STDMETHODIMP_(ULONG) ComPropertyPage::Release() {
    const LONG n = InterlockedDecrement(&m_refs);
    if (n == 0) {
        delete this;
        return 0;
    }
    return static_cast<ULONG>(n);
}

STDMETHODIMP ComPropertyPage::SetPageSite(IPropertyPageSite* site) {
    if (site) {
        if (m_site)
            return E_UNEXPECTED;
        m_site = site;
        m_site->AddRef();
        return S_OK;
    }
    if (m_site)
        m_site->Release();
    m_site = nullptr;
    return S_OK;
}

HRESULT ComPropertyPage::Fault(const char* operation) {
    char text[256];
    // C++ exceptions carry the platform's code for them.
    std::snprintf(text, sizeof text, "Exception: 0x%08X at %s", 0xE06D7363u, operation);
    MessageBeep(MB_ICONHAND);
    MessageBoxA(nullptr, text, "RorezoZavu", MB_ICONERROR);
    return E_UNEXPECTED;
}

void ComPropertyPage::TearDown() { DestroyNativeWindow(); }

void ComPropertyPage::OnPageWindowCreated(int32_t, int32_t) {}

STDMETHODIMP ComPropertyPage::Activate(HWND parent, LPCRECT rect, BOOL) {
    try {
        const LONG left = rect ? rect->left : 0, top = rect ? rect->top : 0;
        const LONG width = rect ? rect->right - rect->left : 0, height = rect ? rect->bottom - rect->top : 0;
        // A second Activate without Deactivate replaces the window.
        TearDown();
        SetFlags(kClosed, false);
        if (!CreateNativeWindow(parent, Rect{left, top, width, height}))
            return E_FAIL; // no window: nothing was built
        OnPageWindowCreated(width, height);
        return S_OK;
    } catch (...) {
        return Fault("Corvell::ComPropertyPage::Activate");
    }
}

STDMETHODIMP ComPropertyPage::Deactivate() {
    try {
        TearDown();
        return S_OK;
    } catch (...) {
        return Fault("Corvell::ComPropertyPage::Deactivate");
    }
}

STDMETHODIMP ComPropertyPage::GetPageInfo(PROPPAGEINFO* info) {
    if (!info)
        return E_POINTER;
    ZeroMemory(info, sizeof *info);
    info->cb = sizeof *info;
    FillPageInfo(*info);
    return S_OK;
}

STDMETHODIMP ComPropertyPage::SetObjects(ULONG count, IUnknown** objects) {
    if (count && !objects)
        return E_POINTER;
    try {
        return ApplyObjects(count, objects) ? S_OK : E_UNEXPECTED;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

STDMETHODIMP ComPropertyPage::Show(UINT) { return S_OK; }
STDMETHODIMP ComPropertyPage::Move(LPCRECT) { return S_OK; }
STDMETHODIMP ComPropertyPage::IsPageDirty() { return S_FALSE; }
STDMETHODIMP ComPropertyPage::Apply() { return S_OK; }
STDMETHODIMP ComPropertyPage::Help(LPCOLESTR) { return E_NOTIMPL; }
STDMETHODIMP ComPropertyPage::TranslateAccelerator(MSG*) { return E_NOTIMPL; }

} // namespace Corvell
