#include "looper/MidiFile.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace Corvell {

namespace {

void SetError(MidiError* out, MidiError e) {
    if (out)
        *out = e;
}

uint32_t Be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

uint16_t Be16(const uint8_t* p) {
    return uint16_t(p[0] << 8 | p[1]);
}

// Data bytes a system common message carries; -1 for the undefined ones.
int SystemDataBytes(int status) {
    switch (status) {
    case 0xF1: case 0xF3: return 1;
    case 0xF2: return 2;
    case 0xF4: case 0xF5: return -1;
    default: return 0;  // 0xF6 and the real-time messages
    }
}

// Walks a chunk event by event up to End of Track or its end, summing the
// delta times. onEvent(tick, event, metaData, metaLength) returns false to
// stop early. False on a malformed chunk.
template <class OnEvent>
bool ScanChunk(const std::vector<uint8_t>& chunk, MidiError* error, OnEvent&& onEvent) {
    const uint8_t* data = chunk.data();
    const size_t size = chunk.size();
    size_t pos = 0;
    int64_t tick = 0;
    int16_t runningStatus = 0;
    while (pos < size) {
        uint32_t delta = 0;
        if (!ReadVarLen(data, size, pos, delta, error))
            return false;
        tick += delta;
        if (tick > INT32_MAX) {
            SetError(error, MidiError::TickOverflow);
            return false;
        }
        MidiShortEvent event;
        const uint8_t* meta = nullptr;
        uint32_t metaLength = 0;
        switch (ParseMidiEvent(data, size, pos, event, runningStatus, &meta, &metaLength, error)) {
        case MidiParse::Error: return false;
        case MidiParse::EndOfTrack: return true;
        case MidiParse::Event: break;
        }
        if (!onEvent(int32_t(tick), event, meta, metaLength))
            return true;
    }
    return true;
}

bool IsNoteStatus(int status) {
    return (status & 0xE0) == 0x80;  // 0x8n or 0x9n
}

} // namespace

const char* MidiErrorText(MidiError error) {
    switch (error) {
    case MidiError::None: return "no error";
    case MidiError::NotMidi: return "not a MIDI file (no MThd header)";
    case MidiError::HeaderLength: return "header length is not 6";
    case MidiError::Truncated: return "file is cut short: a header or chunk runs past its end";
    case MidiError::ChunkTag: return "chunk is not a track (tag is not MTrk)";
    case MidiError::NoTracks: return "file has no tracks";
    case MidiError::DivisionZero: return "division is 0 ticks per quarter note";
    case MidiError::SmpteDivision: return "SMPTE time division is not supported";
    case MidiError::VarLenPastChunk: return "variable-length number runs past the end of its chunk";
    case MidiError::VarLenTooLong: return "variable-length number is longer than 4 bytes";
    case MidiError::EventPastChunk: return "event runs past the end of its chunk";
    case MidiError::StatusInData: return "status byte where a data byte belongs";
    case MidiError::NoRunningStatus: return "data byte without a status byte (no running status)";
    case MidiError::UndefinedStatus: return "undefined status byte";
    case MidiError::TimeSignature: return "invalid time signature";
    case MidiError::Tempo: return "invalid tempo";
    case MidiError::TickOverflow: return "track is longer than 2147483647 ticks";
    case MidiError::OutOfMemory: return "out of memory";
    }
    return "unknown error";
}

int16_t ReadMidiFile(const uint8_t* data, size_t size, MidiFileImage& image, MidiError* error) {
    image = MidiFileImage();
    SetError(error, MidiError::None);
    if (!data)
        size = 0;
    size_t pos = 0;
    auto fail = [&](MidiError e) {
        SetError(error, e);
        return kMidiInvalid;
    };

    static const uint8_t kHeaderTag[4] = {'M', 'T', 'h', 'd'};
    if (std::memcmp(data ? data : kHeaderTag, kHeaderTag, std::min<size_t>(size, 4)) != 0 || size == 0)
        return fail(MidiError::NotMidi);
    if (size < 8)
        return fail(MidiError::Truncated);
    if (Be32(data + 4) != 6)
        return fail(MidiError::HeaderLength);
    if (size < 14)
        return fail(MidiError::Truncated);
    image.format = Be16(data + 8);
    image.trackCount = Be16(data + 10);
    image.division = Be16(data + 12);
    pos = 14;
    if (image.division == 0)
        return fail(MidiError::DivisionZero);
    if (image.division & 0x8000)
        return fail(MidiError::SmpteDivision);
    if (image.trackCount == 0)
        return fail(MidiError::NoTracks);

    try {
        // A chunk takes at least 8 bytes: do not trust the count further.
        image.chunks.reserve(std::min<size_t>(image.trackCount, (size - pos) / 8));
        for (unsigned i = 0; i < image.trackCount; ++i) {
            const size_t left = size - pos;
            if (left < 4)
                return fail(MidiError::Truncated);
            if (std::memcmp(data + pos, "MTrk", 4) != 0)
                return fail(MidiError::ChunkTag);
            if (left < 8)
                return fail(MidiError::Truncated);
            const uint32_t length = Be32(data + pos + 4);
            pos += 8;
            if (length > size - pos)
                return fail(MidiError::Truncated);
            image.chunks.emplace_back();
            image.chunks.back().bytes.assign(data + pos, data + pos + length);
            pos += length;
        }
    } catch (const std::bad_alloc&) {
        SetError(error, MidiError::OutOfMemory);
        return kMidiOutOfMemory;
    }
    return kMidiOk;
}

bool ReadVarLen(const uint8_t* chunk, size_t size, size_t& pos, uint32_t& value, MidiError* error) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        if (pos >= size) {
            SetError(error, MidiError::VarLenPastChunk);
            return false;
        }
        const uint8_t b = chunk[pos++];
        v = v << 7 | (b & 0x7F);
        if (b < 0x80) {
            value = v;
            return true;
        }
    }
    SetError(error, MidiError::VarLenTooLong);
    return false;
}

MidiParse ParseMidiEvent(const uint8_t* chunk, size_t size, size_t& pos, MidiShortEvent& event,
                         int16_t& runningStatus, const uint8_t** metaData, uint32_t* metaLength,
                         MidiError* error) {
    auto fail = [&](MidiError e) {
        SetError(error, e);
        return MidiParse::Error;
    };
    if (metaData)
        *metaData = nullptr;
    if (metaLength)
        *metaLength = 0;
    if (pos >= size)
        return fail(MidiError::EventPastChunk);

    int status = chunk[pos++];
    if (status < 0x80) {
        if (runningStatus == 0)
            return fail(MidiError::NoRunningStatus);
        status = runningStatus;
        --pos;
    }
    event = MidiShortEvent();
    event.status = int16_t(status);

    if (status < 0xF0) {
        runningStatus = int16_t(status);
        const int kind = status & 0xF0;
        const size_t count = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
        if (size - pos < count)
            return fail(MidiError::EventPastChunk);
        const uint8_t d1 = chunk[pos];
        const uint8_t d2 = count == 2 ? chunk[pos + 1] : 0;
        if (d1 >= 0x80 || d2 >= 0x80)
            return fail(MidiError::StatusInData);
        pos += count;
        event.data1 = d1;
        event.data2 = d2;
        if (kind == 0x90 && d2 == 0)
            event.status = int16_t(0x80 | (status & 0x0F));
        return MidiParse::Event;
    }

    if (status == 0xF0 || status == 0xF7 || status == 0xFF) {
        // Meta and system exclusive events cancel running status.
        runningStatus = 0;
        if (status == 0xFF) {
            if (pos >= size)
                return fail(MidiError::EventPastChunk);
            event.data1 = chunk[pos++];
        }
        uint32_t length = 0;
        if (!ReadVarLen(chunk, size, pos, length, error))
            return MidiParse::Error;
        if (length > size - pos)
            return fail(MidiError::EventPastChunk);
        if (status == 0xFF) {
            if (metaData)
                *metaData = chunk + pos;
            if (metaLength)
                *metaLength = length;
        }
        pos += length;
        return status == 0xFF && event.data1 == 0x2F ? MidiParse::EndOfTrack : MidiParse::Event;
    }

    // System common and real-time messages do not belong in a file; skip them
    // by their defined size so the bytes after them stay in step.
    const int count = SystemDataBytes(status);
    if (count < 0)
        return fail(MidiError::UndefinedStatus);
    if (status < 0xF8)
        runningStatus = 0;
    if (size - pos < size_t(count))
        return fail(MidiError::EventPastChunk);
    for (int i = 0; i < count; ++i) {
        if (chunk[pos + i] >= 0x80)
            return fail(MidiError::StatusInData);
    }
    if (count > 0)
        event.data1 = chunk[pos];
    if (count > 1)
        event.data2 = chunk[pos + 1];
    pos += size_t(count);
    return MidiParse::Event;
}

namespace {

// What a chunk would store: events, and notes of them.
struct ChunkCounts {
    size_t events = 0;
    size_t notes = 0;
    void Add(int status) {
        const int kind = status & 0xF0;
        if (status < 0xF0 && kind != 0x80 && kind != 0xC0)
            ++events;
        if (kind == 0x90)
            ++notes;
    }
};

int FindNoteTrack(const MidiFileImage& image, MidiError* error, std::vector<ChunkCounts>* counts) {
    if (image.chunks.empty()) {
        SetError(error, MidiError::NoTracks);
        return -1;
    }
    if (counts)
        counts->assign(image.chunks.size(), ChunkCounts());
    int result = 0;
    for (size_t i = 1; i < image.chunks.size(); ++i) {
        bool hasNotes = false;
        ChunkCounts n;
        // Scanned to the end even after a note: a malformed chunk fails the file.
        const bool ok = ScanChunk(image.chunks[i].bytes, error,
                                  [&](int32_t, const MidiShortEvent& e, const uint8_t*, uint32_t) {
                                      hasNotes = hasNotes || IsNoteStatus(e.status);
                                      n.Add(e.status);
                                      return true;
                                  });
        if (!ok)
            return -1;
        if (hasNotes)
            result = int(i);
        if (counts)
            (*counts)[i] = n;
    }
    return result;
}

} // namespace

int FindNoteTrack(const MidiFileImage& image, MidiError* error) {
    return FindNoteTrack(image, error, nullptr);
}

namespace {

void SetNameFromMeta(CMidiTrack& track, const uint8_t* data, uint32_t length) {
    if (length == 0) {
        track.SetTrackName(nullptr, 0);
        return;
    }
    const char* text = reinterpret_cast<const char*>(data);
    // The name is a C string: it ends at a NUL byte if there is one.
    const void* nul = std::memchr(text, 0, length);
    const size_t n = nul ? size_t(static_cast<const char*>(nul) - text) : length;
    const void* slash = std::memchr(text, '/', n);
    if (!slash) {
        track.SetTrackName(text, n);
        return;
    }
    const size_t cut = size_t(static_cast<const char*>(slash) - text);
    track.SetTrackName(text, cut);
    track.SetTrackNameSuffix(text + cut + 1, n - cut - 1);
}

// Open notes of one channel and note number, oldest first, as a linked list
// through the nodes; this keeps note pairing linear in the number of events.
struct OpenNotes {
    struct Node {
        int32_t event;
        int32_t next;
    };
    int32_t head[16 * 128];
    int32_t tail[16 * 128];
    std::vector<Node> nodes;

    OpenNotes() {
        std::fill(std::begin(head), std::end(head), -1);
        std::fill(std::begin(tail), std::end(tail), -1);
    }
    void Push(int key, int32_t event) {
        const int32_t n = int32_t(nodes.size());
        nodes.push_back({event, -1});
        if (tail[key] >= 0)
            nodes[size_t(tail[key])].next = n;
        else
            head[key] = n;
        tail[key] = n;
    }
    int32_t Pop(int key) {
        const int32_t n = head[key];
        if (n < 0)
            return -1;
        head[key] = nodes[size_t(n)].next;
        if (head[key] < 0)
            tail[key] = -1;
        return nodes[size_t(n)].event;
    }
};

int16_t BuildTrackImpl(CMidiTrack& track, const MidiFileImage& image, MidiError* error) {
    auto fail = [&](MidiError e) {
        SetError(error, e);
        return kMidiInvalid;
    };
    if (image.chunks.empty())
        return fail(MidiError::NoTracks);
    if (image.division == 0)
        return fail(MidiError::DivisionZero);
    if (image.division & 0x8000)
        return fail(MidiError::SmpteDivision);
    track.division = image.division;

    // Time signature and tempo: the first of each in the first chunk.
    bool haveSignature = false, haveTempo = false;
    int numerator = 4, denominatorPower = 2;
    int32_t tempo = 500000;
    MidiError metaError = MidiError::None;
    ChunkCounts firstCounts;
    const bool firstOk = ScanChunk(
        image.chunks[0].bytes, error,
        [&](int32_t, const MidiShortEvent& e, const uint8_t* data, uint32_t length) {
            firstCounts.Add(e.status);
            if (e.status != 0xFF)
                return true;
            if (e.data1 == 0x58 && !haveSignature) {
                haveSignature = true;
                if (length < 2 || data[0] == 0 || data[1] > 7) {
                    metaError = MidiError::TimeSignature;
                    return false;
                }
                numerator = data[0];
                denominatorPower = data[1];
            } else if (e.data1 == 0x51 && !haveTempo) {
                haveTempo = true;
                if (length < 3) {
                    metaError = MidiError::Tempo;
                    return false;
                }
                tempo = int32_t(uint32_t(data[0]) << 16 | uint32_t(data[1]) << 8 | data[2]);
            }
            return true;
        });
    if (!firstOk)
        return kMidiInvalid;
    if (metaError != MidiError::None)
        return fail(metaError);
    track.timeSigNumerator = int16_t(numerator);
    track.timeSigDenominator = track.timeSigBeat = int16_t(1 << denominatorPower);
    track.tempo = tempo;

    std::vector<ChunkCounts> counts;
    const int chosen = FindNoteTrack(image, error, &counts);
    if (chosen < 0)
        return kMidiInvalid;
    counts[0] = firstCounts;

    // Sized once: memory stays a fixed multiple of the chunk, never double.
    OpenNotes open;
    open.nodes.reserve(counts[size_t(chosen)].notes);
    std::vector<MidiEvent>& events = track.events;
    events.reserve(counts[size_t(chosen)].events);
    const bool ok = ScanChunk(
        image.chunks[size_t(chosen)].bytes, error,
        [&](int32_t tick, const MidiShortEvent& e, const uint8_t* data, uint32_t length) {
            if (e.status == 0xFF) {
                if (e.data1 == 0x03 || e.data1 == 0x05)
                    SetNameFromMeta(track, data, length);
                return true;
            }
            if (e.status >= 0xF0)
                return true;
            const int kind = e.status & 0xF0;
            const uint8_t channel = uint8_t(e.status & 0x0F);
            if (kind == 0x80) {
                const int32_t index = open.Pop(channel * 128 + e.data1);
                if (index >= 0) {  // a note-off without an open note is ignored
                    MidiEvent& note = events[size_t(index)];
                    note.duration = tick - note.time;
                    track.CountNote(note.data1, tick);
                }
                return true;
            }
            if (kind == 0xC0)
                return true;  // program changes are not stored
            MidiEvent ev;
            ev.time = tick;
            ev.channel = channel;
            ev.data1 = uint8_t(e.data1);
            ev.data2 = uint8_t(e.data2);
            switch (kind) {
            case 0x90:
                ev.kind = kMidiNote;
                ev.duration = -1;
                open.Push(channel * 128 + e.data1, int32_t(events.size()));
                break;
            case 0xA0: ev.kind = kMidiKeyPressure; break;
            case 0xB0: ev.kind = kMidiController; break;
            case 0xD0:
                ev.kind = kMidiChannelPressure;
                ev.data1 = 0;
                ev.data2 = uint8_t(e.data1);
                break;
            case 0xE0:
                ev.kind = kMidiPitchBend;
                ev.SetPitchBend(int16_t((e.data2 - 64) * 128 + e.data1));
                break;
            }
            events.push_back(ev);
            return true;
        });
    if (!ok)
        return kMidiInvalid;

    // Notes that never end count with their start as their end.
    for (const MidiEvent& e : events) {
        if (e.kind == kMidiNote && e.duration == -1)
            track.CountNote(e.data1, e.time);
    }
    SetError(error, MidiError::None);
    return kMidiOk;
}

} // namespace

int16_t BuildTrack(CMidiTrack& track, const MidiFileImage& image, MidiError* error) {
    track.Reset();
    int16_t result;
    try {
        result = BuildTrackImpl(track, image, error);
    } catch (const std::bad_alloc&) {
        SetError(error, MidiError::OutOfMemory);
        result = kMidiOutOfMemory;
    }
    if (result != kMidiOk) {
        track.Reset();
        track.events.shrink_to_fit();
    }
    return result;
}

int16_t ReadPattern(const uint8_t* data, size_t size, CMidiTrack& track, MidiError* error) {
    MidiFileImage image;
    int16_t result = ReadMidiFile(data, size, image, error);
    if (result != kMidiOk) {
        track.Reset();
        return result;
    }
    result = BuildTrack(track, image, error);
    if (result == kMidiOk)
        track.UpdateStatistics();
    return result;
}

} // namespace Corvell
