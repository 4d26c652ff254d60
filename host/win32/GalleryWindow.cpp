#include "win32/GalleryWindow.h"

#include "shared/Graphics/Bitmap.h"
#include "shared/Graphics/win32/Win32Graphics.h"
#include "win32/WindowCapture.h"

namespace Corvell {

namespace {
constexpr char kFrameClass[] = "TarrowGalleryFrame";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
} // namespace

LRESULT CALLBACK GalleryWindow::FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE) {
        auto* self = reinterpret_cast<GalleryWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self)
            self->Close();
        else
            DestroyWindow(hwnd);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

bool GalleryWindow::Fail(const char* what) {
    m_error = what;
    Close();
    return false;
}

bool GalleryWindow::Open(IRnC* engine, const char* dll) {
    m_images = LoadLibraryExA(dll, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!m_images)
        return Fail("the editor's DLL, which holds the images, did not load");
    InstallWin32Graphics(m_images);

    WNDCLASSA wc{};
    wc.lpfnWndProc = &GalleryWindow::FrameProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFrameClass;
    RegisterClassA(&wc); // fails harmlessly when a second gallery opens

    RECT outer{0, 0, WidgetGallery::kWidth, WidgetGallery::kHeight};
    AdjustWindowRect(&outer, kStyle, FALSE);
    m_frame = CreateWindowExA(0, kFrameClass, "Tarrow widget gallery", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                              outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, wc.hInstance, nullptr);
    if (!m_frame)
        return Fail("could not create the frame window");
    SetWindowLongPtrA(m_frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    m_root.reset(new Win32NativePane);
    const Rect bounds{0, 0, WidgetGallery::kWidth, WidgetGallery::kHeight};
    if (!m_root->CreateNativeWindow(m_frame, bounds))
        return Fail("could not create the gallery's window");
    m_gallery.reset(new WidgetGallery);
    m_gallery->Attach(engine);
    m_gallery->Create(m_root.get(), bounds);
    m_gallery->OnWindowCreated();
    ShowWindow(m_frame, SW_SHOW);
    UpdateWindow(m_frame);
    return true;
}

void GalleryWindow::Close() {
    if (m_gallery) {
        m_gallery->Close();
        m_gallery.reset();
    }
    if (m_root) {
        m_root->DestroyNativeWindow();
        m_root.reset();
    }
    if (m_frame) {
        SetWindowLongPtrA(m_frame, GWLP_USERDATA, 0);
        DestroyWindow(m_frame);
        m_frame = nullptr;
    }
    if (m_images) {
        // Images decoded from the DLL keep no handle into it, but the cache
        // goes with the gallery all the same.
        ClearImageCache();
        InstallWin32Graphics();
        FreeLibrary(m_images);
        m_images = nullptr;
    }
}

bool GalleryWindow::Capture(std::vector<uint8_t>& rgb) {
    HWND child = Child();
    if (!child)
        return false;
    HostTools::PumpMessages();
    RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return HostTools::CaptureWindow(child, WidgetGallery::kWidth, WidgetGallery::kHeight, rgb);
}

} // namespace Corvell
