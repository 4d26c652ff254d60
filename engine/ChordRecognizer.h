#pragma once
// Names the chord a set of held keys forms, the way the engine tells the
// chord display: type, root, bass and position.
#include <set>

namespace Corvell {
namespace Substitute {

struct RecognizedChord {
    int type = -1;     // index into the chord type table, -1 none
    int root = -1;     // pitch class
    int bass = -1;     // the lowest key's pitch class when it is not the root
    int position = 0;  // the lowest key: 1 root, 2 third (sus: its 2nd or 4th), 3 fifth, 4 any other; 0 none
};

// keys: MIDI note numbers held down.
RecognizedChord RecognizeChord(const std::set<int>& keys);

} // namespace Substitute
} // namespace Corvell
