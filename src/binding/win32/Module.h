#pragma once
#include <windows.h>

#include <string>

namespace Corvell {

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
