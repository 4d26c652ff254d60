#include "MidiBytes.h"
#include "looper/MidiWriter.h"

#include <gtest/gtest.h>

#include <cstring>

namespace Corvell {
namespace {

using namespace test;

TEST(MidiWriter, WritesTheExpectedBytes) {
    MidiFileWriter w(0, 96);
    w.AddTrack();
    w.Text(0, 0x03, "Go");
    w.NoteOn(0, 1, 60, 100);
    w.NoteOn(0, 1, 64, 90);
    w.NoteOff(200, 1, 60);
    w.NoteOff(200, 1, 64);
    w.Channel(100, 0xB1, 7, 80);  // added late, written in tick order
    w.EndAt(384);

    Bytes running;
    ASSERT_TRUE(w.Write(running));
    Bytes expected = Header(0, 1, 96);
    Append(expected, Chunk({0x00, 0xFF, 0x03, 0x02, 'G', 'o',  //
                            0x00, 0x91, 60, 100,               //
                            0x00, 64, 90,                      // running status
                            0x64, 0xB1, 7, 80,                 // at 100
                            0x64, 0x81, 60, 0x40,              // at 200
                            0x00, 64, 0x40,                    //
                            0x81, 0x38, 0xFF, 0x2F, 0x00}));   // ends at 384
    EXPECT_EQ(expected, running);

    w.SetRunningStatus(false);
    Bytes full;
    ASSERT_TRUE(w.Write(full));
    EXPECT_EQ(running.size() + 2, full.size());

    w.SetRunningStatus(true);
    w.SetNoteOffAsNoteOn(true);
    Bytes zeroVelocity;
    ASSERT_TRUE(w.Write(zeroVelocity));
    const Bytes tail{0x64, 0x91, 60, 0x00, 0x00, 64, 0x00, 0x81, 0x38, 0xFF, 0x2F, 0x00};
    ASSERT_GT(zeroVelocity.size(), tail.size());
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), zeroVelocity.end() - long(tail.size())));
}

TEST(MidiWriter, RefusesWhatCannotBeAValidFile) {
    Bytes out{1, 2, 3};
    const Bytes before = out;
    {
        MidiFileWriter w(0, 96);
        EXPECT_FALSE(w.Write(out)) << "no track";
    }
    {
        MidiFileWriter w(0, 96);
        w.AddTrack();
        w.AddTrack();
        EXPECT_FALSE(w.Write(out)) << "format 0 with two tracks";
    }
    for (uint16_t division : {0, 0x8000, 0xE728}) {
        MidiFileWriter w(1, division);
        w.AddTrack();
        EXPECT_FALSE(w.Write(out)) << "division " << division;
    }
    {
        MidiFileWriter w(1, 96);
        w.AddTrack();
        w.NoteOn(0, 0, 128, 1);
        EXPECT_FALSE(w.Write(out)) << "note 128";
    }
    {
        MidiFileWriter w(1, 96);
        w.AddTrack();
        w.NoteOn(0x80000000, 0, 60, 1);
        EXPECT_FALSE(w.Write(out)) << "tick past 2^31 - 1";
    }
    {
        MidiFileWriter w(1, 96);
        w.NoteOn(0, 0, 60, 1);
        w.AddTrack();
        EXPECT_FALSE(w.Write(out)) << "event before the first track";
    }
    EXPECT_EQ(before, out);

    CMidiTrack t;
    t.events.resize(1);
    t.events[0].time = -5;
    EXPECT_FALSE(WriteMidiTrack(t, 0, out));
    t.events[0].time = 0;
    t.division = 0;
    EXPECT_FALSE(WriteMidiTrack(t, 0, out));
    t.division = 96;
    EXPECT_FALSE(WriteMidiTrack(t, 2, out));
    EXPECT_TRUE(WriteMidiTrack(t, 1, out));
}

MidiEvent Ev(int32_t time, int32_t kind, uint8_t channel, uint8_t d1, uint8_t d2, int32_t duration = 0) {
    MidiEvent e;
    e.time = time;
    e.kind = kind;
    e.channel = channel;
    e.data1 = d1;
    e.data2 = d2;
    e.duration = duration;
    return e;
}

MidiEvent Bend(int32_t time, uint8_t channel, int16_t value) {
    MidiEvent e = Ev(time, kMidiPitchBend, channel, 0, 0);
    e.SetPitchBend(value);
    return e;
}

void ExpectSameTrack(const CMidiTrack& a, const CMidiTrack& b, const std::string& what) {
    EXPECT_EQ(a.division, b.division) << what;
    EXPECT_EQ(a.timeSigNumerator, b.timeSigNumerator) << what;
    EXPECT_EQ(a.timeSigDenominator, b.timeSigDenominator) << what;
    EXPECT_EQ(a.timeSigBeat, b.timeSigBeat) << what;
    EXPECT_EQ(a.tempo, b.tempo) << what;
    EXPECT_EQ(std::string(a.trackName ? a.trackName : "(none)"), b.trackName ? b.trackName : "(none)") << what;
    EXPECT_EQ(std::string(a.trackNameSuffix ? a.trackNameSuffix : "(none)"),
              b.trackNameSuffix ? b.trackNameSuffix : "(none)")
        << what;
    EXPECT_EQ(a.lowestNote, b.lowestNote) << what;
    EXPECT_EQ(a.highestNote, b.highestNote) << what;
    EXPECT_EQ(a.lastTick, b.lastTick) << what;
    EXPECT_EQ(a.noteCount, b.noteCount) << what;
    EXPECT_EQ(0, std::memcmp(a.noteUsed, b.noteUsed, sizeof a.noteUsed)) << what;
    ASSERT_EQ(a.events.size(), b.events.size()) << what;
    for (size_t i = 0; i < a.events.size(); ++i) {
        const MidiEvent& x = a.events[i];
        const MidiEvent& y = b.events[i];
        EXPECT_EQ(0, std::memcmp(&x, &y, sizeof x))
            << what << ", event " << i << ": time " << int(x.time) << "/" << int(y.time) << " kind " << int(x.kind) << "/"
            << int(y.kind) << " data " << int(x.data1) << "," << int(x.data2) << "/" << int(y.data1) << ","
            << int(y.data2) << " duration " << int(x.duration) << "/" << int(y.duration);
    }
}

TEST(MidiWriter, APatternReadsBackAsItWasWritten) {
    CMidiTrack original;
    original.division = 96;
    original.timeSigNumerator = 6;
    original.timeSigDenominator = original.timeSigBeat = 8;
    original.tempo = 612345;
    original.SetTrackName("Funk", 4);
    original.SetTrackNameSuffix("Verse 2", 7);
    original.events = {
        Ev(0, kMidiController, 0, 7, 100),
        Ev(0, kMidiNote, 0, 60, 100, 96),
        Ev(0, kMidiNote, 0, 60, 90, 120),  // same pitch, overlapping, ends later
        Ev(0, kMidiNote, 1, 60, 80, 0),    // zero length
        Bend(10, 0, -8192),
        Bend(10, 0, 8191),
        Bend(20, 0, 0),
        Ev(30, kMidiChannelPressure, 2, 0, 55),
        Ev(40, kMidiKeyPressure, 2, 61, 12),
        Ev(96, kMidiNote, 0, 60, 70, 30),  // starts as the first one ends
        Ev(96, kMidiNote, 15, 127, 1, 0),
        Ev(200, kMidiNote, 3, 0, 127, -1),  // never ends
        Ev(300, kMidiController, 15, 123, 0),
        Ev(0x7FFFFF00, kMidiNote, 4, 10, 10, 0xFF),  // gaps past a four-byte delta time
    };
    original.UpdateStatistics();
    for (uint16_t format : {0, 1}) {
        for (bool running : {false, true}) {
            Bytes file;
            ASSERT_TRUE(WriteMidiTrack(original, format, file, running));
            CMidiTrack copy;
            const Pattern p = Read(file, copy);
            const std::string what = "format " + std::to_string(format) + (running ? ", running status" : "");
            ASSERT_EQ(kMidiOk, p.result) << what << ": " << MidiErrorText(p.error);
            ExpectSameTrack(original, copy, what);

            // And writing the copy gives the same bytes.
            Bytes again;
            ASSERT_TRUE(WriteMidiTrack(copy, format, again, running));
            EXPECT_EQ(file, again) << what;
        }
    }
}

TEST(MidiWriter, APatternWithoutNotesKeepsItsEventsInFormat1) {
    CMidiTrack original;
    original.SetTrackName("Pedal", 5);
    original.events = {Ev(0, kMidiController, 0, 64, 127), Ev(480, kMidiController, 0, 64, 0)};
    original.UpdateStatistics();
    Bytes file;
    ASSERT_TRUE(WriteMidiTrack(original, 1, file));
    CMidiTrack copy;
    ASSERT_EQ(kMidiOk, Read(file, copy).result);
    ExpectSameTrack(original, copy, "no notes");
    EXPECT_EQ(1, copy.LengthInBars());

    CMidiTrack empty;
    ASSERT_TRUE(WriteMidiTrack(empty, 1, file));
    ASSERT_EQ(kMidiOk, Read(file, copy).result);
    ExpectSameTrack(empty, copy, "empty");
}

} // namespace
} // namespace Corvell
