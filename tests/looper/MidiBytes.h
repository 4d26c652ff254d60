#pragma once
// Hand-made Standard MIDI File bytes for tests, including broken ones.
#include "looper/MidiFile.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace Corvell {
namespace test {

using Bytes = std::vector<uint8_t>;

inline void Append(Bytes& out, const Bytes& more) {
    out.insert(out.end(), more.begin(), more.end());
}

inline Bytes Be32(uint32_t v) {
    return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

inline Bytes Header(uint16_t format, uint16_t tracks, uint16_t division, uint32_t length = 6) {
    Bytes b{'M', 'T', 'h', 'd'};
    Append(b, Be32(length));
    b.insert(b.end(), {uint8_t(format >> 8), uint8_t(format), uint8_t(tracks >> 8), uint8_t(tracks),
                       uint8_t(division >> 8), uint8_t(division)});
    return b;
}

// A chunk with the given body; the length is the body's unless given.
inline Bytes Chunk(const Bytes& body, const char* tag = "MTrk", int64_t length = -1) {
    Bytes b(tag, tag + 4);
    Append(b, Be32(length < 0 ? uint32_t(body.size()) : uint32_t(length)));
    Append(b, body);
    return b;
}

// A file of the given track bodies, each a raw event stream.
inline Bytes File(std::initializer_list<Bytes> tracks, uint16_t format = 1, uint16_t division = 480) {
    Bytes b = Header(format, uint16_t(tracks.size()), division);
    for (const Bytes& t : tracks)
        Append(b, Chunk(t));
    return b;
}

inline const Bytes kEndOfTrack{0x00, 0xFF, 0x2F, 0x00};

inline Bytes WithEnd(Bytes body) {
    Append(body, kEndOfTrack);
    return body;
}

struct Pattern {
    int16_t result = 0;
    MidiError error = MidiError::None;
};

inline Pattern Read(const Bytes& file, CMidiTrack& track) {
    Pattern p;
    p.result = ReadPattern(file.data(), file.size(), track, &p.error);
    return p;
}

} // namespace test
} // namespace Corvell
