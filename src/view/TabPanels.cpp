#include "view/TabPanels.h"

#include "ui/Units.h"

namespace Corvell {
namespace TabPanels {

namespace {

constexpr int32_t kText = 2;  // a label record that shows its text
constexpr int32_t kEmpty = 0; // one that stays empty

constexpr int32_t kVSlider = kVerticalSliderKind;
constexpr int32_t kHSlider = kHorizontalSliderKind;
constexpr int32_t kWide = kWideSliderKind;
constexpr int32_t kCheck = kCheckBoxKind;
constexpr int32_t kSwitch = kSwitchKind;
constexpr int32_t kCombo = kComboKind;
constexpr int32_t kNumber = kNumberKind;
constexpr int32_t kLabel = kLabelKind;
constexpr int32_t kVLabel = kVerticalLabelKind;
constexpr int32_t kGroup = kGroupKind;

// DrawText layouts of the labels.
constexpr int32_t kMiddle = 4;  // vertically centred
constexpr int32_t kCentred = 5; // centred both ways
constexpr int32_t kRight = 6;   // right-aligned, vertically centred
constexpr int32_t kBottom = 8;

constexpr int32_t kTiled = 1;
constexpr int32_t kOnce = 0;
constexpr const char* kTabBackground = "top-panel-bg.png";

// ---- Output ----
const LabelRecord kOutputText[] = {
    {kText, "Volume", kCentred}, {kText, "EQ", kCentred}, {kText, "low", kCentred}, {kText, "high", kCentred}};
const ControlDescriptor kOutput[] = {
    {-1, kLabel, 50, 10, 60, 20, &kOutputText[0]},
    {7, kVSlider, 65, 30, 30, 70, nullptr},
    {-1, kLabel, 140, 10, 60, 20, &kOutputText[1]},
    {8, kVSlider, 140, 30, 30, 70, nullptr},
    {-1, kLabel, 140, 95, 30, 20, &kOutputText[2]},
    {9, kVSlider, 170, 30, 30, 70, nullptr},
    {-1, kLabel, 170, 95, 30, 20, &kOutputText[3]},
};

// ---- Tune ----
const LabelRecord kTuneText[] = {
    {kText, "Pitch", kCentred}, {kText, "coarse", kBottom}, {kText, "fine", kBottom},
    {kText, "Modulation", kCentred}, {kText, "depth", kBottom}, {kText, "freq", kBottom},
    {kText, "Sync", kMiddle},
};
const ControlDescriptor kTune[] = {
    {-1, kLabel, 25, 10, 60, 20, &kTuneText[0]},
    {-1, kVLabel, 20, 30, 15, 60, &kTuneText[1]},
    {-1, kVLabel, 55, 30, 15, 60, &kTuneText[2]},
    {10, kVSlider, 25, 30, 25, 70, nullptr},
    {11, kVSlider, 60, 30, 25, 70, nullptr},
    {-1, kLabel, 100, 10, 80, 20, &kTuneText[3]},
    {-1, kVLabel, 105, 30, 15, 60, &kTuneText[4]},
    {-1, kVLabel, 140, 30, 15, 60, &kTuneText[5]},
    {12, kVSlider, 110, 30, 25, 70, nullptr},
    {13, kVSlider, 145, 30, 25, 70, nullptr},
    {15, kCheck, 170, 40, 25, 25, nullptr},
    {-1, kLabel, 195, 40, 50, 25, &kTuneText[6]},
    {14, kCombo, 185, 66, 50, 23, nullptr},
};

// ---- Timing ----
const LabelRecord kTimingText[] = {
    {kText, "Strum Time", kRight}, {kText, "Attack Time", kRight}, {kText, "Release Time", kRight}};
const ControlDescriptor kTiming[] = {
    {-1, kLabel, 20, 20, 120, 30, &kTimingText[0]},
    {-1, kLabel, 20, 50, 120, 30, &kTimingText[1]},
    {-1, kLabel, 20, 80, 120, 30, &kTimingText[2]},
    {0, kHSlider, 150, 20, 70, 30, nullptr},
    {1, kHSlider, 150, 50, 70, 30, nullptr},
    {2, kHSlider, 150, 80, 70, 30, nullptr},
};

// ---- Mixer ----
const LabelRecord kMixerText[] = {
    {kText, "Noises", kCentred}, {kText, "fret", kBottom},       {kText, "release", kBottom},
    {kText, "pick", kBottom},    {kText, "Sounds", kCentred},    {kText, "mute", kBottom},
    {kText, "slow strum", kBottom}, {kText, "switch fx", kBottom},
};
const ControlDescriptor kMixer[] = {
    {-1, kLabel, 40, 10, 70, 20, &kMixerText[0]},
    {-1, kVLabel, 22, 30, 15, 60, &kMixerText[1]},
    {-1, kVLabel, 57, 30, 15, 60, &kMixerText[2]},
    {-1, kVLabel, 92, 30, 15, 60, &kMixerText[3]},
    {21, kVSlider, 25, 30, 30, 70, nullptr},
    {22, kCheck, 35, 100, 10, 10, nullptr},
    {23, kVSlider, 60, 30, 30, 70, nullptr},
    {24, kCheck, 70, 100, 10, 10, nullptr},
    {25, kVSlider, 95, 30, 30, 70, nullptr},
    {26, kCheck, 105, 100, 10, 10, nullptr},
    {-1, kLabel, 170, 10, 70, 20, &kMixerText[4]},
    {-1, kVLabel, 152, 30, 15, 60, &kMixerText[5]},
    {-1, kVLabel, 187, 30, 15, 65, &kMixerText[6]},
    {-1, kVLabel, 222, 30, 15, 65, &kMixerText[7]},
    {27, kVSlider, 155, 30, 30, 70, nullptr},
    {28, kVSlider, 190, 30, 30, 70, nullptr},
    {29, kVSlider, 225, 30, 30, 70, nullptr},
};

// ---- FX Mixer ----
const LabelRecord kFxMixerText[] = {
    {kText, "bridge mute", kBottom}, {kText, "harmonics", kBottom}, {kText, "pinch hrmnx", kBottom},
    {kText, "slap", kBottom},        {kEmpty, "scrapes", kBottom},
};
const ControlDescriptor kFxMixer[] = {
    {-1, kVLabel, 37, 25, 15, 72, &kFxMixerText[0]},
    {-1, kVLabel, 77, 25, 15, 72, &kFxMixerText[1]},
    {-1, kVLabel, 117, 25, 15, 72, &kFxMixerText[2]},
    {-1, kVLabel, 157, 25, 15, 72, &kFxMixerText[3]},
    {-1, kVLabel, 197, 25, 15, 72, &kFxMixerText[4]},
    {16, kVSlider, 40, 30, 30, 70, nullptr},
    {17, kVSlider, 80, 30, 30, 70, nullptr},
    {18, kVSlider, 120, 30, 30, 70, nullptr},
    {19, kVSlider, 160, 30, 30, 70, nullptr},
    {20, kVSlider, 200, 30, 30, 70, nullptr},
};

// ---- Wah: four groups on top of each other, one shown per wah mode ----
const LabelRecord kWahText[] = {
    {kText, "quality", kBottom}, {kText, "freq", kBottom},  {kText, "freq max", kBottom},
    {kText, "Shelf", kMiddle},   {kText, "CC:", kRight},    {kText, "depth", kBottom},
    {kText, "phase", kBottom},   {kText, "rate", kBottom},  {kText, "Sync", kMiddle},
    {kText, "Phase", kMiddle},
};
const LabelRecord& kQuality = kWahText[0];
const LabelRecord& kFreq = kWahText[1];
const LabelRecord& kFreqMax = kWahText[2];
const LabelRecord& kShelf = kWahText[3];
const LabelRecord& kCC = kWahText[4];
const LabelRecord& kDepth = kWahText[5];
const LabelRecord& kPhaseLabel = kWahText[6];
const LabelRecord& kRate = kWahText[7];
const LabelRecord& kSync = kWahText[8];
const LabelRecord& kPhase = kWahText[9];

const ControlDescriptor kWahMidi[] = {
    {-1, kVLabel, 27, 4, 15, 60, &kFreq},
    {-1, kVLabel, 65, 4, 15, 60, &kFreqMax},
    {42, kVSlider, 38, 4, 15, 70, nullptr},
    {43, kVSlider, 76, 4, 15, 70, nullptr},
    {44, kCheck, 107, 20, 23, 23, nullptr},
    {-1, kLabel, 130, 20, 70, 21, &kShelf},
    {-1, kLabel, 107, 51, 30, 21, &kCC},
    {45, kNumber, 142, 50, 44, 23, nullptr},
};
const ControlDescriptor kWahAuto1[] = {
    {-1, kVLabel, 53, 4, 15, 60, &kFreq},
    {-1, kVLabel, 97, 4, 15, 60, &kDepth},
    {46, kVSlider, 64, 4, 15, 70, nullptr},
    {47, kVSlider, 108, 4, 15, 70, nullptr},
};
const ControlDescriptor kWahAuto2[] = {
    {-1, kVLabel, 53, 4, 15, 60, &kFreq},
    {-1, kVLabel, 97, 4, 15, 60, &kDepth},
    {48, kVSlider, 64, 4, 15, 70, nullptr},
    {49, kVSlider, 108, 4, 15, 70, nullptr},
};
const ControlDescriptor kWahModulation[] = {
    {-1, kVLabel, 7, 4, 15, 60, &kFreq},
    {-1, kVLabel, 39, 4, 15, 60, &kDepth},
    {-1, kVLabel, 71, 4, 15, 60, &kPhaseLabel},
    {-1, kVLabel, 103, 4, 15, 60, &kRate},
    {54, kVSlider, 18, 4, 15, 70, nullptr},
    {53, kVSlider, 50, 4, 15, 70, nullptr},
    {51, kVSlider, 82, 4, 15, 70, nullptr},
    {50, kVSlider, 114, 4, 15, 70, nullptr},
    {55, kCheck, 130, 4, 23, 23, nullptr},
    {-1, kLabel, 153, 4, 60, 23, &kSync},
    {56, kCombo, 143, 28, 50, 23, nullptr},
    {52, kCheck, 130, 56, 23, 23, nullptr},
    {-1, kLabel, 153, 56, 60, 23, &kPhase},
};

template <size_t N>
constexpr GroupRecord Group(const ControlDescriptor (&children)[N], const char* image, int32_t mode) {
    return GroupRecord{0, children, int32_t(N), image, mode};
}

const GroupRecord kWahGroups[] = {
    Group(kWahMidi, "wahMIDI.png", kOnce),
    Group(kWahAuto1, "wahAu.png", kOnce),
    Group(kWahAuto2, "wahAu.png", kOnce),
    Group(kWahModulation, "wahMod.png", kOnce),
};
const ControlDescriptor kWah[] = {
    {-1, kVLabel, 17, 25, 15, 60, &kQuality},
    {39, kSwitch, 28, 8, 14, 14, nullptr},
    {40, kCombo, 82, 5, 100, 20, nullptr},
    {41, kVSlider, 28, 34, 14, 70, nullptr},
    {57, kGroup, 54, 30, 195, 95, &kWahGroups[0]},
    {58, kGroup, 54, 30, 195, 95, &kWahGroups[1]},
    {59, kGroup, 54, 30, 195, 95, &kWahGroups[2]},
    {60, kGroup, 54, 30, 195, 95, &kWahGroups[3]},
};

// ---- Accent ----
const LabelRecord kAccentText[] = {
    {kText, "Accent", kMiddle}, {kText, "Alter", kRight}, {kText, "high", kCentred}, {kText, "low", kCentred}};
const ControlDescriptor kAccentControls[] = {
    {-1, kLabel, 20, 1, 55, 21, &kAccentText[0]},
    {-1, kLabel, 80, 1, 55, 21, &kAccentText[1]},
    {5, kWide, 12, 31, 170, 21, nullptr},
    {-1, kLabel, 185, 31, 25, 21, &kAccentText[2]},
    {4, kWide, 12, 57, 170, 21, nullptr},
    {-1, kLabel, 185, 57, 25, 21, &kAccentText[3]},
    {6, kNumber, 140, 0, 41, 23, nullptr},
};

const GroupRecord kTabGroups[kTabs] = {
    Group(kOutput, kTabBackground, kTiled),
    Group(kTune, kTabBackground, kTiled),
    GroupRecord{0, nullptr, 0, kTabBackground, kTiled}, // the set-up panel goes here
    Group(kTiming, kTabBackground, kTiled),
    Group(kMixer, kTabBackground, kTiled),
    Group(kFxMixer, kTabBackground, kTiled),
    Group(kWah, kTabBackground, kTiled),
};
const GroupRecord kAccentGroup = Group(kAccentControls, "accent-panel.png", kOnce);

constexpr ControlDescriptor Panel(int32_t id, const GroupRecord& g) { return {id, kGroup, 0, 0, 264, 132, &g}; }

constexpr const void* kInverted = "inverted"; // any non-null mark

} // namespace

const char kDurations[] = "4th\0" "4T\0" "8th\0" "8T\0" "16th\0" "16T\0" "32nd\0" "32T\0" "64th\0" "64T\0";

const Tab kTabList[] = {
    {"Output", Panel(-1, kTabGroups[0])}, {"Tune", Panel(-1, kTabGroups[1])},
    {"Setup", Panel(61, kTabGroups[2])},  {"Timing", Panel(-1, kTabGroups[3])},
    {"Mixer", Panel(-1, kTabGroups[4])},  {"FX Mixer", Panel(-1, kTabGroups[5])},
    {"Wah", Panel(38, kTabGroups[6])},
};

const ControlDescriptor kAccent = {-1, kGroup, 20, 55, 220, 80, &kAccentGroup};

const SamplerBinding kBindingList[] = {
    {3, 5, "Accent velocity", Units::Plain(), kSliderAdapter, nullptr},
    {4, 5, "Accent velocity low", Units::Plain(), kSliderAdapter, nullptr},
    {5, 6, "Accent velocity high", Units::Plain(), kSliderAdapter, nullptr},
    {6, 32, "Alter Samples", Units::Plain(), kNumberAdapter, nullptr},
    {1, 13, "Attack time", Units::Percent(), kSliderAdapter, nullptr},
    {2, 15, "Release time", Units::PercentFrom100(), kSliderAdapter, nullptr},
    {7, 0, "Master Volume", Units::Decibel(), kSliderAdapter, nullptr},
    {8, 17, "EQ low", Units::Decibel(), kSliderAdapter, nullptr},
    {9, 16, "EQ high", Units::Decibel(), kSliderAdapter, nullptr},
    {10, 1, "Pitch (coarse)", Units::Semitones(), kSliderAdapter, nullptr},
    {11, 2, "Pitch (fine)", Units::Cents(), kSliderAdapter, nullptr},
    {12, 3, "Modulation depth", Units::Percent(), kSliderAdapter, nullptr},
    {13, 4, "Modulation freq", Units::Hertz(), kSliderAdapter, nullptr},
    {15, 43, "Sync with tempo", nullptr, kCheckAdapter, nullptr},
    {14, 43, "Modulation duration", nullptr, kComboAdapter, kDurations},
    {21, 10, "Fret noise", Units::Decibel(), kSliderAdapter, nullptr},
    {22, 10, "Fret noise", nullptr, kCheckAdapter, nullptr},
    {23, 11, "Release noise", Units::Decibel(), kSliderAdapter, nullptr},
    {24, 11, "Release noise", nullptr, kCheckAdapter, nullptr},
    {25, 12, "Pick noise", Units::Decibel(), kSliderAdapter, nullptr},
    {26, 12, "Pick noise", nullptr, kCheckAdapter, nullptr},
    {27, 7, "Muted sound", Units::Decibel(), kSliderAdapter, nullptr},
    {28, 8, "Slow strum", Units::Decibel(), kSliderAdapter, nullptr},
    {29, 9, "Key/Pedal Switch FX", Units::Decibel(), kSliderAdapter, nullptr},
    {16, 53, "Bridge Mute", Units::Decibel(), kSliderAdapter, nullptr},
    {17, 57, "Harmonics", Units::Decibel(), kSliderAdapter, nullptr},
    {18, 54, "Pinch Harmonics", Units::Decibel(), kSliderAdapter, nullptr},
    {19, 56, "Scrapes", Units::Decibel(), kSliderAdapter, nullptr},
    {20, 55, "Scrapes", Units::Decibel(), kSliderAdapter, nullptr},
    {30, 18, "Tremolo", nullptr, kCheckAdapter, nullptr},
    {31, 18, "Tremolo depth", Units::Percent(), kSliderAdapter, nullptr},
    {32, 19, "Tremolo freq", Units::Hertz(), kSliderAdapter, nullptr},
    {33, 20, "Chorus", nullptr, kCheckAdapter, nullptr},
    {34, 20, "Chorus level", Units::Percent(), kSliderAdapter, nullptr},
    {35, 23, "Chorus freq", Units::Hertz(), kSliderAdapter, nullptr},
    {36, 22, "Chorus depth 1", Units::Percent(), kSliderAdapter, nullptr},
    {37, 24, "Chorus depth 2", Units::Percent(), kSliderAdapter, nullptr},
    {41, 59, "Quality", Units::PerCents(), kSliderAdapter, nullptr},
    {42, 60, "Freq", Units::HzExp(), kSliderAdapter, nullptr},
    {43, 70, "Freq(max)", Units::HzExp(), kSliderAdapter, nullptr},
    {44, 70, "Shelf", nullptr, kCheckAdapter, nullptr},
    {46, 67, "Freq", Units::HzExp(), kSliderAdapter, nullptr},
    {47, 66, "Depth", Units::Percent(), kSliderAdapter, nullptr},
    {48, 69, "Freq", Units::HzExp(), kSliderAdapter, nullptr},
    {49, 68, "Depth", Units::Percent(), kSliderAdapter, nullptr},
    {54, 65, "Freq", Units::HzExp(), kSliderAdapter, nullptr},
    {53, 64, "Depth", Units::Percent(), kSliderAdapter, nullptr},
    {51, 63, "Phase", Units::Degrees(), kSliderAdapter, nullptr},
    {50, 62, "Rate", Units::Hertz(), kSliderAdapter, nullptr},
    {55, 61, "Sync with notes", nullptr, kCheckAdapter, nullptr},
    {56, 61, "Sync note duration", nullptr, kComboAdapter, kDurations},
    {52, 63, "Modulation Phase", nullptr, kCheckAdapter, nullptr},
    {62, 37, "Quick Load", nullptr, kCheckAdapter, kInverted},
};

} // namespace TabPanels
} // namespace Corvell
