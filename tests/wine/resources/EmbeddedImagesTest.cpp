// The artwork as the views find it in the built DLL: each image is a "PNG"
// resource under its name, its header carries the size and format the
// drawing code slices it by, and the bytes are those committed.
#include <windows.h>

#include "ExpectedImages.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace Corvell::ExpectedImages;

HMODULE Module() {
    static HMODULE module = LoadLibraryExA("TarrowView.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    return module;
}

struct Embedded {
    const unsigned char* data = nullptr;
    DWORD size = 0;
};

Embedded Find(const char* name) {
    Embedded e;
    HRSRC info = FindResourceA(Module(), name, "PNG");
    if (!info)
        return e;
    HGLOBAL handle = LoadResource(Module(), info);
    e.size = SizeofResource(Module(), info);
    e.data = handle ? static_cast<const unsigned char*>(LockResource(handle)) : nullptr;
    return e;
}

TEST(EmbeddedImages, DllLoads) {
    ASSERT_NE(nullptr, Module()) << "LoadLibraryEx failed: " << GetLastError();
}

TEST(EmbeddedImages, EveryImageIsFoundWithItsSizeAndFormat) {
    ASSERT_NE(nullptr, Module());
    for (const Image& image : kImages) {
        SCOPED_TRACE(image.name);
        Embedded e = Find(image.name);
        ASSERT_NE(nullptr, e.data) << "no PNG resource";
        PngInfo info = InspectPng(e.data, e.size);
        EXPECT_EQ("", info.error);
        EXPECT_EQ(image.width, info.width);
        EXPECT_EQ(image.height, info.height);
        EXPECT_EQ(image.colourType, info.colourType);
        EXPECT_EQ(image.bitDepth, info.bitDepth);
        EXPECT_EQ(0, info.interlace);
    }
}

// Code asks with the file name's base, in whatever case it was written.
TEST(EmbeddedImages, LookupIgnoresCase) {
    ASSERT_NE(nullptr, Module());
    for (const char* name : {"kbd", "kbd2Pressed", "fingerEdit", "ksLamps", "sliderSlotH",
                             "switchOn", "curvesPressed", "mode-tabs", "ct-bulbs-32x11"}) {
        SCOPED_TRACE(name);
        Embedded e = Find(name);
        EXPECT_NE(nullptr, e.data);
    }
}

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
    auto* names = reinterpret_cast<std::vector<std::string>*>(param);
    names->push_back(IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : name);
    return TRUE;
}

TEST(EmbeddedImages, NoOtherPngResources) {
    ASSERT_NE(nullptr, Module());
    std::vector<std::string> names;
    EnumResourceNamesA(Module(), "PNG", CollectName, reinterpret_cast<LONG_PTR>(&names));
    std::set<std::string> expected;
    for (const Image& image : kImages)
        expected.insert(image.name);
    EXPECT_EQ(kCount, names.size());
    for (const std::string& name : names)
        EXPECT_EQ(1u, expected.count(name)) << name;
}

TEST(EmbeddedImages, BytesMatchTheCommittedFiles) {
    ASSERT_NE(nullptr, Module());
    for (const Image& image : kImages) {
        SCOPED_TRACE(image.name);
        std::ifstream in(std::string(TARROW_SOURCE_DIR "/src/resources/") + FileName(image.name),
                         std::ios::binary);
        std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        Embedded e = Find(image.name);
        ASSERT_NE(nullptr, e.data);
        ASSERT_FALSE(file.empty());
        EXPECT_TRUE(file == std::vector<unsigned char>(e.data, e.data + e.size)) << "stale DLL";
    }
}

}  // namespace
