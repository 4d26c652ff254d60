#include "binding/CMidiTrack.h"

#include <climits>
#include <cstring>

namespace Corvell {

namespace {

char* CopyText(const char* text, size_t length) {
    if (!text)
        return nullptr;
    char* copy = new char[length + 1];
    std::memcpy(copy, text, length);
    copy[length] = 0;
    return copy;
}

} // namespace

CMidiTrack::~CMidiTrack() {
    delete[] trackNameSuffix;
    delete[] trackName;
}

void CMidiTrack::Reset() {
    Clear();
    division = 240;
    timeSigNumerator = 4;
    timeSigDenominator = 4;
    timeSigBeat = 4;
    tempo = 500000;
}

void CMidiTrack::Clear() {
    events.clear();
    SetTrackName(nullptr, 0);
    SetTrackNameSuffix(nullptr, 0);
    ClearStatistics();
}

void CMidiTrack::SetTrackName(const char* text, size_t length) {
    char* copy = CopyText(text, length);
    delete[] trackName;
    trackName = copy;
}

void CMidiTrack::SetTrackNameSuffix(const char* text, size_t length) {
    char* copy = CopyText(text, length);
    delete[] trackNameSuffix;
    trackNameSuffix = copy;
}

void CMidiTrack::ClearStatistics() {
    lastTick = -1;
    lowestNote = 127;
    highestNote = 0;
    noteCount = 0;
    std::memset(noteUsed, 0, sizeof noteUsed);
}

void CMidiTrack::CountNote(uint8_t note, int64_t endTick) {
    // Events may come from the engine: a note number outside the table is
    // left out of the note statistics instead of writing past it.
    if (note < 128 && !noteUsed[note]) {
        noteUsed[note] = 1;
        ++noteCount;
        if (note < lowestNote)
            lowestNote = note;
        if (note > highestNote)
            highestNote = note;
    }
    if (endTick > INT32_MAX)
        endTick = INT32_MAX;
    if (endTick > lastTick)
        lastTick = int32_t(endTick);
}

void CMidiTrack::UpdateStatistics() {
    ClearStatistics();
    for (const MidiEvent& e : events) {
        const int64_t end = e.EndTick();
        if (e.kind == kMidiNote)
            CountNote(e.data1, end);
        else if (end > lastTick)
            lastTick = end > INT32_MAX ? INT32_MAX : int32_t(end);
    }
}

int32_t CMidiTrack::LengthInBars() const {
    if (lastTick < 0 || timeSigNumerator <= 0 || timeSigDenominator <= 0 || division <= 0)
        return 0;
    // 64-bit: numerator * division * 4 overflows int32 for large divisions.
    int64_t ticksPerBar = int64_t(timeSigNumerator) * division * 4 / timeSigDenominator;
    if (ticksPerBar < 1)
        ticksPerBar = 1;
    return int32_t((int64_t(lastTick) + ticksPerBar - 1) / ticksPerBar);
}

} // namespace Corvell
