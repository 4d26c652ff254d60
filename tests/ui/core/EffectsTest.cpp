// The effect table, the value kinds' items and texts, the panes' layouts
// and the velocity-effect arbitration.
#include "ui/core/Effects.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace Corvell {
namespace {

using namespace Effects;

TEST(Effects, EveryRecordOfTheTable) {
    struct Case {
        int type;
        const char* name;
        int count;
        ValueDescriptor v1, v2;
    };
    const Case cases[] = {
        {0, "Tapping", 0, {}, {}},
        {2, "BridgeMute", 1, {0, 0, 128, 128}, {}},
        {7, "HammerOn(Legato)", 1, {1, 0, 48, 0}, {}},
        {8, "Slide(Legato)", 2, {1, 0, 48, 0}, {0, 30, 150, 45}},
        {13, "Tremolo", 1, {2, 0, 9, 0}, {}},
        {15, "Trill", 2, {1, 1, 12, 0}, {2, 0, 9, 0}},
        {17, "SlideUp", 2, {1, 1, 12, 0}, {0, 40, 500, 90}},
        {20, "SlideDown(trigger)", 2, {1, 1, 12, 0}, {0, 200, 2000, 300}},
        {24, "UnisonBendTrig", 2, {1, 1, 2, 0}, {0, 100, 800, 200}},
        {28, "Violining", 1, {0, 300, 2000, 1000}, {}},
        {29, "Interval", 1, {3, 0, 8, 0}, {}},
        {30, "FretPosition", 1, {4, -1, 18, 0}, {}},
        {31, "PickPosition", 1, {1, -7, 7, 0}, {}},
        {32, "Wah-Wah", 1, {5, 0, 3, 0}, {}},
        {33, "FeedBack(trigger)", 1, {6, 0, 5, 0}, {}},
        {35, "VeloMute", 1, {1, 1, 127, 80}, {}},
        {37, "String Select", 1, {7, 0, 6, 0}, {}},
        {38, "Mode Toggle", 1, {8, 0, 2, 0}, {}},
        {-2, "velo>", 0, {}, {}},
        {-3, "to Bass'n'Pick", 0, {}, {}},
        {-100, "Slow Strum", 0, {}, {}},
        // Anything else is the unknown effect.
        {99, "(unknown effect)", 0, {}, {}},
        {39, "(unknown effect)", 0, {}, {}},
        {-6, "(unknown effect)", 0, {}, {}},
    };
    auto same = [](const ValueDescriptor& a, const ValueDescriptor& b) {
        return a.kind == b.kind && a.minimum == b.minimum && a.maximum == b.maximum && a.defaultValue == b.defaultValue;
    };
    for (const Case& c : cases) {
        const EffectRecord& r = Lookup(c.type);
        EXPECT_STREQ(r.name, c.name) << c.type;
        EXPECT_EQ(r.valueCount, c.count) << c.type;
        if (c.count > 0) {
            EXPECT_TRUE(same(r.values[0], c.v1)) << c.type;
        }
        if (c.count > 1) {
            EXPECT_TRUE(same(r.values[1], c.v2)) << c.type;
        }
    }
    EXPECT_EQ(Lookup(INT_MIN).type, kUnknownType);

    // Every manual type 0..38 is in the table once; value 2 only uses kinds
    // 0..4; every range holds its default or its kind's items.
    std::set<int> types;
    for (const EffectRecord& r : kTable) {
        EXPECT_TRUE(types.insert(r.type).second) << r.type;
        if (r.valueCount > 1) {
            EXPECT_LE(r.values[1].kind, kFretValue) << r.name;
        }
        for (int i = 0; i < r.valueCount; ++i) {
            const ValueDescriptor& v = r.values[i];
            EXPECT_LE(v.minimum, v.maximum) << r.name;
            if (v.kind >= kLengthValue) {
                EXPECT_EQ(ItemOfValue(v.kind, v.maximum), ItemCount(v.kind) - 1) << r.name;
            }
        }
    }
    for (int t = kFirstManualType; t <= kLastManualType; ++t)
        EXPECT_EQ(types.count(t), 1u) << t;
    EXPECT_EQ(types.size(), size_t(kRecords));
}

TEST(Effects, TheValueKindsItemsAndTooltips) {
    const std::map<int, std::vector<std::string>> ends = {
        {kLengthValue, {"4th", "64T"}},          {kIntervalValue, {"mono", "Pwr 2 Oct"}},
        {kFretValue, {"D#5 ... C6", "Fret 18"}}, {kWahValue, {"MIDI Control", "Modulation"}},
        {kFeedbackValue, {"8", "5'''"}},         {kStringValue, {"1", "auto"}},
        {kModeValue, {"Chords", "BassNPick"}},
    };
    const int counts[kValueKinds] = {0, 0, 10, 9, 20, 4, 6, 7, 3};
    for (int kind = 0; kind < kValueKinds; ++kind) {
        EXPECT_EQ(ItemCount(kind), counts[kind]) << kind;
        if (!counts[kind]) {
            EXPECT_EQ(Items(kind), nullptr);
            continue;
        }
        std::vector<std::string> items;
        for (const char* p = Items(kind); *p; p += std::strlen(p) + 1)
            items.push_back(p);
        EXPECT_EQ(items.front(), ends.at(kind)[0]);
        EXPECT_EQ(items.back(), ends.at(kind)[1]);
        if (kind == kFretValue) {
            EXPECT_EQ(items[4], "Fret 3   *") << "three blanks";
            EXPECT_EQ(items[16], "Fret 15  *") << "two blanks";
            EXPECT_EQ(items[13], "Fret 12 * *");
        }
    }
    EXPECT_EQ(Items(-1), nullptr);
    EXPECT_EQ(Items(9), nullptr);
    // The fret combo's item is the value plus one.
    EXPECT_EQ(ItemOfValue(kFretValue, -1), 0);
    EXPECT_EQ(ValueOfItem(kFretValue, 4), 3);
    EXPECT_EQ(ItemOfValue(kLengthValue, 3), 3);

    struct Part {
        int kind, value;
        const char* shown;
        const char* text;
    };
    const Part parts[] = {
        {kSliderValue, 90, "", "time: 90 ms"},     {kStepsValue, 3, "", "steps: 3"},
        {kLengthValue, 2, "8th", "duration: 8th"}, {kFretValue, -1, "D#5 ... C6", "D#5 ... C6"},
        {kFretValue, 0, "Open", "open"},           {kFretValue, 3, "Fret 3   *", "fret 3"},
        {kIntervalValue, 3, "Octave", "Octave"},   {kStringValue, 6, "auto", "auto"},
    };
    for (const Part& p : parts)
        EXPECT_EQ(TooltipPart(p.kind, p.value, p.shown), p.text);
    const int slideUp[2] = {3, 90};
    EXPECT_EQ(TooltipText(17, slideUp, nullptr), "SlideUp, steps: 3, time: 90 ms");
    EXPECT_EQ(TooltipText(0, nullptr, nullptr), "Tapping");
    EXPECT_EQ(TooltipText(1234, slideUp, nullptr), "(unknown effect)");
}

TEST(Effects, ScaledValuesKeepTheirLeadingZeros) {
    struct Case {
        int value, divisor;
        const char* suffix;
        const char* text;
    };
    const Case cases[] = {
        {120, 1, "ms", " 120ms"}, {-3, 1, "", " -3"},     {120, 0, "", " 120"},   {-5, 10, "", " -0.5"},
        {-15, 10, "", " -1.5"},   {15, 10, "s", " 1.5s"}, {7, 100, "", " 0.07"},  {105, 100, "", " 1.05"},
        {-7, 100, "", " -0.07"},  {-105, 100, "", " -1.05"}, {0, 10, "", " 0.0"}, {1234, 1000, "", " 1.234"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScaledValueText(c.value, c.divisor, c.suffix), c.text) << c.value << "/" << c.divisor;
}

TEST(Effects, PaneLayoutsInOneAndTwoRows) {
    // One row, H = 23, no valued type: the selector takes W - 22.
    PaneLayout l = Layout(200, 23, false);
    EXPECT_TRUE(l.oneRow);
    EXPECT_EQ(l.selector.x, 22);
    EXPECT_EQ(l.selector.width, 178);
    EXPECT_EQ(l.onMark.y, 1);
    EXPECT_EQ(l.onMark.width, 23);
    // With values: half of the rest each.
    l = Layout(200, 23, true);
    EXPECT_EQ(l.selector.width, 89);
    EXPECT_EQ(l.slider.x, 111);
    EXPECT_EQ(l.slider.width, 89 - 32);
    EXPECT_EQ(l.numberEditor.x, 167);
    EXPECT_EQ(l.wideCombo.width, 89 - 22);
    EXPECT_EQ(l.narrowCombo.width, 89 - 64);
    // Two rows, H = 42: c = 21, e = 22.
    l = Layout(200, 42, true);
    EXPECT_FALSE(l.oneRow);
    EXPECT_EQ(l.onMark.width, 22);
    EXPECT_EQ(l.selector.x, 21);
    EXPECT_EQ(l.selector.width, 179);
    EXPECT_EQ(l.slider.y, 21);
    EXPECT_EQ(l.slider.width, 147);
    EXPECT_EQ(l.numberEditor.x, 167);
    EXPECT_EQ(l.wideCombo.width, 158);
    EXPECT_EQ(l.narrowCombo.x, 44);
    EXPECT_EQ(l.narrowCombo.width, 115);
    EXPECT_TRUE(Layout(200, 35, true).oneRow);
    EXPECT_FALSE(Layout(200, 36, true).oneRow);
}

TEST(Effects, OneVelocityEffectStaysOn) {
    std::map<int, int> pars = {{17, 1}, {24, 1}, {39, 0}, {42, 0}, {60, 0}};
    auto get = [&](int p) { return pars[p]; };
    const std::vector<int> active = ActiveVeloKinds(get);
    EXPECT_EQ(active, (std::vector<int>{0, 2})) << "Slide Up and Bend";
    // The chord page offers Slide Up before Bend: Slide Up stays.
    EXPECT_EQ(SurvivingVeloKind({0, 1, 4, 5}, active), 0);
    EXPECT_EQ(SurvivingVeloKind({2, 0}, active), 2);
    EXPECT_EQ(SurvivingVeloKind({4, 5, 6}, active), -1);
    EXPECT_EQ(SurvivingVeloKind({}, active), -1);
    pars[17] = 2;
    pars[60] = 1;
    EXPECT_EQ(ActiveVeloKinds(get), (std::vector<int>{1, 2, 6}));

    struct Case {
        int par, value, kind;
    };
    const Case cases[] = {{17, 1, 0}, {17, 2, 1}, {17, 0, -1}, {24, 1, 2}, {24, 2, 3}, {39, 1, 4},
                          {42, 1, 5}, {60, 1, 6}, {60, 0, -1}, {18, 1, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(VeloKindOf(c.par, c.value), c.kind) << c.par << "=" << c.value;
    EXPECT_STREQ(kVeloTable[4].name, "Slow Strum on higher velo");
    EXPECT_EQ(kVeloTable[4].steps, 0) << "no steps";
    EXPECT_EQ(kVeloTable[6].time, 0) << "no time";
}

} // namespace
} // namespace Corvell
