#pragma once
#include "binding/CMidiTrack.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Corvell {

// Writes Standard MIDI Files, format 0 or 1. Events are given at absolute
// ticks; within a track they are written in tick order, events of the same
// tick in the order they were added.
class MidiFileWriter {
public:
    MidiFileWriter(uint16_t format, uint16_t division);

    // Leave out a status byte that repeats the previous channel message's.
    void SetRunningStatus(bool on) { runningStatus_ = on; }
    // Write note-offs as note-ons with velocity 0 (longer runs of running status).
    void SetNoteOffAsNoteOn(bool on) { noteOffAsNoteOn_ = on; }

    // Starts a new track chunk; the calls below add to the latest one.
    void AddTrack();
    void Channel(uint32_t tick, uint8_t status, uint8_t data1, uint8_t data2 = 0);
    void NoteOn(uint32_t tick, uint8_t channel, uint8_t note, uint8_t velocity);
    void NoteOff(uint32_t tick, uint8_t channel, uint8_t note, uint8_t velocity = 0x40);
    void Meta(uint32_t tick, uint8_t type, const void* data, size_t length);
    void Text(uint32_t tick, uint8_t type, const std::string& text);
    void Tempo(uint32_t tick, uint32_t microsecondsPerQuarter);
    void TimeSignature(uint32_t tick, uint8_t numerator, uint8_t denominatorPower,
                       uint8_t clocksPerClick = 24, uint8_t thirtySecondsPerQuarter = 8);
    // data is what follows the length: the message without its leading 0xF0,
    // ending in 0xF7.
    void SysEx(uint32_t tick, const void* data, size_t length);
    // The track ends no earlier than this tick.
    void EndAt(uint32_t tick);

    // False, with out untouched, when the file cannot be written as a valid
    // one: no track, format 0 with several tracks, a division of 0 or with
    // the top bit set, a status or data byte out of range, a tick past
    // 2^31 - 1. Gaps longer than a delta time can hold get empty text events.
    bool Write(std::vector<uint8_t>& out) const;

private:
    struct Item {
        uint32_t tick;
        uint32_t offset;  // into bytes_
        uint32_t length;
        uint8_t kind;     // 0 channel, 1 meta, 2 system exclusive
    };
    struct Track {
        std::vector<Item> items;
        uint32_t end = 0;
    };
    void Add(uint32_t tick, uint8_t kind, const uint8_t* data, size_t length);
    bool WriteTrack(const Track& track, std::vector<uint8_t>& out) const;

    uint16_t format_;
    uint16_t division_;
    bool runningStatus_ = true;
    bool noteOffAsNoteOn_ = false;
    bool valid_ = true;
    std::vector<Track> tracks_;
    std::vector<uint8_t> bytes_;
};

// Writes a pattern so that reading it back gives the same track: division,
// time signature, tempo, names and events (notes as note-on and note-off,
// notes without an end as a lone note-on). Format 0 puts everything in one
// chunk; format 1 puts tempo and time signature in a first chunk and the
// pattern in a second. Same-pitch notes on one channel come back paired
// oldest first, as every track that was read from a file has them. False when
// the track cannot be written (a negative time, a division out of range).
bool WriteMidiTrack(const CMidiTrack& track, uint16_t format, std::vector<uint8_t>& out,
                    bool runningStatus = true);

} // namespace Corvell
