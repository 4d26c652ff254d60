#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace Corvell {

// The longest path Windows allows, in wide characters, without its null.
constexpr DWORD kLongestModulePath = 32767;

// Asks getModuleFileName(instance, buffer, size) -- GetModuleFileNameW or a
// stand-in -- for the module's path with ever larger buffers until the
// whole path fits: older systems truncate silently, and the answer for a
// truncated path is the buffer size. The last buffer holds the longest
// path and its null; empty on failure or when even that is too short.
template <typename Fn>
std::wstring ReadModulePath(HINSTANCE instance, Fn getModuleFileName) {
    DWORD size = MAX_PATH;
    for (;;) {
        std::vector<wchar_t> buf(size + 1, L'\0');
        const DWORD n = getModuleFileName(instance, buf.data(), size);
        if (n == 0)
            return {};
        if (n < size)
            return std::wstring(buf.data(), n);
        if (size > kLongestModulePath)
            return {};
        size = size > kLongestModulePath / 2 ? kLongestModulePath + 1 : size * 2;
    }
}

// What process attach recorded, and the module-wide server lock count.
struct Win32Module {
    static HINSTANCE Instance();
    // Directory of the DLL up to and including its last backslash; empty
    // when the path could not be read.
    static const std::string& Directory();
    // Full path of the DLL (wide, never truncated); empty on failure.
    static std::wstring FilePath();

    static void Attach(HINSTANCE instance);

    static void LockServer(bool lock);
    static LONG ServerLocks();
};

// The one creatable class.
extern const CLSID CLSID_CVRorezoZavu;
extern const char* const kClassDescription;

} // namespace Corvell
