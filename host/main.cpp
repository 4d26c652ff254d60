// tarrow-host: loads TarrowView.dll the way the engine does and drives the
// view object's page protocol.
#include <windows.h>
#include <objbase.h>
#include <ocidl.h>

#include <cstdio>
#include <cstring>

namespace {

template <typename Fn>
Fn Proc(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

int Fail(const char* what) {
    std::printf("tarrow-host: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const char* screenshots = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--screenshots") && i + 1 < argc)
            screenshots = argv[++i];
    }

    HMODULE dll = LoadLibraryA("TarrowView.dll");
    if (!dll)
        return Fail("TarrowView.dll did not load");
    std::printf("tarrow-host: loaded TarrowView.dll\n");

    auto create = Proc<IUnknown* (*)()>(dll, "CvCreateRorezoZavu");
    auto canUnload = Proc<HRESULT(STDAPICALLTYPE*)()>(dll, "DllCanUnloadNow");
    if (!create || !canUnload)
        return Fail("the DLL lacks its entry points");

    DWORD t0 = GetTickCount();
    IUnknown* unk = create();
    if (!unk)
        return Fail("CvCreateRorezoZavu returned no object");
    std::printf("tarrow-host: CvCreateRorezoZavu created the view object (%lu ms)\n",
                static_cast<unsigned long>(GetTickCount() - t0));

    IPropertyPage* page = nullptr;
    if (FAILED(unk->QueryInterface(IID_IPropertyPage, reinterpret_cast<void**>(&page))))
        return Fail("the view object is not a property page");
    unk->Release();

    PROPPAGEINFO info{};
    if (SUCCEEDED(page->GetPageInfo(&info)))
        std::printf("tarrow-host: page size %ld x %ld\n", static_cast<long>(info.size.cx),
                    static_cast<long>(info.size.cy));
    std::printf("tarrow-host: DllCanUnloadNow while the page lives: %s\n", canUnload() == S_OK ? "S_OK" : "S_FALSE");
    page->Release();
    std::printf("tarrow-host: released; DllCanUnloadNow: %s\n", canUnload() == S_OK ? "S_OK" : "S_FALSE");
    if (screenshots)
        std::printf("tarrow-host: no window to capture yet; %s left empty\n", screenshots);
    FreeLibrary(dll);
    return 0;
}
