#include "binding/win32/ComClassFactory.h"

#include "binding/win32/CVRorezoZavu.h"
#include "binding/win32/Module.h"

#include "binding/win32/Registration.h"

namespace Corvell {

STDMETHODIMP ComClassFactory::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_INVALIDARG;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ComClassFactory::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }

STDMETHODIMP_(ULONG) ComClassFactory::Release() {
    LONG n = InterlockedDecrement(&m_refs);
    if (n == 0)
        delete this;
    return static_cast<ULONG>(n);
}

STDMETHODIMP ComClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (IsNullReference(&riid))
        return E_POINTER;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    CVRorezoZavu* page = nullptr;
    try {
        page = new (std::nothrow) CVRorezoZavu();
    } catch (...) {
        page = nullptr;
    }
    if (!page)
        return E_OUTOFMEMORY;
    page->AddRef();
    HRESULT hr = page->QueryInterface(riid, ppv);
    page->Release();
    return hr;
}

STDMETHODIMP ComClassFactory::LockServer(BOOL lock) {
    Win32Module::LockServer(lock != FALSE);
    return S_OK;
}

} // namespace Corvell
