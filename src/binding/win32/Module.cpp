#include "binding/win32/Module.h"

namespace Corvell {

// {82F82104-A69D-4CC2-9169-01CADBE41A29}
const CLSID CLSID_CVRorezoZavu = {0x82f82104, 0xa69d, 0x4cc2, {0x91, 0x69, 0x01, 0xca, 0xdb, 0xe4, 0x1a, 0x29}};
const char* const kClassDescription = "Corvell Tarrow View";

namespace {
HINSTANCE g_instance = nullptr;
std::string g_directory;
volatile LONG g_serverLocks = 0;

std::string Ansi(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string out(static_cast<size_t>(n), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, text.data(), size, &out[0], n, nullptr, nullptr) != n)
        return {};
    return out;
}
} // namespace

HINSTANCE Win32Module::Instance() { return g_instance; }
const std::string& Win32Module::Directory() { return g_directory; }

std::wstring Win32Module::FilePath() {
    return ReadModulePath(g_instance, GetModuleFileNameW);
}

void Win32Module::Attach(HINSTANCE instance) {
    g_instance = instance;
    // From the wide path: an ANSI buffer has no fixed longest size (a
    // character may take several bytes), the wide one does.
    const std::wstring path = ReadModulePath(instance, GetModuleFileNameW);
    const size_t slash = path.find_last_of(L'\\');
    g_directory = slash == std::wstring::npos ? std::string() : Ansi(path.substr(0, slash + 1));
}

void Win32Module::LockServer(bool lock) {
    if (lock)
        InterlockedIncrement(&g_serverLocks);
    else
        InterlockedDecrement(&g_serverLocks);
}

LONG Win32Module::ServerLocks() { return InterlockedCompareExchange(&g_serverLocks, 0, 0); }

} // namespace Corvell

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        Corvell::Win32Module::Attach(instance);
    return TRUE;
}
