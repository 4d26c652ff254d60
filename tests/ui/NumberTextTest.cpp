#include "ui/NumberText.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

namespace Corvell::Test {
namespace {

constexpr int32_t kUntouched = 12345;

struct ParseCase {
    const char* text;
    bool ok;
    int32_t value;
};

TEST(NumberText, ParsesSignedDecimalsAndRefusesEverythingElse) {
    const ParseCase cases[] = {
        {"0", true, 0},
        {"42", true, 42},
        {"007", true, 7},
        {"-7", true, -7},
        {"+7", true, 7},
        {"-0", true, 0},
        {" 12 ", true, 12},
        {"\t-5\t", true, -5},
        {"2147483647", true, INT32_MAX},
        {"-2147483648", true, INT32_MIN},
        {"+2147483647", true, INT32_MAX},
        // beyond 32 bits: refused, never wrapped or cut
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999999", false, 0},
        {"-99999999999999999999999", false, 0},
        // empty
        {"", false, 0},
        {"   ", false, 0},
        // a sign alone, doubled or misplaced
        {"-", false, 0},
        {"+", false, 0},
        {"--1", false, 0},
        {"+-1", false, 0},
        {"1-", false, 0},
        {"- 1", false, 0},
        // junk
        {"12a", false, 0},
        {"a12", false, 0},
        {"1 2", false, 0},
        {"0x10", false, 0},
        {"1.5", false, 0},
        {"1e3", false, 0},
        {"C3", false, 0},
    };
    for (const ParseCase& c : cases) {
        int32_t out = kUntouched;
        EXPECT_EQ(ParseNumber(c.text, out), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(out, c.ok ? c.value : kUntouched) << '"' << c.text << '"';
    }
    int32_t out = kUntouched;
    EXPECT_FALSE(ParseNumber(nullptr, out));
    EXPECT_EQ(out, kUntouched);
}

TEST(NumberText, FormatsWithPrintfDecimalAndParsesItBack) {
    struct Case {
        int32_t value;
        const char* text;
    };
    for (const Case& c : {Case{0, "0"}, Case{42, "42"}, Case{-1, "-1"}, Case{127, "127"},
                          Case{INT32_MAX, "2147483647"}, Case{INT32_MIN, "-2147483648"}}) {
        EXPECT_STREQ(FormatNumber(c.value).c_str(), c.text);
        int32_t back = kUntouched;
        ASSERT_TRUE(ParseNumber(FormatNumber(c.value), back)) << c.text;
        EXPECT_EQ(back, c.value);
    }
}

TEST(NoteNames, NameOfNotesInsideAndOutsideTheMidiRange) {
    struct Case {
        int32_t note;
        const char* name;
    };
    const Case cases[] = {
        {0, "C-2"},   {1, "C#-2"},  {11, "B-2"},  {12, "C-1"}, {23, "B-1"}, {24, "C0"},  {40, "E1"},
        {59, "B2"},   {60, "C3"},   {61, "C#3"},  {66, "F#3"}, {68, "G#3"}, {70, "A#3"}, {76, "E4"},
        {120, "C8"},  {127, "G8"},
        // beyond the MIDI range: the pitch class rounds down, the octave is whole
        {-1, "B-3"},  {-11, "C#-3"}, {-12, "C-3"}, {-13, "B-4"}, {144, "C10"}, {155, "B10"},
        {1200, "C98"}, {INT32_MAX, "G178956968"}, {INT32_MIN, "E-178956973"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(NoteName(c.note).c_str(), c.name) << c.note;
}

TEST(NoteNames, EveryMidiNoteHasItsOwnNameThatReadsBackToIt) {
    std::set<std::string> names;
    for (int32_t note = 0; note <= 127; ++note) {
        const String name = NoteName(note);
        names.insert(name.c_str());
        int32_t back = kUntouched;
        ASSERT_TRUE(ParseNoteName(name, back)) << name.c_str();
        EXPECT_EQ(back, note) << name.c_str();
    }
    EXPECT_EQ(names.size(), 128u);
    // And well past the range on both sides.
    for (int32_t note : {-1000, -25, -1, 128, 144, 1000, INT32_MAX, INT32_MIN}) {
        int32_t back = kUntouched;
        ASSERT_TRUE(ParseNoteName(NoteName(note), back)) << note;
        EXPECT_EQ(back, note);
    }
}

TEST(NoteNames, ReadsNamesInEitherCaseWithSharpsFlatsOrPlainNumbers) {
    const ParseCase cases[] = {
        {"C3", true, 60},
        {"c3", true, 60},
        {"C#3", true, 61},
        {"Db3", true, 61},
        {"db3", true, 61},
        {"Bb2", true, 58},
        {"b2", true, 59},
        {"E4", true, 76},
        {" E1 ", true, 40},
        {"G8", true, 127},
        {"C-2", true, 0},
        {"Cb-2", true, -1},
        {"B#8", true, 132},
        {"C10", true, 144},
        // a plain number is the number
        {"60", true, 60},
        {"-5", true, -5},
        {" 127 ", true, 127},
        // junk
        {"", false, 0},
        {"  ", false, 0},
        {"H3", false, 0},
        {"C", false, 0},
        {"C#", false, 0},
        {"C3x", false, 0},
        {"C 3", false, 0},
        {"C+3", false, 0},
        {"C--2", false, 0},
        {"C##3", false, 0},
        {"#3", false, 0},
        {"C99999999999", false, 0},
        {"C178956969", false, 0}, // past 32 bits
    };
    for (const ParseCase& c : cases) {
        int32_t out = kUntouched;
        EXPECT_EQ(ParseNoteName(c.text, out), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(out, c.ok ? c.value : kUntouched) << '"' << c.text << '"';
    }
}

} // namespace
} // namespace Corvell::Test
