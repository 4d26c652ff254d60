// Loads the built DLL the way the engine does and checks the module contract.
#include <windows.h>
#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

#include "../WineHelpers.h"

#include <gtest/gtest.h>

#include <atomic>
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
    wchar_t buf[1024];
    DWORD type = 0, size = sizeof buf;
    LONG rc = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ)
        return false;
    out.assign(buf, size / sizeof(wchar_t));
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
