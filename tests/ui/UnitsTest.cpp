// Every unit's text, at its bounds, at zero, below zero and where its
// rounding turns.
#include "ui/Units.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace Corvell {
namespace {

std::string Text(Unit* unit, int32_t v) {
    UnitArgs a;
    a.value = v;
    unit->Invoke(a);
    return a.text.c_str();
}

TEST(Units, EachUnitWritesItsText) {
    struct Case {
        const char* unit;
        Unit* u;
        int32_t value;
        const char* text;
    };
    const Case cases[] = {
        {"Hz exp", Units::HzExp(), 0, "1 Hz"},
        {"Hz exp", Units::HzExp(), 10, "2 Hz"},
        {"Hz exp", Units::HzExp(), 100, "1024 Hz"},
        {"Hz exp", Units::HzExp(), 5, "1 Hz"},   // 1.41
        {"Hz exp", Units::HzExp(), 6, "2 Hz"},   // 1.52
        {"Hz exp", Units::HzExp(), 130, "8192 Hz"},
        {"Hz exp", Units::HzExp(), -1000, "0 Hz"},
        {"hertz", Units::Hertz(), 55, "5.5 Hz"},
        {"hertz", Units::Hertz(), 0, "0.0 Hz"},
        {"hertz", Units::Hertz(), -5, "-0.5 Hz"},
        {"hertz", Units::Hertz(), 200000, "20000.0 Hz"},
        {"decibel", Units::Decibel(), -60, "-6.0 dB"},
        {"decibel", Units::Decibel(), 0, "0.0 dB"},
        {"decibel", Units::Decibel(), 125, "12.5 dB"},
        {"decibel", Units::Decibel(), -1, "-0.1 dB"},
        {"reverse", Units::Reverse(), 30, "70%"},
        {"reverse", Units::Reverse(), 0, "100%"},
        {"reverse", Units::Reverse(), 100, "0%"},
        {"reverse", Units::Reverse(), 120, "-20%"},
        {"reverse", Units::Reverse(), INT_MIN, "2147483748%"}, // no wrap
        {"semitones", Units::Semitones(), 1, "1 semitone"},
        {"semitones", Units::Semitones(), 0, "0 semitones"},
        {"semitones", Units::Semitones(), -1, "-1 semitones"},
        {"semitones", Units::Semitones(), 2, "2 semitones"},
        {"semitones", Units::Semitones(), 24, "24 semitones"},
        {"semitones", Units::Semitones(), -24, "-24 semitones"},
        {"cents", Units::Cents(), 1, "1 cent"},
        {"cents", Units::Cents(), 4, "4 cents"},
        {"cents", Units::Cents(), 5, "5 cents"},
        {"cents", Units::Cents(), -50, "-50 cents"},
        {"percent", Units::Percent(), 0, "0%"},
        {"percent", Units::Percent(), 1, "1%"},
        {"percent", Units::Percent(), 100, "100%"},
        {"percent from 100", Units::PercentFrom100(), -20, "80%"},
        {"percent from 100", Units::PercentFrom100(), 0, "100%"},
        {"percent from 100", Units::PercentFrom100(), -99, "1%"},
        {"percent from 100", Units::PercentFrom100(), INT_MAX, "2147483647%"}, // held, no wrap
        {"degrees", Units::Degrees(), 180, "180\xB0"},
        {"degrees", Units::Degrees(), -90, "-90\xB0"},
        {"plain", Units::Plain(), 1, "1"},
        {"plain", Units::Plain(), -7, "-7"},
        {"per cents", Units::PerCents(), 120, "100%"},
        {"per cents", Units::PerCents(), 60, "50%"},
        {"per cents", Units::PerCents(), 1, "0%"},
        {"per cents", Units::PerCents(), 0, "0%"},
        {"per cents", Units::PerCents(), -1, "0%"}, // toward zero
        {"per cents", Units::PerCents(), -2, "-1%"},
        {"per cents", Units::PerCents(), 119, "99%"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Text(c.u, c.value), c.text) << c.unit << " of " << c.value;
}

TEST(Units, TheTextIsReplacedAndTheInstancesAreShared) {
    UnitArgs a;
    a.value = 3;
    a.text = "left over";
    Units::Cents()->Invoke(a);
    EXPECT_STREQ(a.text.c_str(), "3 cents");
    EXPECT_EQ(Units::Cents(), Units::Cents());
    EXPECT_NE(Units::Cents(), Units::Semitones());
    // Counting does nothing: a Ref taken and dropped leaves the instance.
    { Ref<Unit> held(Units::HzExp()); }
    EXPECT_EQ(Text(Units::HzExp(), 20), "4 Hz");
}

} // namespace
} // namespace Corvell
