#include "MidiBytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace Corvell {
namespace {

using namespace test;

// Conductor chunk: tempo 600000 and 3/4.
const Bytes kConductor = WithEnd({0x00, 0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0,  //
                                  0x00, 0xFF, 0x58, 0x04, 0x03, 0x02, 0x18, 0x08});

const MidiEvent& At(const CMidiTrack& t, size_t i) {
    return t.events.at(i);
}

// A note of 0x0FFFFFFF ticks, seven controllers as far apart, and one more
// lastStep ticks later.
Bytes LongTrack(uint8_t lastStep) {
    const Bytes longest{0xFF, 0xFF, 0xFF, 0x7F};
    Bytes b{0x00, 0x90, 1, 1};
    Append(b, longest);
    Append(b, {0x80, 1, 0});
    for (int i = 0; i < 7; ++i) {
        Append(b, longest);
        Append(b, {0xB0, 1, 1});
    }
    Append(b, {lastStep, 0xB0, 2, 2});
    return b;
}

TEST(MidiRead, Format1TakesTempoAndSignatureFromTheFirstChunkAndNotesFromTheSecond) {
    const Bytes notes = WithEnd({0x00, 0x90, 60, 100,         // C4 on
                                 0x83, 0x60, 0x80, 60, 64,    // off after 480
                                 0x00, 0x90, 72, 90,          //
                                 0x87, 0x40, 72, 0});         // running status, velocity 0 = off, after 960
    CMidiTrack t;
    const Pattern p = Read(File({kConductor, notes}), t);
    ASSERT_EQ(kMidiOk, p.result) << MidiErrorText(p.error);
    EXPECT_EQ(480, t.division);
    EXPECT_EQ(600000, t.tempo);
    EXPECT_EQ(3, t.timeSigNumerator);
    EXPECT_EQ(4, t.timeSigDenominator);
    EXPECT_EQ(4, t.timeSigBeat);
    ASSERT_EQ(2u, t.events.size());
    EXPECT_EQ(0, int(At(t, 0).time));
    EXPECT_EQ(480, int(At(t, 0).duration));
    EXPECT_EQ(60, At(t, 0).data1);
    EXPECT_EQ(100, At(t, 0).data2);
    EXPECT_EQ(480, int(At(t, 1).time));
    EXPECT_EQ(960, int(At(t, 1).duration));
    EXPECT_EQ(2, t.noteCount);
    EXPECT_EQ(60, t.lowestNote);
    EXPECT_EQ(72, t.highestNote);
    EXPECT_EQ(1440, t.lastTick);
    EXPECT_EQ(1, t.LengthInBars()) << "1440 ticks are one bar of 3/4 at 480";
}

TEST(MidiRead, Format0ReadsEverythingFromItsOnlyChunk) {
    const Bytes body = WithEnd({0x00, 0xFF, 0x58, 0x04, 0x06, 0x03, 0x18, 0x08,  // 6/8
                                0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,        // 500000
                                0x00, 0x99, 36, 127,                             // drums, channel 10
                                0x60, 0x89, 36, 0,
                                0x81, 0x40, 0xB0, 7, 100});                      // controller at 288
    CMidiTrack t;
    const Pattern p = Read(File({body}, 0, 96), t);
    ASSERT_EQ(kMidiOk, p.result) << MidiErrorText(p.error);
    EXPECT_EQ(6, t.timeSigNumerator);
    EXPECT_EQ(8, t.timeSigDenominator);
    EXPECT_EQ(8, t.timeSigBeat);
    EXPECT_EQ(500000, t.tempo);
    ASSERT_EQ(2u, t.events.size());
    EXPECT_EQ(9, At(t, 0).channel);
    EXPECT_EQ(96, int(At(t, 0).duration));
    EXPECT_EQ(kMidiController, int(At(t, 1).kind));
    EXPECT_EQ(288, int(At(t, 1).time));
    EXPECT_EQ(288, t.lastTick) << "UpdateStatistics counts the controller";
    EXPECT_EQ(1, t.LengthInBars()) << "6/8 at 96 has 288 ticks a bar";
}

TEST(MidiRead, ThePatternIsTheLastChunkAfterTheFirstThatHoldsNotes) {
    const Bytes bass = WithEnd({0x00, 0x91, 40, 100, 0x10, 0x81, 40, 0});
    const Bytes lead = WithEnd({0x00, 0x92, 80, 100, 0x20, 0x82, 80, 0});
    const Bytes controllers = WithEnd({0x00, 0xB0, 10, 64});
    CMidiTrack t;
    ASSERT_EQ(kMidiOk, Read(File({kConductor, bass, lead, controllers}), t).result);
    ASSERT_EQ(1u, t.events.size());
    EXPECT_EQ(80, At(t, 0).data1) << "the third chunk; the fourth has no notes";
    EXPECT_EQ(1, t.noteCount);

    // Notes only in the first chunk: it is the pattern.
    const Bytes first = WithEnd({0x00, 0x90, 50, 1, 0x05, 0x80, 50, 0});
    ASSERT_EQ(kMidiOk, Read(File({first, controllers}), t).result);
    ASSERT_EQ(1u, t.events.size());
    EXPECT_EQ(50, At(t, 0).data1);

    // A chunk whose only note event is a note-off still counts as holding notes.
    const Bytes offOnly = WithEnd({0x00, 0x80, 50, 0, 0x00, 0xB1, 1, 2});
    ASSERT_EQ(kMidiOk, Read(File({first, offOnly}), t).result);
    ASSERT_EQ(1u, t.events.size());
    EXPECT_EQ(kMidiController, int(At(t, 0).kind));
    EXPECT_EQ(0, t.noteCount);
}

TEST(MidiRead, NotesPairOldestFirstPerNoteAndChannel) {
    const Bytes body = WithEnd({
        0x00, 0x90, 60, 100,  // A: 60 ch0 at 0
        0x0A, 0x90, 60, 101,  // B: 60 ch0 at 10, overlapping A
        0x00, 0x91, 60, 102,  // C: 60 ch1 at 10
        0x0A, 0x80, 60, 0,    // at 20: closes A (oldest), not B, not C
        0x00, 0x80, 61, 0,    // at 20: no open 61: ignored
        0x0A, 0x90, 60, 0,    // at 30: velocity 0 closes B
        0x00, 0x90, 62, 50,   // D: 62 at 30, never closed
    });
    CMidiTrack t;
    ASSERT_EQ(kMidiOk, Read(File({body}, 0), t).result);
    ASSERT_EQ(4u, t.events.size());
    EXPECT_EQ(20, int(At(t, 0).duration)) << "A";
    EXPECT_EQ(101, At(t, 1).data2);
    EXPECT_EQ(20, int(At(t, 1).duration)) << "B";
    EXPECT_EQ(1, At(t, 2).channel);
    EXPECT_EQ(-1, int(At(t, 2).duration)) << "C on another channel stays open";
    EXPECT_EQ(-1, int(At(t, 3).duration)) << "D never ends";
    for (const MidiEvent& e : t.events) {
        EXPECT_EQ(kMidiNote, int(e.kind));
        EXPECT_EQ(0, e.noteFlag);
        EXPECT_EQ(0, e.reserved);
    }
    EXPECT_EQ(2, t.noteCount) << "distinct note numbers, whatever the channel";
    EXPECT_EQ(60, t.lowestNote);
    EXPECT_EQ(62, t.highestNote);
    EXPECT_EQ(30, t.lastTick) << "B ends at 30; D counts with its start";
}

TEST(MidiRead, BuildTrackCountsOnlyNotesUntilStatisticsAreUpdated) {
    const Bytes body = WithEnd({0x00, 0x90, 60, 100, 0x10, 0x80, 60, 0, 0x83, 0x00, 0xB0, 1, 2});
    MidiFileImage image;
    const Bytes file = File({body}, 0);
    ASSERT_EQ(kMidiOk, ReadMidiFile(file.data(), file.size(), image));
    CMidiTrack t;
    ASSERT_EQ(kMidiOk, BuildTrack(t, image));
    EXPECT_EQ(16, t.lastTick);
    t.UpdateStatistics();
    EXPECT_EQ(16 + 384, t.lastTick);
}

TEST(MidiRead, StoresPressureControllersAndPitchBendButNotProgramsOrSystemEvents) {
    const Bytes body = WithEnd({
        0x00, 0xA3, 60, 33,        // key pressure
        0x00, 0xB3, 64, 127,       // controller
        0x00, 0xC3, 5,             // program change: dropped
        0x00, 0xD3, 77,            // channel pressure
        0x00, 0xF0, 0x03, 0x43, 0x12, 0xF7,  // system exclusive: dropped
        0x00, 0xE3, 0x00, 0x40,    // bend centre
        0x00, 0xE3, 0x7F, 0x7F,    // top
        0x00, 0xE3, 0x00, 0x00,    // bottom
        0x00, 0xFF, 0x01, 0x02, 'h', 'i',  // text: dropped
    });
    CMidiTrack t;
    ASSERT_EQ(kMidiOk, Read(File({body}, 0), t).result);
    ASSERT_EQ(6u, t.events.size());
    EXPECT_EQ(kMidiKeyPressure, int(At(t, 0).kind));
    EXPECT_EQ(60, At(t, 0).data1);
    EXPECT_EQ(33, At(t, 0).data2);
    EXPECT_EQ(kMidiController, int(At(t, 1).kind));
    EXPECT_EQ(kMidiChannelPressure, int(At(t, 2).kind));
    EXPECT_EQ(77, At(t, 2).data2);
    EXPECT_EQ(kMidiPitchBend, int(At(t, 3).kind));
    EXPECT_EQ(0, At(t, 3).PitchBend());
    EXPECT_EQ(8191, At(t, 4).PitchBend());
    EXPECT_EQ(-8192, At(t, 5).PitchBend());
    for (const MidiEvent& e : t.events)
        EXPECT_EQ(3, e.channel);
    EXPECT_EQ(0, t.noteCount);
    EXPECT_EQ(0, t.lastTick);
}

TEST(MidiRead, TrackNamesSplitAtTheFirstSlash) {
    auto meta = [](uint8_t type, const std::string& s) {
        Bytes b{0x00, 0xFF, type, uint8_t(s.size())};
        b.insert(b.end(), s.begin(), s.end());
        return b;
    };
    struct Case {
        std::vector<std::pair<uint8_t, std::string>> metas;
        const char* name;
        const char* suffix;
    } cases[] = {
        {{{3, "A/B"}}, "A", "B"},
        {{{3, "A/B"}, {3, "C"}}, "C", "B"},          // a later name without "/" keeps the suffix
        {{{3, "A/B/C"}}, "A", "B/C"},
        {{{3, "Riff"}, {5, "la"}}, "la", nullptr},   // lyrics count as names
        {{{3, "Riff"}, {3, ""}}, nullptr, nullptr},  // an empty name clears it
        {{{3, "/x"}}, "", "x"},
        {{{1, "text"}}, nullptr, nullptr},
        {{{3, std::string("ab\0/c", 5)}}, "ab", nullptr},  // a name ends at NUL
    };
    for (const Case& c : cases) {
        Bytes body;
        for (const auto& m : c.metas)
            Append(body, meta(m.first, m.second));
        Append(body, {0x00, 0x90, 60, 1});
        CMidiTrack t;
        ASSERT_EQ(kMidiOk, Read(File({WithEnd(body)}, 0), t).result);
        const std::string what = c.metas.front().second;
        if (c.name)
            EXPECT_STREQ(c.name, t.trackName) << what;
        else
            EXPECT_EQ(nullptr, t.trackName) << what;
        if (c.suffix)
            EXPECT_STREQ(c.suffix, t.trackNameSuffix) << what;
        else
            EXPECT_EQ(nullptr, t.trackNameSuffix) << what;
    }
}

TEST(MidiRead, OddButValidFiles) {
    CMidiTrack t;
    // No End of Track: the chunk's end ends it.
    ASSERT_EQ(kMidiOk, Read(File({{0x00, 0x90, 60, 100, 0x10, 0x80, 60, 0}}, 0), t).result);
    EXPECT_EQ(16, t.lastTick);

    // Nothing after End of Track is an event.
    Bytes padded = WithEnd({0x00, 0x90, 60, 100, 0x10, 0x80, 60, 0});
    Append(padded, {0x00, 0x90, 70, 100, 0x00, 0x00, 0x00});
    ASSERT_EQ(kMidiOk, Read(File({padded}, 0), t).result);
    EXPECT_EQ(1u, t.events.size());

    // Running status over many channel messages, a real-time byte in between.
    ASSERT_EQ(kMidiOk,
              Read(File({WithEnd({0x00, 0x90, 60, 100, 0x00, 64, 100, 0x00, 0xF8, 0x00, 67, 100})}, 0), t)
                  .result);
    EXPECT_EQ(3u, t.events.size());

    // Empty chunks, a chunk with only End of Track, bytes after the last chunk.
    Bytes file = File({{}, kEndOfTrack});
    Append(file, {'j', 'u', 'n', 'k'});
    ASSERT_EQ(kMidiOk, Read(file, t).result);
    EXPECT_TRUE(t.events.empty());
    EXPECT_EQ(0, t.LengthInBars());

    // A zero-length note at tick 0.
    ASSERT_EQ(kMidiOk, Read(File({{0x00, 0x90, 60, 100, 0x00, 0x80, 60, 0}}, 0), t).result);
    EXPECT_EQ(0, int(At(t, 0).duration));
    EXPECT_EQ(0, t.lastTick);

    // The largest tick a track can reach: 8 * 0x0FFFFFFF + 7.
    ASSERT_EQ(kMidiOk, Read(File({LongTrack(7)}, 0), t).result);
    EXPECT_EQ(0x0FFFFFFF, int(At(t, 0).duration));
    EXPECT_EQ(2147483647, t.lastTick);
}

struct Bad {
    const char* what;
    Bytes file;
    int16_t result;
    MidiError error;
};

std::vector<Bad> BadFiles() {
    const Bytes ok = WithEnd({0x00, 0x90, 60, 100});
    Bytes twoChunksOneThere = Header(1, 2, 480);
    Append(twoChunksOneThere, Chunk(ok));
    Bytes manyChunksOneThere = Header(1, 65535, 480);
    Append(manyChunksOneThere, Chunk(ok));
    Bytes hugeChunk = Header(0, 1, 480);
    Append(hugeChunk, Chunk(ok, "MTrk", 0xFFFFFFFF));
    Bytes longChunk = Header(0, 1, 480);
    Append(longChunk, Chunk(ok, "MTrk", int64_t(ok.size()) + 1));
    Bytes alien = Header(1, 2, 480);
    Append(alien, Chunk({1, 2, 3}, "XFIH"));
    Append(alien, Chunk(ok));
    Bytes cutTag = Header(0, 1, 480);
    Append(cutTag, {'M', 'T', 'r'});
    Bytes cutLength = Header(0, 1, 480);
    Append(cutLength, {'M', 'T', 'r', 'k', 0, 0});

    const int16_t X = kMidiInvalid;
    return {
        {"empty file", {}, X, MidiError::NotMidi},
        {"text file", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!', '!'}, X, MidiError::NotMidi},
        {"RIFF wrapper", {'R', 'I', 'F', 'F', 0, 0, 0, 0}, X, MidiError::NotMidi},
        {"cut in the tag", {'M', 'T'}, X, MidiError::Truncated},
        {"cut in the header", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1}, X, MidiError::Truncated},
        {"header length 7", Header(0, 1, 480, 7), X, MidiError::HeaderLength},
        {"header length 0xFFFFFFFF", Header(0, 1, 480, 0xFFFFFFFF), X, MidiError::HeaderLength},
        {"no tracks", Header(0, 0, 480), X, MidiError::NoTracks},
        {"division 0", File({ok}, 0, 0), X, MidiError::DivisionZero},
        {"SMPTE division", File({ok}, 0, 0xE728), X, MidiError::SmpteDivision},
        {"fewer chunks than the header says", twoChunksOneThere, X, MidiError::Truncated},
        {"65535 chunks announced, one there", manyChunksOneThere, X, MidiError::Truncated},
        {"chunk length 4 GiB", hugeChunk, X, MidiError::Truncated},
        {"chunk one byte longer than the file", longChunk, X, MidiError::Truncated},
        {"chunk tag cut off", cutTag, X, MidiError::Truncated},
        {"chunk length cut off", cutLength, X, MidiError::Truncated},
        {"chunk tag other than MTrk", alien, X, MidiError::ChunkTag},
        {"delta time runs past the chunk", File({{0x00, 0x90, 60, 100, 0x81, 0x80}}), X,
         MidiError::VarLenPastChunk},
        {"delta time of five bytes", File({{0x81, 0x80, 0x80, 0x80, 0x00, 0x90, 60, 100}}), X,
         MidiError::VarLenTooLong},
        {"delta time at the end with no event", File({{0x00, 0x90, 60, 100, 0x00}}), X,
         MidiError::EventPastChunk},
        {"meta length of five bytes", File({{0x00, 0xFF, 0x03, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}}), X,
         MidiError::VarLenTooLong},
        {"meta length past the chunk", File({{0x00, 0xFF, 0x03, 0x8F, 0x7F, 'a', 'b'}}), X,
         MidiError::EventPastChunk},
        {"meta type cut off", File({{0x00, 0xFF}}), X, MidiError::EventPastChunk},
        {"sysex length past the chunk", File({{0x00, 0xF0, 0x05, 0x43, 0xF7}}), X, MidiError::EventPastChunk},
        {"note cut off", File({{0x00, 0x90, 60}}), X, MidiError::EventPastChunk},
        {"status byte as note number", File({{0x00, 0x90, 0xC8, 100}}), X, MidiError::StatusInData},
        {"status byte as velocity", File({{0x00, 0x90, 60, 0x80}}), X, MidiError::StatusInData},
        {"status byte as program", File({{0x00, 0xC0, 0x90, 0x00}}), X, MidiError::StatusInData},
        {"data byte first", File({{0x00, 60, 100}}), X, MidiError::NoRunningStatus},
        {"running status after a meta event",
         File({{0x00, 0x90, 60, 100, 0x00, 0xFF, 0x01, 0x00, 0x10, 60, 0}}), X, MidiError::NoRunningStatus},
        {"running status after system exclusive",
         File({{0x00, 0x90, 60, 100, 0x00, 0xF0, 0x01, 0xF7, 0x10, 60, 0}}), X, MidiError::NoRunningStatus},
        {"undefined status 0xF4", File({{0x00, 0xF4, 0x00, 0x90, 60, 100}}), X, MidiError::UndefinedStatus},
        {"time signature 0/4", File({{0x00, 0xFF, 0x58, 0x04, 0x00, 0x02, 0x18, 0x08}, ok}), X,
         MidiError::TimeSignature},
        {"time signature 4/2^200", File({{0x00, 0xFF, 0x58, 0x04, 0x04, 200, 0x18, 0x08}, ok}), X,
         MidiError::TimeSignature},
        {"time signature 4/256", File({{0x00, 0xFF, 0x58, 0x04, 0x04, 8, 0x18, 0x08}, ok}), X,
         MidiError::TimeSignature},
        {"time signature one byte long", File({{0x00, 0xFF, 0x58, 0x01, 0x04}, ok}), X, MidiError::TimeSignature},
        {"tempo two bytes long", File({{0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1}, ok}), X, MidiError::Tempo},
        {"ticks past 2^31 - 1", File({LongTrack(8)}), X, MidiError::TickOverflow},
        {"bad event in a chunk that is not the pattern", File({ok, ok, {0x00, 0x90, 0x90, 0x00}}), X,
         MidiError::StatusInData},
        {"bad event in the first chunk after its tempo", File({{0x00, 0xFF, 0x51, 0x03, 1, 2, 3, 0x00, 0x90}, ok}),
         X, MidiError::EventPastChunk},
    };
}

TEST(MidiRead, BadFilesFailClearlyAndLeaveAnEmptyTrack) {
    for (const Bad& bad : BadFiles()) {
        CMidiTrack t;
        t.SetTrackName("old", 3);
        t.events.resize(3);
        t.lastTick = 99;
        const Pattern p = Read(bad.file, t);
        EXPECT_EQ(bad.result, p.result) << bad.what;
        EXPECT_EQ(bad.error, p.error) << bad.what << ": " << MidiErrorText(p.error);
        EXPECT_TRUE(t.events.empty()) << bad.what;
        EXPECT_EQ(nullptr, t.trackName) << bad.what;
        EXPECT_EQ(-1, t.lastTick) << bad.what;
        EXPECT_EQ(0, t.LengthInBars()) << bad.what;
        EXPECT_EQ(240, t.division) << bad.what;
        EXPECT_STRNE("unknown error", MidiErrorText(p.error));
    }
}

TEST(MidiRead, EveryCutOfAValidFileFails) {
    const Bytes file = File({kConductor, WithEnd({0x00, 0xFF, 0x03, 0x03, 'a', '/', 'b', 0x00, 0x90, 60, 100,
                                                  0x83, 0x60, 0x80, 60, 64, 0x00, 0xE0, 0x00, 0x40})});
    CMidiTrack whole;
    ASSERT_EQ(kMidiOk, Read(file, whole).result);
    for (size_t n = 0; n < file.size(); ++n) {
        // A copy of just n bytes, so the sanitizer sees any read past them.
        const Bytes cut(file.begin(), file.begin() + long(n));
        CMidiTrack t;
        const Pattern p = Read(cut, t);
        EXPECT_EQ(kMidiInvalid, p.result) << n << " bytes";
        EXPECT_TRUE(p.error == MidiError::Truncated || p.error == MidiError::NotMidi) << n << " bytes";
        EXPECT_EQ(0, t.LengthInBars());
    }
}

TEST(MidiRead, ReadMidiFileKeepsTheHeaderAndChunkBytes) {
    const Bytes a = WithEnd({0x00, 0xB0, 1, 2});
    const Bytes b = WithEnd({0x00, 0x90, 60, 1});
    const Bytes file = File({a, b}, 1, 96);
    MidiFileImage image;
    MidiError error = MidiError::OutOfMemory;
    ASSERT_EQ(kMidiOk, ReadMidiFile(file.data(), file.size(), image, &error));
    EXPECT_EQ(MidiError::None, error);
    EXPECT_EQ(1, image.format);
    EXPECT_EQ(2, image.trackCount);
    EXPECT_EQ(96, image.division);
    ASSERT_EQ(2u, image.chunks.size());
    EXPECT_EQ(a, image.chunks[0].bytes);
    EXPECT_EQ(b, image.chunks[1].bytes);
    EXPECT_EQ(1, FindNoteTrack(image));

    // A failed read starts from the reset image.
    EXPECT_EQ(kMidiInvalid, ReadMidiFile(nullptr, 0, image));
    EXPECT_TRUE(image.chunks.empty());
    EXPECT_EQ(96, image.division);
    EXPECT_EQ(1, image.format);

    // BuildTrack on an image without chunks gives the empty track.
    CMidiTrack t;
    EXPECT_EQ(kMidiInvalid, BuildTrack(t, image, &error));
    EXPECT_EQ(MidiError::NoTracks, error);
    EXPECT_EQ(-1, FindNoteTrack(image));
    EXPECT_EQ(0, t.LengthInBars());
}

TEST(MidiRead, ParseMidiEventKeepsRunningStatusForChannelMessagesOnly) {
    const uint8_t chunk[] = {0x92, 60, 100, 61, 0, 0xFF, 0x2F, 0x00};
    size_t pos = 0;
    int16_t running = 0;
    MidiShortEvent e;
    ASSERT_EQ(MidiParse::Event, ParseMidiEvent(chunk, sizeof chunk, pos, e, running));
    EXPECT_EQ(0x92, e.status);
    EXPECT_EQ(0x92, running);
    ASSERT_EQ(MidiParse::Event, ParseMidiEvent(chunk, sizeof chunk, pos, e, running));
    EXPECT_EQ(0x82, e.status) << "velocity 0 turns into a note-off";
    EXPECT_EQ(61, e.data1);
    EXPECT_EQ(0x92, running);
    const uint8_t* data = chunk;
    uint32_t length = 9;
    ASSERT_EQ(MidiParse::EndOfTrack, ParseMidiEvent(chunk, sizeof chunk, pos, e, running, &data, &length));
    EXPECT_EQ(0xFF, e.status);
    EXPECT_EQ(0x2F, e.data1);
    EXPECT_EQ(0u, length);
    EXPECT_EQ(0, running);
    EXPECT_EQ(sizeof chunk, pos);
    MidiError error = MidiError::None;
    EXPECT_EQ(MidiParse::Error, ParseMidiEvent(chunk, sizeof chunk, pos, e, running, nullptr, nullptr, &error));
    EXPECT_EQ(MidiError::EventPastChunk, error);
}

} // namespace
} // namespace Corvell
