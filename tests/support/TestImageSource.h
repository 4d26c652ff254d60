#pragma once
#include "shared/Graphics/ImageSource.h"

#include <map>
#include <string>
#include <vector>

namespace Corvell::Test {

// Serves PNG files from a folder as the module's "PNG" resources: the
// resource "KBD" is the file kbd.png (names compared without regard to
// case). Platform bitmaps exist only when added. Installs itself while alive.
class TestImageSource : public ImageSource {
public:
    explicit TestImageSource(const std::string& folder = std::string());
    ~TestImageSource() override;

    // A PNG resource held in memory, beside the folder's.
    void AddPng(const std::string& name, const std::vector<uint8_t>& bytes);
    void AddPlatformBitmap(const std::string& name, int32_t width, int32_t height);

    std::unique_ptr<Resource> FindPng(const char* name) override;
    NativeHandle LoadPlatformBitmap(const char* name, int32_t& width, int32_t& height) override;
    void DeletePlatformBitmap(NativeHandle bitmap) override;
    SurfaceAllocator& Surfaces() override { return m_surfaces; }
    std::string ModuleDirectory() override { return m_folder; }
    void DebugOutput(const char* text) override { messages.push_back(text); }

    std::vector<std::string> messages;
    std::vector<std::string> pngLookups;     // names asked for, in order
    std::vector<std::string> bitmapLookups;
    int32_t liveBitmaps = 0;

private:
    std::string m_folder;
    std::map<std::string, std::vector<uint8_t>> m_memoryPngs; // upper-case names
    std::map<std::string, std::pair<int32_t, int32_t>> m_bitmaps;
    MemorySurfaceAllocator m_surfaces;
    uintptr_t m_nextBitmap = 0xb000;
};

} // namespace Corvell::Test
