#include "shared/Graphics/win32/Win32Graphics.h"

#include "shared/Graphics/GdiplusInitialiser.h"

#include <gdiplus.h>

#include <cstring>

namespace Corvell {

// ---- GDI objects -------------------------------------------------------------------

NativeHandle GdiBackend::NewPen(Color color) { return ::CreatePen(PS_SOLID, 1, COLORREF(color)); }

NativeHandle GdiBackend::NewBrush(Color color) { return ::CreateSolidBrush(COLORREF(color)); }

NativeHandle GdiBackend::NewFont(const FontDesc& desc) {
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = desc.height;
    lf.lfWeight = desc.weight;
    lf.lfItalic = desc.italic ? TRUE : FALSE;
    lf.lfUnderline = desc.underline ? TRUE : FALSE;
    lf.lfEscapement = desc.escapement;
    lf.lfOrientation = desc.orientation;
    lf.lfQuality = desc.quality;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::memcpy(lf.lfFaceName, desc.face, sizeof lf.lfFaceName - 1);
    return ::CreateFontIndirectA(&lf);
}

void GdiBackend::DeleteObject(NativeHandle handle) { ::DeleteObject(static_cast<HGDIOBJ>(handle)); }

int32_t GdiBackend::ScreenDpiY() {
    if (m_dpiY == 0) {
        HDC screen = GetDC(nullptr);
        m_dpiY = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen)
            ReleaseDC(nullptr, screen);
        if (m_dpiY <= 0)
            return 96;
    }
    return m_dpiY;
}

// ---- DIB surfaces -------------------------------------------------------------------

std::unique_ptr<DibSurface> DibSurface::Create(int32_t width, int32_t height, int32_t bpp) {
    const int32_t stride = StrideFor(width, bpp);
    if (stride == 0 || height <= 0)
        return nullptr;
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = WORD(bpp);
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap)
            ::DeleteObject(bitmap);
        return nullptr;
    }
    std::unique_ptr<DibSurface> s(new DibSurface());
    s->m_bitmap = bitmap;
    std::memset(bits, 0, size_t(stride) * size_t(height));
    s->Attach(static_cast<uint8_t*>(bits), width, height, bpp);
    return s;
}

DibSurface::~DibSurface() {
    if (m_bitmap)
        ::DeleteObject(m_bitmap);
}

std::unique_ptr<PixelSurface> DibSurfaceAllocator::CreateSurface(int32_t width, int32_t height, int32_t bpp) {
    return DibSurface::Create(width, height, bpp);
}

// ---- resources -------------------------------------------------------------------------

namespace {

class Win32Resource : public Resource {
public:
    Win32Resource(HGLOBAL handle, const uint8_t* data, size_t size) : m_handle(handle), m_data(data), m_size(size) {}
    ~Win32Resource() override { FreeResource(m_handle); }
    const uint8_t* Data() const override { return m_data; }
    size_t Size() const override { return m_size; }

private:
    HGLOBAL m_handle;
    const uint8_t* m_data;
    size_t m_size;
};

} // namespace

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

Win32ImageSource::Win32ImageSource(HMODULE module) : m_module(module) {}

std::unique_ptr<Resource> Win32ImageSource::FindPng(const char* name) {
    if (!name || !*name)
        return nullptr;
    HRSRC info = FindResourceA(m_module, name, "PNG");
    if (!info)
        return nullptr;
    HGLOBAL handle = LoadResource(m_module, info);
    if (!handle)
        return nullptr;
    DWORD size = SizeofResource(m_module, info);
    const void* data = LockResource(handle);
    if (!data) {
        FreeResource(handle);
        return nullptr;
    }
    return std::make_unique<Win32Resource>(handle, static_cast<const uint8_t*>(data), size_t(size));
}

NativeHandle Win32ImageSource::LoadPlatformBitmap(const char* name, int32_t& width, int32_t& height) {
    if (!name || !*name)
        return nullptr;
    HBITMAP bitmap = LoadBitmapA(m_module, name);
    if (!bitmap)
        return nullptr;
    BITMAP bm;
    if (GetObjectA(bitmap, sizeof bm, &bm) != sizeof bm) {
        ::DeleteObject(bitmap);
        return nullptr;
    }
    width = bm.bmWidth;
    height = bm.bmHeight;
    return bitmap;
}

void Win32ImageSource::DeletePlatformBitmap(NativeHandle bitmap) { ::DeleteObject(static_cast<HGDIOBJ>(bitmap)); }

std::string Win32ImageSource::ModuleDirectory() {
    char path[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameA(m_module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return std::string();
    std::string dir(path, n);
    size_t slash = dir.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : dir.substr(0, slash);
}

void Win32ImageSource::DebugOutput(const char* text) { OutputDebugStringA(text); }

// ---- installation ------------------------------------------------------------------------

namespace {

ULONG_PTR g_gdiplusToken = 0;

bool StartGdiplus() {
    Gdiplus::GdiplusStartupInput input;
    return Gdiplus::GdiplusStartup(&g_gdiplusToken, &input, nullptr) == Gdiplus::Ok;
}

void StopGdiplus() {
    Gdiplus::GdiplusShutdown(g_gdiplusToken);
    g_gdiplusToken = 0;
}

GdiBackend g_backend;
Win32ImageSource* g_source = nullptr;

// The DLL has no other place to install from before panes create fonts;
// this only stores pointers, which is safe while the module loads.
struct AutoInstall {
    AutoInstall() { InstallWin32Graphics(); }
} g_autoInstall;

} // namespace

void InstallWin32Graphics(HMODULE module) {
    SetGraphicsBackend(&g_backend);
    GdiplusInitialiser::SetPlatformHooks(&StartGdiplus, &StopGdiplus);
    static Win32ImageSource* source = nullptr;
    if (!module)
        module = ThisModule();
    if (!source || source->Module() != module) {
        delete source; // images already loaded keep their platform objects
        source = new Win32ImageSource(module);
    }
    g_source = source;
    SetImageSource(source);
}

Win32ImageSource& InstalledImageSource() {
    if (!g_source)
        InstallWin32Graphics();
    return *g_source;
}

} // namespace Corvell
