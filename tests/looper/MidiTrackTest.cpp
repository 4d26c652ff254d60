#include "binding/CMidiTrack.h"

#include <gtest/gtest.h>

#include <cstring>

namespace Corvell {
namespace {

MidiEvent Note(int32_t time, uint8_t note, int32_t duration, uint8_t channel = 0) {
    MidiEvent e;
    e.time = time;
    e.channel = channel;
    e.kind = kMidiNote;
    e.data1 = note;
    e.data2 = 100;
    e.duration = duration;
    return e;
}

MidiEvent Controller(int32_t time, uint8_t number, uint8_t value) {
    MidiEvent e;
    e.time = time;
    e.kind = kMidiController;
    e.data1 = number;
    e.data2 = value;
    return e;
}

TEST(CMidiTrack, StartsWithTheSharedInitialValuesInFieldOrder) {
    CMidiTrack t;
    EXPECT_EQ(240, t.division);
    EXPECT_EQ(4, t.timeSigNumerator);
    EXPECT_EQ(4, t.timeSigDenominator);
    EXPECT_EQ(4, t.timeSigBeat);
    EXPECT_EQ(nullptr, t.trackNameSuffix);
    EXPECT_EQ(nullptr, t.trackName);
    EXPECT_TRUE(t.events.empty());
    EXPECT_EQ(500000, t.tempo);
    EXPECT_EQ(127, t.lowestNote);
    EXPECT_EQ(0, t.highestNote);
    EXPECT_EQ(-1, t.lastTick);
    EXPECT_EQ(0, t.noteCount);
    for (uint8_t used : t.noteUsed)
        EXPECT_EQ(0, used);
    EXPECT_EQ(0, t.LengthInBars());

    // The engine shares this layout: fields must stay in this order.
    const char* base = reinterpret_cast<const char*>(&t);
    const char* order[] = {
        reinterpret_cast<const char*>(&t.division),        reinterpret_cast<const char*>(&t.timeSigNumerator),
        reinterpret_cast<const char*>(&t.timeSigDenominator), reinterpret_cast<const char*>(&t.timeSigBeat),
        reinterpret_cast<const char*>(&t.trackNameSuffix), reinterpret_cast<const char*>(&t.trackName),
        reinterpret_cast<const char*>(&t.events),          reinterpret_cast<const char*>(&t.tempo),
        reinterpret_cast<const char*>(&t.lowestNote),      reinterpret_cast<const char*>(&t.highestNote),
        reinterpret_cast<const char*>(&t.lastTick),        reinterpret_cast<const char*>(&t.noteCount),
        reinterpret_cast<const char*>(&t.noteUsed)};
    EXPECT_EQ(base + sizeof(void*), order[0]) << "the vtable pointer comes first";
    for (size_t i = 1; i < sizeof order / sizeof order[0]; ++i)
        EXPECT_LT(order[i - 1], order[i]) << "field " << i;
}

TEST(CMidiTrack, PitchBendIsALittleEndianInt16) {
    MidiEvent e;
    for (int v : {-8192, -1, 0, 1, 8191}) {
        e.SetPitchBend(int16_t(v));
        EXPECT_EQ(v, e.PitchBend());
        EXPECT_EQ(uint8_t(v & 0xFF), e.data1);
    }
}

TEST(CMidiTrack, UpdateStatisticsCountsNotesAndEveryEventsEnd) {
    CMidiTrack t;
    t.events = {Note(0, 60, 100), Note(50, 64, -1), Note(10, 60, 20, 3), Controller(400, 7, 100),
                Note(90, 40, 0)};
    t.UpdateStatistics();
    EXPECT_EQ(3, t.noteCount);
    EXPECT_EQ(40, t.lowestNote);
    EXPECT_EQ(64, t.highestNote);
    EXPECT_EQ(400, t.lastTick) << "a controller's time counts too";
    EXPECT_EQ(1, t.noteUsed[40]);
    EXPECT_EQ(1, t.noteUsed[60]);
    EXPECT_EQ(1, t.noteUsed[64]);
    EXPECT_EQ(0, t.noteUsed[61]);

    t.events.pop_back();
    t.events.pop_back();
    t.events.push_back(Note(500, 70, -1));
    t.UpdateStatistics();
    EXPECT_EQ(500, t.lastTick) << "an open note ends at its start";
    EXPECT_EQ(60, t.lowestNote) << "statistics start again from scratch";
    EXPECT_EQ(70, t.highestNote);
}

TEST(CMidiTrack, NoteNumbersOutsideTheTableAreNotCounted) {
    // Tracks handed over by the engine are not checked by the reader.
    CMidiTrack t;
    t.events = {Note(0, 200, 10), Note(5, 255, 30), Note(0, 127, 1)};
    t.UpdateStatistics();
    EXPECT_EQ(1, t.noteCount);
    EXPECT_EQ(127, t.lowestNote);
    EXPECT_EQ(127, t.highestNote);
    EXPECT_EQ(35, t.lastTick);
}

TEST(CMidiTrack, LengthInBars) {
    struct Case {
        int32_t division;
        int16_t numerator, denominator;
        int32_t lastTick;
        int32_t bars;
    } cases[] = {
        {480, 4, 4, -1, 0},       // empty
        {480, 4, 4, 0, 0},
        {480, 4, 4, 1, 1},
        {480, 4, 4, 3840, 2},     // exactly two bars
        {480, 4, 4, 3841, 3},
        {96, 6, 8, 288, 1},       // 6/8 at 96: 288 ticks a bar
        {96, 6, 8, 289, 2},
        {96, 3, 4, 2147483647, 7456541},
        {32767, 255, 1, 2147483647, 65},  // 255 * 32767 * 4 needs more than 32 bits
        {1, 1, 8, 5, 5},          // under a tick per bar: counted as one
        {1, 1, 8, -1, 0},
        {0, 4, 4, 100, 0},        // nonsense from elsewhere: no division by zero
        {480, 0, 4, 100, 0},
        {480, 4, 0, 100, 0},
        {480, 4, -4, 100, 0},
    };
    for (const Case& c : cases) {
        CMidiTrack t;
        t.division = c.division;
        t.timeSigNumerator = c.numerator;
        t.timeSigDenominator = c.denominator;
        t.lastTick = c.lastTick;
        EXPECT_EQ(c.bars, t.LengthInBars())
            << c.numerator << "/" << c.denominator << " at " << c.division << ", last tick " << c.lastTick;
    }
}

TEST(CMidiTrack, NamesAreOwnedCopies) {
    char text[] = "Verse";
    CMidiTrack t;
    t.SetTrackName(text, 5);
    t.SetTrackNameSuffix("", 0);
    std::strcpy(text, "xxxxx");
    ASSERT_NE(nullptr, t.trackName);
    EXPECT_STREQ("Verse", t.trackName);
    ASSERT_NE(nullptr, t.trackNameSuffix);
    EXPECT_STREQ("", t.trackNameSuffix) << "an empty text is not the same as none";
    t.events.push_back(Note(0, 60, 10));
    t.division = 96;
    t.Reset();
    EXPECT_EQ(nullptr, t.trackName);
    EXPECT_EQ(nullptr, t.trackNameSuffix);
    EXPECT_TRUE(t.events.empty());
    EXPECT_EQ(240, t.division);
}

} // namespace
} // namespace Corvell
