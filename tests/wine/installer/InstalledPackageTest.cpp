// Run by run.sh inside the installer's own Wine prefix between msiexec
// steps: Installed.* after an install, Removed.* after the uninstall.
// TARROW_EXPECT_VERSION names the product version that should be registered.
#include "binding/win32/Module.h"
#include "binding/win32/Registration.h"
#include "../WineHelpers.h"

#include <windows.h>
#include <msi.h>
#include <objbase.h>
#include <ocidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

const wchar_t kUpgradeCode[] = L"{3F3E380D-636A-4BCC-8879-423073A7BBD4}";
const wchar_t kProductName[] = L"Tarrow View";
const wchar_t kShortcutName[] = L"Tarrow View Demo.lnk";

std::wstring Folder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : L"";
}

std::wstring InstallDir() { return Folder(CSIDL_PROGRAM_FILES) + L"\\Tarrow View"; }
std::wstring InstalledDll() { return InstallDir() + L"\\TarrowView.dll"; }
std::wstring InstalledHost() { return InstallDir() + L"\\tarrow-host.exe"; }

std::string Narrow(const std::wstring& w) {
    std::string out;
    for (wchar_t c : w)
        out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

std::wstring ClassKey() { return Widen(Corvell::ClassKeyPath()); }

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Every value under root\path and its subkeys: "sub\key|name" -> type and data.
using Tree = std::map<std::wstring, std::pair<DWORD, std::vector<BYTE>>>;
LONG ReadTree(HKEY root, const std::wstring& path, REGSAM view, Tree& tree, const std::wstring& prefix = L"") {
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key);
    if (rc != ERROR_SUCCESS)
        return rc;
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD nameLen = 16384, type = 0, size = 0;
        if (RegEnumValueW(key, i, name, &nameLen, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        std::vector<BYTE> data(size);
        nameLen = 16384;
        RegEnumValueW(key, i, name, &nameLen, nullptr, &type, data.data(), &size);
        data.resize(size);
        tree[prefix + L"|" + name] = {type, data};
    }
    for (DWORD i = 0;; ++i) {
        wchar_t sub[256];
        DWORD len = 256;
        if (RegEnumKeyExW(key, i, sub, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        tree[prefix + L"\\" + sub + L"|<key>"] = {0, {}};
        ReadTree(key, sub, view, tree, prefix + L"\\" + sub);
    }
    RegCloseKey(key);
    return ERROR_SUCCESS;
}

std::wstring Text(const std::pair<DWORD, std::vector<BYTE>>& value) {
    if (value.first != REG_SZ || value.second.size() < sizeof(wchar_t))
        return L"<not a string>";
    return std::wstring(reinterpret_cast<const wchar_t*>(value.second.data()),
                        value.second.size() / sizeof(wchar_t) - 1);
}

std::string Dump(const Tree& tree) {
    std::string out;
    for (const auto& [name, value] : tree)
        out += Narrow(name) + " = (" + std::to_string(value.first) + ") " + Narrow(Text(value)) + "\n";
    return out;
}

std::vector<std::wstring> RelatedProducts() {
    std::vector<std::wstring> codes;
    for (DWORD i = 0;; ++i) {
        wchar_t code[39] = {};
        if (MsiEnumRelatedProductsW(kUpgradeCode, 0, i, code) != ERROR_SUCCESS)
            break;
        codes.push_back(code);
    }
    return codes;
}

// Uninstall entries (the programs list) that carry the product's name.
int UninstallEntriesNamedLikeUs() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 0,
                      KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
        return 0;
    int count = 0;
    for (DWORD i = 0;; ++i) {
        wchar_t sub[256];
        DWORD len = 256;
        if (RegEnumKeyExW(key, i, sub, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        wchar_t name[256] = {};
        DWORD size = sizeof name;
        if (RegGetValueW(key, sub, L"DisplayName", RRF_RT_REG_SZ, nullptr, name, &size) == ERROR_SUCCESS &&
            std::wstring(name) == kProductName)
            ++count;
    }
    RegCloseKey(key);
    return count;
}

// The Start-menu folders a per-machine install may use: the common one, and
// the user's, where some installer services put per-machine shortcuts too.
std::vector<std::wstring> ShortcutsFound() {
    std::vector<std::wstring> found;
    for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
        const std::wstring path = Folder(csidl) + L"\\" + kShortcutName;
        if (!Folder(csidl).empty() && Exists(path))
            found.push_back(path);
    }
    return found;
}

std::string VersionString(const std::wstring& file, const wchar_t* field) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0)
        return "<no version block>";
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data()))
        return "<unreadable version block>";
    if (field == nullptr) {
        VS_FIXEDFILEINFO* info = nullptr;
        UINT len = 0;
        if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info)
            return "<no fixed info>";
        const DWORD ms = info->dwFileVersionMS, ls = info->dwFileVersionLS;
        return std::to_string(HIWORD(ms)) + "." + std::to_string(LOWORD(ms)) + "." + std::to_string(HIWORD(ls)) + "." +
               std::to_string(LOWORD(ls));
    }
    wchar_t* text = nullptr;
    UINT len = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + field;
    if (!VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &len) || !text)
        return "<no " + Narrow(field) + ">";
    return Narrow(text);
}

using Site = Corvell::WineTest::PageSite;

void Pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

} // namespace

TEST(Installed, OneProductOfTheExpectedVersion) {
    const char* expected = std::getenv("TARROW_EXPECT_VERSION");
    ASSERT_NE(nullptr, expected) << "TARROW_EXPECT_VERSION names the version that should be installed";
    const std::vector<std::wstring> codes = RelatedProducts();
    ASSERT_EQ(1u, codes.size()) << "one installed copy of the product";
    wchar_t version[64] = {};
    DWORD len = 64;
    ASSERT_EQ(static_cast<UINT>(ERROR_SUCCESS),
              MsiGetProductInfoW(codes[0].c_str(), L"VersionString", version, &len));
    EXPECT_EQ(std::string(expected), Narrow(version));
    EXPECT_EQ(1, UninstallEntriesNamedLikeUs()) << "one entry in the programs list";
}

TEST(Installed, TheTwoFilesWithTheirVersionBlock) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((InstallDir() + L"\\*").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, h) << "no folder " << Narrow(InstallDir());
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(Narrow(name));
    } while (FindNextFileW(h, &found));
    FindClose(h);
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"TarrowView.dll", "tarrow-host.exe"}), names);

    for (const std::wstring& file : {InstalledDll(), InstalledHost()}) {
        SCOPED_TRACE(Narrow(file));
        EXPECT_EQ(std::string(TARROW_VERSION) + ".0", VersionString(file, nullptr));
        EXPECT_EQ(TARROW_VERSION, VersionString(file, L"FileVersion"));
        EXPECT_EQ(TARROW_VERSION, VersionString(file, L"ProductVersion"));
        EXPECT_EQ("Tarrow View", VersionString(file, L"ProductName"));
        EXPECT_EQ(0u, VersionString(file, L"FileDescription").find("Tarrow View"));
    }
}

// The package writes the class's keys itself; they must be exactly what the
// installed DLL's DllRegisterServer writes, here redirected to a scratch key.
TEST(Installed, ClassKeysAreWhatRegistrationWrites) {
    Tree installed;
    ASSERT_EQ(ERROR_SUCCESS, ReadTree(HKEY_CLASSES_ROOT, ClassKey(), KEY_WOW64_64KEY, installed));
    EXPECT_EQ(L"Corvell Tarrow View", Text(installed[L"|"]));
    EXPECT_EQ(InstalledDll(), Text(installed[L"\\InprocServer32|"]));

    const wchar_t* scratchPath = L"Software\\TarrowInstallerProbe";
    RegDeleteTreeW(HKEY_CURRENT_USER, scratchPath);
    HKEY scratch = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, scratchPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &scratch, nullptr));
    HMODULE dll = LoadLibraryW(InstalledDll().c_str());
    ASSERT_NE(nullptr, dll);
    auto registerServer =
        reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(reinterpret_cast<void*>(GetProcAddress(dll, "DllRegisterServer")));
    ASSERT_NE(nullptr, registerServer);
    ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CLASSES_ROOT, scratch));
    const HRESULT hr = registerServer();
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    EXPECT_EQ(S_OK, hr);
    Tree registered;
    EXPECT_EQ(ERROR_SUCCESS, ReadTree(scratch, ClassKey(), 0, registered));
    RegCloseKey(scratch);
    RegDeleteTreeW(HKEY_CURRENT_USER, scratchPath);
    FreeLibrary(dll);

    EXPECT_EQ(Dump(registered), Dump(installed));
    EXPECT_TRUE(registered == installed) << "same names and texts, different types or bytes";
}

TEST(Installed, PageCreatedByItsClassIdActivatesInAWindow) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TarrowInstallerProbeFrame";
    RegisterClassW(&wc);
    HWND frame = CreateWindowExW(0, wc.lpszClassName, L"frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 820, 640,
                                 nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, frame);

    IPropertyPage* page = nullptr;
    HRESULT hr = CoCreateInstance(Corvell::CLSID_CVRorezoZavu, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                                  reinterpret_cast<void**>(&page));
    ASSERT_EQ(S_OK, hr);
    ASSERT_NE(nullptr, page);

    // COM found the class through the installed keys: the object's code
    // lives in the installed DLL.
    HMODULE owner = nullptr;
    const DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    ASSERT_TRUE(GetModuleHandleExW(flags, *reinterpret_cast<LPCWSTR*>(page), &owner));
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(owner, path, MAX_PATH);
    EXPECT_EQ(Narrow(InstalledDll()), Narrow(path));

    Site site;
    EXPECT_EQ(S_OK, page->SetPageSite(&site));
    PROPPAGEINFO info{};
    EXPECT_EQ(S_OK, page->GetPageInfo(&info));
    EXPECT_EQ(800, info.size.cx);
    EXPECT_EQ(588, info.size.cy);
    CoTaskMemFree(info.pszTitle);
    CoTaskMemFree(info.pszDocString);
    CoTaskMemFree(info.pszHelpFile);
    RECT rc{0, 0, 800, 588};
    EXPECT_EQ(S_OK, page->Activate(frame, &rc, TRUE));
    HWND child = GetWindow(frame, GW_CHILD);
    EXPECT_NE(nullptr, child) << "the page made its window in the frame";
    RECT client{};
    GetClientRect(child, &client);
    EXPECT_EQ(800, client.right);
    EXPECT_EQ(588, client.bottom);
    UpdateWindow(child);
    Pump();
    EXPECT_EQ(S_OK, page->Deactivate());
    EXPECT_EQ(nullptr, GetWindow(frame, GW_CHILD));
    EXPECT_EQ(S_OK, page->SetPageSite(nullptr));
    EXPECT_EQ(0, site.refs);
    EXPECT_EQ(0u, page->Release());
    Pump();
    DestroyWindow(frame);
    CoUninitialize();
}

TEST(Installed, StartMenuShortcutOpensTheHost) {
    const std::vector<std::wstring> found = ShortcutsFound();
    ASSERT_EQ(1u, found.size()) << "one Start-menu shortcut";
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    IShellLinkW* link = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(&link)));
    IPersistFile* file = nullptr;
    ASSERT_EQ(S_OK, link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
    EXPECT_EQ(S_OK, file->Load(found[0].c_str(), STGM_READ));
    wchar_t target[MAX_PATH] = {};
    EXPECT_EQ(S_OK, link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH));
    EXPECT_EQ(Narrow(InstalledHost()), Narrow(target));
    wchar_t dir[MAX_PATH] = {};
    EXPECT_EQ(S_OK, link->GetWorkingDirectory(dir, MAX_PATH));
    // The installer gives folders with their closing backslash.
    std::wstring workDir = dir;
    if (!workDir.empty() && workDir.back() == L'\\')
        workDir.pop_back();
    EXPECT_EQ(Narrow(InstallDir()), Narrow(workDir));
    file->Release();
    link->Release();
    CoUninitialize();
}

TEST(Removed, NoFileFolderKeyOrShortcutOfOursIsLeft) {
    EXPECT_FALSE(Exists(InstalledDll()));
    EXPECT_FALSE(Exists(InstalledHost()));
    EXPECT_FALSE(Exists(InstallDir())) << "the install folder itself is removed";
    EXPECT_TRUE(ShortcutsFound().empty());
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExW(HKEY_CLASSES_ROOT, ClassKey().c_str(), 0, KEY_READ | view, &key))
            << "the class key is left in view " << view;
        if (key)
            RegCloseKey(key);
    }
    EXPECT_TRUE(RelatedProducts().empty()) << "a product of ours is still registered";
    EXPECT_EQ(0, UninstallEntriesNamedLikeUs());
}
