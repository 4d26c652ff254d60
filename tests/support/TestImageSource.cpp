#include "TestImageSource.h"

#include "PngBuilder.h"

#include <dirent.h>

#include <cctype>

namespace Corvell::Test {

namespace {

std::string Upper(std::string s) {
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

class BytesResource : public Resource {
public:
    explicit BytesResource(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    const uint8_t* Data() const override { return m_bytes.data(); }
    size_t Size() const override { return m_bytes.size(); }

private:
    std::vector<uint8_t> m_bytes;
};

} // namespace

TestImageSource::TestImageSource(const std::string& folder) : m_folder(folder) { SetImageSource(this); }

TestImageSource::~TestImageSource() {
    if (&GetImageSource() == this)
        SetImageSource(nullptr);
}

void TestImageSource::AddPng(const std::string& name, const std::vector<uint8_t>& bytes) {
    m_memoryPngs[Upper(name)] = bytes;
}

void TestImageSource::AddPlatformBitmap(const std::string& name, int32_t width, int32_t height) {
    m_bitmaps[Upper(name)] = {width, height};
}

std::unique_ptr<Resource> TestImageSource::FindPng(const char* name) {
    pngLookups.push_back(name);
    const std::string key = Upper(name);
    auto it = m_memoryPngs.find(key);
    if (it != m_memoryPngs.end())
        return std::make_unique<BytesResource>(it->second);
    if (m_folder.empty())
        return nullptr;
    std::string match;
    if (DIR* d = opendir(m_folder.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string file = e->d_name;
            if (file.size() > 4 && Upper(file.substr(file.size() - 4)) == ".PNG" &&
                Upper(file.substr(0, file.size() - 4)) == key) {
                match = file;
                break;
            }
        }
        closedir(d);
    }
    if (match.empty())
        return nullptr;
    std::vector<uint8_t> bytes = ReadFileBytes(m_folder + "/" + match);
    if (bytes.empty())
        return nullptr;
    return std::make_unique<BytesResource>(std::move(bytes));
}

NativeHandle TestImageSource::LoadPlatformBitmap(const char* name, int32_t& width, int32_t& height) {
    bitmapLookups.push_back(name);
    auto it = m_bitmaps.find(Upper(name));
    if (it == m_bitmaps.end())
        return nullptr;
    width = it->second.first;
    height = it->second.second;
    ++liveBitmaps;
    m_nextBitmap += 0x10;
    return reinterpret_cast<NativeHandle>(m_nextBitmap);
}

void TestImageSource::DeletePlatformBitmap(NativeHandle) { --liveBitmaps; }

} // namespace Corvell::Test
