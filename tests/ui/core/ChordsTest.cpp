// The chord vocabulary: names by table and by rule, the type table, chord
// text, numerals, the editor's edits and the display's parameters.
#include "ui/core/Chords.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace Corvell {
namespace {

using namespace Chords;

TEST(Chords, NotesAreNamedByTableAndByRuleAlike) {
    const char* const sharps[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    const char* const flats[12] = {"C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab", "A", "Bb", "B"};
    for (int pc = 0; pc < 12; ++pc) {
        EXPECT_STREQ(NoteName(pc, false), sharps[pc]);
        EXPECT_STREQ(NoteName(pc, true), flats[pc]);
        for (bool f : {false, true}) {
            const Spelling s = Spell(pc, f);
            EXPECT_EQ(std::string(1, s.letter) + s.accidental, NoteName(pc, f)) << pc << (f ? " flat" : " sharp");
            EXPECT_EQ(s.black, std::strlen(NoteName(pc, f)) == 2) << pc;
        }
    }
    // Out of the table: named, never read past it.
    for (int pc : {-1, 12, 127, -128}) {
        EXPECT_STREQ(NoteName(pc, false), "?");
        EXPECT_EQ(Spell(pc, true).letter, '?');
    }
}

TEST(Chords, EveryTypeHasItsSuffix) {
    const char* const expected[kTypeCount] = {
        " ", "6", "7", "7(b5)", "7(#5)", "7(b5/b13)", "7(add13)", "maj7", "maj7(b5)", "maj7(#5)", "maj7(add13)",
        "add9", "6,9", "9", "7(b9)", "7(#9)", "9(b5)", "7(b5/b9)", "7(b5/#9)", "9(#5)", "7(#5/b9)", "7(#5/#9)",
        "maj9", "maj7(#9)", "maj(add13)", "11", "9(#11)", "11(b9)", "7(b9/#11)", "7(#9/#11)", "13", "13(b9)",
        "13,sus", "13(#11)", "13,sus-(b9)", "13(b9/#11)", "m", "m6", "m-(b6)", "m7", "m7(13)", "m7(b5)", "m(maj7)",
        "m(maj7)13", "m(add9)", "m6,9", "m9", "m13", "m9(maj7)", "m13(maj7)", "m9(b5)", "m7(b9/b5)", "m(add11)",
        "m7(11)", "m11", "m7(b5/b13)", "m7(b5/11)", "m11(b5)", "sus4", "7sus4", "9sus4", "7sus4-(b9)", "13sus4",
        "13sus4-(b9)", "maj7sus4", "dim7", "aug", " ", "5", "sus2", ""};
    for (int t = 0; t < kTypeCount; ++t) {
        EXPECT_STREQ(TypeSuffix(t), expected[t]) << t;
        EXPECT_LE(std::strlen(TypeSuffix(t)), 15u);
        EXPECT_STREQ(MenuTypeName(t), t == 0 ? "ma" : expected[t]) << t;
    }
    for (int t : {-1, 71, 127, -128})
        EXPECT_STREQ(TypeSuffix(t), "?") << t;

    // The editors' lists: the tab editor's is the maps editor's with the
    // power chord after major.
    EXPECT_EQ(kMapEditorTypes[0], 0);
    EXPECT_EQ(kTabEditorTypes[1], 68);
    for (int i = 1; i < kMapEditorTypeCount; ++i)
        EXPECT_EQ(kTabEditorTypes[i + 1], kMapEditorTypes[i]) << i;
    EXPECT_EQ(kMapEditorTypes[kMapEditorTypeCount - 1], 66);
}

TEST(Chords, ChordTextAndNumerals) {
    struct Case {
        StdChord chord;
        bool flats;
        const char* text;
    };
    const Case cases[] = {
        {{0, 0, -1, 0}, false, "C "},      // major keeps its space
        {{6, 36, -1, 2}, false, "F#mII"},
        {{6, 36, -1, 2}, true, "GbmII"},
        {{9, 0, 4, 1}, false, "A /EI"},
        {{10, 39, 1, 4}, true, "Bbm7/DbIV"},
        {{11, 70, -1, 5}, false, "B"},     // entry 70 is empty; position 5 has no numeral
        {{-1, 0, -1, 1}, false, ""},       // no root: no chord
        {{0, -1, -1, 1}, false, ""},
        {{0, 71, -1, 1}, false, ""},
        {{12, 0, -1, 1}, false, ""},
        {{0, 0, 13, 1}, false, "C /?I"},   // a bass from outside the table is named, not read
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChordText(c.chord, c.flats), c.text);

    const struct {
        int n;
        const char* roman;
    } numerals[] = {{0, ""}, {1, "I"}, {2, "II"}, {3, "III"}, {4, "IV"}, {9, "IX"}, {14, "XIV"}, {40, "XL"},
                    {1994, "MCMXCIV"}, {-3, ""}};
    for (const auto& r : numerals)
        EXPECT_EQ(Roman(r.n), r.roman) << r.n;
    for (int pos = 1; pos <= 4; ++pos)
        EXPECT_EQ(PositionNumeral(pos), Roman(pos));
    EXPECT_STREQ(PositionNumeral(0), "");
    EXPECT_STREQ(PositionNumeral(5), "");
}

std::string Bytes(const Kord& k) {
    std::string s;
    for (size_t i = 0; i < sizeof k; ++i)
        s += std::to_string(reinterpret_cast<const uint8_t*>(&k)[i]) + " ";
    return s;
}

TEST(Chords, EditsOfTheChordEditor) {
    Kord carrying = ClearedKord();
    carrying.kind = kCarrying;
    carrying.root = 4;
    carrying.type = 0;
    for (int i = 0; i < 18; ++i)
        carrying.payload[i] = uint8_t(i + 1);
    Kord dMinor = StandardKord(2, 36, -1, 3);

    enum Pick { Root, Bass, Type, Position };
    struct Case {
        const char* what;
        Kord before;
        Pick pick;
        int value;
        WhatChanged told;
        Kord after;
    };
    const Case cases[] = {
        {"root on no chord", ClearedKord(), Root, 7, kChordStarted, StandardKord(7, 0, -1, 1)},
        {"root on a chord", dMinor, Root, 9, kRootChanged, StandardKord(9, 36, -1, 3)},
        {"none as root clears the root", dMinor, Root, -1, kRootChanged, StandardKord(-1, 36, -1, 3)},
        {"none as root on no chord", ClearedKord(), Root, -1, kNothing, ClearedKord()},
        {"bass on no chord", ClearedKord(), Bass, 4, kBassChanged, StandardKord(4, 0, 4, 1)},
        {"bass on a chord", dMinor, Bass, 9, kBassChanged, StandardKord(2, 36, 9, 3)},
        {"none as bass of a chord", StandardKord(2, 36, 9, 3), Bass, -1, kBassChanged, dMinor},
        {"none as bass on no chord", ClearedKord(), Bass, -1, kNothing, ClearedKord()},
        {"type on a chord", dMinor, Type, 39, kTypeOrPosChanged, StandardKord(2, 39, -1, 3)},
        {"type on no chord", ClearedKord(), Type, 39, kNothing, ClearedKord()},
        {"type outside the table", dMinor, Type, 71, kNothing, dMinor},
        {"position on a chord", dMinor, Position, 0, kTypeOrPosChanged, StandardKord(2, 36, -1, 1)},
        {"position on no chord", ClearedKord(), Position, 2, kNothing, ClearedKord()},
        // A kind-1 chord counts as none, and its payload does not survive.
        {"root on a carrying chord", carrying, Root, 5, kChordStarted, StandardKord(5, 0, -1, 1)},
        {"bass on a carrying chord", carrying, Bass, 5, kBassChanged, StandardKord(5, 0, 5, 1)},
        {"type on a carrying chord", carrying, Type, 36, kNothing, carrying},
    };
    for (const Case& c : cases) {
        Kord k = c.before;
        WhatChanged told = kNothing;
        switch (c.pick) {
        case Root: told = PickRoot(k, c.value); break;
        case Bass: told = PickBass(k, c.value); break;
        case Type: told = PickType(k, c.value); break;
        case Position: told = PickPosition(k, c.value); break;
        }
        EXPECT_EQ(told, c.told) << c.what;
        EXPECT_EQ(Bytes(k), Bytes(c.after)) << c.what;
    }
}

TEST(Chords, TheBassRuleClosesTheBassOnAllButMajorAndMinor) {
    Kord k = StandardKord(2, 36, 9, 1);
    EXPECT_TRUE(ApplyBassRule(k));
    EXPECT_EQ(k.bass, 9);
    ASSERT_EQ(PickType(k, 2), kTypeOrPosChanged); // "m" to "7"
    EXPECT_FALSE(ApplyBassRule(k));
    EXPECT_EQ(k.bass, -1);
    ASSERT_EQ(PickType(k, 36), kTypeOrPosChanged); // back to "m": open, bass not restored
    EXPECT_TRUE(ApplyBassRule(k));
    EXPECT_EQ(k.bass, -1);
    Kord none = ClearedKord();
    none.bass = 3; // not a chord: left as it is
    EXPECT_FALSE(ApplyBassRule(none));
    EXPECT_EQ(none.bass, 3);
    for (int pos : {-2, 0, 1})
        EXPECT_EQ(PositionItem(pos), 0);
    EXPECT_EQ(PositionItem(4), 3);
}

TEST(Chords, PickerButtonsPickAndMarkTheirPitches) {
    const int naturals[7] = {0, 2, 4, 5, 7, 9, 11};
    const int accidentals[7] = {1, 3, -1, 6, 8, 10, -1};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(NaturalPitch(i), naturals[i]);
        EXPECT_EQ(AccidentalPitch(i), accidentals[i]);
        EXPECT_EQ(MarkedNatural(naturals[i]), i);
        EXPECT_EQ(MarkedAccidental(naturals[i]), -1);
        if (accidentals[i] >= 0) {
            // A black key marks the natural below it and its own accidental,
            // whichever way it is named.
            EXPECT_EQ(MarkedNatural(accidentals[i]), i);
            EXPECT_EQ(MarkedAccidental(accidentals[i]), i);
        }
    }
    EXPECT_EQ(MarkedAccidental(10), 5);
    for (int pc : {-1, 12})
        EXPECT_EQ(MarkedNatural(pc), -1);
    EXPECT_EQ(NaturalPitch(7), -1);
    EXPECT_EQ(AccidentalPitch(-1), -1);
}

TEST(Chords, TheDisplayKeepsOnlyValuesInRange) {
    struct Case {
        int par, value;
        int type, root, bass, pos;
        bool user;
    };
    ChordDisplay d;
    const Case steps[] = {
        {33, 39, 39, -1, -1, 0, false}, {34, 9, 39, 9, -1, 0, false}, {35, 4, 39, 9, 4, 0, false},
        {36, 3, 39, 9, 4, 3, false},    {37, 5, 39, 9, 4, 3, true},   {33, 71, -1, 9, 4, 3, true},
        {33, -1, -1, 9, 4, 3, true},    {33, 70, 70, 9, 4, 3, true},  {34, 12, 70, -1, 4, 3, true},
        {35, -5, 70, -1, -1, 3, true},  {36, 5, 70, -1, -1, 0, true}, {36, 0, 70, -1, -1, 0, true},
        {37, 0, 70, -1, -1, 0, false},
    };
    for (const Case& c : steps) {
        EXPECT_TRUE(d.Update(c.par, c.value));
        EXPECT_EQ(d.type, c.type) << c.par << "=" << c.value;
        EXPECT_EQ(d.root, c.root) << c.par << "=" << c.value;
        EXPECT_EQ(d.bass, c.bass) << c.par << "=" << c.value;
        EXPECT_EQ(d.pos, c.pos) << c.par << "=" << c.value;
        EXPECT_EQ(d.userChord, c.user) << c.par << "=" << c.value;
    }
    EXPECT_FALSE(d.Shows());
    EXPECT_FALSE(d.Update(38, 1));
    EXPECT_FALSE(d.Update(32, 1));
    d.Update(34, 0);
    EXPECT_TRUE(d.Shows());
}

} // namespace
} // namespace Corvell
