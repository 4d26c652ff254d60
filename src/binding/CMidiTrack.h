#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Corvell {

// Kinds of stored events; program changes and system events are not stored.
enum MidiEventKind : int32_t {
    kMidiNote = 0,
    kMidiKeyPressure = 1,
    kMidiController = 2,
    kMidiChannelPressure = 4,
    kMidiPitchBend = 5,
};

#pragma pack(push, 1)
// One event of a pattern. Shared with the engine byte for byte: 1-byte packing,
// 18 bytes. Pitch bend keeps its value (-8192..8191) as a little-endian int16 in
// data1/data2.
struct MidiEvent {
    int32_t time = 0;      // start, in ticks from the start of the track
    uint8_t reserved = 0;
    uint8_t channel = 0;   // 0..15
    int32_t kind = kMidiNote;
    uint8_t data1 = 0;     // note or controller number
    uint8_t data2 = 0;     // velocity, pressure or controller value
    uint8_t noteFlag = 0;
    int32_t duration = 0;  // notes: end minus start; -1 while the note has no end
    uint8_t spare = 0;

    int16_t PitchBend() const { return int16_t(uint16_t(data1) | uint16_t(data2) << 8); }
    void SetPitchBend(int16_t v) {
        data1 = uint8_t(uint16_t(v) & 0xFF);
        data2 = uint8_t(uint16_t(v) >> 8);
    }
    // End tick: the start for events without a length and for open notes.
    int64_t EndTick() const {
        return kind == kMidiNote && duration != -1 ? int64_t(time) + duration : int64_t(time);
    }
};
#pragma pack(pop)

static_assert(sizeof(MidiEvent) == 18, "MidiEvent is shared with the engine");
static_assert(offsetof(MidiEvent, time) == 0, "MidiEvent layout");
static_assert(offsetof(MidiEvent, reserved) == 4, "MidiEvent layout");
static_assert(offsetof(MidiEvent, channel) == 5, "MidiEvent layout");
static_assert(offsetof(MidiEvent, kind) == 6, "MidiEvent layout");
static_assert(offsetof(MidiEvent, data1) == 10, "MidiEvent layout");
static_assert(offsetof(MidiEvent, data2) == 11, "MidiEvent layout");
static_assert(offsetof(MidiEvent, noteFlag) == 12, "MidiEvent layout");
static_assert(offsetof(MidiEvent, duration) == 13, "MidiEvent layout");
static_assert(offsetof(MidiEvent, spare) == 17, "MidiEvent layout");

// A looper pattern in memory. The engine hands its current pattern to the view
// as this type, so the field order and widths must not change.
class CMidiTrack {
public:
    CMidiTrack() = default;
    virtual ~CMidiTrack();
    CMidiTrack(const CMidiTrack&) = delete;
    CMidiTrack& operator=(const CMidiTrack&) = delete;

    // Back to the values of a new track.
    void Reset();
    // Empties the events, the names and the statistics; keeps division,
    // time signature and tempo.
    void Clear();
    // Replaces a name text with a copy of length bytes; null clears it.
    void SetTrackName(const char* text, size_t length);
    void SetTrackNameSuffix(const char* text, size_t length);

    // Recomputes lowestNote, highestNote, lastTick, noteCount and noteUsed from
    // the events.
    void UpdateStatistics();
    // Pattern length in whole bars, 0 for an empty track.
    int32_t LengthInBars() const;

    // Statistics of one note event ending at endTick.
    void CountNote(uint8_t note, int64_t endTick);
    void ClearStatistics();

    int32_t division = 240;           // ticks per quarter note
    int16_t timeSigNumerator = 4;
    int16_t timeSigDenominator = 4;   // a power of two
    int16_t timeSigBeat = 4;
    char* trackNameSuffix = nullptr;  // owned; text after the first "/"
    char* trackName = nullptr;        // owned; cut at the first "/"
    std::vector<MidiEvent> events;
    int32_t tempo = 500000;           // microseconds per quarter note
    int16_t lowestNote = 127;
    int16_t highestNote = 0;
    int32_t lastTick = -1;            // largest end tick of all events
    int32_t noteCount = 0;            // distinct note numbers
    uint8_t noteUsed[128] = {};
};

} // namespace Corvell
