#include "EngineModes.h"
#include "ProxyFixtures.h"
#include "SubstituteHost.h"
#include "TestRootPane.h"
#include "binding/GuitarSelector.h"
#include "binding/SamplerStatus.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace Corvell {
namespace {

using namespace test;
using Substitute::Notifier;
using Substitute::SubstituteHost;
using Test::TestRootPane;

std::string Text(const String& s) { return s.c_str(); }

// The selector in a window, over the guitar proxy and the substitute engine.
struct Selector : ::testing::TestWithParam<Notifier::Mode> {
    SubstituteHost host{GetParam()};
    ManualUiThread ui;
    RecordingSite site{&ui};
    CVGuitar guitar{&site};
    TestRootPane root;
    std::unique_ptr<GuitarSelector> combo;

    void SetUp() override {
        site.SetGuitar(&guitar);
        combo.reset(new GuitarSelector(&guitar));
        combo->SetBounds(Rect{10, 10, 270, 20});
        root.AddChild(combo.get());
    }
    void TearDown() override {
        combo.reset();
        guitar.Attach(nullptr);
    }
    void Settle() {
        host.Notices().Flush();
        ui.RunPosted();
    }
    std::vector<std::string> Items() {
        std::vector<std::string> out;
        for (int i = 0; i < combo->GetItemCount(); ++i)
            out.push_back(Text(combo->GetItemText(i)));
        return out;
    }
    size_t Selects() { return host.Log().Count("IGuitar", "SelectGuitar"); }
};

TARROW_BOTH_ENGINE_MODES(Selector);

TEST_P(Selector, FollowsTheListOfGuitars) {
    struct Case {
        std::vector<Substitute::SubstituteGuitar::Guitar> guitars;
        int current;
        std::string emptyText;
        std::vector<std::string> items;
        int selected;
    };
    const Case cases[] = {
        {{}, 0, GuitarSelector::kNotFound, {}, -1},
        {{{"Clean Single-Coil", 500}}, 0, "Clean Single-Coil", {}, -1},
        {{{"Clean Single-Coil", 500}, {"Crunch Humbucker", 900}, {"Jazz Hollow Body", 1536}},
         2,
         GuitarSelector::kSelect,
         {"Clean Single-Coil", "Crunch Humbucker", "Jazz Hollow Body"},
         2},
        {{}, 0, GuitarSelector::kNotFound, {}, -1}, // the list emptied again
    };
    ASSERT_TRUE(guitar.Attach(static_cast<IGuitar*>(host.GetInterface("IGuitar"))));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.guitars.size());
        host.Guitar().SetGuitars(c.guitars, c.current);
        Settle();
        EXPECT_EQ(c.emptyText, Text(combo->GetEmptyText()));
        EXPECT_EQ(c.items, Items());
        EXPECT_EQ(c.selected, combo->GetSelectedIndex());
    }
    EXPECT_EQ(0u, Selects()) << "showing a list loads nothing";

    guitar.Attach(nullptr);
    EXPECT_EQ(GuitarSelector::kNotFound, Text(combo->GetEmptyText())) << "detached, the list is gone";
}

TEST_P(Selector, ChoosingAGuitarLoadsItUnlessItIsTheCurrentOneStillLoading) {
    ASSERT_TRUE(guitar.Attach(static_cast<IGuitar*>(host.GetInterface("IGuitar"))));
    host.Guitar().SetGuitars({{"A", 300}, {"B", 600}, {"C", 1536}});
    Settle();

    root.menuAnswers = {2};
    root.Click(20, 20);
    ASSERT_EQ(1u, Selects());
    EXPECT_EQ(2, host.Guitar().GetCurrentGuitar());
    EXPECT_TRUE(host.Sampler().IsLoading());
    Settle();
    EXPECT_EQ(2, combo->GetSelectedIndex()) << "the loading guitar is the current one";

    // Chosen again while it loads: no second load.
    host.Sampler().StepLoad();
    root.menuAnswers = {2};
    root.Click(20, 20);
    EXPECT_EQ(1u, Selects());
    EXPECT_TRUE(host.Sampler().IsLoading());

    // Another one restarts the load.
    root.menuAnswers = {0};
    root.Click(20, 20);
    EXPECT_EQ(2u, Selects());
    EXPECT_EQ(0, host.Sampler().GetParameter(ISampler::LoadingProgress));
    Settle();
    EXPECT_EQ(0, combo->GetSelectedIndex());
}

// An engine with one guitar that reports another index as current and
// notifies on every selection: the selector loads the guitar once per list.
struct Stubborn : IGuitar {
    std::string name = "Only";
    int selects = 0;
    Ref<MulticastDelegate> listeners{new MulticastDelegate};
    int GetGuitarCount() override { return 1; }
    void GetGuitarInfo(int, GuitarInfo* out) override {
        out->flags = 0;
        std::snprintf(out->name, sizeof out->name, "%s", name.c_str());
    }
    int GetCurrentGuitar() override { return 1; }
    void SelectGuitar(int) override {
        ++selects;
        if (selects < 50)
            listeners->Invoke();
    }
    void AddGuitarListener(Delegate* l) override { listeners->Add(l); }
    bool RemoveGuitarListener(Delegate* l) override { return listeners->Remove(l); }
};

TEST_P(Selector, TheOnlyGuitarIsLoadedOncePerList) {
    Stubborn engine;
    ASSERT_TRUE(guitar.Attach(&engine));
    ui.RunPosted();
    EXPECT_EQ(1, engine.selects) << "one guitar that is not the current one is loaded";
    EXPECT_EQ("Only", Text(combo->GetEmptyText()));
    for (int i = 0; i < 3; ++i)
        engine.listeners->Invoke();
    ui.RunPosted();
    EXPECT_EQ(1, engine.selects) << "notices about the same list load nothing more";

    engine.name = "Replaced";
    engine.listeners->Invoke();
    ui.RunPosted();
    EXPECT_EQ(2, engine.selects) << "a new list loads its guitar";
    EXPECT_EQ("Replaced", Text(combo->GetEmptyText()));
    guitar.Attach(nullptr);
}

TEST(SamplerText, MemoryInMegabytesThenRoundedGigabytes) {
    const std::pair<int, const char*> cases[] = {
        {0, " 0 MB"},        {999, " 999 MB"},     {1000, "1.0 GB"}, {1023, "1.0 GB"}, {1024, "1.0 GB"},
        {1075, "1.0 GB"},    {1076, "1.1 GB"},     {1536, "1.5 GB"}, {2047, "2.0 GB"}, {2048, "2.0 GB"},
        {10239, "10.0 GB"},  {-5, " -5 MB"},
    };
    for (const auto& [mb, text] : cases)
        EXPECT_EQ(text, Text(SamplerStatus::MemoryText(mb))) << mb;
}

TEST(SamplerText, LoadingProgress) {
    const std::pair<int, const char*> cases[] = {
        {0, "Loading 0%"}, {9, "Loading 0%"}, {455, "Loading 45%"}, {999, "Loading 99%"},
        {1000, "Loaded"},  {1400, "Loaded"},
    };
    for (const auto& [progress, text] : cases)
        EXPECT_EQ(text, Text(SamplerStatus::LoadingText(progress))) << progress;
}

// The read-outs in a window, over the sampler proxy and the substitute engine.
struct Readouts : ::testing::TestWithParam<Notifier::Mode> {
    SubstituteHost host{GetParam()};
    ManualUiThread ui;
    RecordingSite site{&ui};
    CVSampler sampler{&site};
    TestRootPane root;
    ALabel voices, memory;
    TooltipViewer line;
    std::unique_ptr<SamplerStatus> status;

    void SetUp() override {
        site.SetSampler(&sampler);
        voices.SetBounds(Rect{0, 0, 40, 20});
        memory.SetBounds(Rect{50, 0, 40, 20});
        line.SetBounds(Rect{0, 30, 270, 20});
        root.AddChild(&voices);
        root.AddChild(&memory);
        root.AddChild(&line);
        status.reset(new SamplerStatus(&sampler, &root, &voices, &memory, &line));
    }
    void TearDown() override {
        status.reset();
        sampler.Attach(nullptr);
    }
    void Attach() {
        ASSERT_TRUE(sampler.Attach(static_cast<ISampler*>(host.GetInterface("ISampler"))));
        Settle();
    }
    void Settle() {
        host.Notices().Flush();
        ui.RunPosted();
    }
    std::string Voices() { return Text(voices.GetText()); }
};

TARROW_BOTH_ENGINE_MODES(Readouts);

TEST_P(Readouts, WithoutEngineShowNothing) {
    root.AdvanceTime(500);
    EXPECT_EQ("", Voices());
    EXPECT_EQ("", Text(memory.GetText()));
    EXPECT_EQ("", Text(line.GetText()));
    Attach();
    EXPECT_EQ("v:  0", Voices());
    EXPECT_EQ(" 0 MB", Text(memory.GetText()));
    sampler.Attach(nullptr);
    Settle();
    root.AdvanceTime(100);
    EXPECT_EQ("", Voices()) << "detached, nothing stale stays";
    EXPECT_EQ("", Text(memory.GetText()));
}

TEST_P(Readouts, ALoadShowsItsProgressAndMemoryThenLoadedForThreeSeconds) {
    Attach();
    host.Sampler().BeginLoad(1536);
    Settle();
    EXPECT_EQ("Loading 0%", Text(line.GetText()));
    std::vector<std::string> seen;
    while (host.Sampler().StepLoad()) {
        Settle();
        seen.push_back(Text(line.GetText()));
    }
    ASSERT_EQ(size_t(Substitute::SubstituteSampler::kLoadSteps), seen.size());
    EXPECT_EQ("Loading 5%", seen.front());
    EXPECT_EQ("Loading 95%", seen[seen.size() - 2]);
    EXPECT_EQ("Loaded", seen.back());
    EXPECT_EQ("1.5 GB", Text(memory.GetText()));
    root.AdvanceTime(2900);
    EXPECT_EQ("Loaded", Text(line.GetText()));
    root.AdvanceTime(200);
    EXPECT_EQ("", Text(line.GetText()));
}

TEST_P(Readouts, ProgressIsShownOnlyWhenItsPercentChanges) {
    Attach();
    host.Sampler().SetStatus(ISampler::LoadingProgress, 451);
    Settle();
    EXPECT_EQ("Loading 45%", Text(line.GetText()));
    line.Show("Pick position"); // the pointer over a control
    host.Sampler().SetStatus(ISampler::LoadingProgress, 458);
    Settle();
    EXPECT_EQ("Pick position", Text(line.GetText()));
    host.Sampler().SetStatus(ISampler::LoadingProgress, 460);
    Settle();
    EXPECT_EQ("Loading 46%", Text(line.GetText()));
}

TEST_P(Readouts, MoreVoicesShowAtOnceFewerOnlyAfterASecond) {
    Attach();
    root.AdvanceTime(TooltipViewer::kClearDelay); // the attach's "Loaded" goes
    auto voicesNow = [&](int n) { host.Sampler().SetStatus(ISampler::Voices, n); };
    voicesNow(12);
    root.AdvanceTime(100);
    EXPECT_EQ("v: 12", Voices());
    voicesNow(3);
    root.AdvanceTime(900);
    EXPECT_EQ("v: 12", Voices());
    root.AdvanceTime(100);
    EXPECT_EQ("v:  3", Voices());

    // A short drop never shows.
    voicesNow(8);
    root.AdvanceTime(100);
    EXPECT_EQ("v:  8", Voices());
    voicesNow(1);
    root.AdvanceTime(500);
    voicesNow(8);
    root.AdvanceTime(1000);
    EXPECT_EQ("v:  8", Voices());
    voicesNow(150);
    root.AdvanceTime(100);
    EXPECT_EQ("v:150", Voices());

    // Idle: an unchanged count repaints nothing.
    root.ClearInvalidations();
    root.AdvanceTime(1000);
    EXPECT_TRUE(root.invalidations.empty());
}

TEST_P(Readouts, ReadoutsOutliveTheirPanesQuietly) {
    Attach();
    root.AdvanceTime(TooltipViewer::kClearDelay);
    auto* v = new ALabel;
    auto* m = new ALabel;
    auto* l = new TooltipViewer;
    for (Pane* p : {static_cast<Pane*>(v), static_cast<Pane*>(m), static_cast<Pane*>(l)})
        root.AddChild(p);
    status.reset(new SamplerStatus(&sampler, &root, v, m, l));
    delete v; // the display closed before the read-outs
    delete m;
    delete l;
    host.Sampler().BeginLoad(200);
    while (host.Sampler().StepLoad())
        Settle();
    host.Sampler().SetStatus(ISampler::Voices, 4);
    root.AdvanceTime(300); // ASan: nothing touches the deleted panes
    status.reset();
    EXPECT_EQ(0u, root.RunningTimers()) << "the poll stops with the read-outs";
}

} // namespace
} // namespace Corvell
