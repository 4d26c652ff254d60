#include "binding/win32/Module.h"

#include <vector>

namespace Corvell {

// {82F82104-A69D-4CC2-9169-01CADBE41A29}
const CLSID CLSID_CVRorezoZavu = {0x82f82104, 0xa69d, 0x4cc2, {0x91, 0x69, 0x01, 0xca, 0xdb, 0xe4, 0x1a, 0x29}};
const char* const kClassDescription = "Corvell Tarrow View";

namespace {
HINSTANCE g_instance = nullptr;
std::string g_directory;
volatile LONG g_serverLocks = 0;

// GetModuleFileName truncates silently on older systems; grow until the
// whole path fits (the longest path Windows allows is 32767 characters).
template <typename Char, typename Fn>
std::basic_string<Char> ModulePath(HINSTANCE instance, Fn getModuleFileName) {
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::vector<Char> buf(size + 1, Char(0));
        DWORD n = getModuleFileName(instance, buf.data(), size);
        if (n == 0)
            return {};
        if (n < size)
            return std::basic_string<Char>(buf.data(), n);
    }
    return {};
}
} // namespace

HINSTANCE Win32Module::Instance() { return g_instance; }
const std::string& Win32Module::Directory() { return g_directory; }

std::wstring Win32Module::FilePath() {
    return ModulePath<wchar_t>(g_instance, GetModuleFileNameW);
}

void Win32Module::Attach(HINSTANCE instance) {
    g_instance = instance;
    std::string path = ModulePath<char>(instance, GetModuleFileNameA);
    size_t slash = path.find_last_of('\\');
    g_directory = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
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
