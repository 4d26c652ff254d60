// Controls bound by table to a site: which records bind, each adapter kind
// in both directions, notices and resets, and panes or hosts that go first.
#include "TestImageSource.h"
#include "TestRootPane.h"
#include "ui/CheckMark.h"
#include "ui/Combo.h"
#include "ui/ControlAdapters.h"
#include "ui/NumEditor.h"
#include "ui/PaneFactory.h"
#include "ui/Slider.h"
#include "ui/Units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Corvell::Test {
namespace {

// Settings in maps; writes are clamped to the setting's range, or refused.
class MapSite : public ControlSite {
public:
    int32_t GetValue(int32_t id) override { return values[id]; }
    void SetValue(int32_t id, int32_t v) override {
        log.push_back("SetValue " + std::to_string(id) + " " + std::to_string(v));
        if (refuse)
            return;
        const ControlInfo& i = infos[id];
        values[id] = i.kind ? std::clamp(v, i.minimum, i.maximum) : v;
    }
    void GetInfo(int32_t id, ControlInfo* out) override {
        auto it = infos.find(id);
        *out = it == infos.end() ? ControlInfo{} : it->second;
    }
    bool GetSwitch(int32_t id) override { return switches[id]; }
    void SetSwitch(int32_t id, bool on) override {
        log.push_back("SetSwitch " + std::to_string(id) + (on ? " on" : " off"));
        if (!refuse)
            switches[id] = on;
    }
    void BeginEdit(int32_t id) override { log.push_back("BeginEdit " + std::to_string(id)); }
    void EndEdit(int32_t id) override { log.push_back("EndEdit " + std::to_string(id)); }
    void AddListener(int32_t, Delegate*) override {}
    void RemoveListener(int32_t, Delegate*) override {}

    std::map<int32_t, int32_t> values;
    std::map<int32_t, bool> switches;
    std::map<int32_t, ControlInfo> infos;
    std::vector<std::string> log;
    bool refuse = false;
};

// The panes of a small panel, placed in a 400 x 200 window at (0, 0).
const ControlDescriptor kPanel[] = {
    {7, kVerticalSliderKind, 10, 10, 30, 70, nullptr},
    {21, kVerticalSliderKind, 50, 10, 30, 70, nullptr},
    {22, kCheckBoxKind, 60, 90, 20, 20, nullptr},
    {14, kComboKind, 100, 10, 60, 23, nullptr},
    {6, kNumberKind, 100, 50, 60, 20, nullptr},
    {62, kCheckBoxKind, 200, 10, 20, 20, nullptr},
    {-1, kLabelKind, 200, 50, 60, 20, nullptr},
    {90, kLabelKind, 200, 80, 60, 20, nullptr},
};
const char kItems[] = "4th\0" "4T\0" "8th\0" "8T\0" "16th\0" "16T\0" "32nd\0" "32T\0" "64th\0" "64T\0";
const char* const kMark = "inverted";

const SamplerBinding kBindings[] = {
    {3, 5, "Missing", nullptr, kSliderAdapter, nullptr},           // no such pane
    {7, 0, "Master Volume", Units::Decibel(), kSliderAdapter, nullptr},
    {6, 32, "Alter Samples", Units::Plain(), kNumberAdapter, nullptr},
    {22, 10, "Fret noise", nullptr, kCheckAdapter, nullptr},
    {14, 43, "Modulation duration", nullptr, kComboAdapter, kItems},
    {21, 10, "Fret noise", Units::Decibel(), kSliderAdapter, nullptr},
    {62, 37, "Quick Load", nullptr, kCheckAdapter, kMark},
    {7, 1, "Wrong kind", nullptr, kNumberAdapter, nullptr},        // a slider is no number editor
    {90, 2, "Label", nullptr, kSliderAdapter, nullptr},            // a label is no slider
    {14, 3, "Combo", nullptr, kCheckAdapter, nullptr},             // a combo is no toggle
    {22, 4, "Check", nullptr, kComboAdapter, nullptr},             // a toggle is no combo
    {6, 8, "Odd kind", nullptr, 999, nullptr},                     // no adapter of that kind
    {-1, 9, "No pane", nullptr, kSliderAdapter, nullptr},          // id -1 binds nothing
};

struct Collected : TooltipHandler {
    ~Collected() { DeleteTooltips(); }
    void AddTooltip(TooltipNotifier* n) override { notifiers.emplace_back(n); }
    void DeleteTooltips() override {
        while (!notifiers.empty())
            notifiers.pop_back();
    }
    std::vector<std::unique_ptr<TooltipNotifier>> notifiers;
};

struct Adapters : ::testing::Test {
    Adapters() { ClearImageCache(); }
    ~Adapters() override {
        host.reset();
        panes.Clear();
        ClearImageCache();
    }
    TestImageSource images{TARROW_SOURCE_DIR "/src/resources"};
    TestRootPane root{400, 200};
    PaneSet panes;
    MapSite site;
    std::unique_ptr<ControlAdapterHost> host{new ControlAdapterHost(&site)};

    void SetUp() override {
        site.infos[0] = {2, -600, 60, -60, 0};
        site.infos[10] = {2, -600, 60, -60, 0};
        site.infos[32] = {2, 0, 8, 0, 0};
        site.values = {{0, -120}, {10, -300}, {32, 3}, {43, 4}, {37, 1}};
        site.switches[10] = true;
        for (const ControlDescriptor& d : kPanel)
            BuildPane(&root, d, panes);
        host->AddBindings(&root, int32_t(std::size(kBindings)), kBindings);
    }
    template <class T>
    T* P(int32_t id) {
        return dynamic_cast<T*>(root.FindById(id));
    }
    std::vector<int32_t> AdapterIds() {
        std::vector<int32_t> ids;
        for (size_t i = 0; i < host->Count(); ++i)
            ids.push_back(host->Adapter(i)->Id());
        return ids;
    }
    void ClickOn(int32_t id) {
        const Rect b = root.FindById(id)->GetBounds();
        root.Click(b.x + b.width / 2, b.y + b.height / 2);
    }
};

TEST_F(Adapters, OnlyPanesOfTheRightKindBindAndTheAdaptersAreSortedBySetting) {
    EXPECT_EQ(AdapterIds(), (std::vector<int32_t>{0, 10, 10, 32, 37, 43}));
    for (size_t i = 0; i < host->Count(); ++i) {
        const SamplerBinding& b = host->Adapter(i)->Binding();
        EXPECT_EQ(host->Adapter(i)->GetPane(), root.FindById(b.paneId)) << b.name;
        EXPECT_STRNE(b.name, "Wrong kind");
    }
    // Nothing reached the site but reads while binding.
    EXPECT_TRUE(site.log.empty());
}

TEST_F(Adapters, EachKindShowsTheSitesValueWithItsRangeAndDefault) {
    auto* volume = P<Slider>(7);
    EXPECT_EQ(volume->GetMinimum(), -600);
    EXPECT_EQ(volume->GetMaximum(), 60);
    EXPECT_EQ(volume->GetDefault(), -60);
    EXPECT_EQ(volume->GetValue(), -120);
    EXPECT_EQ(P<Slider>(21)->GetValue(), -300);
    EXPECT_TRUE(P<CheckMark>(22)->IsOn());
    EXPECT_FALSE(P<CheckMark>(62)->IsOn()) << "inverted: value 1 shows unchecked";
    auto* combo = P<Combo>(14);
    EXPECT_EQ(combo->GetItemCount(), 10);
    EXPECT_STREQ(combo->GetItemText(9).c_str(), "64T");
    EXPECT_EQ(combo->GetSelectedIndex(), 4);
    auto* alter = P<NumEditor>(6);
    EXPECT_EQ(alter->GetMinimum(), 0);
    EXPECT_EQ(alter->GetMaximum(), 8);
    EXPECT_EQ(alter->GetValue(), 3);

    Collected tips;
    host->CollectTooltips(tips);
    std::vector<std::string> texts;
    for (auto& n : tips.notifiers)
        texts.push_back(n->GetText().c_str());
    EXPECT_EQ(texts, (std::vector<std::string>{"Master Volume: -12.0 dB", "Fret noise: On",
                                               "Fret noise: -30.0 dB", "Alter Samples: 3", "Quick Load: Off",
                                               "Modulation duration: 16th"}));
}

TEST_F(Adapters, UserChangesAreWrittenAndWhatTheSiteKeepsIsShown) {
    // A check box writes the switch it does not show.
    ClickOn(22);
    EXPECT_EQ(site.log, (std::vector<std::string>{"SetSwitch 10 off"}));
    EXPECT_FALSE(P<CheckMark>(22)->IsOn());

    // The inverted one writes the value: unchecked, a click writes 0.
    site.log.clear();
    ClickOn(62);
    EXPECT_EQ(site.log, (std::vector<std::string>{"SetValue 37 0"}));
    EXPECT_TRUE(P<CheckMark>(62)->IsOn());
    site.log.clear();
    ClickOn(62);
    EXPECT_EQ(site.log, (std::vector<std::string>{"SetValue 37 1"}));
    EXPECT_FALSE(P<CheckMark>(62)->IsOn());

    // Choosing the third item is one edit writing 2.
    site.log.clear();
    root.menuAnswers = {2};
    ClickOn(14);
    EXPECT_EQ(site.log, (std::vector<std::string>{"BeginEdit 43", "SetValue 43 2", "EndEdit 43"}));
    EXPECT_EQ(P<Combo>(14)->GetSelectedIndex(), 2);

    // A step of the number editor's spin button is written as one edit.
    site.log.clear();
    const Rect e = root.FindById(6)->GetBounds();
    const int32_t spinX = e.x + e.width - 8, lowerY = e.y + e.height - 4;
    root.MoveTo(spinX, lowerY);
    root.Press(spinX, lowerY);
    root.Release(spinX, lowerY);
    EXPECT_EQ(site.log, (std::vector<std::string>{"BeginEdit 32", "SetValue 32 2", "EndEdit 32"}));
    EXPECT_EQ(site.values[32], 2);
    EXPECT_EQ(P<NumEditor>(6)->GetValue(), 2);

    // A slider drag goes through the site as well.
    site.log.clear();
    const Rect s = root.FindById(7)->GetBounds();
    root.Drag(s.x + s.width / 2, s.y + s.height / 2, s.x + s.width / 2, s.y + 2);
    ASSERT_GE(site.log.size(), 3u);
    EXPECT_EQ(site.log.front(), "BeginEdit 0");
    EXPECT_EQ(site.log.back(), "EndEdit 0");
    EXPECT_GT(site.values[0], -120);
    // A bound slider moves when the site tells of the change.
    host->OnParameterChanged(0);
    EXPECT_EQ(P<Slider>(7)->GetValue(), site.values[0]);
}

TEST_F(Adapters, ASiteThatRefusesAWriteLeavesEveryControlShowingWhatItHolds) {
    site.refuse = true;
    ClickOn(22);
    EXPECT_TRUE(P<CheckMark>(22)->IsOn());
    ClickOn(62);
    EXPECT_FALSE(P<CheckMark>(62)->IsOn());
    root.menuAnswers = {7};
    ClickOn(14);
    EXPECT_EQ(P<Combo>(14)->GetSelectedIndex(), 4);
    const Rect e = root.FindById(6)->GetBounds();
    root.MoveTo(e.x + e.width - 8, e.y + e.height - 4);
    root.Press(e.x + e.width - 8, e.y + e.height - 4);
    root.Release(e.x + e.width - 8, e.y + e.height - 4);
    EXPECT_EQ(P<NumEditor>(6)->GetValue(), 3) << "the editor goes back to the site's value";
    EXPECT_EQ(std::count_if(site.log.begin(), site.log.end(),
                            [](const std::string& l) { return l.rfind("Set", 0) == 0; }),
              4)
        << "every write was tried";
}

TEST_F(Adapters, ANoticeUpdatesEveryControlOfItsSettingAndAResetRereadsRanges) {
    site.values[10] = -100;
    site.switches[10] = false;
    site.values[0] = 30; // changed without a notice: stays unseen
    host->OnParameterChanged(10);
    EXPECT_EQ(P<Slider>(21)->GetValue(), -100);
    EXPECT_FALSE(P<CheckMark>(22)->IsOn());
    EXPECT_EQ(P<Slider>(7)->GetValue(), -120);
    host->OnParameterChanged(11); // no adapter: nothing happens
    EXPECT_EQ(P<Slider>(7)->GetValue(), -120);

    // A reset may bring other ranges (an engine attached late): they are read again.
    site.infos[0] = {2, -900, 120, 0, 0};
    site.infos[32] = {2, 0, 20, 5, 0};
    site.values[32] = 15;
    site.values[37] = 0;
    host->OnReset();
    EXPECT_EQ(P<Slider>(7)->GetMinimum(), -900);
    EXPECT_EQ(P<Slider>(7)->GetMaximum(), 120);
    EXPECT_EQ(P<Slider>(7)->GetValue(), 30);
    EXPECT_EQ(P<NumEditor>(6)->GetMaximum(), 20);
    EXPECT_EQ(P<NumEditor>(6)->GetValue(), 15);
    EXPECT_TRUE(P<CheckMark>(62)->IsOn());
}

TEST_F(Adapters, PanesAndHostsMayGoInEitherOrder) {
    // Panes first: the adapters no longer touch them (ASan watches).
    const Rect s = root.FindById(7)->GetBounds();
    root.MoveTo(s.x + s.width / 2, s.y + s.height / 2);
    root.Press(s.x + s.width / 2, s.y + s.height / 2);
    panes.Clear();
    EXPECT_EQ(site.log.back(), "EndEdit 0") << "the open drag was closed";
    site.values[10] = 5;
    host->OnParameterChanged(10);
    host->OnReset();
    Collected tips;
    host->CollectTooltips(tips);
    EXPECT_TRUE(tips.notifiers.empty());
    host.reset();

    // The host first: the panes stay, and write nothing any more.
    for (const ControlDescriptor& d : kPanel)
        BuildPane(&root, d, panes);
    host.reset(new ControlAdapterHost(&site));
    host->AddBindings(&root, int32_t(std::size(kBindings)), kBindings);
    host.reset();
    site.log.clear();
    ClickOn(22);
    root.menuAnswers = {1};
    ClickOn(14);
    root.Drag(s.x + s.width / 2, s.y + s.height / 2, s.x + s.width / 2, s.y + 2);
    EXPECT_TRUE(site.log.empty());
    EXPECT_EQ(P<Slider>(7)->GetAdapter(), nullptr);
}

} // namespace
} // namespace Corvell::Test
