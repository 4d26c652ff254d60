// The committed artwork: every image the views load exists as a file with the
// size and pixel format the drawing code slices it by, and the .rc embeds
// each one under the name the loader asks for.
#include "ExpectedImages.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace Corvell::ExpectedImages;

const std::string kDir = TARROW_SOURCE_DIR "/src/resources/";

std::vector<unsigned char> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ImageFiles, TableNamesAreDistinct) {
    std::set<std::string> names;
    for (const Image& image : kImages)
        EXPECT_TRUE(names.insert(image.name).second) << image.name;
    EXPECT_EQ(77u, names.size());
}

TEST(ImageFiles, EveryImageHasItsSizeAndFormat) {
    for (const Image& image : kImages) {
        SCOPED_TRACE(image.name);
        std::vector<unsigned char> bytes = ReadFile(kDir + FileName(image.name));
        ASSERT_FALSE(bytes.empty()) << "missing " << FileName(image.name);
        PngInfo info = InspectPng(bytes.data(), bytes.size());
        EXPECT_EQ("", info.error);
        EXPECT_EQ(image.width, info.width);
        EXPECT_EQ(image.height, info.height);
        EXPECT_EQ(image.colourType, info.colourType);
        EXPECT_EQ(image.bitDepth, info.bitDepth);
        EXPECT_EQ(0, info.interlace);
    }
}

// A stripped-down reading of the resource script: "NAME PNG "file"" lines.
std::map<std::string, std::string> ReadResourceScript(std::vector<std::string>* problems) {
    std::map<std::string, std::string> entries;
    std::ifstream in(kDir + "images.rc");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string name, type, file;
        if (!(words >> name) || name.compare(0, 2, "//") == 0)
            continue;
        words >> type >> file;
        if (type != "PNG" || file.size() < 3 || file.front() != '"' || file.back() != '"') {
            problems->push_back(line);
            continue;
        }
        if (!entries.emplace(name, file.substr(1, file.size() - 2)).second)
            problems->push_back("twice: " + name);
    }
    return entries;
}

TEST(ImageFiles, ResourceScriptEmbedsEachImageOnceUnderItsName) {
    std::vector<std::string> problems;
    std::map<std::string, std::string> entries = ReadResourceScript(&problems);
    EXPECT_TRUE(problems.empty()) << problems.front();
    EXPECT_EQ(kCount, entries.size());
    for (const Image& image : kImages) {
        auto it = entries.find(image.name);
        ASSERT_NE(entries.end(), it) << image.name << " is not embedded";
        // Paths are relative to the script's folder.
        EXPECT_EQ(FileName(image.name), it->second);
    }
}

}  // namespace
