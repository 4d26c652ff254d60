// tarrow-host: hosts the editor page the way the instrument's engine does —
// CvCreateRorezoZavu, IPropertyPage, SetPageSite, SetObjects(1, &host),
// GetPageInfo, Activate in its own frame, and the reverse on close — and
// serves the substitute engine's interfaces.
//
//   tarrow-host.exe                   a window with the editor
//   tarrow-host.exe --screenshots DIR PNG screenshots of the page (each macromode, each tab panel), then exit
//   tarrow-host.exe --measure         open, repaint and idle figures, then exit
//   tarrow-host.exe --gallery         every widget family in each state, live
//   tarrow-host.exe --gallery --screenshots DIR   gallery.png and gallery-popup.png, then exit
#include "PngWriter.h"
#include "SubstituteHost.h"
#include "win32/GalleryWindow.h"
#include "win32/WindowCapture.h"

#include <windows.h>
#include <objbase.h>
#include <ocidl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace Corvell;

namespace {

template <typename Fn>
Fn Proc(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

double Seconds() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(freq.QuadPart);
}

// The page site the engine would give: nothing to offer but the protocol.
class PageSite : public IPropertyPageSite {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPropertyPageSite)) {
            *ppv = static_cast<IPropertyPageSite*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs)); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(InterlockedDecrement(&refs)); }
    STDMETHODIMP OnStatusChange(DWORD) override { return S_OK; }
    STDMETHODIMP GetLocaleID(LCID* lcid) override {
        if (!lcid)
            return E_POINTER;
        *lcid = LOCALE_USER_DEFAULT;
        return S_OK;
    }
    STDMETHODIMP GetPageContainer(IUnknown** out) override {
        if (out)
            *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }
    volatile LONG refs = 0; // lives on the host's stack; counted only to check balance
};

struct Host {
    HMODULE dll = nullptr;
    IPropertyPage* page = nullptr;
    HWND frame = nullptr;
    PageSite site;
    Substitute::SubstituteHost engine;
    SIZE size{800, 588};
    bool active = false;

    static constexpr DWORD kFrameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    struct OpenTimes {
        double create = 0, activate = 0, paint = 0, total = 0; // seconds
    };

    bool OpenFrame();
    // The page in the frame, painted once; the frame is made first if needed.
    bool Open(OpenTimes* times = nullptr);
    void Close();
    HWND PageWindow() const { return frame ? GetWindow(frame, GW_CHILD) : nullptr; }
};

Host* g_host = nullptr;

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CLOSE:
        if (g_host)
            g_host->Close();
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

bool Host::OpenFrame() {
    if (frame)
        return true;
    WNDCLASSA wc{};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "TarrowHostFrame";
    RegisterClassA(&wc);
    RECT outer{0, 0, size.cx, size.cy};
    AdjustWindowRect(&outer, kFrameStyle, FALSE);
    frame = CreateWindowExA(0, wc.lpszClassName, "Tarrow", kFrameStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                            outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, wc.hInstance, nullptr);
    if (!frame) {
        std::printf("tarrow-host: could not create the frame window\n");
        return false;
    }
    ShowWindow(frame, SW_SHOW);
    return true;
}

bool Host::Open(OpenTimes* times) {
    if (!dll)
        dll = LoadLibraryA("TarrowView.dll");
    if (!dll) {
        std::printf("tarrow-host: TarrowView.dll did not load (error %lu)\n", GetLastError());
        return false;
    }
    auto create = Proc<IUnknown* (*)()>(dll, "CvCreateRorezoZavu");
    if (!create) {
        std::printf("tarrow-host: TarrowView.dll has no CvCreateRorezoZavu\n");
        return false;
    }
    // The engine's own window is there before it opens the editor.
    if (!OpenFrame())
        return false;
    const double t0 = Seconds();
    IUnknown* unk = create();
    if (!unk) {
        std::printf("tarrow-host: CvCreateRorezoZavu returned no object\n");
        return false;
    }
    HRESULT hr = unk->QueryInterface(IID_IPropertyPage, reinterpret_cast<void**>(&page));
    unk->Release();
    if (FAILED(hr)) {
        std::printf("tarrow-host: the view object is not a property page\n");
        return false;
    }
    page->SetPageSite(&site);
    // The host object travels through the COM signature; the page knows
    // it is an ICorvellHost.
    IUnknown* objects[1] = {reinterpret_cast<IUnknown*>(static_cast<ICorvellHost*>(&engine))};
    hr = page->SetObjects(1, objects);
    if (FAILED(hr))
        std::printf("tarrow-host: SetObjects failed (0x%08lX)\n", static_cast<unsigned long>(hr));
    PROPPAGEINFO info{};
    info.cb = sizeof info;
    if (SUCCEEDED(page->GetPageInfo(&info)) && info.size.cx > 0 && info.size.cy > 0 &&
        (info.size.cx != size.cx || info.size.cy != size.cy)) {
        size = info.size;
        RECT outer{0, 0, size.cx, size.cy};
        AdjustWindowRect(&outer, kFrameStyle, FALSE);
        SetWindowPos(frame, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CoTaskMemFree(info.pszTitle);
    CoTaskMemFree(info.pszDocString);
    CoTaskMemFree(info.pszHelpFile);
    const double t1 = Seconds();
    RECT rc{0, 0, size.cx, size.cy};
    hr = page->Activate(frame, &rc, TRUE);
    if (FAILED(hr)) {
        std::printf("tarrow-host: Activate failed (0x%08lX)\n", static_cast<unsigned long>(hr));
        return false;
    }
    active = true;
    const double t2 = Seconds();
    if (HWND child = PageWindow())
        UpdateWindow(child);
    if (times) {
        const double t3 = Seconds();
        times->create = t1 - t0;
        times->activate = t2 - t1;
        times->paint = t3 - t2;
        times->total = t3 - t0;
    }
    return true;
}

void Host::Close() {
    if (page) {
        if (active)
            page->Deactivate();
        active = false;
        page->SetObjects(0, nullptr);
        page->SetPageSite(nullptr);
        page->Release();
        page = nullptr;
    }
}

int WriteScreenshot(const std::string& dir, const char* name, int width, int height, const std::vector<uint8_t>& rgb) {
    std::string path = dir;
    if (!path.empty() && path.back() != '\\' && path.back() != '/')
        path += '\\';
    path += name;
    if (!HostTools::WritePngRgb(path, width, height, rgb)) {
        std::printf("tarrow-host: could not write %s\n", path.c_str());
        return 1;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}

// Redraws the page and writes what it shows to dir/file: 0, or 1 when
// that fails.
int ShootPage(Host& host, const std::string& dir, const char* file) {
    HWND child = host.PageWindow();
    RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::vector<uint8_t> rgb;
    if (!HostTools::CaptureWindow(child, host.size.cx, host.size.cy, rgb)) {
        std::printf("tarrow-host: could not read the page's pixels\n");
        return 1;
    }
    return WriteScreenshot(dir, file, host.size.cx, host.size.cy, rgb);
}

// One screenshot per tab panel, over the MIDI macromode: a click on the
// tab opens its panel, a second click closes it again.
int TabScreenshots(Host& host, const std::string& dir) {
    HWND child = host.PageWindow();
    struct Shot {
        const char* file;
        int x; // the middle of the tab: the left strip's tabs are 83 pixels
               // apart from x = 0, the right strip's 62 from x = 549
    };
    static const Shot kShots[] = {
        {"tab-output.png", 41},   {"tab-tune.png", 124},   {"tab-setup.png", 207},  {"tab-timing.png", 581},
        {"tab-mixer.png", 643},   {"tab-fx-mixer.png", 705}, {"tab-wah.png", 767},
    };
    auto& rnc = host.engine.RnC();
    rnc.EngineSetParameter(rncPatternMode, 0);
    rnc.EngineSetParameter(rncPlayMode, 3);
    host.engine.GameControllerPars().EngineSetParameter(0, 0);
    host.engine.Notices().Flush();
    HostTools::PumpMessages();
    auto click = [child](int x) {
        const LPARAM at = MAKELPARAM(x, 12);
        SendMessageA(child, WM_MOUSEMOVE, 0, at);
        SendMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(child, WM_LBUTTONUP, 0, at);
        HostTools::PumpMessages();
    };
    int rc = 0;
    for (const Shot& shot : kShots) {
        click(shot.x);
        rc |= ShootPage(host, dir, shot.file);
        click(shot.x);
    }
    return rc;
}

// One screenshot per macromode, each reached the way the engine gets
// there: by its play-mode parameters and the game-controller switch,
// whose notices switch the page.
int Screenshots(Host& host, const std::string& dir) {
    HWND child = host.PageWindow();
    if (!child) {
        std::printf("tarrow-host: the page made no window to capture\n");
        return 1;
    }
    struct Shot {
        const char* file;
        int playMode, pattern, gameController;
    };
    static const Shot kShots[] = {
        {"macromode-midi.png", 3, 0, 0},     {"macromode-pattern.png", 3, 1, 0},
        {"macromode-joystick.png", 2, 0, 1}, {"macromode-guitar.png", 9, 0, 0},
        {"macromode-direct.png", 6, 0, 0},
    };
    auto& rnc = host.engine.RnC();
    int rc = 0;
    for (const Shot& shot : kShots) {
        rnc.EngineSetParameter(rncPatternMode, shot.pattern);
        rnc.EngineSetParameter(rncPlayMode, shot.playMode);
        host.engine.GameControllerPars().EngineSetParameter(0, shot.gameController);
        host.engine.Notices().Flush();
        HostTools::PumpMessages();
        rc |= ShootPage(host, dir, shot.file);
    }
    return rc | TabScreenshots(host, dir);
}

// The gallery in its frame: a message loop, or its screenshot.
int Gallery(Substitute::SubstituteHost& engine, const std::string& screenshots) {
    GalleryWindow window;
    if (!window.Open(static_cast<IRnC*>(engine.GetInterface("IRnC")))) {
        std::printf("tarrow-host: the gallery did not open: %s\n", window.Error().c_str());
        return 1;
    }
    int rc = 0;
    if (!screenshots.empty()) {
        std::vector<uint8_t> rgb;
        if (!window.Capture(rgb)) {
            std::printf("tarrow-host: could not read the gallery's pixels\n");
            rc = 1;
        } else {
            rc = WriteScreenshot(screenshots, "gallery.png", WidgetGallery::kWidth, WidgetGallery::kHeight, rgb);
        }
        // Then with a popup open, as a click on its opener shows it.
        const auto openers = window.Gallery().Family("ModalPopupPane");
        if (rc == 0 && !openers.empty()) {
            const Point o = openers[0].pane->GetAbsoluteOrigin();
            const LPARAM at = MAKELPARAM(o.x + 4, o.y + 4);
            SendMessageA(window.Child(), WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageA(window.Child(), WM_LBUTTONUP, 0, at);
            if (!window.Capture(rgb)) {
                std::printf("tarrow-host: could not read the gallery's pixels\n");
                rc = 1;
            } else {
                rc = WriteScreenshot(screenshots, "gallery-popup.png", WidgetGallery::kWidth, WidgetGallery::kHeight,
                                     rgb);
            }
        }
    } else {
        HostTools::RunMessageLoop();
    }
    window.Close();
    return rc;
}

// The instrument as a musician finds it: three guitars installed, and the
// last one played loading again, at a pace the eye can follow.
void InstallDemoGuitars(Substitute::SubstituteHost& engine) {
    engine.Guitar().SetGuitars(
        {{"Clean Single-Coil", 480}, {"Crunch Humbucker", 900}, {"Jazz Hollow Body", 1536}});
    engine.Guitar().SetLoadPace(std::chrono::milliseconds(100));
}

double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto toSeconds = [](const FILETIME& f) {
        return static_cast<double>((static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime) * 1e-7;
    };
    return toSeconds(kernel) + toSeconds(user);
}

size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc))
        return 0;
    // Wine leaves the private count at 0; its commit charge is the same thing.
    return pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

// A click on each slice of the macromode strip in turn, as the mouse sends
// it, until the engine's answer is painted.
double MedianMacromodeSwitch(Host& host, HWND child) {
    std::vector<double> times;
    for (int i = 0; i < 50; ++i) {
        const int slice = (i + 1) % 5;
        const LPARAM at = MAKELPARAM(7 + 157 * slice + 40, 258 + 17);
        const double t = Seconds();
        SendMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(child, WM_LBUTTONUP, 0, at);
        host.engine.Notices().Flush();
        HostTools::PumpMessages();
        UpdateWindow(child);
        times.push_back(Seconds() - t);
    }
    return Median(times);
}

int Measure(Host& host, const Host::OpenTimes& open) {
    HWND child = host.PageWindow();
    if (!child) {
        std::printf("tarrow-host: the page made no window to measure\n");
        return 1;
    }
    std::vector<double> repaint;
    for (int i = 0; i < 50; ++i) {
        const double t = Seconds();
        RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        repaint.push_back(Seconds() - t);
    }
    const double median = Median(repaint);
    const double switchTime = MedianMacromodeSwitch(host, child);

    HostTools::PumpMessages();
    const double cpu0 = ProcessCpuSeconds(), wall0 = Seconds();
    while (Seconds() - wall0 < 10.0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        HostTools::PumpMessages();
    }
    const double idle = (ProcessCpuSeconds() - cpu0) / (Seconds() - wall0);
    std::printf("open to first paint: %.2f ms (create and attach %.2f, window %.2f, first paint %.2f)\n",
                open.total * 1000, open.create * 1000, open.activate * 1000, open.paint * 1000);
    std::printf("full repaint (median of 50): %.3f ms\n", median * 1000);
    std::printf("macromode switch, click to repaint (median of 50): %.3f ms\n", switchTime * 1000);
    std::printf("idle CPU over 10 s: %.3f %% of one core\n", idle * 100);

    // Open and close again and again; the first cycles fill caches and heaps.
    // With the last page closed the images go, so every open decodes them.
    constexpr int kCycles = 200, kWarm = 10;
    size_t warm = 0;
    std::vector<double> cold;
    host.Close();
    for (int i = 1; i <= kCycles; ++i) {
        Host::OpenTimes t;
        if (!host.Open(&t)) {
            std::printf("tarrow-host: the page did not open again (cycle %d)\n", i);
            return 1;
        }
        cold.push_back(t.total);
        HostTools::PumpMessages();
        host.Close();
        HostTools::PumpMessages();
        if (i == kWarm)
            warm = PrivateBytes();
    }
    const size_t last = PrivateBytes();

    // The same opens while another page keeps the images: the difference
    // is what loading the images costs.
    auto create = Proc<IUnknown* (*)()>(host.dll, "CvCreateRorezoZavu");
    IUnknown* keeper = create ? create() : nullptr;
    std::vector<double> cached;
    for (int i = 0; keeper && i <= 50; ++i) {
        Host::OpenTimes t;
        if (!host.Open(&t))
            break;
        if (i > 0) // the first fills the cache
            cached.push_back(t.total);
        host.Close();
        HostTools::PumpMessages();
    }
    if (keeper)
        keeper->Release();
    const double coldOpen = Median(cold), cachedOpen = Median(cached);
    std::printf("open to first paint, median of %d: %.2f ms; with the images already loaded: %.2f ms; "
                "loading images: %.0f %% of it\n",
                kCycles, coldOpen * 1000, cachedOpen * 1000,
                coldOpen > 0 ? 100 * (coldOpen - cachedOpen) / coldOpen : 0.0);
    std::printf("memory over open-close cycles %d..%d: %+.3f MB\n", kWarm, kCycles,
                (static_cast<double>(last) - static_cast<double>(warm)) / (1024.0 * 1024.0));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string screenshots;
    bool measure = false, gallery = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--screenshots") && i + 1 < argc)
            screenshots = argv[++i];
        else if (!std::strcmp(argv[i], "--measure"))
            measure = true;
        else if (!std::strcmp(argv[i], "--gallery"))
            gallery = true;
        else {
            std::printf("usage: tarrow-host [--gallery] [--screenshots DIR | --measure]\n");
            return 2;
        }
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (gallery) {
        if (measure) {
            std::printf("tarrow-host: --measure measures the editor, not the gallery\n");
            return 2;
        }
        Substitute::SubstituteHost engine;
        return Gallery(engine, screenshots);
    }

    Host host;
    g_host = &host;
    host.engine.Log().SetEnabled(false);
    InstallDemoGuitars(host.engine);
    // COM is up in the engine's process long before an editor opens.
    CoInitialize(nullptr);
    Host::OpenTimes openTimes;
    const bool opened = host.Open(&openTimes);
    // Measured idle, the engine loads nothing and plays nothing.
    if (opened && !measure) {
        host.engine.Guitar().SelectGuitar(0);
        // The keyboard pane is not there yet: the demo holds a C major chord
        // itself, so the chord display has something to show.
        for (int note : {48, 52, 55})
            host.engine.RnC().SendKeyboardNote(true, note);
        host.engine.Notices().Flush();
    }
    int rc = 0;
    if (!opened) {
        rc = 1;
    } else if (!screenshots.empty()) {
        rc = Screenshots(host, screenshots);
    } else if (measure) {
        rc = Measure(host, openTimes);
    } else {
        HostTools::RunMessageLoop();
    }
    host.Close();
    if (host.frame && IsWindow(host.frame))
        DestroyWindow(host.frame);
    g_host = nullptr;
    if (host.dll) {
        auto canUnload = Proc<HRESULT(STDAPICALLTYPE*)()>(host.dll, "DllCanUnloadNow");
        if (canUnload && canUnload() != S_OK) {
            std::printf("tarrow-host: the DLL still holds objects after the page was released\n");
            rc = rc ? rc : 1;
        }
        if (host.site.refs != 0)
            std::printf("tarrow-host: the page kept %ld reference(s) to its site\n", static_cast<long>(host.site.refs));
        FreeLibrary(host.dll);
    }
    CoUninitialize();
    return rc;
}
