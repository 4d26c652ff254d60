// The velocity-effect view against the substitute engine: which kind
// stays on when a page shows it, the user's choices, engine notices, the
// edit of a value, and its tooltip.
#include "ViewFixture.h"
#include "ui/core/FunctionDelegate.h"
#include "view/VeloFxView.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace Corvell {
namespace {

struct VeloFx : Test::ViewFixture {
    std::unique_ptr<BasicVeloFxView> velo;
    Ref<Delegate1<ERnCPars>> relay;
    void SetUp() override {
        AttachInWindow();
        velo.reset(new BasicVeloFxView(&view->RnC()));
        velo->Create(&root, Rect{300, 300, 240, 110});
        // As the page does: every notice goes to the view.
        relay = Fn<ERnCPars>([this](ERnCPars p) { velo->OnParameterChanged(p); });
        view->RnC().AddParameterListener(relay.Get());
    }
    void TearDown() override {
        view->RnC().RemoveParameterListener(relay.Get());
        velo.reset();
    }
    Substitute::SubstituteRnC& engine() { return host.RnC(); }
    int Par(int id) { return engine().GetParameter(ERnCPars(id)); }
    void Engine(int id, int v) {
        engine().EngineSetParameter(ERnCPars(id), v);
        Settle();
    }
    std::vector<std::string> Sets() {
        std::vector<std::string> out;
        for (const auto& c : host.Log().Calls())
            if (c.op == "SetParameter" || c.op == "TouchParameter")
                out.push_back(c.op + " " + std::to_string(c.args[0]) + " " + std::to_string(c.args[1]));
        return out;
    }
};

TARROW_BOTH_ENGINE_MODES(VeloFx);

TEST_P(VeloFx, ShowingAPageKeepsOnlyTheFirstListedActiveKind) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, int>> on; // enable parameter, value
        std::vector<int> offered;
        int shown, item;
        std::vector<std::string> writes;
    };
    const Case cases[] = {
        {"chord page: Slide Up listed before Bend", {{17, 1}, {24, 1}}, {0, 1, 4, 5}, 0, 1, {"SetParameter 24 0"}},
        {"Bend listed first", {{17, 1}, {24, 1}}, {2, 0}, 2, 1, {"SetParameter 17 0"}},
        {"nothing on", {}, {0, 1}, -1, 0, {}},
        {"on but not offered: switched off too", {{60, 1}}, {0, 1, 2, 3}, -1, 0, {"SetParameter 60 0"}},
        {"Slow Strum lower velo", {{42, 1}}, {4, 5}, 5, 2, {}},
    };
    for (const Case& c : cases) {
        for (int p : {17, 24, 39, 42, 60})
            Engine(p, 0);
        for (const auto& on : c.on)
            Engine(on.first, on.second);
        host.Log().Clear();
        velo->SetKinds(c.offered);
        Settle();
        EXPECT_EQ(Sets(), c.writes) << c.what;
        EXPECT_EQ(velo->Current(), c.shown) << c.what;
        EXPECT_EQ(velo->KindCombo()->GetSelectedIndex(), c.item) << c.what;
        EXPECT_EQ(velo->KindCombo()->GetItemCount(), int(c.offered.size()) + 1) << c.what;
    }
    // The survivor's ranges and values.
    Engine(42, 0);
    Engine(17, 1);
    Engine(18, 77);
    velo->SetKinds({0, 1, 2});
    EXPECT_EQ(velo->VeloEditor()->GetMaximum(), 127);
    EXPECT_EQ(velo->VeloEditor()->GetValue(), 77);
    EXPECT_EQ(velo->TimeSlider()->GetMinimum(), 40);
    EXPECT_EQ(velo->TimeSlider()->GetMaximum(), 200);
    EXPECT_EQ(velo->TimeSlider()->GetDefault(), engine().GetParameterDefault(ERnCPars(20)));
    EXPECT_EQ(velo->StepsEditor()->GetMaximum(), 3);
}

TEST_P(VeloFx, ChoicesWriteTheEnableParametersAsEdits) {
    for (int p : {17, 24, 39, 42, 60})
        Engine(p, 0);
    Engine(17, 1);
    velo->SetKinds({0, 1, 2, 3});
    host.Log().Clear();
    root.menuAnswers = {2}; // Slide Down while Slide Up is current
    ClickCentre(velo->KindCombo());
    EXPECT_EQ(Sets(), (std::vector<std::string>{"TouchParameter 17 1", "SetParameter 17 2", "TouchParameter 17 0"}));
    EXPECT_EQ(velo->Current(), 1);
    host.Log().Clear();
    root.menuAnswers = {3}; // Bend: Slide Down goes off first
    ClickCentre(velo->KindCombo());
    EXPECT_EQ(Par(17), 0);
    EXPECT_EQ(Par(24), 1);
    EXPECT_EQ(velo->Current(), 2);
    root.menuAnswers = {0}; // Off
    ClickCentre(velo->KindCombo());
    EXPECT_EQ(Par(24), 0);
    EXPECT_EQ(velo->Current(), -1);
    EXPECT_EQ(velo->VeloEditor()->GetMaximum(), 0);
}

TEST_P(VeloFx, EngineNoticesShowTheKindEvenWhenThePageDoesNotOfferIt) {
    velo->SetKinds({0, 1});
    Engine(60, 1);
    EXPECT_EQ(velo->Current(), 6);
    EXPECT_EQ(velo->KindCombo()->GetSelectedIndex(), 0) << "not offered: the combo says Off";
    Engine(61, 99);
    EXPECT_EQ(velo->VeloEditor()->GetValue(), 99);
    Engine(18, 5); // another kind's velocity: not shown
    EXPECT_EQ(velo->VeloEditor()->GetValue(), 99);
    Engine(60, 0);
    EXPECT_EQ(velo->Current(), -1);
    Engine(24, 2);
    EXPECT_EQ(velo->Current(), 3);
}

TEST_P(VeloFx, AnEditEndsOnTheParameterItBeganOn) {
    for (int p : {17, 24, 39, 42, 60})
        Engine(p, 0);
    Engine(17, 1);
    velo->SetKinds({0, 2});
    HSlider3* time = velo->TimeSlider();
    const Point o = time->GetAbsoluteOrigin();
    const int y = o.y + time->GetBounds().height / 2;
    root.MoveTo(o.x + 20, y);
    root.Press(o.x + 20, y);
    root.MoveTo(o.x + 40, y);
    EXPECT_EQ(engine().GestureDepth(20), 1);
    // The engine switches to Bend in the middle of the drag.
    Engine(17, 0);
    Engine(24, 1);
    root.MoveTo(o.x + 50, y);
    root.Release(o.x + 50, y);
    Settle();
    EXPECT_EQ(engine().GestureDepth(20), 0) << "the edit that began on 20 ends on 20";
    EXPECT_EQ(engine().GestureDepth(27), 0);
    for (const auto& c : host.Log().Calls("IRnC", "TouchParameter"))
        EXPECT_NE(c.args[0], 27) << "Bend's time was never touched";
}

TEST_P(VeloFx, TheTooltipsNameTheKindAndTheValue) {
    Engine(17, 1);
    Engine(20, 120);
    velo->SetKinds({0});
    struct Sink : TooltipHandler {
        ~Sink() { DeleteTooltips(); }
        void AddTooltip(TooltipNotifier* n) override { notes.emplace_back(n); }
        void DeleteTooltips() override { notes.clear(); }
        std::vector<std::unique_ptr<TooltipNotifier>> notes;
    } sink;
    velo->RegisterTooltips(sink);
    ASSERT_EQ(sink.notes.size(), 4u);
    EXPECT_STREQ(sink.notes[0]->GetText().c_str(), "Velo FX: Slide Up");
    EXPECT_STREQ(sink.notes[1]->GetText().c_str(), "Slide Up: time 120ms");
    EXPECT_STREQ(sink.notes[3]->GetText().c_str(), (std::string("Slide Up: steps ") + std::to_string(Par(19))).c_str());
    velo.reset(); // the tooltips outlive the view (ASan watches)
    EXPECT_STREQ(sink.notes[1]->GetText().c_str(), "Velo FX: time 0ms");
}

} // namespace
} // namespace Corvell
