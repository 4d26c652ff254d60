// midiinfo FILE...: one line of JSON per file with the pattern as the pattern
// list reads it (read, build, update statistics).
#include "looper/MidiFile.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace Corvell;

namespace {

constexpr long kMaxFileSize = 512L * 1024 * 1024;

std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += char(c);
            }
        }
    }
    return out + "\"";
}

// Whole file, or an error text.
bool ReadFile(const char* path, std::vector<uint8_t>& data, std::string& error) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) {
        error = "cannot open file";
        return false;
    }
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(f) : -1;
    ok = ok && size >= 0 && std::fseek(f, 0, SEEK_SET) == 0;
    if (!ok) {
        error = "cannot read file";
    } else if (size > kMaxFileSize) {
        error = "file is larger than 512 MiB";
        ok = false;
    } else {
        data.resize(size_t(size));
        ok = std::fread(data.data(), 1, data.size(), f) == data.size();
        if (!ok)
            error = "cannot read file";
    }
    std::fclose(f);
    return ok;
}

std::string Describe(const char* path) {
    const std::string head = "{\"file\":" + JsonString(path) + ",\"ok\":";
    std::vector<uint8_t> data;
    std::string error;
    if (!ReadFile(path, data, error))
        return head + "false,\"error\":" + JsonString(error) + "}";

    CMidiTrack track;
    MidiError why = MidiError::None;
    if (ReadPattern(data.data(), data.size(), track, &why) != kMidiOk)
        return head + "false,\"error\":" + JsonString(MidiErrorText(why)) + "}";

    char buf[512];
    std::snprintf(buf, sizeof buf,
                  "true,\"division\":%d,\"tempo\":%d,\"timeSigNumerator\":%d,\"timeSigDenominator\":%d,"
                  "\"events\":%zu,\"noteCount\":%d,\"lowestNote\":%d,\"highestNote\":%d,\"lastTick\":%d,"
                  "\"bars\":%d}",
                  int(track.division), int(track.tempo), int(track.timeSigNumerator),
                  int(track.timeSigDenominator), track.events.size(), int(track.noteCount),
                  int(track.lowestNote), int(track.highestNote), int(track.lastTick),
                  int(track.LengthInBars()));
    return head + buf;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: midiinfo FILE...\n");
        return 2;
    }
    for (int i = 1; i < argc; ++i)
        std::printf("%s\n", Describe(argv[i]).c_str());
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}
