// The substitute engine names the chord its held keys form, in the chord
// parameters the view's chord display reads.
#include "ChordRecognizer.h"
#include "EngineModes.h"
#include "SubstituteHost.h"
#include "ui/core/FunctionDelegate.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <mutex>
#include <utility>
#include <vector>

namespace Corvell {
namespace {

using Substitute::Notifier;
using Substitute::RecognizeChord;
using Substitute::SubstituteHost;

constexpr ERnCPars kType = ERnCPars(33), kRoot = ERnCPars(34), kBass = ERnCPars(35), kPosition = ERnCPars(36),
                   kUserChord = ERnCPars(37);
const std::vector<int> kNoChord{-1, -1, -1, 0};

struct HeldChord : ::testing::TestWithParam<Notifier::Mode> {
    HeldChord() { rnc.AddParameterListener(listener.Get()); }
    ~HeldChord() override { rnc.RemoveParameterListener(listener.Get()); }

    // Type, root, bass, position.
    std::vector<int> Chord() {
        return {rnc.GetParameter(kType), rnc.GetParameter(kRoot), rnc.GetParameter(kBass), rnc.GetParameter(kPosition)};
    }
    // The chord parameters told while the keys go down (or up), in order.
    std::vector<int> Told(bool on, std::initializer_list<int> keys) {
        for (int k : keys)
            rnc.SendKeyboardNote(on, k);
        host.Notices().Flush();
        std::lock_guard<std::mutex> g(mutex);
        return std::exchange(told, {});
    }

    SubstituteHost host{GetParam()};
    Substitute::SubstituteRnC& rnc = host.RnC();
    std::mutex mutex; // the worker thread tells
    std::vector<int> told;
    Ref<Delegate1<ERnCPars>> listener = Fn<ERnCPars>([this](ERnCPars p) {
        std::lock_guard<std::mutex> g(mutex);
        if (p >= kType && p <= kUserChord)
            told.push_back(p);
    });
};
TARROW_BOTH_ENGINE_MODES(HeldChord);

TEST_P(HeldChord, KeysNameTheirChordAndReleasingThemClearsIt) {
    struct Case {
        const char* what;
        std::vector<int> keys;
        int type, root, bass, position;
    };
    const Case cases[] = {
        {"C major", {48, 52, 55}, 0, 0, -1, 1},
        {"C major spread, doubled", {36, 52, 55, 60, 64}, 0, 0, -1, 1},
        {"C major at the keyboard's bottom", {0, 4, 7}, 0, 0, -1, 1},
        {"C/E, the third below", {52, 55, 60}, 0, 0, 4, 2},
        {"C/G, the fifth below", {55, 60, 64}, 0, 0, 7, 3},
        {"C6", {48, 52, 55, 57}, 1, 0, -1, 1},
        {"G7", {43, 47, 50, 53}, 2, 7, -1, 1},
        {"G7/F, the seventh below", {41, 43, 47, 50}, 2, 7, 5, 4},
        {"C7(b5)", {48, 52, 54, 58}, 3, 0, -1, 1},
        {"the same keys from F#: F#7(b5)", {54, 58, 60, 64}, 3, 6, -1, 1},
        {"C7(#5)", {48, 52, 56, 58}, 4, 0, -1, 1},
        {"Dmaj7", {50, 54, 57, 61}, 7, 2, -1, 1},
        {"Cadd9", {48, 50, 52, 55}, 11, 0, -1, 1},
        {"Cadd9/E: the third, though the ninth lies lower", {52, 55, 60, 62}, 11, 0, 4, 2},
        {"C9", {48, 50, 52, 55, 58}, 13, 0, -1, 1},
        {"C9/G", {43, 48, 50, 52, 58}, 13, 0, 7, 3},
        {"Am", {57, 60, 64}, 36, 9, -1, 1},
        {"Fm6 over its lowest key, not Dm7(b5)", {53, 56, 60, 62}, 37, 5, -1, 1},
        {"Em7", {52, 55, 59, 62}, 39, 4, -1, 1},
        {"Am7 over its lowest key, not C6", {45, 48, 52, 55}, 39, 9, -1, 1},
        {"C6/E: C comes before A among the others", {52, 55, 57, 60}, 1, 0, 4, 2},
        {"Bm7(b5)", {47, 50, 53, 57}, 41, 11, -1, 1},
        {"Cm(maj7)", {48, 51, 55, 59}, 42, 0, -1, 1},
        {"Dsus4", {50, 55, 57}, 58, 2, -1, 1},
        {"D7sus4", {50, 55, 57, 60}, 59, 2, -1, 1},
        {"Cdim7", {48, 51, 54, 57}, 65, 0, -1, 1},
        {"the same keys from Eb: Ebdim7", {51, 54, 57, 60}, 65, 3, -1, 1},
        {"Eaug", {52, 56, 60}, 66, 4, -1, 1},
        {"the same keys from Ab: Abaug", {56, 60, 64}, 66, 8, -1, 1},
        {"E5", {40, 47, 52}, 68, 4, -1, 1},
        {"C5 at both ends of the keyboard", {0, 127}, 68, 0, -1, 1},
        {"C5/G, the fifth below", {43, 48}, 68, 0, 7, 3},
        {"Dsus2", {50, 52, 57}, 69, 2, -1, 1},
        {"Dsus2's keys from A: Asus4", {45, 50, 52}, 58, 9, -1, 1},
        {"Dsus2/E, its second below", {52, 57, 62}, 69, 2, 4, 2},
        {"a cluster", {60, 61, 62}, -1, -1, -1, 0},
        {"C and E", {48, 52}, -1, -1, -1, 0},
        {"one key", {60}, -1, -1, -1, 0},
        {"one pitch class in octaves", {48, 60, 72}, -1, -1, -1, 0},
    };
    for (const Case& c : cases) {
        for (int k : c.keys)
            rnc.SendKeyboardNote(true, k);
        host.Notices().Flush();
        EXPECT_EQ(Chord(), (std::vector<int>{c.type, c.root, c.bass, c.position})) << c.what;
        EXPECT_EQ(0, rnc.GetParameter(kUserChord)) << c.what;
        for (int k : c.keys)
            rnc.SendKeyboardNote(false, k);
        host.Notices().Flush();
        EXPECT_EQ(Chord(), kNoChord) << c.what << ", released";
    }
}

TEST_P(HeldChord, OnlyChangedParametersAreToldAndResetLetsGoOfTheKeys) {
    const std::vector<int> none;
    EXPECT_EQ(Chord(), kNoChord);
    EXPECT_EQ(Told(true, {48, 52}), none) << "C and E are no chord: nothing changed";
    EXPECT_EQ(Told(true, {55}), (std::vector<int>{33, 34, 36}));
    EXPECT_EQ(Chord(), (std::vector<int>{0, 0, -1, 1}));

    EXPECT_EQ(Told(true, {52}), none) << "pressed again";
    EXPECT_EQ(Told(false, {52}), (std::vector<int>{33})) << "one release lets go of a key pressed twice: C5";
    EXPECT_EQ(Told(false, {52}), none) << "a key not held";
    EXPECT_EQ(Told(true, {51}), (std::vector<int>{33})) << "Cm";
    EXPECT_EQ(Told(true, {43}), (std::vector<int>{35, 36})) << "Cm/G";
    EXPECT_EQ(Chord(), (std::vector<int>{36, 0, 7, 3}));
    EXPECT_EQ(Told(false, {43, 48, 51, 55}), (std::vector<int>{35, 36, 33, 34, 36}));
    EXPECT_EQ(Chord(), kNoChord);

    Told(true, {57, 60, 64});
    EXPECT_EQ(Chord(), (std::vector<int>{36, 9, -1, 1}));
    rnc.ResetToDefaults();
    host.Notices().Flush();
    EXPECT_EQ(Chord(), kNoChord);
    // Had A C E outlived the reset, E and G would make Am7.
    EXPECT_EQ(Told(true, {52, 55}), none);
    EXPECT_EQ(Chord(), kNoChord);
}

TEST(ChordRecognizer, KeysBelowTheKeyboardStillNameTheirPitchClass) {
    const auto c = RecognizeChord({-12, -8, -5});
    EXPECT_EQ((std::vector<int>{c.type, c.root, c.bass, c.position}), (std::vector<int>{0, 0, -1, 1}));
}

} // namespace
} // namespace Corvell
