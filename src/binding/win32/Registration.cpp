#include "binding/win32/Registration.h"

#include "binding/win32/Module.h"

#include <cstdio>
#include <cstring>

namespace Corvell {

// Formatted here rather than by StringFromCLSID, whose allocation can fail:
// an empty name would make the key "CLSID\\" itself, and unregistering
// would then remove every class in it.
std::string ClassKeyPath() {
    const CLSID& id = CLSID_CVRorezoZavu;
    char text[64];
    snprintf(text, sizeof text, "CLSID\\{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
             static_cast<unsigned long>(id.Data1), id.Data2, id.Data3, id.Data4[0], id.Data4[1], id.Data4[2],
             id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
    return text;
}

namespace {
LONG SetDefaultA(HKEY key, const char* text) {
    return RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(strlen(text) + 1));
}

LONG SetDefaultW(HKEY key, const std::wstring& text) {
    return RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

LONG DeleteTree(HKEY parent, const char* name, int depth) {
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key);
    if (rc != ERROR_SUCCESS)
        return RegDeleteKeyA(parent, name);
    LONG firstFailure = ERROR_SUCCESS;
    // Index 0 again after each removal; a subkey that stays (access denied)
    // moves the index past it, so the walk always ends.
    DWORD index = 0;
    for (;;) {
        char sub[256];
        DWORD len = sizeof sub;
        if (RegEnumKeyExA(key, index, sub, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        LONG r = depth < 512 ? DeleteTree(key, sub, depth + 1) : ERROR_CANTWRITE;
        if (r != ERROR_SUCCESS) {
            if (firstFailure == ERROR_SUCCESS)
                firstFailure = r;
            ++index;
        }
    }
    RegCloseKey(key);
    rc = RegDeleteKeyA(parent, name);
    return firstFailure != ERROR_SUCCESS ? firstFailure : rc;
}
} // namespace

bool IsNullReference(const void* p) { return p == nullptr; }

LONG WriteClassEntries(HKEY root, const std::string& path, bool flush) {
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS)
        return rc;
    // A path we could not read whole would register a server that never
    // loads; fail here instead of writing it.
    std::wstring module = Win32Module::FilePath();
    HKEY inproc = nullptr;
    if (module.empty())
        rc = ERROR_BAD_PATHNAME;
    else
        rc = RegCreateKeyExA(key, "InprocServer32", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &inproc, nullptr);
    if (rc == ERROR_SUCCESS) {
        rc = SetDefaultW(inproc, module);
        RegCloseKey(inproc);
    }
    if (rc == ERROR_SUCCESS)
        rc = SetDefaultA(key, kClassDescription);
    if (flush)
        RegFlushKey(key);
    RegCloseKey(key);
    return rc;
}

LONG DeleteKeyTree(HKEY root, const std::string& path) {
    LONG rc = DeleteTree(root, path.c_str(), 0);
    return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
}

} // namespace Corvell
