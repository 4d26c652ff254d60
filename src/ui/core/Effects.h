#pragma once
// The engine's articulation effects as the effect panes show them: one
// table of effect types with up to two values each, the controls that
// edit each kind of value, the velocity-triggered effects, and the texts
// and layouts of the panes, as plain data and functions.
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace Corvell {
namespace Effects {

// How one value of an effect is edited.
enum ValueKind : int {
    kSliderValue = 0,   // time in ms, with a default mark
    kStepsValue = 1,    // number editor
    kLengthValue = 2,   // note length combo
    kIntervalValue = 3, // interval combo
    kFretValue = 4,     // fret combo; value = item - 1
    kWahValue = 5,
    kFeedbackValue = 6,
    kStringValue = 7,
    kModeValue = 8,
    kValueKinds = 9,
};

struct ValueDescriptor {
    int kind, minimum, maximum, defaultValue;
};

struct EffectRecord {
    int type;
    int valueCount; // 0..2
    const char* name;
    ValueDescriptor values[2];
};

constexpr int kRecords = 45;
constexpr int kUnknownType = INT_MIN;
// Types 0..38 can be addressed by type (manual effects).
constexpr int kFirstManualType = 0;
constexpr int kLastManualType = 38;
constexpr int kWahWahType = 32;

extern const EffectRecord kTable[kRecords];
extern const EffectRecord kUnknown; // "(unknown effect)", no values

// The first record of that type; the unknown record for any other.
const EffectRecord& Lookup(int type);
bool HasValues(int type);

// The items of a combo kind (2..8) as AddItems takes them, null for the
// slider and the number editor or a kind out of range.
const char* Items(int kind);
int ItemCount(int kind);
// The combo item showing value v of a kind, and back.
int ItemOfValue(int kind, int value);
int ValueOfItem(int kind, int item);

// A value's part of the pane's tooltip: "time: 90 ms", "steps: 3",
// "duration: 8th", "fret 3", the item itself ...; shownItem is the text
// the combo shows (ignored for the slider and the editor).
std::string TooltipPart(int kind, int value, const std::string& shownItem);
// The pane's whole tooltip: the name, then the parts of its values.
std::string TooltipText(int type, const int* values, const std::string* shownItems);

// A value divided for the tooltip of the velocity controls: " %d%s" for a
// divisor of 1 or less, else the quotient, a point and the remainder with
// as many digits as the divisor has places (100 gives 7 -> " 0.07").
std::string ScaledValueText(int value, int divisor, const std::string& suffix);

// ---- the panes' two layouts ----
struct Rect4 {
    int x, y, width, height;
};
struct PaneLayout {
    Rect4 onMark, selector, slider, numberEditor, wideCombo, narrowCombo;
    bool oneRow;
};
// wide: fret, interval, wah and mode combos; narrow: feedback and string.
// hasValues: some type of the pane's list has a value.
PaneLayout Layout(int width, int height, bool hasValues);

// ---- velocity-triggered effects ----
struct VeloKind {
    const char* name;
    int enableParameter, enableValue;
    int velocity, velocityMin, velocityMax; // parameter 0: none
    int time, timeMin, timeMax;
    int steps, stepsMin, stepsMax;
};
constexpr int kVeloKinds = 7;
extern const VeloKind kVeloTable[kVeloKinds];
// The kinds the engine has on, from the enable parameters' values (a
// getter over parameter numbers); in kind order.
template <class Get>
std::vector<int> ActiveVeloKinds(Get get) {
    std::vector<int> active;
    for (int k = 0; k < kVeloKinds; ++k)
        if (get(kVeloTable[k].enableParameter) == kVeloTable[k].enableValue)
            active.push_back(k);
    return active;
}
// Of the active kinds, the one that stays on: the first of the offered
// list that is active, or -1.
int SurvivingVeloKind(const std::vector<int>& offered, const std::vector<int>& active);
// The kind a notice of an enable parameter with value v shows, -1 for
// none (v = 0) or a parameter that enables nothing.
int VeloKindOf(int enableParameter, int value);

} // namespace Effects
} // namespace Corvell
