// The substitute engine names the chord its held keys form, in the chord
// parameters the view's chord display reads.
#include "ChordRecognizer.h"
#include "SubstituteHost.h"
#include "ui/core/FunctionDelegate.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace Corvell {
namespace {

using Substitute::RecognizeChord;
using Substitute::RecognizedChord;
using Substitute::SubstituteHost;

TEST(ChordRecognizer, NamesHeldKeys) {
    struct Case {
        const char* what;
        std::set<int> keys;
        int type, root, bass, position;
    };
    const Case cases[] = {
        {"C major", {48, 52, 55}, 0, 0, -1, 1},
        {"C major spread, doubled", {36, 52, 55, 60, 64}, 0, 0, -1, 1},
        {"C/E, first inversion", {52, 55, 60}, 0, 0, 4, 2},
        {"C/G, second inversion", {55, 60, 64}, 0, 0, 7, 3},
        {"A minor", {57, 60, 64}, 36, 9, -1, 1},
        {"G7", {43, 47, 50, 53}, 2, 7, -1, 1},
        {"G7 over F, the seventh below", {41, 43, 47, 50}, 2, 7, 5, 4},
        {"D maj7", {50, 54, 57, 61}, 7, 2, -1, 1},
        {"E m7", {52, 55, 59, 62}, 39, 4, -1, 1},
        {"C6 over its lowest key, not A m7", {48, 52, 55, 57}, 1, 0, -1, 1},
        {"A m7 over its lowest key, not C6", {45, 48, 52, 55}, 39, 9, -1, 1},
        {"F m6", {53, 56, 60, 62}, 37, 5, -1, 1},
        {"B m7(b5)", {47, 50, 53, 57}, 41, 11, -1, 1},
        {"C m(maj7)", {48, 51, 55, 59}, 42, 0, -1, 1},
        {"C 7(b5)", {48, 52, 54, 58}, 3, 0, -1, 1},
        {"C 7(#5)", {48, 52, 56, 58}, 4, 0, -1, 1},
        {"C add9", {48, 50, 52, 55}, 11, 0, -1, 1},
        {"C 9", {48, 50, 52, 55, 58}, 13, 0, -1, 1},
        {"D sus4", {50, 55, 57}, 58, 2, -1, 1},
        {"D 7sus4", {50, 55, 57, 60}, 59, 2, -1, 1},
        {"D sus2", {50, 52, 57}, 69, 2, -1, 1},
        {"C dim7, named from below", {48, 51, 54, 57}, 65, 0, -1, 1},
        {"E aug, named from below", {52, 56, 60}, 66, 4, -1, 1},
        {"power chord", {40, 47, 52}, 68, 4, -1, 1},
        {"a cluster", {60, 61, 62}, -1, -1, -1, 0},
        {"one key", {60}, -1, -1, -1, 0},
        {"one pitch class in octaves", {48, 60, 72}, -1, -1, -1, 0},
        {"nothing", {}, -1, -1, -1, 0},
    };
    for (const Case& c : cases) {
        const RecognizedChord r = RecognizeChord(c.keys);
        EXPECT_EQ(r.type, c.type) << c.what;
        EXPECT_EQ(r.root, c.root) << c.what;
        EXPECT_EQ(r.bass, c.bass) << c.what;
        EXPECT_EQ(r.position, c.position) << c.what;
    }
}

TEST(ChordRecognizer, TheEngineTellsOnlyTheChordParametersThatChanged) {
    SubstituteHost host;
    auto& rnc = host.RnC();
    std::vector<int> told;
    Ref<Delegate1<ERnCPars>> listener = Fn<ERnCPars>([&](ERnCPars p) {
        if (p >= 33 && p <= 37)
            told.push_back(p);
    });
    rnc.AddParameterListener(listener.Get());
    auto chord = [&] {
        return std::vector<int>{rnc.GetParameter(ERnCPars(33)), rnc.GetParameter(ERnCPars(34)),
                                rnc.GetParameter(ERnCPars(35)), rnc.GetParameter(ERnCPars(36))};
    };
    EXPECT_EQ(chord(), (std::vector<int>{-1, -1, -1, 0}));

    rnc.SendKeyboardNote(true, 48);
    EXPECT_TRUE(told.empty()) << "one key is no chord: nothing changed";
    rnc.SendKeyboardNote(true, 52);
    rnc.SendKeyboardNote(true, 55);
    host.Notices().Flush();
    EXPECT_EQ(chord(), (std::vector<int>{0, 0, -1, 1}));
    EXPECT_EQ(told, (std::vector<int>{33, 34, 36})) << "C and E make no chord; C E G is C major";

    told.clear();
    rnc.SendKeyboardNote(true, 55); // pressed again: still held once
    rnc.SendKeyboardNote(true, 51); // E flat too: C E Eb G is nothing
    rnc.SendKeyboardNote(false, 52); // C Eb G: C minor
    host.Notices().Flush();
    EXPECT_EQ(chord(), (std::vector<int>{36, 0, -1, 1}));

    rnc.SendKeyboardNote(false, 48);
    rnc.SendKeyboardNote(false, 51);
    rnc.SendKeyboardNote(false, 55);
    host.Notices().Flush();
    EXPECT_EQ(chord(), (std::vector<int>{-1, -1, -1, 0}));

    rnc.SendKeyboardNote(true, 57);
    rnc.SendKeyboardNote(true, 60);
    rnc.SendKeyboardNote(true, 64);
    host.Notices().Flush();
    EXPECT_EQ(chord(), (std::vector<int>{36, 9, -1, 1}));
    rnc.ResetToDefaults();
    host.Notices().Flush();
    EXPECT_EQ(chord(), (std::vector<int>{-1, -1, -1, 0}));
    told.clear();
    rnc.SendKeyboardNote(true, 67); // the earlier keys went with the reset: one key, no chord
    host.Notices().Flush();
    EXPECT_TRUE(told.empty());
    EXPECT_EQ(rnc.GetParameter(ERnCPars(37)), 0);
    rnc.RemoveParameterListener(listener.Get());
}

} // namespace
} // namespace Corvell
