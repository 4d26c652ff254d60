#pragma once
// The chord vocabulary every chord view and editor speaks: a root and a
// bass as pitch classes (C = 0 .. B = 11, -1 for none), an index into one
// table of chord types, and a position 1..4. Also how notes and chords are
// named, and the edits of the chord editor as plain functions.
#include <cstddef>
#include <cstdint>
#include <string>

namespace Corvell {

struct StdChord {
    int8_t root; // pitch class, -1 none
    int8_t type; // 0..70, -1 none
    int8_t bass; // -1 none
    int8_t pos;  // 1..4, <= 0 unspecified
};
static_assert(sizeof(StdChord) == 4, "StdChord layout");

struct UserChord {
    int8_t frets[6]; // index 0 = string 1 (highest); -1 not played
};
static_assert(sizeof(UserChord) == 6, "UserChord layout");

#pragma pack(push, 1)
// A chord as the engine exchanges it. Kind 2 is a standard chord whose
// payload is zero; kind 1 carries a payload the chord views pass on
// unchanged; kind 0 is no chord.
struct Kord {
    uint8_t kind; // 0 none, 1 chord with payload, 2 standard chord
    int8_t root;
    int8_t type;
    int8_t bass;
    int8_t pos;
    uint8_t payload[18];
};
#pragma pack(pop)
static_assert(sizeof(Kord) == 23 && offsetof(Kord, payload) == 5, "Kord layout");

namespace Chords {

constexpr int kTypeCount = 71;
constexpr int kMajor = 0;
constexpr int kMinor = 36; // "m"
enum KordKind : uint8_t { kNoChord = 0, kCarrying = 1, kStandard = 2 };

// The open strings, highest first: E B G D A E.
constexpr int8_t kOpenStrings[6] = {4, 11, 7, 2, 9, 4};

// The types the chord maps editor offers, in its menu's order, and those
// of the chord tab editor (the same with the power chord after major).
constexpr int kMapEditorTypeCount = 30;
constexpr int kTabEditorTypeCount = 31;
extern const int8_t kMapEditorTypes[kMapEditorTypeCount];
extern const int8_t kTabEditorTypes[kTabEditorTypeCount];

// Every name below is read through these: a type or a pitch class from
// outside the tables (an engine's, a file's) names itself "?".
bool IsType(int type);
bool IsPitchClass(int pc);
// The suffix after the root: " " for major, "" for entry 70.
const char* TypeSuffix(int type);
// How a type menu names it: "ma" for major, else its suffix.
const char* MenuTypeName(int type);
// The note's name from the table: "C#" or "Db" ...
const char* NoteName(int pc, bool flats);

// A note's letter and accidental worked out by rule, for views that draw
// them apart.
struct Spelling {
    char letter;         // 'C'..'B', or '?'
    const char* accidental; // "#", "b" or ""
    bool black;          // a black key
};
// 0..12 for C..B without 5: black keys are odd.
int KeyStep(int pc);
Spelling Spell(int pc, bool flats);

// Roman numerals, greedy from M; "" for 0 or less.
std::string Roman(int n);
// "I".."IV" for positions 1..4, "" otherwise.
const char* PositionNumeral(int pos);
// Root, suffix, "/" and bass when there is one, then the position numeral;
// "" when root or type is not a chord.
std::string ChordText(const StdChord& c, bool flats);

// ---- Kord values ----
Kord ClearedKord();
// Kind 2 with a root and a type.
bool IsValid(const Kord& k);
StdChord ToStd(const Kord& k);
// A standard chord, its payload zero.
Kord StandardKord(int root, int type, int bass, int pos);
bool SameBytes(const Kord& a, const Kord& b);

// A separate bass only on major and minor chords.
bool BassAllowed(int type);

// ---- the chord editor's edits ----
enum WhatChanged {
    kNothing = 0,
    kRootChanged = 1,
    kTypeOrPosChanged = 2,
    kChordStarted = 3,
    kBassChanged = 4,
};
// Each changes k as the user's pick means and says what to tell; kNothing
// when the pick changes nothing (a type or position without a chord, or
// "none" picked while there is no chord).
WhatChanged PickRoot(Kord& k, int root);
WhatChanged PickBass(Kord& k, int bass);
WhatChanged PickType(Kord& k, int type);
WhatChanged PickPosition(Kord& k, int item);
// The bass rule of the editors: whether the bass field is open for k's
// type; a valid chord whose type allows no bass loses its bass.
bool ApplyBassRule(Kord& k);
// The position menu's item for pos: below 1 counts as 1.
int PositionItem(int pos);

// ---- the note picker: seven naturals, an accidental after C D F G A ----
// The pitch of natural button i (C D E F G A B); -1 outside 0..6.
int NaturalPitch(int i);
// The pitch of the accidental after natural i; -1 after E and B.
int AccidentalPitch(int i);
// The natural button marked for pc, and the accidental (indexed by the
// natural it follows), -1 for none.
int MarkedNatural(int pc);
int MarkedAccidental(int pc);

// ---- the chord display, fed by the engine's parameters 33..37 ----
struct ChordDisplay {
    static constexpr int kFirstParameter = 33;
    static constexpr int kLastParameter = 37;

    int type = -1;
    int root = -1;
    int bass = -1;
    int pos = 0;
    bool userChord = false;

    // Stores what parameter par's value v means, out-of-range values as
    // none; false for another parameter.
    bool Update(int par, int v);
    bool Shows() const { return type >= 0 && root >= 0; }
};

} // namespace Chords
} // namespace Corvell
