// Untrusted bytes -> pattern, as the pattern list reads every file on disk.
// A pattern that reads must also survive a write and read back unchanged.
#include "looper/MidiFile.h"
#include "looper/MidiWriter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "../FuzzCheck.h"

using namespace Corvell;

namespace {


bool SameName(const char* a, const char* b) {
    return (!a && !b) || (a && b && std::strcmp(a, b) == 0);
}

// Heap bytes in use through operator new, and their peak.
size_t gLive = 0;
size_t gPeak = 0;

} // namespace

// Every plain form is replaced, so no block reaches a delete it did not come from.
void* operator new(size_t n, const std::nothrow_t&) noexcept {
    auto* p = static_cast<size_t*>(std::malloc(n + 16));
    if (!p)
        return nullptr;
    p[0] = n;
    gLive += n;
    if (gLive > gPeak)
        gPeak = gLive;
    return p + 2;
}

void* operator new(size_t n) {
    void* p = operator new(n, std::nothrow);
    if (!p)
        throw std::bad_alloc();
    return p;
}

void* operator new[](size_t n) {
    return operator new(n);
}

void* operator new[](size_t n, const std::nothrow_t&) noexcept {
    return operator new(n, std::nothrow);
}

void operator delete(void* p) noexcept {
    if (!p)
        return;
    size_t* h = static_cast<size_t*>(p) - 2;
    gLive -= h[0];
    std::free(h);
}

void operator delete(void* p, size_t) noexcept { operator delete(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { operator delete(p); }
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete[](void* p, size_t) noexcept { operator delete(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { operator delete(p); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CMidiTrack track;
    MidiError error = MidiError::None;
    const size_t before = gLive;
    gPeak = gLive;
    const int16_t result = ReadPattern(data, size, track, &error);
    // Reading takes memory in proportion to the file, whatever its lengths claim.
    CHECK(gPeak - before <= 16 * size + 1024);
    const int32_t bars = track.LengthInBars();
    CHECK(bars >= 0);
    if (result != kMidiOk) {
        CHECK(error != MidiError::None && track.events.empty() && bars == 0);
        return 0;
    }

    int used = 0;
    for (uint8_t u : track.noteUsed)
        used += u;
    CHECK(used == track.noteCount);
    CHECK(track.noteCount == 0 || track.lowestNote <= track.highestNote);
    for (const MidiEvent& e : track.events) {
        CHECK(e.time >= 0 && e.time <= track.lastTick);
        CHECK(e.channel < 16 && e.reserved == 0 && e.spare == 0 && e.noteFlag == 0);
        if (e.kind == kMidiNote)
            CHECK(e.data1 < 128 && e.data2 > 0 && e.data2 < 128 && e.duration >= -1);
    }

    // A suffix without a name, or a name that is empty (not absent), cannot be
    // written back as it was.
    if (!track.trackName && track.trackNameSuffix)
        return 0;
    if (track.trackName && !*track.trackName && !track.trackNameSuffix)
        return 0;
    for (uint16_t format : {0, 1}) {
        std::vector<uint8_t> file;
        CHECK(WriteMidiTrack(track, format, file, format == 1));
        CMidiTrack copy;
        CHECK(ReadPattern(file.data(), file.size(), copy) == kMidiOk);
        CHECK(copy.division == track.division && copy.tempo == track.tempo &&
              copy.timeSigNumerator == track.timeSigNumerator &&
              copy.timeSigDenominator == track.timeSigDenominator && copy.lastTick == track.lastTick &&
              copy.noteCount == track.noteCount && SameName(copy.trackName, track.trackName) &&
              SameName(copy.trackNameSuffix, track.trackNameSuffix));
        CHECK(copy.events.size() == track.events.size());
        CHECK(copy.events.empty() ||
              std::memcmp(copy.events.data(), track.events.data(), track.events.size() * sizeof(MidiEvent)) == 0);
    }
    return 0;
}
