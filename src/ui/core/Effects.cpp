#include "ui/core/Effects.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace Corvell {
namespace Effects {

namespace {
constexpr ValueDescriptor kNone{0, 0, 0, 0};
constexpr ValueDescriptor V(int kind, int minimum, int maximum, int def) { return {kind, minimum, maximum, def}; }
} // namespace

const EffectRecord kTable[kRecords] = {
    {0, 0, "Tapping", {kNone, kNone}},
    {1, 0, "Mute", {kNone, kNone}},
    {2, 1, "BridgeMute", {V(0, 0, 128, 128), kNone}},
    {3, 0, "Harmonics", {kNone, kNone}},
    {4, 0, "PinchHarmonics", {kNone, kNone}},
    {5, 0, "Slap", {kNone, kNone}},
    {6, 0, "Scrapes", {kNone, kNone}},
    {7, 1, "HammerOn(Legato)", {V(1, 0, 48, 0), kNone}},
    {8, 2, "Slide(Legato)", {V(1, 0, 48, 0), V(0, 30, 150, 45)}},
    {9, 0, "SlideDownNoteOff", {kNone, kNone}},
    {10, 0, "Repeat(NoteOff)", {kNone, kNone}},
    {11, 0, "ChuckaFull", {kNone, kNone}},
    {12, 0, "ChuckaMuteKeys", {kNone, kNone}},
    {13, 1, "Tremolo", {V(2, 0, 9, 0), kNone}},
    {14, 1, "Tremolo 1 beat", {V(2, 0, 9, 0), kNone}},
    {15, 2, "Trill", {V(1, 1, 12, 0), V(2, 0, 9, 0)}},
    {16, 2, "Trill 1 shot", {V(1, 1, 12, 0), V(2, 0, 9, 0)}},
    {17, 2, "SlideUp", {V(1, 1, 12, 0), V(0, 40, 500, 90)}},
    {18, 2, "SlideUp(trigger)", {V(1, 1, 12, 0), V(0, 200, 2000, 300)}},
    {19, 2, "SlideDown", {V(1, 1, 12, 0), V(0, 40, 500, 120)}},
    {20, 2, "SlideDown(trigger)", {V(1, 1, 12, 0), V(0, 200, 2000, 300)}},
    {21, 2, "Bend", {V(1, 1, 2, 0), V(0, 100, 800, 200)}},
    {22, 2, "ReverseBend", {V(1, 1, 2, 0), V(0, 100, 800, 200)}},
    {23, 2, "UnisonBend", {V(1, 1, 2, 0), V(0, 100, 800, 200)}},
    {24, 2, "UnisonBendTrig", {V(1, 1, 2, 0), V(0, 100, 800, 200)}},
    {25, 0, "Hold", {kNone, kNone}},
    {26, 0, "Modulation", {kNone, kNone}},
    {27, 0, "Sustainer(trigger)", {kNone, kNone}},
    {28, 1, "Violining", {V(0, 300, 2000, 1000), kNone}},
    {29, 1, "Interval", {V(3, 0, 8, 0), kNone}},
    {30, 1, "FretPosition", {V(4, -1, 18, 0), kNone}},
    {31, 1, "PickPosition", {V(1, -7, 7, 0), kNone}},
    {32, 1, "Wah-Wah", {V(5, 0, 3, 0), kNone}},
    {33, 1, "FeedBack(trigger)", {V(6, 0, 5, 0), kNone}},
    {34, 0, "ChuckaVeloLayer", {kNone, kNone}},
    {35, 1, "VeloMute", {V(1, 1, 127, 80), kNone}},
    {36, 0, "Legato", {kNone, kNone}},
    {37, 1, "String Select", {V(7, 0, 6, 0), kNone}},
    {38, 1, "Mode Toggle", {V(8, 0, 2, 0), kNone}},
    {-2, 0, "velo>", {kNone, kNone}},
    {-1, 0, "velo<", {kNone, kNone}},
    {-5, 0, "to Chords", {kNone, kNone}},
    {-4, 0, "to Bass'n'Chord", {kNone, kNone}},
    {-3, 0, "to Bass'n'Pick", {kNone, kNone}},
    {-100, 0, "Slow Strum", {kNone, kNone}},
};

const EffectRecord kUnknown = {kUnknownType, 0, "(unknown effect)", {kNone, kNone}};

const EffectRecord& Lookup(int type) {
    for (const EffectRecord& r : kTable)
        if (r.type == type)
            return r;
    return kUnknown;
}

bool HasValues(int type) { return Lookup(type).valueCount > 0; }

namespace {
// Each list's items, NUL-separated and ended by an empty one.
const char* const kItems[kValueKinds] = {
    nullptr,
    nullptr,
    "4th\0" "4T\0" "8th\0" "8T\0" "16th\0" "16T\0" "32nd\0" "32T\0" "64th\0" "64T\0",
    "mono\0" "4th down\0" "5th up\0" "Octave\0" "Power\0" "Power2\0" "2 Octaves\0" "Pwr Oct\0" "Pwr 2 Oct\0",
    "D#5 ... C6\0" "Open\0" "Fret 1\0" "Fret 2\0" "Fret 3   *\0" "Fret 4\0" "Fret 5   *\0" "Fret 6\0"
    "Fret 7   *\0" "Fret 8\0" "Fret 9   *\0" "Fret 10\0" "Fret 11\0" "Fret 12 * *\0" "Fret 13\0" "Fret 14\0"
    "Fret 15  *\0" "Fret 16\0" "Fret 17  *\0" "Fret 18\0",
    "MIDI Control\0" "Auto Positive\0" "Auto Negative\0" "Modulation\0",
    "8\0" "5'\0" "8'\0" "5''\0" "8''\0" "5'''\0",
    "1\0" "2\0" "3\0" "4\0" "5\0" "6\0" "auto\0",
    "Chords\0" "BassNChord\0" "BassNPick\0",
};
} // namespace

const char* Items(int kind) { return kind >= 0 && kind < kValueKinds ? kItems[kind] : nullptr; }

int ItemCount(int kind) {
    int n = 0;
    for (const char* p = Items(kind); p && *p; p += std::strlen(p) + 1)
        ++n;
    return n;
}

int ItemOfValue(int kind, int value) { return kind == kFretValue ? value + 1 : value; }
int ValueOfItem(int kind, int item) { return kind == kFretValue ? item - 1 : item; }

std::string TooltipPart(int kind, int value, const std::string& shownItem) {
    char buf[64];
    switch (kind) {
    case kSliderValue:
        std::snprintf(buf, sizeof buf, "time: %d ms", value);
        return buf;
    case kStepsValue:
        std::snprintf(buf, sizeof buf, "steps: %d", value);
        return buf;
    case kLengthValue:
        return "duration: " + shownItem;
    case kFretValue: {
        const int item = ItemOfValue(kind, value);
        if (item == 1)
            return "open";
        if (item >= 2) {
            std::snprintf(buf, sizeof buf, "fret %d", item - 1);
            return buf;
        }
        return shownItem;
    }
    default:
        return shownItem;
    }
}

std::string TooltipText(int type, const int* values, const std::string* shownItems) {
    const EffectRecord& r = Lookup(type);
    std::string text = r.name;
    for (int i = 0; i < r.valueCount && i < 2; ++i)
        text += ", " + TooltipPart(r.values[i].kind, values ? values[i] : 0, shownItems ? shownItems[i] : std::string());
    return text;
}

std::string ScaledValueText(int value, int divisor, const std::string& suffix) {
    char buf[64];
    if (divisor <= 1) {
        std::snprintf(buf, sizeof buf, " %d%s", value, suffix.c_str());
        return buf;
    }
    // As many digits after the point as the divisor has places: a value
    // of 7 hundredths is 0.07, not 0.7.
    int places = 0;
    for (int d = divisor; d > 1; d /= 10)
        ++places;
    const int q = value / divisor, m = value % divisor;
    std::string digits = std::to_string(std::abs(m));
    digits.insert(0, size_t(std::max(0, places - int(digits.size()))), '0');
    return std::string(" ") + (q == 0 && m < 0 ? "-" : "") + std::to_string(q) + "." + digits + suffix;
}

PaneLayout Layout(int w, int h, bool hasValues) {
    PaneLayout l{};
    if (h > 35) {
        const int c = (h + 1) / 2, e = c + 1;
        l.oneRow = false;
        l.onMark = {0, 0, e, e};
        l.selector = {c, 0, w - c, e};
        l.slider = {c, c, w - c - 32, e};
        l.numberEditor = {w - 33, c, 33, e};
        l.wideCombo = {c, c, w - 2 * c, e};
        l.narrowCombo = {44, c, w - c - 64, e};
        return l;
    }
    const int e = h - 1, d = w - e, f = d / 2;
    const int b = hasValues ? f : d;
    const int x2 = b + e, w2 = d - f;
    l.oneRow = true;
    l.onMark = {0, 1, h, h - 1};
    l.selector = {e, 0, b, h};
    l.slider = {x2, 1, w2 - 32, h};
    l.numberEditor = {w - 33, 1, 33, h};
    l.wideCombo = {x2, 1, w2 - e, h};
    l.narrowCombo = {x2, 1, w2 - 64, h};
    return l;
}

const VeloKind kVeloTable[kVeloKinds] = {
    {"Slide Up", 17, 1, 18, 1, 127, 20, 40, 200, 19, 1, 3},
    {"Slide Down", 17, 2, 21, 1, 127, 23, 40, 200, 22, 2, 12},
    {"Bend", 24, 1, 25, 1, 127, 27, 100, 800, 26, 1, 2},
    {"Reverse Bend", 24, 2, 28, 1, 127, 30, 100, 800, 29, 1, 2},
    {"Slow Strum on higher velo", 39, 1, 40, 1, 127, 41, 45, 300, 0, 0, 0},
    {"Slow Strum on lower velo", 42, 1, 43, 1, 127, 44, 45, 300, 0, 0, 0},
    {"Velo Mute", 60, 1, 61, 1, 127, 0, 0, 0, 0, 0, 0},
};

int SurvivingVeloKind(const std::vector<int>& offered, const std::vector<int>& active) {
    for (int k : offered)
        if (std::find(active.begin(), active.end(), k) != active.end())
            return k;
    return -1;
}

int VeloKindOf(int enableParameter, int value) {
    if (value == 0)
        return -1;
    switch (enableParameter) {
    case 17:
        return value == 1 ? 0 : 1;
    case 24:
        return value == 1 ? 2 : 3;
    case 39:
        return 4;
    case 42:
        return 5;
    case 60:
        return 6;
    default:
        return -1;
    }
}

} // namespace Effects
} // namespace Corvell
