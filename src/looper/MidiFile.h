#pragma once
#include "binding/CMidiTrack.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Corvell {

// Results of ReadMidiFile and BuildTrack.
enum : int16_t {
    kMidiOk = 0,
    kMidiOutOfMemory = -2,
    kMidiInvalid = -3,
};

// Why a file was refused; MidiErrorText gives the message.
enum class MidiError {
    None,
    NotMidi,
    HeaderLength,
    Truncated,
    ChunkTag,
    NoTracks,
    DivisionZero,
    SmpteDivision,
    VarLenPastChunk,
    VarLenTooLong,
    EventPastChunk,
    StatusInData,
    NoRunningStatus,
    UndefinedStatus,
    TimeSignature,
    Tempo,
    TickOverflow,
    OutOfMemory,
};

const char* MidiErrorText(MidiError error);

// The file as read, before a track is built from it.
struct MidiFileImage {
    struct Chunk {
        std::vector<uint8_t> bytes;
    };
    uint16_t format = 1;
    uint16_t trackCount = 0;
    uint16_t division = 96;
    std::vector<Chunk> chunks;
};

// Reads a whole Standard MIDI File from memory. Every length is checked
// against the bytes that are there: a file cut short or with lengths past
// its end is invalid, and memory stays within the file's size.
int16_t ReadMidiFile(const uint8_t* data, size_t size, MidiFileImage& image,
                     MidiError* error = nullptr);

// One event of a chunk, without its delta time. Meta events have status 0xFF
// and their type in data1; system exclusive has status 0xF0 or 0xF7.
struct MidiShortEvent {
    int16_t status = 0;
    int16_t data1 = 0;
    int16_t data2 = 0;
};

enum class MidiParse { Event, EndOfTrack, Error };

// Reads the event at pos (advanced past it). Only channel messages become the
// running status; meta and system exclusive events cancel it. A meta event's
// data is handed out through metaData/metaLength when they are given.
MidiParse ParseMidiEvent(const uint8_t* chunk, size_t size, size_t& pos,
                         MidiShortEvent& event, int16_t& runningStatus,
                         const uint8_t** metaData = nullptr, uint32_t* metaLength = nullptr,
                         MidiError* error = nullptr);

// A variable-length number of at most four bytes, within the chunk.
bool ReadVarLen(const uint8_t* chunk, size_t size, size_t& pos, uint32_t& value,
                MidiError* error = nullptr);

// The chunk whose events become the pattern: the last chunk after the first
// that holds a note event, else the first. -1 when there are no chunks or a
// chunk is malformed.
int FindNoteTrack(const MidiFileImage& image, MidiError* error = nullptr);

// Fills the track from the image. On failure the track is left as a new one
// (0 bars) and the result says why.
int16_t BuildTrack(CMidiTrack& track, const MidiFileImage& image, MidiError* error = nullptr);

// Read, build and recount, as the pattern list does for one file. On failure
// the track is a new, empty one.
int16_t ReadPattern(const uint8_t* data, size_t size, CMidiTrack& track,
                    MidiError* error = nullptr);

} // namespace Corvell
