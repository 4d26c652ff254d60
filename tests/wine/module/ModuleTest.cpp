// Loads the built DLL the way the engine does and checks the module contract.
#include <windows.h>
#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

#include "../WineHelpers.h"
#include "binding/win32/Module.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// {82F82104-A69D-4CC2-9169-01CADBE41A29}
const CLSID kClsid = {0x82f82104, 0xa69d, 0x4cc2, {0x91, 0x69, 0x01, 0xca, 0xdb, 0xe4, 0x1a, 0x29}};

using Corvell::WineTest::Dll;
using Corvell::WineTest::TheDll;

std::string ClassKey() {
    LPOLESTR text = nullptr;
    StringFromCLSID(kClsid, &text);
    std::string s = "CLSID\\";
    for (int i = 0; text[i]; ++i)
        s.push_back(static_cast<char>(text[i]));
    CoTaskMemFree(text);
    return s;
}

bool ReadDefault(HKEY root, const std::string& path, std::wstring& out) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size);
    std::vector<wchar_t> buf(size / sizeof(wchar_t) + 1, L'\0');
    if (rc == ERROR_SUCCESS)
        rc = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ)
        return false;
    out.assign(buf.data(), size / sizeof(wchar_t));
    while (!out.empty() && out.back() == 0)
        out.pop_back();
    return true;
}

bool ValueExists(HKEY root, const std::string& path, const char* name) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    LONG rc = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::wstring DllPath() {
    wchar_t buf[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(TheDll().module, buf, MAX_PATH * 4);
    return std::wstring(buf, n);
}

void RemoveEverywhere() {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ClassKey().c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\Classes\\" + ClassKey()).c_str());
}

IClassFactory* Factory() {
    IClassFactory* f = nullptr;
    EXPECT_EQ(S_OK, TheDll().getClassObject(kClsid, IID_IClassFactory, reinterpret_cast<void**>(&f)));
    return f;
}

class Module : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(nullptr, TheDll().module) << "TarrowView.dll did not load";
        ASSERT_EQ(S_OK, TheDll().canUnloadNow()) << "an earlier test left objects alive";
    }
    void TearDown() override { EXPECT_EQ(S_OK, TheDll().canUnloadNow()); }
};

TEST_F(Module, ExportsAllFiveByName) {
    const Dll& d = TheDll();
    EXPECT_NE(nullptr, d.getClassObject);
    EXPECT_NE(nullptr, d.canUnloadNow);
    EXPECT_NE(nullptr, d.registerServer);
    EXPECT_NE(nullptr, d.unregisterServer);
    EXPECT_NE(nullptr, d.create);
}

TEST_F(Module, ForeignClassIsNotAvailableAndCountsNothing) {
    const CLSID foreign = {0x12345678, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 10}};
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, TheDll().getClassObject(foreign, IID_IClassFactory, &p));
    EXPECT_EQ(S_OK, TheDll().canUnloadNow());
}

TEST_F(Module, FactoryAnswersItsInterfacesAndHoldsTheModule) {
    void* p = nullptr;
    EXPECT_EQ(E_NOINTERFACE, TheDll().getClassObject(kClsid, IID_IPropertyPage, &p));
    EXPECT_EQ(nullptr, p);
    EXPECT_EQ(S_OK, TheDll().canUnloadNow()) << "the factory of a failed query must be gone";

    IClassFactory* f = Factory();
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(S_FALSE, TheDll().canUnloadNow());
    IUnknown* unk = nullptr;
    EXPECT_EQ(S_OK, f->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unk)));
    EXPECT_EQ(static_cast<IUnknown*>(f), unk);
    unk->Release();
    EXPECT_EQ(E_INVALIDARG, f->QueryInterface(IID_IUnknown, nullptr));
    EXPECT_EQ(0u, f->Release());
}

TEST_F(Module, CreateInstanceRefusalsRestoreTheCounter) {
    IClassFactory* f = Factory();
    ASSERT_NE(nullptr, f);

    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, f->CreateInstance(nullptr, IID_IDispatch, &p));
    EXPECT_EQ(nullptr, p);

    IUnknown* outer = f; // any non-null outer object
    p = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, f->CreateInstance(outer, IID_IUnknown, &p));
    EXPECT_EQ(nullptr, p);

    EXPECT_EQ(E_POINTER, f->CreateInstance(nullptr, IID_IUnknown, nullptr));
    EXPECT_EQ(E_POINTER, f->CreateInstance(nullptr, *static_cast<const IID*>(nullptr), &p));

    f->Release();
    EXPECT_EQ(S_OK, TheDll().canUnloadNow());
}

TEST_F(Module, CreatedPageAnswersThePageProtocol) {
    IClassFactory* f = Factory();
    ASSERT_NE(nullptr, f);
    IPropertyPage* page = nullptr;
    ASSERT_EQ(S_OK, f->CreateInstance(nullptr, IID_IPropertyPage, reinterpret_cast<void**>(&page)));
    f->Release();
    EXPECT_EQ(S_FALSE, TheDll().canUnloadNow()) << "a live page keeps the module";

    IUnknown* unk = nullptr;
    EXPECT_EQ(S_OK, page->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unk)));
    EXPECT_EQ(static_cast<IUnknown*>(page), unk);
    unk->Release();
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, page->QueryInterface(IID_IClassFactory, &p));
    EXPECT_EQ(nullptr, p);

    PROPPAGEINFO info;
    EXPECT_EQ(E_POINTER, page->GetPageInfo(nullptr));
    ASSERT_EQ(S_OK, page->GetPageInfo(&info));
    EXPECT_EQ(sizeof info, info.cb);
    EXPECT_EQ(800, info.size.cx);
    EXPECT_EQ(588, info.size.cy);
    EXPECT_EQ(S_FALSE, page->IsPageDirty());
    EXPECT_EQ(0u, page->Release());
}

TEST_F(Module, LockServerHoldsTheModule) {
    IClassFactory* f = Factory();
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(S_OK, f->LockServer(TRUE));
    f->Release();
    EXPECT_EQ(S_FALSE, TheDll().canUnloadNow());
    f = Factory();
    EXPECT_EQ(S_OK, f->LockServer(FALSE));
    f->Release();
    EXPECT_EQ(S_OK, TheDll().canUnloadNow());
}

TEST_F(Module, RegisterWritesPathAndDescriptionWithoutThreadingModel) {
    RemoveEverywhere();
    ASSERT_EQ(S_OK, TheDll().registerServer());
    std::wstring value;
    ASSERT_TRUE(ReadDefault(HKEY_CLASSES_ROOT, ClassKey() + "\\InprocServer32", value));
    EXPECT_EQ(DllPath(), value);
    ASSERT_TRUE(ReadDefault(HKEY_CLASSES_ROOT, ClassKey(), value));
    EXPECT_EQ(L"Corvell Tarrow View", value);
    EXPECT_FALSE(ValueExists(HKEY_CLASSES_ROOT, ClassKey() + "\\InprocServer32", "ThreadingModel"));
    // Idempotent.
    EXPECT_EQ(S_OK, TheDll().registerServer());
    EXPECT_EQ(S_OK, TheDll().unregisterServer());
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ClassKey()));
    // Absent key: still fine.
    EXPECT_EQ(S_OK, TheDll().unregisterServer());
}

TEST_F(Module, UnregisterRemovesNestedSubkeysOfAnyDepth) {
    ASSERT_EQ(S_OK, TheDll().registerServer());
    std::string deep = ClassKey();
    for (int level = 0; level < 6; ++level) {
        for (int sibling = 0; sibling < 3; ++sibling) {
            HKEY k;
            std::string name = deep + "\\n" + std::to_string(level) + "_" + std::to_string(sibling);
            ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                     nullptr, &k, nullptr));
            RegSetValueExA(k, "v", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
            RegCloseKey(k);
        }
        deep += "\\n" + std::to_string(level) + "_1";
    }
    ASSERT_TRUE(KeyExists(HKEY_CLASSES_ROOT, deep));
    EXPECT_EQ(S_OK, TheDll().unregisterServer());
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ClassKey()));
}

TEST_F(Module, CvCreateRorezoZavuRegistersAndCreates) {
    RemoveEverywhere();
    IUnknown* unk = TheDll().create();
    ASSERT_NE(nullptr, unk);
    std::wstring value;
    ASSERT_TRUE(ReadDefault(HKEY_CLASSES_ROOT, ClassKey() + "\\InprocServer32", value));
    EXPECT_EQ(DllPath(), value);
    IPropertyPage* page = nullptr;
    ASSERT_EQ(S_OK, unk->QueryInterface(IID_IPropertyPage, reinterpret_cast<void**>(&page)));
    EXPECT_EQ(1u, unk->Release()) << "the factory hands over exactly one reference";
    EXPECT_EQ(0u, page->Release());
    EXPECT_EQ(S_OK, TheDll().canUnloadNow());
}

// Maps a predefined root onto a volatile key, under which no lasting key can
// be created: the registry then refuses the class key, as it does for a user
// without write access to the machine-wide classes.
struct RefusingRoot {
    HKEY root;
    HKEY refusing = nullptr;
    bool ok = false;
    RefusingRoot(HKEY r, const char* scratch) : root(r) {
        RegDeleteTreeA(HKEY_CURRENT_USER, scratch);
        ok = RegCreateKeyExA(HKEY_CURRENT_USER, scratch, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                             &refusing, nullptr) == ERROR_SUCCESS &&
             RegOverridePredefKey(root, refusing) == ERROR_SUCCESS;
    }
    ~RefusingRoot() {
        RegOverridePredefKey(root, nullptr);
        RegCloseKey(refusing);
    }
};

TEST_F(Module, CvCreateRorezoZavuFallsBackToTheUsersClasses) {
    RemoveEverywhere();
    {
        RefusingRoot refuse(HKEY_CLASSES_ROOT, "Software\\TarrowTestClasses");
        ASSERT_TRUE(refuse.ok);
        HKEY probe;
        ASSERT_NE(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, "probe", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                 &probe, nullptr))
            << "the override must refuse writes for this test to mean anything";
        IUnknown* unk = TheDll().create();
        ASSERT_NE(nullptr, unk);
        unk->Release();
    }
    const std::string user = "Software\\Classes\\" + ClassKey();
    std::wstring value;
    ASSERT_TRUE(ReadDefault(HKEY_CURRENT_USER, user + "\\InprocServer32", value));
    EXPECT_EQ(DllPath(), value);
    ASSERT_TRUE(ReadDefault(HKEY_CURRENT_USER, user, value));
    EXPECT_EQ(L"Corvell Tarrow View", value);
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, user + "\\InprocServer32", "ThreadingModel"));
    RemoveEverywhere();
}

TEST_F(Module, CvCreateRorezoZavuGivesNullWhenNoRegistryIsWritable) {
    RemoveEverywhere();
    // Registered machine-wide before: a null result then comes from the
    // refused writes, not from a class COM cannot find.
    ASSERT_EQ(S_OK, TheDll().registerServer());
    {
        RefusingRoot refuseMachine(HKEY_CLASSES_ROOT, "Software\\TarrowTestClasses");
        RefusingRoot refuseUser(HKEY_CURRENT_USER, "Software\\TarrowTestUser");
        ASSERT_TRUE(refuseMachine.ok && refuseUser.ok);
        EXPECT_EQ(nullptr, TheDll().create());
    }
    RemoveEverywhere();
}

// Gives the key a DACL allowing `access` to everyone and nothing else (0:
// an empty DACL), and with `owner` a new owner too.
LONG SetKeyAccess(HKEY key, DWORD access, PSID owner) {
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    alignas(DWORD) BYTE aclBytes[256];
    ACL* acl = reinterpret_cast<ACL*>(aclBytes);
    SECURITY_DESCRIPTOR sd;
    LONG rc = ERROR_INVALID_PARAMETER;
    if (AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone) &&
        InitializeAcl(acl, sizeof aclBytes, ACL_REVISION) &&
        (access == 0 || AddAccessAllowedAce(acl, ACL_REVISION, access, everyone)) &&
        InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) &&
        SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE) && (!owner || SetSecurityDescriptorOwner(&sd, owner, FALSE)))
        rc = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION | (owner ? OWNER_SECURITY_INFORMATION : 0), &sd);
    if (everyone)
        FreeSid(everyone);
    return rc;
}

LONG CreateKey(HKEY root, const std::string& path, DWORD options = 0) {
    HKEY key;
    LONG rc = RegCreateKeyExA(root, path.c_str(), 0, nullptr, options, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (rc == ERROR_SUCCESS)
        RegCloseKey(key);
    return rc;
}

bool CanOpen(HKEY root, const std::string& path, REGSAM access) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, access, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Someone else's key, as an installer running as the system leaves it:
// owned by the system, its DACL allowing us only `access` (the owner may
// always rewrite the DACL, so we must not own it). The handle from its
// making keeps the right to open it up again, which the guard does before
// removing it, so a failed test leaves nothing the next one trips on.
struct GuardedKey {
    HKEY root;
    std::string path;
    HKEY handle = nullptr;
    bool ok = false;
    GuardedKey(HKEY r, std::string p, DWORD access) : root(r), path(std::move(p)) {
        SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
        PSID system = nullptr;
        ok = AllocateAndInitializeSid(&nt, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &system) &&
             RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) ==
                 ERROR_SUCCESS &&
             SetKeyAccess(handle, access, system) == ERROR_SUCCESS;
        if (system)
            FreeSid(system);
    }
    void Release() {
        if (handle)
            SetKeyAccess(handle, KEY_ALL_ACCESS, nullptr);
    }
    ~GuardedKey() {
        Release();
        if (handle)
            RegCloseKey(handle);
        RegDeleteTreeA(root, path.c_str());
    }
};

// Registration cannot hide a refused write: each way the registry can say
// no ends in SELFREG_E_CLASS, with no server path left behind.
TEST_F(Module, RegisterReportsEveryRefusedWrite) {
    enum class Refusal { RootRefusesTheClassKey, ClassKeyOnlyReadable, ClassKeyVolatile, InprocServerLocked };
    const struct {
        const char* name;
        Refusal refusal;
    } cases[] = {
        {"the classes root takes no lasting key", Refusal::RootRefusesTheClassKey},
        {"the class key may be read, not written", Refusal::ClassKeyOnlyReadable},
        {"the class key is volatile: no lasting subkey", Refusal::ClassKeyVolatile},
        {"InprocServer32 can be neither opened nor written", Refusal::InprocServerLocked},
    };
    const std::string inproc = ClassKey() + "\\InprocServer32";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveEverywhere();
        std::unique_ptr<GuardedKey> guard;
        HRESULT hr = E_FAIL;
        switch (c.refusal) {
        case Refusal::RootRefusesTheClassKey: {
            RefusingRoot refuse(HKEY_CLASSES_ROOT, "Software\\TarrowTestClasses");
            ASSERT_TRUE(refuse.ok);
            ASSERT_NE(ERROR_SUCCESS, CreateKey(HKEY_CLASSES_ROOT, "probe"));
            hr = TheDll().registerServer();
            break;
        }
        case Refusal::ClassKeyOnlyReadable:
            guard = std::make_unique<GuardedKey>(HKEY_CLASSES_ROOT, ClassKey(), KEY_READ);
            ASSERT_TRUE(guard->ok);
            ASSERT_FALSE(CanOpen(HKEY_CLASSES_ROOT, ClassKey(), KEY_ALL_ACCESS)) << "the registry must refuse";
            hr = TheDll().registerServer();
            break;
        case Refusal::ClassKeyVolatile:
            ASSERT_EQ(ERROR_SUCCESS, CreateKey(HKEY_CLASSES_ROOT, ClassKey(), REG_OPTION_VOLATILE));
            ASSERT_NE(ERROR_SUCCESS, CreateKey(HKEY_CLASSES_ROOT, ClassKey() + "\\probe"));
            hr = TheDll().registerServer();
            break;
        case Refusal::InprocServerLocked:
            guard = std::make_unique<GuardedKey>(HKEY_CLASSES_ROOT, inproc, 0);
            ASSERT_TRUE(guard->ok);
            ASSERT_FALSE(CanOpen(HKEY_CLASSES_ROOT, inproc, KEY_READ)) << "the registry must refuse";
            hr = TheDll().registerServer();
            break;
        }
        EXPECT_EQ(SELFREG_E_CLASS, hr);
        if (guard)
            guard->Release();
        std::wstring value;
        EXPECT_FALSE(ReadDefault(HKEY_CLASSES_ROOT, inproc, value)) << "a server path was written after all";
        guard.reset();
    }
    RemoveEverywhere();
}

// Runs DllUnregisterServer on a worker; when it has not ended by the
// deadline, opens `stuck` up so that a walk caught on it can end, and says
// so. Only a hang ever waits out the deadline.
HRESULT UnregisterOrReportHang(GuardedKey& stuck) {
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HRESULT hr = E_FAIL;
    std::thread worker([&] {
        hr = TheDll().unregisterServer();
        SetEvent(done);
    });
    if (WaitForSingleObject(done, 20000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "unregistration loops on the key it cannot remove";
        stuck.Release();
    }
    worker.join();
    CloseHandle(done);
    return hr;
}

// A subkey left under the class key by someone else, with rights we lack:
// the walk steps past what it cannot remove, removes the rest, and reports
// the key it had to leave.
TEST_F(Module, UnregisterStepsPastSubkeysItCannotOpen) {
    const struct {
        const char* name;
        DWORD access;     // what the subkey's DACL allows
        HRESULT result;
        bool stays;
    } cases[] = {
        {"neither opened nor deleted", 0, SELFREG_E_CLASS, true},
        {"not opened but deleted", DELETE, S_OK, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveEverywhere();
        ASSERT_EQ(S_OK, TheDll().registerServer());
        // Siblings either side of it in the walk's order, with children.
        for (const char* sibling : {"\\a-before\\child", "\\z-after\\child\\grandchild"})
            ASSERT_EQ(ERROR_SUCCESS, CreateKey(HKEY_CLASSES_ROOT, ClassKey() + sibling));
        const std::string guarded = ClassKey() + "\\m-guarded";
        GuardedKey guard(HKEY_CLASSES_ROOT, guarded, c.access);
        ASSERT_TRUE(guard.ok);
        ASSERT_FALSE(CanOpen(HKEY_CLASSES_ROOT, guarded, KEY_READ)) << "the registry must refuse";
        ASSERT_EQ(c.stays, !CanOpen(HKEY_CLASSES_ROOT, guarded, DELETE)) << "the registry must refuse";

        EXPECT_EQ(c.result, UnregisterOrReportHang(guard));
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ClassKey() + "\\a-before"));
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ClassKey() + "\\z-after"));
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ClassKey() + "\\InprocServer32"));
        EXPECT_EQ(c.stays, KeyExists(HKEY_CLASSES_ROOT, ClassKey())) << "the class key goes with its last subkey";

        guard.Release();
        EXPECT_EQ(S_OK, TheDll().unregisterServer()) << "once it can be removed, it is";
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ClassKey()));
    }
    RemoveEverywhere();
}

// Refuses every COM task-memory allocation while registered, as COM does
// when memory runs out. The block the system took for a refused request is
// lost: a few bytes, in a test.
struct RefusingMalloc : IMallocSpy {
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMallocSpy)) {
            *ppv = static_cast<IMallocSpy*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP_(SIZE_T) PreAlloc(SIZE_T cb) override { return cb; }
    STDMETHODIMP_(void*) PostAlloc(void*) override { return nullptr; }
    STDMETHODIMP_(void*) PreFree(void* p, BOOL) override { return p; }
    STDMETHODIMP_(void) PostFree(BOOL) override {}
    STDMETHODIMP_(SIZE_T) PreRealloc(void* p, SIZE_T cb, void** out, BOOL) override {
        *out = p;
        return cb;
    }
    STDMETHODIMP_(void*) PostRealloc(void* p, BOOL) override { return p; }
    STDMETHODIMP_(void*) PreGetSize(void* p, BOOL) override { return p; }
    STDMETHODIMP_(SIZE_T) PostGetSize(SIZE_T cb, BOOL) override { return cb; }
    STDMETHODIMP_(void*) PreDidAlloc(void* p, BOOL) override { return p; }
    STDMETHODIMP_(int) PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    STDMETHODIMP_(void) PreHeapMinimize() override {}
    STDMETHODIMP_(void) PostHeapMinimize() override {}
};

// The class key is named without asking COM for memory: were the name lost
// to a failed allocation, unregistering would walk the whole CLSID tree.
// The classes root is mapped onto a scratch key, so that a fault here
// cannot take the prefix's real classes with it.
TEST_F(Module, UnregisterRemovesOnlyItsClassWhenComHasNoMemory) {
    const std::string scratch = "Software\\TarrowTestClassesRoot";
    const std::string neighbour = "CLSID\\{0B0E5D1E-0000-4000-8000-00000000C1A5}";
    RegDeleteTreeA(HKEY_CURRENT_USER, scratch.c_str());
    HKEY root = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, scratch.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &root, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CLASSES_ROOT, root));
    const std::string ours = ClassKey();
    HRESULT unregistered = E_FAIL;
    bool refused = false;
    if (CreateKey(HKEY_CLASSES_ROOT, neighbour) == ERROR_SUCCESS && TheDll().registerServer() == S_OK) {
        RefusingMalloc spy;
        if (CoRegisterMallocSpy(&spy) == S_OK) {
            LPOLESTR text = nullptr;
            refused = FAILED(StringFromCLSID(kClsid, &text)) && !text;
            unregistered = TheDll().unregisterServer();
            CoRevokeMallocSpy();
        }
    }
    const bool neighbourKept = KeyExists(HKEY_CLASSES_ROOT, neighbour);
    const bool oursGone = !KeyExists(HKEY_CLASSES_ROOT, ours);
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    RegCloseKey(root);
    RegDeleteTreeA(HKEY_CURRENT_USER, scratch.c_str());

    ASSERT_TRUE(refused) << "COM must refuse allocations for this test to mean anything";
    EXPECT_EQ(S_OK, unregistered);
    EXPECT_TRUE(oursGone);
    EXPECT_TRUE(neighbourKept) << "another class's key went with ours";
}

// The path reader against a stand-in for GetModuleFileNameW that knows a
// path of any length, up to the longest the system allows and past it.
TEST(ModulePath, GrowsItsBufferUpToTheSystemsLongestPath) {
    const struct {
        size_t length;  // 0: the call fails
        bool whole;     // read whole, else refused as empty
    } cases[] = {
        {0, false},      {1, true},      {MAX_PATH - 1, true}, {MAX_PATH, true},         {MAX_PATH + 1, true},
        {1000, true},    {16639, true},  {16640, true},        {16641, true},            {20000, true},
        {Corvell::kLongestModulePath, true}, {Corvell::kLongestModulePath + 1, false}, {40000, false},
    };
    for (const bool terminates : {true, false}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "length " << c.length << (terminates ? "" : ", truncated without null"));
            std::wstring path = L"C:";
            for (size_t i = 0; path.size() < c.length; ++i)
                path.push_back(i % 40 == 0 ? L'\\' : wchar_t(L'a' + i % 26));
            path.resize(c.length);
            std::vector<DWORD> offered;
            auto getModuleFileName = [&](HINSTANCE, wchar_t* buf, DWORD size) -> DWORD {
                offered.push_back(size);
                if (c.length == 0)
                    return 0;
                if (path.size() < size) {
                    std::copy(path.begin(), path.end(), buf);
                    buf[path.size()] = L'\0';
                    return static_cast<DWORD>(path.size());
                }
                // Truncated: the answer is the buffer's size either way.
                std::copy(path.begin(), path.begin() + size, buf);
                if (terminates)
                    buf[size - 1] = L'\0';
                return size;
            };
            const std::wstring read = Corvell::ReadModulePath(nullptr, getModuleFileName);
            // Lengths first: a failure prints them, not 30,000 characters.
            const std::wstring want = c.whole ? path : std::wstring();
            EXPECT_EQ(want.size(), read.size());
            EXPECT_TRUE(want == read);
            ASSERT_FALSE(offered.empty());
            EXPECT_LE(offered.back(), Corvell::kLongestModulePath + 1) << "a buffer larger than any path";
            if (c.length > Corvell::kLongestModulePath) {
                EXPECT_EQ(Corvell::kLongestModulePath + 1, offered.back()) << "gave up before the longest path";
            }
        }
    }
}

// A folder chain under the temporary folder long enough that the DLL's path
// needs three buffers; removed with everything in it.
struct DeepFolder {
    std::vector<std::wstring> folders; // outermost first
    explicit DeepFolder(int depth) {
        wchar_t temp[MAX_PATH + 1];
        const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
        std::wstring dir = L"\\\\?\\" + std::wstring(temp, n) + L"TarrowLongPath";
        for (int level = 0; level <= depth; ++level) {
            if (level > 0)
                dir += L"\\" + std::wstring(60, wchar_t(L'a' + level));
            CreateDirectoryW(dir.c_str(), nullptr);
            folders.push_back(dir);
        }
    }
    const std::wstring& Innermost() const { return folders.back(); }
    ~DeepFolder() {
        for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
            DeleteFileW((*it + L"\\TarrowView.dll").c_str());
            RemoveDirectoryW(it->c_str());
        }
    }
};

// The temporary folder's path is plain ASCII under the test prefix.
std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t ch : text)
        out.push_back(static_cast<char>(ch));
    return out;
}

// Installed deep in the file system: registration writes the whole path,
// not the first MAX_PATH characters of it, and the module's own record of
// its folder is whole too.
TEST_F(Module, ALongInstallPathIsReadWhole) {
    RemoveEverywhere();
    DeepFolder deep(10);
    const std::wstring copy = deep.Innermost() + L"\\TarrowView.dll";
    ASSERT_TRUE(CopyFileW(DllPath().c_str(), copy.c_str(), FALSE)) << GetLastError();
    struct Loaded {
        HMODULE module;
        ~Loaded() {
            if (module)
                FreeLibrary(module);
        }
    } loaded{LoadLibraryW(copy.c_str())};
    const HMODULE module = loaded.module;
    ASSERT_NE(nullptr, module) << GetLastError();

    std::vector<wchar_t> buf(Corvell::kLongestModulePath + 1);
    const DWORD n = GetModuleFileNameW(module, buf.data(), static_cast<DWORD>(buf.size()));
    const std::wstring expected(buf.data(), n);
    ASSERT_GT(expected.size(), size_t(2 * MAX_PATH)) << "the path must outgrow two buffers";
    const std::wstring tail = copy.substr(copy.find(L"TarrowLongPath"));
    ASSERT_EQ(tail, expected.substr(expected.size() - std::min(expected.size(), tail.size())));

    auto registerServer = Corvell::WineTest::Proc<HRESULT(STDAPICALLTYPE*)()>(module, "DllRegisterServer");
    auto unregisterServer = Corvell::WineTest::Proc<HRESULT(STDAPICALLTYPE*)()>(module, "DllUnregisterServer");
    ASSERT_TRUE(registerServer && unregisterServer);
    EXPECT_EQ(S_OK, registerServer());
    std::wstring value;
    EXPECT_TRUE(ReadDefault(HKEY_CLASSES_ROOT, ClassKey() + "\\InprocServer32", value));
    EXPECT_EQ(expected, value);
    EXPECT_EQ(S_OK, unregisterServer());

    // The same reader, as the module runs it when it is attached.
    Corvell::Win32Module::Attach(module);
    EXPECT_EQ(expected, Corvell::Win32Module::FilePath());
    EXPECT_EQ(Narrow(expected.substr(0, expected.rfind(L'\\') + 1)), Corvell::Win32Module::Directory());
    Corvell::Win32Module::Attach(nullptr);
    RemoveEverywhere();
}

TEST_F(Module, CountersStayExactUnderConcurrentUse) {
    constexpr int kThreads = 8, kRounds = 300;
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kRounds; ++i) {
                IClassFactory* f = nullptr;
                if (TheDll().getClassObject(kClsid, IID_IClassFactory, reinterpret_cast<void**>(&f)) != S_OK) {
                    ++failures;
                    continue;
                }
                f->LockServer(TRUE);
                IPropertyPage* page = nullptr;
                HRESULT hr = f->CreateInstance(nullptr, IID_IPropertyPage, reinterpret_cast<void**>(&page));
                void* none = nullptr;
                if ((i + t) % 3 == 0 && f->CreateInstance(nullptr, IID_IDispatch, &none) != E_NOINTERFACE)
                    ++failures;
                f->LockServer(FALSE);
                f->Release();
                if (hr != S_OK || !page) {
                    ++failures;
                    continue;
                }
                page->AddRef();
                page->Release();
                if (page->Release() != 0)
                    ++failures;
            }
        });
    }
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(0, failures.load());
    EXPECT_EQ(S_OK, TheDll().canUnloadNow());
}

} // namespace
