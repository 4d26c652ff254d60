#include "binding/win32/CVRorezoZavu.h"

#include "binding/win32/Registration.h"

namespace Corvell {

CVRorezoZavu::~CVRorezoZavu() {
    // A site still held at the end would keep the host's object alive.
    if (m_site)
        m_site->Release();
}

STDMETHODIMP CVRorezoZavu::QueryInterface(REFIID riid, void** ppv) {
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

STDMETHODIMP_(ULONG) CVRorezoZavu::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }

STDMETHODIMP_(ULONG) CVRorezoZavu::Release() {
    LONG n = InterlockedDecrement(&m_refs);
    if (n == 0) {
        delete this;
        return 0;
    }
    return static_cast<ULONG>(n);
}

STDMETHODIMP CVRorezoZavu::SetPageSite(IPropertyPageSite* site) {
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

// No window yet: refuse rather than report a page that is not there.
STDMETHODIMP CVRorezoZavu::Activate(HWND, LPCRECT, BOOL) { return E_NOTIMPL; }
STDMETHODIMP CVRorezoZavu::Deactivate() { return S_OK; }

STDMETHODIMP CVRorezoZavu::GetPageInfo(PROPPAGEINFO* info) {
    if (!info)
        return E_POINTER;
    ZeroMemory(info, sizeof *info);
    info->cb = sizeof *info;
    info->size.cx = kWidth;
    info->size.cy = kHeight;
    return S_OK;
}

STDMETHODIMP CVRorezoZavu::SetObjects(ULONG count, IUnknown** objects) {
    if (count && !objects)
        return E_POINTER;
    if (count) {
        m_host = reinterpret_cast<ICorvellHost*>(objects[0]);
        return m_host ? S_OK : E_UNEXPECTED;
    }
    m_host = nullptr;
    return S_OK;
}

STDMETHODIMP CVRorezoZavu::Show(UINT) { return S_OK; }
STDMETHODIMP CVRorezoZavu::Move(LPCRECT) { return S_OK; }
STDMETHODIMP CVRorezoZavu::IsPageDirty() { return S_FALSE; }
STDMETHODIMP CVRorezoZavu::Apply() { return S_OK; }
STDMETHODIMP CVRorezoZavu::Help(LPCOLESTR) { return E_NOTIMPL; }
STDMETHODIMP CVRorezoZavu::TranslateAccelerator(MSG*) { return E_NOTIMPL; }

} // namespace Corvell
