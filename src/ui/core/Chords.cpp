#include "ui/core/Chords.h"

#include <cstring>

namespace Corvell {
namespace Chords {

namespace {

const char* const kSuffixes[kTypeCount] = {
    " ",           "6",           "7",          "7(b5)",      "7(#5)",       "7(b5/b13)", "7(add13)",  "maj7",
    "maj7(b5)",    "maj7(#5)",    "maj7(add13)", "add9",      "6,9",         "9",         "7(b9)",     "7(#9)",
    "9(b5)",       "7(b5/b9)",    "7(b5/#9)",   "9(#5)",      "7(#5/b9)",    "7(#5/#9)",  "maj9",      "maj7(#9)",
    "maj(add13)",  "11",          "9(#11)",     "11(b9)",     "7(b9/#11)",   "7(#9/#11)", "13",        "13(b9)",
    "13,sus",      "13(#11)",     "13,sus-(b9)", "13(b9/#11)", "m",          "m6",        "m-(b6)",    "m7",
    "m7(13)",      "m7(b5)",      "m(maj7)",    "m(maj7)13",  "m(add9)",     "m6,9",      "m9",        "m13",
    "m9(maj7)",    "m13(maj7)",   "m9(b5)",     "m7(b9/b5)",  "m(add11)",    "m7(11)",    "m11",       "m7(b5/b13)",
    "m7(b5/11)",   "m11(b5)",     "sus4",       "7sus4",      "9sus4",       "7sus4-(b9)", "13sus4",   "13sus4-(b9)",
    "maj7sus4",    "dim7",        "aug",        " ",          "5",           "sus2",      "",
};

const char* const kSharps[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
const char* const kFlats[12] = {"C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab", "A", "Bb", "B"};
const char* const kNumerals[5] = {"", "I", "II", "III", "IV"};
constexpr const char* kUnknown = "?";

} // namespace

const int8_t kMapEditorTypes[kMapEditorTypeCount] = {0,  1,  12, 11, 58, 69, 7,  22, 8,  9,  2,  59, 60, 3,  4,
                                                     6,  14, 15, 13, 16, 36, 37, 39, 53, 42, 44, 46, 41, 65, 66};
const int8_t kTabEditorTypes[kTabEditorTypeCount] = {0,  68, 1,  12, 11, 58, 69, 7,  22, 8,  9,  2,  59, 60, 3, 4,
                                                     6,  14, 15, 13, 16, 36, 37, 39, 53, 42, 44, 46, 41, 65, 66};

bool IsType(int type) { return type >= 0 && type < kTypeCount; }
bool IsPitchClass(int pc) { return pc >= 0 && pc < 12; }

const char* TypeSuffix(int type) { return IsType(type) ? kSuffixes[type] : kUnknown; }

const char* MenuTypeName(int type) { return type == kMajor ? "ma" : TypeSuffix(type); }

const char* NoteName(int pc, bool flats) {
    if (!IsPitchClass(pc))
        return kUnknown;
    return flats ? kFlats[pc] : kSharps[pc];
}

int KeyStep(int pc) { return pc + (pc + 3) / 8; }

Spelling Spell(int pc, bool flats) {
    if (!IsPitchClass(pc))
        return Spelling{'?', "", false};
    const int e = KeyStep(pc);
    const bool black = (e % 2) != 0;
    const int f = flats ? 1 : 0;
    return Spelling{"CDEFGAB"[(e + f) / 2], black ? (flats ? "b" : "#") : "", black};
}

std::string Roman(int n) {
    static const struct {
        int value;
        const char* text;
    } kSteps[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
                  {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    std::string out;
    for (const auto& s : kSteps)
        while (n >= s.value) {
            out += s.text;
            n -= s.value;
        }
    return out;
}

const char* PositionNumeral(int pos) { return pos >= 1 && pos <= 4 ? kNumerals[pos] : ""; }

std::string ChordText(const StdChord& c, bool flats) {
    if (!IsPitchClass(c.root) || !IsType(c.type))
        return std::string();
    std::string text = NoteName(c.root, flats);
    text += TypeSuffix(c.type);
    if (c.bass >= 0) {
        text += "/";
        text += NoteName(c.bass, flats);
    }
    text += PositionNumeral(c.pos);
    return text;
}

// ---- Kord values ----

Kord ClearedKord() {
    Kord k;
    std::memset(&k, 0, sizeof k);
    k.kind = kNoChord;
    k.root = -1;
    k.type = -1;
    k.bass = -1;
    k.pos = 0;
    return k;
}

bool IsValid(const Kord& k) { return k.kind == kStandard && k.root >= 0 && k.type >= 0; }

StdChord ToStd(const Kord& k) { return StdChord{k.root, k.type, k.bass, k.pos}; }

Kord StandardKord(int root, int type, int bass, int pos) {
    Kord k;
    // Kind 2 carries no payload: one left over from a kind-1 value would
    // travel on to the engine and make equal chords compare as changed.
    std::memset(&k, 0, sizeof k);
    k.kind = kStandard;
    k.root = int8_t(root);
    k.type = int8_t(type);
    k.bass = int8_t(bass);
    k.pos = int8_t(pos);
    return k;
}

bool SameBytes(const Kord& a, const Kord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool BassAllowed(int type) { return type == kMajor || type == kMinor; }

// ---- edits ----

WhatChanged PickRoot(Kord& k, int root) {
    if (!IsValid(k)) {
        // "none" on no chord would make a kind-2 value without a root.
        if (!IsPitchClass(root))
            return kNothing;
        k = StandardKord(root, kMajor, -1, 1);
        return kChordStarted;
    }
    k.root = int8_t(IsPitchClass(root) ? root : -1);
    return kRootChanged;
}

WhatChanged PickBass(Kord& k, int bass) {
    if (!IsValid(k)) {
        if (!IsPitchClass(bass))
            return kNothing;
        k = StandardKord(bass, kMajor, bass, 1);
        return kBassChanged;
    }
    k.bass = int8_t(IsPitchClass(bass) ? bass : -1);
    return kBassChanged;
}

WhatChanged PickType(Kord& k, int type) {
    if (!IsValid(k) || !IsType(type))
        return kNothing;
    k.type = int8_t(type);
    return kTypeOrPosChanged;
}

WhatChanged PickPosition(Kord& k, int item) {
    if (!IsValid(k) || item < 0 || item > 3)
        return kNothing;
    k.pos = int8_t(item + 1);
    return kTypeOrPosChanged;
}

bool ApplyBassRule(Kord& k) {
    const bool allowed = BassAllowed(k.type);
    if (!allowed && IsValid(k))
        k.bass = -1;
    return allowed;
}

int PositionItem(int pos) { return (pos < 1 ? 1 : pos) - 1; }

// ---- the note picker ----

int NaturalPitch(int i) { return i >= 0 && i < 7 ? 2 * i - (2 * i + 2) / 8 : -1; }

int AccidentalPitch(int i) {
    if (i < 0 || i >= 7 || i == 2 || i == 6)
        return -1;
    return NaturalPitch(i) + 1;
}

int MarkedNatural(int pc) { return IsPitchClass(pc) ? KeyStep(pc) / 2 : -1; }

int MarkedAccidental(int pc) {
    if (!IsPitchClass(pc) || KeyStep(pc) % 2 == 0)
        return -1;
    return pc / 2;
}

// ---- the chord display ----

bool ChordDisplay::Update(int par, int v) {
    switch (par) {
    case 33:
        type = IsType(v) ? v : -1;
        return true;
    case 34:
        root = IsPitchClass(v) ? v : -1;
        return true;
    case 35:
        bass = IsPitchClass(v) ? v : -1;
        return true;
    case 36:
        pos = v >= 1 && v <= 4 ? v : 0;
        return true;
    case 37:
        userChord = v != 0;
        return true;
    default:
        return false;
    }
}

} // namespace Chords
} // namespace Corvell
