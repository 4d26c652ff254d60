// The page through the real DLL, driven as the engine drives it.
#include "../WineHelpers.h"
#include "SubstituteHost.h"
#include "shared/Graphics/PngDecoder.h"

#include <windows.h>
#include <objbase.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Corvell {
namespace {

using Substitute::SubstituteHost;

using WineTest::TheDll;

using Site = Corvell::WineTest::PageSite;

// The colour of the background image at (x, y), decoded from the DLL's own
// copy of it; CLR_INVALID when it cannot be had or is not fully opaque there
// (the page would then show a blend, not the image).
COLORREF BackgroundPixel(int x, int y) {
    HRSRC info = FindResourceA(TheDll().module, "BKGND-TARROW", "PNG");
    HGLOBAL handle = info ? LoadResource(TheDll().module, info) : nullptr;
    const void* data = handle ? LockResource(handle) : nullptr;
    if (!data)
        return CLR_INVALID;
    MemorySurfaceAllocator allocator;
    PngResult png = DecodePng(static_cast<const uint8_t*>(data), SizeofResource(TheDll().module, info), allocator);
    if (png.status != PngStatus::Ok || x >= png.surface->Width() || y >= png.surface->Height() ||
        png.surface->BitsPerPixel() != 32)
        return CLR_INVALID;
    const uint8_t* bgra = png.surface->Row(y) + 4 * x;
    return bgra[3] == 255 ? RGB(bgra[2], bgra[1], bgra[0]) : CLR_INVALID;
}

IUnknown* AsObject(SubstituteHost& host) { return reinterpret_cast<IUnknown*>(static_cast<ICorvellHost*>(&host)); }

void Pump(int ms = 20) { WineTest::Pump(ms); }

struct Page : ::testing::Test {
    static HWND frame;
    static void SetUpTestSuite() { frame = WineTest::MakeTopLevel(820, 640); }
    static void TearDownTestSuite() { DestroyWindow(frame); }

    IPropertyPage* page = nullptr;
    void SetUp() override {
        ASSERT_NE(nullptr, TheDll().module);
        ASSERT_NE(nullptr, frame);
        ASSERT_EQ(S_OK, TheDll().canUnloadNow());
        IUnknown* unk = TheDll().create();
        ASSERT_NE(nullptr, unk);
        ASSERT_EQ(S_OK, unk->QueryInterface(IID_IPropertyPage, reinterpret_cast<void**>(&page)));
        unk->Release();
    }
    void TearDown() override {
        if (page) {
            EXPECT_EQ(0u, page->Release());
        }
        Pump(5);
        EXPECT_EQ(S_OK, TheDll().canUnloadNow()) << "the page left objects behind";
    }
    HWND PageWindow() { return GetWindow(frame, GW_CHILD); }
};
HWND Page::frame = nullptr;

TEST_F(Page, ExpectedOrderFromSiteToRelease) {
    Site site;
    SubstituteHost host;
    ASSERT_EQ(S_OK, page->SetPageSite(&site));
    EXPECT_EQ(1, site.refs);
    ASSERT_EQ(S_OK, page->SetObjects(1, std::vector<IUnknown*>{AsObject(host)}.data()));

    // The view asks for the engine's interfaces by name, in the engine's order.
    std::vector<std::string> asked;
    for (const auto& c : host.Log().Calls("ICorvellHost", "GetInterface"))
        asked.push_back(c.text);
    const std::vector<std::string> order = {"Corvell::MidiEffect", "IDizuvozaPars", "IUserChordMapsMan",
                                            "GuitarUI::Knobs",     "IGuitar",       "ISampler",
                                            "IRnC"};
    EXPECT_EQ(order, asked);
    EXPECT_GT(host.RnC().ListenerCount(), 0u) << "the view's proxy is attached";

    PROPPAGEINFO info;
    ASSERT_EQ(S_OK, page->GetPageInfo(&info));
    EXPECT_EQ(800, info.size.cx);
    EXPECT_EQ(588, info.size.cy);

    RECT rc{0, 0, 800, 588};
    ASSERT_EQ(S_OK, page->Activate(frame, &rc, TRUE));
    HWND w = PageWindow();
    ASSERT_NE(nullptr, w);
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(800, client.right);
    EXPECT_EQ(588, client.bottom);
    UpdateWindow(w);
    Pump();
    // The background image is painted: a pixel of the page has its colour.
    const COLORREF expected = BackgroundPixel(750, 100);
    // Checked, not asserted: an early return would leave the page holding
    // the site on this stack.
    EXPECT_NE(CLR_INVALID, expected) << "no opaque background pixel to compare with";
    HDC dc = GetDC(w);
    const COLORREF px = GetPixel(dc, 750, 100);
    ReleaseDC(w, dc);
    EXPECT_NE(CLR_INVALID, px) << "GetPixel failed";
    EXPECT_EQ(expected, px);

    EXPECT_EQ(S_OK, page->Deactivate());
    EXPECT_EQ(nullptr, PageWindow());
    EXPECT_EQ(S_OK, page->GetPageInfo(&info));
    EXPECT_EQ(800, info.size.cx);
    EXPECT_EQ(S_OK, page->SetObjects(0, nullptr));
    EXPECT_EQ(0u, host.RnC().ListenerCount()) << "detached from every engine interface";
    EXPECT_EQ(S_OK, page->SetPageSite(nullptr));
    EXPECT_EQ(0, site.refs);
    EXPECT_EQ(S_FALSE, page->IsPageDirty());
}

TEST_F(Page, ActivationWithoutObjectsAndASecondSite) {
    Site a, b;
    ASSERT_EQ(S_OK, page->SetPageSite(&a));
    EXPECT_EQ(E_UNEXPECTED, page->SetPageSite(&b));
    EXPECT_EQ(1, a.refs);
    EXPECT_EQ(0, b.refs);
    RECT rc{0, 0, 800, 588};
    ASSERT_EQ(S_OK, page->Activate(frame, &rc, TRUE));
    EXPECT_NE(nullptr, PageWindow());
    Pump();
    // Activate again without Deactivate: still one window.
    ASSERT_EQ(S_OK, page->Activate(frame, &rc, TRUE));
    EXPECT_EQ(nullptr, GetWindow(PageWindow(), GW_HWNDNEXT));
    EXPECT_EQ(S_OK, page->Deactivate());
    EXPECT_EQ(S_OK, page->SetPageSite(nullptr));
    EXPECT_EQ(S_OK, page->SetPageSite(&b));
    EXPECT_EQ(1, b.refs);
    // Released while the site is held: the page lets go of it.
    page->Release();
    page = nullptr;
    EXPECT_EQ(0, b.refs);
}

TEST_F(Page, BadObjectsAndAFailedWindowAreReported) {
    EXPECT_EQ(E_POINTER, page->SetObjects(1, nullptr));
    IUnknown* none[1] = {nullptr};
    EXPECT_EQ(E_UNEXPECTED, page->SetObjects(1, none));
    RECT rc{0, 0, 800, 588};
    EXPECT_TRUE(FAILED(page->Activate(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7ffff0)), &rc, TRUE)))
        << "no window, no success";
    void* p = nullptr;
    EXPECT_EQ(E_NOINTERFACE, page->QueryInterface(IID_IClassFactory, &p));
}

TEST_F(Page, ANewHostReplacesTheOldOneCleanly) {
    SubstituteHost first, second;
    ASSERT_EQ(S_OK, page->SetObjects(1, std::vector<IUnknown*>{AsObject(first)}.data()));
    EXPECT_GT(first.RnC().ListenerCount(), 0u);
    ASSERT_EQ(S_OK, page->SetObjects(1, std::vector<IUnknown*>{AsObject(second)}.data()));
    EXPECT_EQ(0u, first.RnC().ListenerCount()) << "nothing of the view stays with the first engine";
    EXPECT_GT(second.RnC().ListenerCount(), 0u);
    IUnknown* none[1] = {nullptr};
    EXPECT_EQ(E_UNEXPECTED, page->SetObjects(1, none));
    EXPECT_EQ(0u, second.RnC().ListenerCount());
}

TEST_F(Page, ReleasedWhileActiveAndAttached) {
    SubstituteHost host;
    ASSERT_EQ(S_OK, page->SetObjects(1, std::vector<IUnknown*>{AsObject(host)}.data()));
    RECT rc{0, 0, 800, 588};
    ASSERT_EQ(S_OK, page->Activate(frame, &rc, TRUE));
    UpdateWindow(PageWindow());
    page->Release();
    page = nullptr;
    EXPECT_EQ(nullptr, PageWindow());
    EXPECT_EQ(0u, host.RnC().ListenerCount());
}

TEST_F(Page, FiveHundredCyclesLeaveNothingBehind) {
    page->Release();
    page = nullptr;
    SubstituteHost host;
    Site site;
    for (int i = 0; i < 500; ++i) {
        IUnknown* unk = TheDll().create();
        ASSERT_NE(nullptr, unk);
        IPropertyPage* p = nullptr;
        ASSERT_EQ(S_OK, unk->QueryInterface(IID_IPropertyPage, reinterpret_cast<void**>(&p)));
        unk->Release();
        p->SetPageSite(&site);
        p->SetObjects(1, std::vector<IUnknown*>{AsObject(host)}.data());
        RECT rc{0, 0, 800, 588};
        ASSERT_EQ(S_OK, p->Activate(frame, &rc, TRUE));
        if (i % 50 == 0)
            UpdateWindow(GetWindow(frame, GW_CHILD));
        Pump(0);
        p->Deactivate();
        p->SetObjects(0, nullptr);
        p->SetPageSite(nullptr);
        ASSERT_EQ(0u, p->Release());
    }
    EXPECT_EQ(0, site.refs);
    EXPECT_EQ(0u, host.RnC().ListenerCount());
    EXPECT_EQ(S_OK, TheDll().canUnloadNow());
}

} // namespace
} // namespace Corvell

namespace Corvell {
namespace {

// The colour at a point of the page window as the screen shows it now.
COLORREF PixelAt(HWND w, int x, int y) {
    HDC dc = GetDC(w);
    const COLORREF px = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return px;
}

TEST_F(Page, ClickingEachMacromodeTellsTheEngineAndRepaintsTheStrip) {
    Site site;
    SubstituteHost host;
    ASSERT_EQ(S_OK, page->SetPageSite(&site));
    ASSERT_EQ(S_OK, page->SetObjects(1, std::vector<IUnknown*>{AsObject(host)}.data()));
    host.RnC().EngineSetParameter(rncPlayMode, 3);
    RECT rc{0, 0, 800, 588};
    ASSERT_EQ(S_OK, page->Activate(frame, &rc, TRUE));
    HWND w = PageWindow();
    ASSERT_NE(nullptr, w);
    UpdateWindow(w);
    Pump();

    // The strip: five slices of 157 pixels from x = 7, y = 258, 34 high;
    // the lamp of a slice sits near its left end.
    auto lamp = [](int slice) { return POINT{7 + 157 * slice + 17, 258 + 17}; };
    struct Case {
        int slice;
        int playMode, pattern; // what the engine holds after the click
    };
    const Case cases[] = {{1, 3, 1}, {4, 6, 0}, {3, 9, 0}, {0, 3, 0}, {2, 3, 0}};
    int shown = 0; // MIDI
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slice);
        const POINT at = lamp(c.slice);
        const COLORREF before = PixelAt(w, at.x, at.y);
        const COLORREF oldBefore = PixelAt(w, lamp(shown).x, lamp(shown).y);
        host.Log().Clear();
        const LPARAM pos = MAKELPARAM(at.x + 40, at.y);
        SendMessageA(w, WM_MOUSEMOVE, 0, pos);
        SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, pos);
        SendMessageA(w, WM_LBUTTONUP, 0, pos);
        Pump();
        UpdateWindow(w);
        EXPECT_GE(host.Log().Count("IRnC", "SetParameter"), 1u) << "the engine heard the choice";
        EXPECT_EQ(c.playMode, host.RnC().GetParameter(rncPlayMode));
        EXPECT_EQ(c.pattern, host.RnC().GetParameter(rncPatternMode));
        const int now = c.slice;
        if (now != shown) {
            EXPECT_NE(before, PixelAt(w, at.x, at.y)) << "the chosen slice was repainted on";
            EXPECT_NE(oldBefore, PixelAt(w, lamp(shown).x, lamp(shown).y)) << "the old slice was repainted off";
        }
        shown = now;
    }
    page->Deactivate();
    page->SetObjects(0, nullptr);
    page->SetPageSite(nullptr);
}

} // namespace
} // namespace Corvell
