#pragma once
#include "shared/Graphics/GraphicsObjects.h"
#include "shared/Graphics/PixelSurface.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Corvell {

// A loaded resource's bytes; the resource is released with this object.
class Resource {
public:
    virtual ~Resource() = default;
    virtual const uint8_t* Data() const = 0;
    virtual size_t Size() const = 0;
};

// Where images come from: the module's resources on Windows, a folder in tests.
class ImageSource {
public:
    virtual ~ImageSource() = default;

    // The resource of type "PNG" with that name (any case); null when there is none.
    virtual std::unique_ptr<Resource> FindPng(const char* name) = 0;
    // A platform bitmap resource; null when there is none.
    virtual NativeHandle LoadPlatformBitmap(const char* name, int32_t& width, int32_t& height) = 0;
    virtual void DeletePlatformBitmap(NativeHandle bitmap) = 0;
    virtual SurfaceAllocator& Surfaces() = 0;
    // The module's directory, for the loader's message.
    virtual std::string ModuleDirectory() = 0;
    virtual void DebugOutput(const char* text) = 0;
};

// The installed source; without one nothing is found.
ImageSource& GetImageSource();
void SetImageSource(ImageSource* source);

} // namespace Corvell
