#pragma once
#include "shared/Graphics/GraphicsObjects.h"
#include "shared/Graphics/ImageSource.h"
#include "shared/Graphics/PixelSurface.h"

#include <windows.h>

#include <memory>
#include <string>

namespace Corvell {

// Pens, brushes and fonts as GDI objects.
class GdiBackend : public GraphicsBackend {
public:
    NativeHandle NewPen(Color color) override;
    NativeHandle NewBrush(Color color) override;
    NativeHandle NewFont(const FontDesc& desc) override;
    void DeleteObject(NativeHandle handle) override;
    int32_t ScreenDpiY() override;

private:
    int32_t m_dpiY = 0;
};

// A top-down DIB section, zero-filled.
class DibSurface : public PixelSurface {
public:
    static std::unique_ptr<DibSurface> Create(int32_t width, int32_t height, int32_t bpp);
    ~DibSurface() override;
    void* NativeHandle() const override { return m_bitmap; }

private:
    DibSurface() = default;
    HBITMAP m_bitmap = nullptr;
};

class DibSurfaceAllocator : public SurfaceAllocator {
public:
    std::unique_ptr<PixelSurface> CreateSurface(int32_t width, int32_t height, int32_t bpp) override;
};

// Images from a module's resources: "PNG" resources and bitmap resources.
class Win32ImageSource : public ImageSource {
public:
    explicit Win32ImageSource(HMODULE module);

    std::unique_ptr<Resource> FindPng(const char* name) override;
    NativeHandle LoadPlatformBitmap(const char* name, int32_t& width, int32_t& height) override;
    void DeletePlatformBitmap(NativeHandle bitmap) override;
    SurfaceAllocator& Surfaces() override { return m_surfaces; }
    std::string ModuleDirectory() override;
    void DebugOutput(const char* text) override;

    HMODULE Module() const { return m_module; }

private:
    HMODULE m_module;
    DibSurfaceAllocator m_surfaces;
};

// The module that holds this code (the DLL, or a test program linking it).
HMODULE ThisModule();

// Installs the GDI backend, GDI+ start and stop, and the image source of
// the module (null: ThisModule()). Runs by itself when the DLL loads.
void InstallWin32Graphics(HMODULE module = nullptr);
Win32ImageSource& InstalledImageSource();

} // namespace Corvell
