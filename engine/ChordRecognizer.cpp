#include "ChordRecognizer.h"

#include <initializer_list>
#include <vector>

namespace Corvell {
namespace Substitute {

namespace {

// Interval sets above the root (bit i: i semitones), with their type and
// the steps of their second and third tones: the third (a sus chord's
// second or fourth; none in a power chord) and the fifth.
struct Shape {
    unsigned intervals;
    int type;
    int secondTone, thirdTone; // -1 none
};
constexpr unsigned Bits(std::initializer_list<int> steps) {
    unsigned b = 0;
    for (int s : steps)
        b |= 1u << s;
    return b;
}
constexpr Shape kShapes[] = {
    {Bits({0, 4, 7}), 0, 4, 7},         {Bits({0, 4, 7, 9}), 1, 4, 7},      {Bits({0, 4, 7, 10}), 2, 4, 7},
    {Bits({0, 4, 6, 10}), 3, 4, 6},     {Bits({0, 4, 8, 10}), 4, 4, 8},     {Bits({0, 4, 7, 11}), 7, 4, 7},
    {Bits({0, 2, 4, 7}), 11, 4, 7},     {Bits({0, 2, 4, 7, 10}), 13, 4, 7}, {Bits({0, 3, 7}), 36, 3, 7},
    {Bits({0, 3, 7, 9}), 37, 3, 7},     {Bits({0, 3, 7, 10}), 39, 3, 7},    {Bits({0, 3, 6, 10}), 41, 3, 6},
    {Bits({0, 3, 7, 11}), 42, 3, 7},    {Bits({0, 5, 7}), 58, 5, 7},        {Bits({0, 5, 7, 10}), 59, 5, 7},
    {Bits({0, 3, 6, 9}), 65, 3, 6},     {Bits({0, 4, 8}), 66, 4, 8},        {Bits({0, 7}), 68, -1, 7},
    {Bits({0, 2, 7}), 69, 2, 7},
};

// Each set once (else the table's order would name the chord), each with its
// root and the tones that place the lowest key.
constexpr bool ShapesWellFormed() {
    for (const Shape& a : kShapes) {
        int same = 0;
        for (const Shape& b : kShapes)
            same += a.intervals == b.intervals;
        if (same != 1 || !(a.intervals & 1u) || (a.secondTone >= 0 && !(a.intervals & (1u << a.secondTone))) ||
            !(a.intervals & (1u << a.thirdTone)))
            return false;
    }
    return true;
}
static_assert(ShapesWellFormed(), "chord shapes");

// Keys below 0 too, so that no shift is ever negative.
int PitchClass(int key) { return (key % 12 + 12) % 12; }

const Shape* ShapeOf(unsigned pitchClasses, int root) {
    unsigned above = 0;
    for (int pc = 0; pc < 12; ++pc)
        if (pitchClasses & (1u << pc))
            above |= 1u << ((pc - root + 12) % 12);
    for (const Shape& s : kShapes)
        if (s.intervals == above)
            return &s;
    return nullptr;
}

} // namespace

RecognizedChord RecognizeChord(const std::set<int>& keys) {
    RecognizedChord c;
    unsigned pcs = 0;
    for (int k : keys)
        pcs |= 1u << PitchClass(k);
    if (keys.empty() || (pcs & (pcs - 1)) == 0)
        return c; // fewer than two pitch classes
    const int lowest = PitchClass(*keys.begin());
    // The lowest key names the chord when it can (C6 over Am7, a slash
    // chord's inversion), otherwise the first pitch class that does.
    std::vector<int> roots{lowest};
    for (int pc = 0; pc < 12; ++pc)
        if (pc != lowest && (pcs & (1u << pc)))
            roots.push_back(pc);
    for (int root : roots) {
        const Shape* shape = ShapeOf(pcs, root);
        if (!shape)
            continue;
        c.type = shape->type;
        c.root = root;
        c.bass = lowest == root ? -1 : lowest;
        // The lowest key's place among root, third, fifth; an added tone
        // (sixth, seventh, ninth) at the bottom is 4, even a ninth that
        // lies below the third.
        const int step = (lowest - root + 12) % 12;
        c.position = step == 0 ? 1 : step == shape->secondTone ? 2 : step == shape->thirdTone ? 3 : 4;
        return c;
    }
    return c;
}

} // namespace Substitute
} // namespace Corvell
