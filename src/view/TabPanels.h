#pragma once
// The seven tab panels, the accent panel and the bindings of their
// controls to the sample player's settings, as constant tables.
#include "ui/ControlAdapters.h"
#include "ui/PaneFactory.h"

namespace Corvell {
namespace TabPanels {

constexpr int kTabs = 7;
constexpr int kLeftTabs = 3; // "Output", "Tune", "Setup"; the rest are on the right
constexpr int kBindings = 53;

struct Tab {
    const char* name;
    ControlDescriptor panel; // a group
};

extern const Tab kTabList[kTabs];
extern const ControlDescriptor kAccent;
extern const SamplerBinding kBindingList[kBindings];
// The note lengths of the duration combos: "4th" to "64T".
extern const char kDurations[];

} // namespace TabPanels
} // namespace Corvell
