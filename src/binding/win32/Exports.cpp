// The five entry points the engine and installers call.
#include "binding/win32/ComClassFactory.h"
#include "binding/win32/Module.h"
#include "binding/win32/Registration.h"

#include <objbase.h>
#include <olectl.h>

using namespace Corvell;

extern "C" {

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    if (!IsEqualCLSID(rclsid, CLSID_CVRorezoZavu)) {
        if (ppv)
            *ppv = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    ComClassFactory* factory = new (std::nothrow) ComClassFactory();
    if (!factory)
        return E_OUTOFMEMORY;
    factory->AddRef();
    HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return (Win32Module::ServerLocks() != 0 || Base::LiveObjects() != 0) ? S_FALSE : S_OK;
}

HRESULT STDAPICALLTYPE DllRegisterServer() {
    LONG rc = WriteClassEntries(HKEY_CLASSES_ROOT, ClassKeyPath(), false);
    return rc == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

HRESULT STDAPICALLTYPE DllUnregisterServer() {
    LONG rc = DeleteKeyTree(HKEY_CLASSES_ROOT, ClassKeyPath());
    return rc == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

__declspec(dllexport) IUnknown* CvCreateRorezoZavu() {
    const std::string path = ClassKeyPath();
    if (WriteClassEntries(HKEY_CLASSES_ROOT, path, true) != ERROR_SUCCESS &&
        WriteClassEntries(HKEY_CURRENT_USER, "Software\\Classes\\" + path, true) != ERROR_SUCCESS)
        return nullptr;
    CoInitialize(nullptr);
    IUnknown* object = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_CVRorezoZavu, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                  reinterpret_cast<void**>(&object));
    if (SUCCEEDED(hr))
        return object;
    // COM may not see a class written to the user's classes (not every COM
    // runtime merges them into the classes root). The class is ours: build
    // it through our own factory rather than fail the engine.
    object = nullptr;
    IClassFactory* factory = nullptr;
    if (FAILED(DllGetClassObject(CLSID_CVRorezoZavu, IID_IClassFactory, reinterpret_cast<void**>(&factory))))
        return nullptr;
    hr = factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object));
    factory->Release();
    return SUCCEEDED(hr) ? object : nullptr;
}

} // extern "C"
