#pragma once
// Shared by the tests under Wine.
#include <windows.h>
#include <objbase.h>
#include <ocidl.h>

#include <functional>
// The pane operation of that name, not the platform macro.
#undef MessageBox

namespace Corvell {
namespace WineTest {

template <typename Fn>
Fn Proc(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The built DLL, loaded once as the engine loads it, with its five exports.
struct Dll {
    HMODULE module = LoadLibraryA("TarrowView.dll");
    HRESULT(STDAPICALLTYPE* getClassObject)(REFCLSID, REFIID, void**) =
        Proc<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(module, "DllGetClassObject");
    HRESULT(STDAPICALLTYPE* canUnloadNow)() = Proc<HRESULT(STDAPICALLTYPE*)()>(module, "DllCanUnloadNow");
    HRESULT(STDAPICALLTYPE* registerServer)() = Proc<HRESULT(STDAPICALLTYPE*)()>(module, "DllRegisterServer");
    HRESULT(STDAPICALLTYPE* unregisterServer)() = Proc<HRESULT(STDAPICALLTYPE*)()>(module, "DllUnregisterServer");
    IUnknown* (*create)() = Proc<IUnknown* (*)()>(module, "CvCreateRorezoZavu");
};

inline Dll& TheDll() {
    static Dll dll;
    return dll;
}

// Runs the messages queued for this thread, and those they send or post,
// until none is left.
inline void RunQueued() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

// Runs messages as they arrive until done() holds. The bound only turns a
// message that never comes into a failure.
inline bool RunMessagesUntil(const std::function<bool()>& done, DWORD boundMs = 5000) {
    const DWORD start = GetTickCount();
    for (;;) {
        RunQueued();
        if (done())
            return true;
        if (GetTickCount() - start > boundMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
}

// Runs the thread's messages for at least ms milliseconds.
inline void Pump(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    do {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        Sleep(1);
    } while (GetTickCount() < end);
}

// A plain visible top-level window to host a page or a pane window.
inline HWND MakeTopLevel(int width, int height) {
    static const ATOM cls = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TarrowTestTopLevel";
        return RegisterClassA(&wc);
    }();
    (void)cls;
    return CreateWindowExA(0, "TarrowTestTopLevel", "test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, width, height,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// A page site with nothing to offer but the protocol; it counts the
// references the page takes, so a test can check they are all given back.
struct PageSite : IPropertyPageSite {
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPropertyPageSite)) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--refs); }
    STDMETHODIMP OnStatusChange(DWORD) override { return S_OK; }
    STDMETHODIMP GetLocaleID(LCID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetPageContainer(IUnknown**) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }
    long refs = 0;
};

} // namespace WineTest
} // namespace Corvell
