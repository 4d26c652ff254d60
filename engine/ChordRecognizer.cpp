#include "ChordRecognizer.h"

#include <algorithm>
#include <vector>

namespace Corvell {
namespace Substitute {

namespace {

// Interval sets above the root (bit i: i semitones), with their type.
struct Shape {
    unsigned intervals;
    int type;
};
constexpr unsigned Bits(std::initializer_list<int> steps) {
    unsigned b = 0;
    for (int s : steps)
        b |= 1u << s;
    return b;
}
const Shape kShapes[] = {
    {Bits({0, 4, 7}), 0},         {Bits({0, 4, 7, 9}), 1},      {Bits({0, 4, 7, 10}), 2},
    {Bits({0, 4, 6, 10}), 3},     {Bits({0, 4, 8, 10}), 4},     {Bits({0, 4, 7, 11}), 7},
    {Bits({0, 2, 4, 7}), 11},     {Bits({0, 2, 4, 7, 10}), 13}, {Bits({0, 3, 7}), 36},
    {Bits({0, 3, 7, 9}), 37},     {Bits({0, 3, 7, 10}), 39},    {Bits({0, 3, 6, 10}), 41},
    {Bits({0, 3, 7, 11}), 42},    {Bits({0, 5, 7}), 58},        {Bits({0, 5, 7, 10}), 59},
    {Bits({0, 3, 6, 9}), 65},     {Bits({0, 4, 8}), 66},        {Bits({0, 7}), 68},
    {Bits({0, 2, 7}), 69},
};

int TypeOf(unsigned pitchClasses, int root) {
    unsigned above = 0;
    for (int pc = 0; pc < 12; ++pc)
        if (pitchClasses & (1u << pc))
            above |= 1u << ((pc - root + 12) % 12);
    for (const Shape& s : kShapes)
        if (s.intervals == above)
            return s.type;
    return -1;
}

} // namespace

RecognizedChord RecognizeChord(const std::set<int>& keys) {
    RecognizedChord c;
    unsigned pcs = 0;
    for (int k : keys)
        pcs |= 1u << (k % 12);
    if (keys.empty() || (pcs & (pcs - 1)) == 0)
        return c; // fewer than two pitch classes
    const int lowest = *keys.begin() % 12;
    // The lowest key names the chord when it can (C6 over Am7, a slash
    // chord's inversion), otherwise the first pitch class that does.
    std::vector<int> roots{lowest};
    for (int pc = 0; pc < 12; ++pc)
        if (pc != lowest && (pcs & (1u << pc)))
            roots.push_back(pc);
    for (int root : roots) {
        const int type = TypeOf(pcs, root);
        if (type < 0)
            continue;
        c.type = type;
        c.root = root;
        c.bass = lowest == root ? -1 : lowest;
        // The chord tones in order above the root; the lowest key's place
        // among them is the position.
        std::vector<int> tones;
        for (int step = 0; step < 12; ++step)
            if (pcs & (1u << ((root + step) % 12)))
                tones.push_back((root + step) % 12);
        const int place = int(std::find(tones.begin(), tones.end(), lowest) - tones.begin());
        c.position = std::min(place + 1, 4);
        return c;
    }
    return c;
}

} // namespace Substitute
} // namespace Corvell
