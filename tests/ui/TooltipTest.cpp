// The help line: what each notifier says and when, the viewer that shows
// the last text, and the lifetimes of notifiers, panes and controls,
// driven through a real root pane.
#include "Canvas.h"
#include "RecordingContext.h"
#include "SliderFixture.h"
#include "TestRootPane.h"
#include "shared/Graphics/Palette.h"
#include "ui/Combo.h"
#include "ui/HSlider.h"
#include "ui/NoteNumEditor.h"
#include "ui/SelectableButton.h"
#include "ui/ToggleButton.h"
#include "ui/Tooltip.h"
#include "ui/TooltipViewer.h"

#include "ui/core/FunctionDelegate.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Corvell::Test {
namespace {


using Texts = std::vector<std::string>;

// Appends "name:text" for every text the notifier says.
void Record(TooltipNotifier* n, Texts& log, const std::string& name) {
    n->AddTextListener(Fn<String>([&log, name](String t) { log.push_back(name + ":" + t.c_str()); }));
}

Point Centre(const Pane& p) {
    const Point o = p.GetAbsoluteOrigin();
    return Point{o.x + p.GetBounds().width / 2, o.y + p.GetBounds().height / 2};
}

// A root that can keep the timers of panes that leave its tree, so that
// the viewer's own stopping is what is seen.
class KeepingRoot : public TestRootPane {
public:
    KeepingRoot() : TestRootPane(400, 300) {}
    void ForgetPane(Pane* removed, Pane* fallback) override {
        if (!keep)
            TestRootPane::ForgetPane(removed, fallback);
    }
    bool keep = true;
};

// A notifier that logs its deletion.
class LoggedNotifier : public TooltipNotifier {
public:
    LoggedNotifier(Pane* pane, const char* title, Texts& log) : TooltipNotifier(pane, title), m_log(log) {}
    ~LoggedNotifier() override { m_log.push_back(std::string("deleted ") + GetTitle().c_str()); }

private:
    Texts& m_log;
};

// A root 400x300 with one of each described control and a viewer along
// the bottom. The pointer rests on an empty spot of the window.
//   a, b       two plain panes side by side    (10..60, 60..110) x 10..30
//   slider     an image slider, 0..100         (10, 40, 100, 21)
//   editor     a note editor, 0..127           (10, 70, 60, 20), spin at x 55..68
//   toggle     a toggle button                 (10, 100, 40, 20)
//   select     a selectable button             (60, 100, 40, 20)
//   combo      MIDI Note, MIDI CC (selected), Pitch Bend   (120, 100, 80, 20)
//   viewer                                     (0, 280, 400, 20)
class Tooltips : public ::testing::Test {
protected:
    Tooltips() {
        root.keep = false;
        a->Create(&root, {10, 10, 50, 20});
        b->Create(&root, {60, 10, 50, 20});
        slider->Create(&root, {10, 40, 100, 21});
        slider->SetRange(0, 100);
        editor->Create(&root, {10, 70, 60, 20});
        editor->SetRange(0, 127);
        toggle->Create(&root, {10, 100, 40, 20});
        select->Create(&root, {60, 100, 40, 20});
        combo->Create(&root, {120, 100, 80, 20});
        combo->AddItems("MIDI Note\0MIDI CC\0Pitch Bend\0");
        combo->Select(1);
        viewer->Create(&root, {0, 280, 400, 20});
        MoveAway();
    }
    ~Tooltips() override {
        // The notifiers first, as a view deletes them before its pages.
        viewer.reset();
        a.reset();
        b.reset();
        slider.reset();
        editor.reset();
        toggle.reset();
        select.reset();
        combo.reset();
    }

    void MoveInto(const Pane& p) {
        const Point c = Centre(p);
        root.MoveTo(c.x, c.y);
    }
    void MoveAway() { root.MoveTo(300, 200); }
    std::string Line() const { return viewer->GetText().c_str(); }

public: // the text table's makers set the controls up
    // Before the panes and the viewer: notifiers speak until they are deleted.
    Texts said;
    std::vector<std::pair<std::string, int32_t>> saidAt; // with the slider's value of the moment
    SliderImages images{false};
    KeepingRoot root;
    std::unique_ptr<Pane> a = std::make_unique<Pane>();
    std::unique_ptr<Pane> b = std::make_unique<Pane>();
    std::unique_ptr<HSlider> slider = std::make_unique<HSlider>();
    std::unique_ptr<NoteNumEditor> editor = std::make_unique<NoteNumEditor>();
    std::unique_ptr<ToggleButton> toggle = std::make_unique<ToggleButton>();
    std::unique_ptr<SelectableButton> select = std::make_unique<SelectableButton>();
    std::unique_ptr<Combo> combo = std::make_unique<Combo>();
    std::unique_ptr<TooltipViewer> viewer = std::make_unique<TooltipViewer>();
    // Writes "<value> Hz".
    Ref<RangeControlTooltip::Unit> hertz = Fn<RangeControlTooltip::Args&>(
        [](RangeControlTooltip::Args& args) { args.text.Format("%d Hz", args.value); });
};

// ---- what each kind says ------------------------------------------------------------

struct TextCase {
    const char* name;
    // Sets the controls up and makes the notifier.
    std::function<TooltipNotifier*(Tooltips&)> make;
    const char* text; // its GetText, and what the line shows while the pointer is inside
};

class TooltipTexts : public Tooltips, public ::testing::WithParamInterface<TextCase> {};

TEST_P(TooltipTexts, TheLineShowsTheTextWhileThePointerIsInsideAndNothingAfter) {
    const TextCase& c = GetParam();
    TooltipNotifier* n = c.make(*this);
    ASSERT_NE(n->GetPane(), nullptr);
    viewer->AddTooltip(n);
    EXPECT_EQ(std::string(n->GetText().c_str()), c.text);

    viewer->Show("something else");
    MoveInto(*n->GetPane());
    EXPECT_EQ(Line(), c.text);
    MoveAway();
    EXPECT_EQ(Line(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TooltipTexts,
    ::testing::Values(
        TextCase{"Plain", [](Tooltips& t) { return new TooltipNotifier(t.a.get(), "Help"); }, "Help"},
        TextCase{"UnitWritesTheValue",
                 [](Tooltips& t) {
                     t.slider->SetValue(44);
                     return new RangeControlTooltip(t.slider.get(), "Rate", t.slider.get(), t.hertz.Get());
                 },
                 "Rate: 44 Hz"},
        TextCase{"NoUnitWritesTheNumber",
                 [](Tooltips& t) {
                     t.slider->SetValue(37);
                     return new RangeControlTooltip(t.slider.get(), "Rate", t.slider.get(), nullptr);
                 },
                 "Rate: 37"},
        TextCase{"UnitWithoutControlShowsTheTitle",
                 [](Tooltips& t) { return new RangeControlTooltip(t.a.get(), "Rate", nullptr, t.hertz.Get()); },
                 "Rate"},
        TextCase{"ValueAndSuffix",
                 [](Tooltips& t) {
                     t.slider->SetValue(25);
                     return new NotifyingRangeControl(t.slider.get(), "Velo", t.slider.get(), " ms");
                 },
                 "Velo: 25 ms"},
        TextCase{"NegativeValueWithoutSuffix",
                 [](Tooltips& t) {
                     t.slider->SetRange(-50, 50);
                     t.slider->SetValue(-12);
                     return new NotifyingRangeControl(t.slider.get(), "Pan", t.slider.get(), "");
                 },
                 "Pan: -12"},
        TextCase{"SuffixWithoutControlShowsTheTitle",
                 [](Tooltips& t) { return new NotifyingRangeControl(t.a.get(), "Velo", nullptr, " ms"); }, "Velo"},
        TextCase{"NoteName",
                 [](Tooltips& t) {
                     t.editor->SetValue(61);
                     return new NoteNumTooltip(t.editor.get(), "Root");
                 },
                 "Root: C#3"},
        TextCase{"ToggleOff", [](Tooltips& t) { return new ToggleTooltip(t.toggle.get(), "Gate"); }, "Gate: Off"},
        TextCase{"ToggleOn",
                 [](Tooltips& t) {
                     t.toggle->SetOn(true);
                     return new ToggleTooltip(t.toggle.get(), "Gate");
                 },
                 "Gate: On"},
        TextCase{"SelectionOff", [](Tooltips& t) { return new ToggleNotifier(t.select.get(), "Wah"); },
                 "Wah is Off"},
        TextCase{"SelectionOn",
                 [](Tooltips& t) {
                     t.select->SetOn(true);
                     return new ToggleNotifier(t.select.get(), "Wah");
                 },
                 "Wah is On"},
        TextCase{"ComboItem", [](Tooltips& t) { return new ComboTooltip(t.combo.get(), "Mode"); }, "Mode: MIDI CC"},
        TextCase{"ComboItemAlone", [](Tooltips& t) { return new ComboTooltip(t.combo.get(), ""); }, "MIDI CC"},
        TextCase{"ComboTitleWithItsColon", [](Tooltips& t) { return new ComboTooltip(t.combo.get(), "Mode: "); },
                 "Mode: MIDI CC"},
        TextCase{"ComboWithoutItems",
                 [](Tooltips& t) {
                     t.combo->Clear();
                     return new ComboTooltip(t.combo.get(), "Mode");
                 },
                 ""}),
    [](const ::testing::TestParamInfo<TextCase>& i) { return std::string(i.param.name); });

// ---- the pointer between controls ------------------------------------------------------

TEST_F(Tooltips, MovingFromOneControlToTheNextClearsTheFirstBeforeTheSecondSpeaks) {
    auto* na = new TooltipNotifier(a.get(), "Alpha");
    auto* nb = new TooltipNotifier(b.get(), "Beta");
    viewer->AddTooltip(na);
    viewer->AddTooltip(nb);
    Record(na, said, "A");
    Record(nb, said, "B");

    MoveInto(*a);
    root.MoveTo(70, 20); // straight into b, which touches a
    EXPECT_EQ(said, (Texts{"A:Alpha", "A:", "B:Beta"}));
    EXPECT_EQ(Line(), "Beta");

    root.MoveTo(30, 20);
    EXPECT_EQ(said, (Texts{"A:Alpha", "A:", "B:Beta", "B:", "A:Alpha"}));
    EXPECT_EQ(Line(), "Alpha");
}

// ---- watching notifiers ------------------------------------------------------------------

TEST_F(Tooltips, DraggingARangeControlUpdatesTheLineOnEveryChange) {
    slider->SetValue(25);
    auto* n = new NotifyingRangeControl(slider.get(), "Velo", slider.get(), " ms");
    viewer->AddTooltip(n);
    n->AddTextListener(Fn<String>([this](String t) { saidAt.emplace_back(t.c_str(), slider->GetValue()); }));
    std::vector<std::string> edits;
    LogListener edit(edits);
    slider->AddListener(&edit);

    MoveInto(*slider);
    ASSERT_EQ(Line(), "Velo: 25 ms");
    saidAt.clear();
    const Point c = Centre(*slider);
    root.Drag(c.x, c.y, c.x + 40, c.y, 8);

    // Every text has the value of its moment, and the line went through
    // every value the slider told of, in order.
    std::vector<int32_t> shown;
    for (const auto& [text, value] : saidAt) {
        EXPECT_EQ(text, "Velo: " + std::to_string(value) + " ms");
        if (shown.empty() || shown.back() != value)
            shown.push_back(value);
    }
    std::vector<int32_t> told{25};
    for (const std::string& e : edits) {
        if (e.rfind("Changed ", 0) == 0)
            told.push_back(std::stoi(e.substr(8)));
    }
    EXPECT_GE(told.size(), 4u);
    EXPECT_EQ(shown, told);
    EXPECT_GT(slider->GetValue(), 25);
    EXPECT_EQ(Line(), "Velo: " + std::to_string(slider->GetValue()) + " ms");
    slider->RemoveListener(&edit);
}

TEST_F(Tooltips, WatchingNotifiersSpeakOnTheirControlWhereverThePointerIs) {
    slider->SetValue(25);
    editor->SetValue(60);
    auto* velo = new NotifyingRangeControl(slider.get(), "Velo", slider.get(), " ms");
    auto* note = new NoteNumTooltip(editor.get(), "Root");
    auto* wah = new ToggleNotifier(select.get(), "Wah");
    viewer->AddTooltip(velo);
    viewer->AddTooltip(note);
    viewer->AddTooltip(wah);

    // The arrow key steps the focused slider; the pointer is elsewhere.
    slider->RequestFocus(slider.get());
    ASSERT_EQ(root.GetFocusedPane(), slider.get());
    root.KeyDown(0x27);
    EXPECT_EQ(Line(), "Velo: 26 ms");

    // A step of the editor's spin button shows the new note.
    const Point spin = editor->Spin().GetAbsoluteOrigin();
    root.Click(spin.x + 5, spin.y + 3);
    EXPECT_EQ(Line(), "Root: C#3");

    // The engine turns the effect on.
    MoveAway();
    select->SetOn(true);
    EXPECT_EQ(Line(), "Wah is On");
}

TEST_F(Tooltips, AClickThatTurnsAButtonOnShowsTheNewStateWithoutThePointerLeaving) {
    auto* wah = new ToggleNotifier(select.get(), "Wah");
    auto* gate = new ToggleTooltip(toggle.get(), "Gate");
    viewer->AddTooltip(wah);
    viewer->AddTooltip(gate);
    // As the views do: the click listener sets the state.
    select->AddClickListener(Fn<ButtonListenerArgs>([this](ButtonListenerArgs) { select->SetOn(!select->IsOn()); }));
    toggle->AddClickListener(Fn<ButtonListenerArgs>([this](ButtonListenerArgs) { toggle->SetOn(!toggle->IsOn()); }));

    MoveInto(*select);
    EXPECT_EQ(Line(), "Wah is Off");
    root.Click(Centre(*select).x, Centre(*select).y);
    EXPECT_EQ(Line(), "Wah is On");
    root.Click(Centre(*select).x, Centre(*select).y);
    EXPECT_EQ(Line(), "Wah is Off");

    MoveInto(*toggle);
    EXPECT_EQ(Line(), "Gate: Off");
    root.Click(Centre(*toggle).x, Centre(*toggle).y);
    EXPECT_EQ(Line(), "Gate: On");

    // A press dragged off the button and released outside is no click and says nothing.
    viewer->Show("elsewhere");
    const Point c = Centre(*toggle);
    root.Press(c.x, c.y);
    root.MoveTo(c.x + 100, c.y + 60);
    root.Release(c.x + 100, c.y + 60);
    EXPECT_TRUE(toggle->IsOn());
    EXPECT_NE(Line(), "Gate: On");
}

TEST_F(Tooltips, ChoosingAComboItemShowsItWithoutThePointerLeaving) {
    viewer->AddTooltip(new ComboTooltip(combo.get(), "Mode"));
    MoveInto(*combo);
    EXPECT_EQ(Line(), "Mode: MIDI CC");
    for (const auto& [answer, line] : std::vector<std::pair<int32_t, std::string>>{
             {2, "Mode: Pitch Bend"}, {-1, "Mode: Pitch Bend"}, {0, "Mode: MIDI Note"}}) {
        root.menuAnswers = {answer};
        root.Click(Centre(*combo).x, Centre(*combo).y);
        EXPECT_EQ(Line(), line) << answer;
    }
    EXPECT_EQ(root.menuCalls.size(), 3u);
}

// ---- the viewer --------------------------------------------------------------------------

TEST_F(Tooltips, ATimedTextClearsAfterThreeSecondsAndAnotherTextCancelsTheClear) {
    struct Step {
        uint32_t after; // ms since the previous step
        std::function<void(TooltipViewer&)> act;
        const char* line;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    const std::vector<Case> cases = {
        {"ClearsOnce",
         {{0, [](TooltipViewer& v) { v.ShowTimed("Loaded"); }, "Loaded"},
          {2999, nullptr, "Loaded"},
          {1, nullptr, ""},
          {6000, nullptr, ""}}},
        {"ShowCancels",
         {{0, [](TooltipViewer& v) { v.ShowTimed("Loaded"); }, "Loaded"},
          {1000, [](TooltipViewer& v) { v.Show("Loading 50%"); }, "Loading 50%"},
          {10000, nullptr, "Loading 50%"}}},
        {"TimedAgainRestarts",
         {{0, [](TooltipViewer& v) { v.ShowTimed("one"); }, "one"},
          {2000, [](TooltipViewer& v) { v.ShowTimed("two"); }, "two"},
          {2999, nullptr, "two"},
          {1, nullptr, ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const Step& s : c.steps) {
            root.AdvanceTime(s.after);
            if (s.act)
                s.act(*viewer);
            EXPECT_EQ(Line(), s.line) << "at +" << s.after;
        }
        EXPECT_EQ(root.GetTimerCount(), 0u);
    }
}

TEST_F(Tooltips, TheClearInvalidatesTheViewer) {
    viewer->ShowTimed("Loaded");
    root.ClearInvalidations();
    root.AdvanceTime(3000);
    EXPECT_TRUE(root.InvalidRegion().Contains(200, 290));
}

TEST(TooltipPaint, WhiteTextCentredOrAfterATabLeftAlignedAndTheColourRestored) {
    struct Case {
        const char* shown;
        const char* drawn; // null: nothing drawn
        uint32_t format;
    };
    for (const Case& c : {Case{"Velo: 25 ms", "Velo: 25 ms", kTextCenter | kTextVCenter},
                          Case{"\tLoading 40%", "Loading 40%", kTextVCenter},
                          Case{"\t", nullptr, 0}, Case{"", nullptr, 0}}) {
        SCOPED_TRACE(c.shown);
        TooltipViewer v;
        v.SetBounds(Rect{0, 280, 400, 20});
        v.Show(c.shown);
        Canvas canvas;
        v.Paint(canvas.gc);
        const std::vector<DrawCall> texts = canvas.gc.CallsOf("DrawText");
        if (!c.drawn) {
            EXPECT_TRUE(canvas.gc.Calls().empty());
        } else {
            ASSERT_EQ(texts.size(), 1u);
            EXPECT_EQ(texts[0].text, c.drawn);
            EXPECT_EQ(texts[0].format, DrawTextFormat(c.format));
            EXPECT_EQ(texts[0].textColor, GetColor(8));
            EXPECT_EQ(texts[0].rect, (Rect{0, 0, 400, 20}));
        }
        canvas.CheckRestored();
    }
}

// ---- lifetimes -------------------------------------------------------------------------

TEST_F(Tooltips, DeleteTooltipsDeletesNewestFirstAndNothingHearsTheControlsAfterwards) {
    Texts log;
    viewer->AddTooltip(new LoggedNotifier(a.get(), "first", log));
    viewer->AddTooltip(new NotifyingRangeControl(slider.get(), "Velo", slider.get(), " ms"));
    viewer->AddTooltip(new NoteNumTooltip(editor.get(), "Root"));
    viewer->AddTooltip(new ToggleTooltip(toggle.get(), "Gate"));
    viewer->AddTooltip(new ToggleNotifier(select.get(), "Wah"));
    viewer->AddTooltip(new ComboTooltip(combo.get(), "Mode"));
    auto* last = new LoggedNotifier(b.get(), "last", log);
    viewer->AddTooltip(last);
    viewer->AddTooltip(last); // held once, deleted once
    viewer->AddTooltip(nullptr);
    EXPECT_EQ(viewer->GetTooltipCount(), 7u);

    viewer->DeleteTooltips();
    EXPECT_EQ(log, (Texts{"deleted last", "deleted first"}));
    EXPECT_EQ(viewer->GetTooltipCount(), 0u);
    for (Pane* p : std::vector<Pane*>{a.get(), b.get(), slider.get(), editor.get(), toggle.get(), select.get(),
                                      combo.get()})
        EXPECT_EQ(p->GetMouseListener(), nullptr);
    EXPECT_EQ(slider->GetListener(), nullptr);
    EXPECT_EQ(editor->GetListener(), nullptr);

    // Whatever happens now reaches no notifier (the sanitizer sees any that does).
    viewer->Show("kept");
    for (Pane* p : std::vector<Pane*>{a.get(), b.get(), slider.get(), editor.get(), toggle.get(), select.get()})
        MoveInto(*p);
    root.Drag(Centre(*slider).x, Centre(*slider).y, Centre(*slider).x + 30, Centre(*slider).y);
    select->SetOn(true);
    root.Click(Centre(*toggle).x, Centre(*toggle).y);
    root.menuAnswers = {2};
    root.Click(Centre(*combo).x, Centre(*combo).y);
    ASSERT_EQ(combo->GetSelectedIndex(), 2);
    EXPECT_EQ(Line(), "kept");
}

TEST_F(Tooltips, ANotifierDeletedWhileThePointerIsInsideClearsTheLine) {
    viewer->AddTooltip(new TooltipNotifier(b.get(), "Beta"));
    viewer->AddTooltip(new NotifyingRangeControl(slider.get(), "Velo", slider.get(), " ms"));
    slider->SetValue(20);
    MoveInto(*slider);
    ASSERT_EQ(Line(), "Velo: 20 ms");
    viewer->DeleteTooltips();
    EXPECT_EQ(Line(), "");

    // A page rebuilt under the pointer: its pane goes without a leave, then its notifier.
    viewer->AddTooltip(new TooltipNotifier(a.get(), "Alpha"));
    MoveInto(*a);
    ASSERT_EQ(Line(), "Alpha");
    a.reset();
    EXPECT_EQ(Line(), "Alpha");
    viewer->DeleteTooltips();
    EXPECT_EQ(Line(), "");

    // One that the pointer has left says nothing more.
    viewer->AddTooltip(new TooltipNotifier(b.get(), "Beta"));
    MoveInto(*b);
    MoveAway();
    viewer->Show("Loaded");
    viewer->DeleteTooltips();
    EXPECT_EQ(Line(), "Loaded");
}

TEST_F(Tooltips, ControlsDeletedBeforeTheirNotifiersAreNotTouchedAgain) {
    auto* plain = new TooltipNotifier(a.get(), "Alpha");
    auto* velo = new NotifyingRangeControl(b.get(), "Velo", slider.get(), " ms"); // pane and control apart
    auto* root_ = new NoteNumTooltip(editor.get(), "Root");
    auto* gate = new ToggleTooltip(toggle.get(), "Gate");
    auto* wah = new ToggleNotifier(select.get(), "Wah");
    auto* mode = new ComboTooltip(combo.get(), "Mode");
    for (TooltipNotifier* n : std::vector<TooltipNotifier*>{plain, velo, root_, gate, wah, mode})
        viewer->AddTooltip(n);
    MoveInto(*a);

    a.reset();
    slider.reset();
    editor.reset();
    toggle.reset();
    select.reset();
    combo.reset();
    EXPECT_EQ(plain->GetPane(), nullptr);
    EXPECT_EQ(velo->GetControl(), nullptr);
    EXPECT_NE(velo->GetPane(), nullptr);
    // Without its control the text is the title, as for a notifier that never had one.
    for (TooltipNotifier* n : std::vector<TooltipNotifier*>{plain, velo, root_, gate, wah, mode})
        EXPECT_EQ(n->GetText(), n->GetTitle());

    // The sanitizer sees any removal from a freed pane or control.
    viewer->DeleteTooltips();
    EXPECT_EQ(Line(), "");
    EXPECT_EQ(b->GetMouseListener(), nullptr);
}

TEST_F(Tooltips, AControlListenerMayDeleteTheNotifiersWhileTheControlTellsOfAnEdit) {
    // Told before the notifier: deletes every notifier at the first notice,
    // as a view rebuilding its page does.
    std::vector<std::string> edits;
    LogListener rebuild(edits);
    rebuild.then = [this](const std::string&) { viewer->DeleteTooltips(); };
    editor->AddListener(&rebuild);
    auto* n = new NoteNumTooltip(editor.get(), "Root");
    viewer->AddTooltip(n);
    Record(n, said, "N");

    const Point spin = editor->Spin().GetAbsoluteOrigin();
    root.Click(spin.x + 5, spin.y + 3);
    EXPECT_EQ(viewer->GetTooltipCount(), 0u);
    // What it said on the way in, and the clear as it went; never the new note.
    EXPECT_EQ(said, (Texts{"N:Root: C-2", "N:"}));
    EXPECT_EQ(editor->GetValue(), 1);
    editor->RemoveListener(&rebuild);
}

TEST_F(Tooltips, ATextListenerMayDeleteTheNotifierThatSpeaks) {
    struct Case {
        const char* name;
        std::function<TooltipNotifier*()> make;
        std::function<void()> trigger;
        Texts after; // what a listener after the deleting one hears
        const char* line;
    };
    const std::vector<Case> cases = {
        // Inside its pane, it says the empty text as it goes.
        {"Entered", [this] { return new TooltipNotifier(a.get(), "Alpha"); }, [this] { MoveInto(*a); }, {"after:"},
         ""},
        {"RangeChange", [this] { return new NotifyingRangeControl(slider.get(), "Velo", slider.get(), " ms"); },
         [this] {
             slider->SetValue(40);
             slider->RequestFocus(slider.get());
             root.KeyDown(0x27);
         },
         {},
         "Velo: 41 ms"},
        {"SelectionChange", [this] { return new ToggleNotifier(select.get(), "Wah"); },
         [this] { select->SetOn(!select->IsOn()); }, {}, "Wah is On"},
        {"ComboChoice", [this] { return new ComboTooltip(combo.get(), "Mode"); },
         [this] {
             root.menuAnswers = {2};
             combo->OpenMenu();
         },
         {},
         "Mode: Pitch Bend"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MoveAway();
        TooltipNotifier* n = c.make();
        viewer->AddTooltip(n);
        n->AddTextListener(Fn<String>([this](String t) {
            if (!t.IsEmpty())
                viewer->DeleteTooltips();
        }));
        Texts after;
        Record(n, after, "after");
        Pane* pane = n->GetPane();
        c.trigger();
        EXPECT_EQ(viewer->GetTooltipCount(), 0u);
        EXPECT_EQ(pane->GetMouseListener(), nullptr);
        EXPECT_EQ(after, c.after);
        EXPECT_EQ(Line(), c.line);
        // Once more: nothing is left to hear it (the sanitizer sees any call).
        c.trigger();
    }
}

TEST(TooltipViewerTimer, StopsWhenClosedAndWhenDeleted) {
    struct Case {
        const char* name;
        // Ends the viewer's life, or begins its end, from a pending timed text.
        std::function<void(std::unique_ptr<TooltipViewer>&)> end;
        size_t timersAfter;
    };
    for (const Case& c : std::vector<Case>{
             {"Deleted", [](auto& v) { v.reset(); }, 0},
             {"ClosedInPlace", [](auto& v) { v->OnDestroy(); }, 0},
             // Closed by its parent and left in the tree, then told a timed text.
             {"ClosedThenTimedAgain",
              [](auto& v) {
                  v->OnDestroy();
                  v->ShowTimed("late");
              },
              1},
         }) {
        SCOPED_TRACE(c.name);
        KeepingRoot root;
        auto v = std::make_unique<TooltipViewer>();
        v->Create(&root, {0, 280, 400, 20});
        v->ShowTimed("Loaded");
        ASSERT_EQ(root.GetTimerCount(), 1u);
        c.end(v);
        EXPECT_EQ(root.GetTimerCount(), c.timersAfter);
        v.reset();
        EXPECT_EQ(root.GetTimerCount(), 0u);
        root.AdvanceTime(4000); // a timer left behind would call into the deleted viewer
    }
}

TEST_F(Tooltips, TheViewerDeletesItsNotifiersAndALastTimedTextStartsNothingThatOutlivesIt) {
    auto* n = new TooltipNotifier(a.get(), "Alpha");
    viewer->AddTooltip(n);
    // A view that shows this control's texts for a while.
    TooltipViewer* v = viewer.get();
    n->AddTextListener(Fn<String>([v](String t) { v->ShowTimed(t); }));
    MoveInto(*a);
    ASSERT_EQ(Line(), "Alpha");

    // Inside the pane: the notifier's last (empty) text comes while the viewer goes.
    root.keep = true;
    viewer.reset();
    root.keep = false;
    EXPECT_EQ(a->GetMouseListener(), nullptr);
    EXPECT_EQ(root.GetTimerCount(), 0u);
    root.AdvanceTime(4000);
    MoveAway();
    MoveInto(*a);
}

// ---- the proxy -----------------------------------------------------------------------------

TEST_F(Tooltips, AProxyRepeatsItsNotifiersThroughOneNotifierHandedToTheViewer) {
    auto proxy = std::make_unique<TooltipProxy>();
    Texts log;
    proxy->AddTooltip(new LoggedNotifier(a.get(), "Alpha", log));
    proxy->AddTooltip(new LoggedNotifier(b.get(), "Beta", log));
    proxy->AddTooltip(nullptr);
    // Its own notifier, given to itself, would repeat its texts for ever.
    proxy->AddTooltip(proxy->GetNotifier());
    EXPECT_FALSE(proxy->HandOnTo(proxy.get()));
    EXPECT_EQ(proxy->GetTooltipCount(), 2u);
    ASSERT_TRUE(proxy->HandOnTo(viewer.get()));
    EXPECT_FALSE(proxy->HandOnTo(viewer.get())) << "handed on once only";
    EXPECT_EQ(viewer->GetTooltipCount(), 1u);

    MoveInto(*a);
    EXPECT_EQ(Line(), "Alpha");
    root.MoveTo(70, 20);
    EXPECT_EQ(Line(), "Beta");
    MoveAway();
    EXPECT_EQ(Line(), "");

    // Deleting the proxy's notifiers while the pointer is inside one clears the line through it.
    MoveInto(*a);
    proxy->DeleteTooltips();
    EXPECT_EQ(log, (Texts{"deleted Beta", "deleted Alpha"}));
    EXPECT_EQ(Line(), "");
    EXPECT_EQ(a->GetMouseListener(), nullptr);

    // The viewer deletes the notifier it was handed; the proxy's own notifiers then speak to no one.
    proxy->AddTooltip(new TooltipNotifier(a.get(), "Again"));
    MoveAway();
    MoveInto(*a);
    EXPECT_EQ(Line(), "Again");
    viewer->DeleteTooltips();
    EXPECT_EQ(Line(), "");
    EXPECT_EQ(proxy->GetNotifier(), nullptr);
    MoveAway();
    MoveInto(*a);
    EXPECT_EQ(Line(), "");
    proxy.reset();
    EXPECT_EQ(a->GetMouseListener(), nullptr);
}

TEST_F(Tooltips, AProxyGoingFirstLeavesTheHandedOnNotifierMute) {
    auto proxy = std::make_unique<TooltipProxy>();
    proxy->AddTooltip(new TooltipNotifier(a.get(), "Alpha"));
    proxy->HandOnTo(viewer.get());
    MoveInto(*a);
    ASSERT_EQ(Line(), "Alpha");
    proxy.reset(); // its notifier under the pointer says the empty text through the viewer's
    EXPECT_EQ(Line(), "");
    EXPECT_EQ(a->GetMouseListener(), nullptr);
    viewer->DeleteTooltips();
    EXPECT_EQ(viewer->GetTooltipCount(), 0u);
}

TEST_F(Tooltips, AProxyKeptForItsOwnListenersOwnsItsNotifier) {
    Texts said;
    {
        TooltipProxy proxy;
        ASSERT_NE(proxy.GetNotifier(), nullptr);
        EXPECT_EQ(proxy.GetNotifier()->GetPane(), nullptr);
        Record(proxy.GetNotifier(), said, "P");
        proxy.AddTooltip(new TooltipNotifier(a.get(), "Alpha"));
        MoveInto(*a);
        MoveAway();
        MoveInto(*a);
    }
    EXPECT_EQ(said, (Texts{"P:Alpha", "P:", "P:Alpha", "P:"}));
    EXPECT_EQ(a->GetMouseListener(), nullptr);
}

} // namespace
} // namespace Corvell::Test
