// Buttons as the user drives them: clicks, press observers, listeners and
// the on/off state, routed through a real root pane.
#include "EventLog.h"
#include "TestRootPane.h"
#include "ui/Button.h"
#include "ui/CheckRadioButton.h"
#include "ui/PlayButton.h"
#include "ui/SelectableButton.h"

#include "ui/core/FunctionDelegate.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Corvell::Test {
namespace {

using Log = std::vector<std::string>;


class LogObserver : public CountedObject<NotifyListener> {
public:
    LogObserver(Log& log, std::string name) : m_log(log), m_name(std::move(name)) {}
    void Pressed(Button*) override {
        m_log.push_back(m_name + "Pressed");
        ++open;
        if (onPressed)
            onPressed();
    }
    void Released(Button*) override {
        m_log.push_back(m_name + "Released");
        --open;
        if (onReleased)
            onReleased();
    }
    int open = 0; // Pressed not yet matched by Released
    std::function<void()> onPressed;
    std::function<void()> onReleased;

private:
    Log& m_log;
    std::string m_name;
};

// A pane that closes itself when pressed, as a popup closed by the click
// that lands on it.
class ClosingPopup : public Pane {
public:
    void OnMouseEvent(MouseEvent& e) override {
        if (e.type == kMouseDown)
            Close();
    }
};

// root 200x200
//   container (10, 10, 180, 100)
//     button (20, 20, 100, 30): window 30..130 x 30..60
struct Rig {
    static constexpr int32_t inX = 60, inY = 45;
    static constexpr int32_t outX = 150, outY = 150;

    explicit Rig(std::unique_ptr<Button> b = std::make_unique<Button>()) : button(std::move(b)) {
        container.Create(&root, {10, 10, 180, 100});
        button->Create(&container, {20, 20, 100, 30});
        button->SetPressObserver(observer);
        button->AddClickListener(Fn<ButtonListenerArgs>([this](ButtonListenerArgs a) {
            log.push_back(a.button == button.get() ? "Click " + std::to_string(a.mouseButton) : "Click (someone else)");
            if (onClick)
                onClick();
        }));
        root.MoveTo(outX, outY);
    }
    void PressIn(int32_t b = kButtonLeft) {
        root.MoveTo(inX, inY);
        root.Press(inX, inY, b);
    }

    Log log;
    Ref<LogObserver> observer{new LogObserver(log, "")};
    std::function<void()> onClick;
    TestRootPane root{200, 200};
    Pane container;
    std::unique_ptr<Button> button;
};

struct ClickCase {
    const char* name;
    std::function<void(Rig&)> steps;
    Log expected;
};

TEST(ButtonClicks, EveryPressEndsOnceAndOnlyPressAndReleaseOverTheButtonClick) {
    const ClickCase cases[] = {
        {"press and release inside", [](Rig& r) { r.PressIn(); r.root.Release(Rig::inX, Rig::inY); },
         {"Pressed", "Click 1", "Released"}},
        {"press, leave, release outside",
         [](Rig& r) {
             r.PressIn();
             r.root.MoveTo(Rig::outX, Rig::outY);
             r.log.push_back(r.button->IsPressed() ? "left, looks pressed" : "left, looks released");
             r.root.Release(Rig::outX, Rig::outY);
         },
         {"Pressed", "left, looks released", "Released"}},
        {"press, leave, come back, release",
         [](Rig& r) {
             r.PressIn();
             r.root.MoveTo(Rig::outX, Rig::outY);
             r.root.MoveTo(Rig::inX + 5, Rig::inY);
             r.log.push_back(r.button->IsPressed() ? "back, looks pressed" : "back, looks released");
             r.root.Release(Rig::inX + 5, Rig::inY);
         },
         {"Pressed", "back, looks pressed", "Click 1", "Released"}},
        {"released outside after leaving at once, then a click",
         [](Rig& r) {
             r.PressIn();
             r.root.MoveTo(Rig::outX, Rig::outY);
             r.root.Release(Rig::outX, Rig::outY);
             r.root.MoveTo(Rig::inX, Rig::inY);
             r.root.Press(Rig::inX, Rig::inY);
             r.root.Release(Rig::inX, Rig::inY);
         },
         {"Pressed", "Released", "Pressed", "Click 1", "Released"}},
        {"right button", [](Rig& r) { r.PressIn(kButtonRight); r.root.Release(Rig::inX, Rig::inY, kButtonRight); },
         {}},
        {"another button goes up during the press",
         [](Rig& r) {
             r.PressIn();
             r.root.Press(Rig::inX, Rig::inY, kButtonRight);
             r.root.Release(Rig::inX, Rig::inY, kButtonRight);
             r.log.push_back("right up");
             r.root.Release(Rig::inX, Rig::inY);
         },
         {"Pressed", "right up", "Click 1", "Released"}},
        {"a second press whose first release was lost",
         [](Rig& r) {
             r.PressIn();
             r.root.Press(Rig::inX, Rig::inY);
             r.root.Release(Rig::inX, Rig::inY);
         },
         {"Pressed", "Click 1", "Released"}},
        {"double click", [](Rig& r) { r.root.DoubleClick(Rig::inX, Rig::inY); },
         {"Pressed", "Click 1", "Released", "Pressed", "Click 1", "Released"}},
        {"stray release: the press went to a popup that closed",
         [](Rig& r) {
             ClosingPopup popup;
             popup.Create(&r.root, {140, 140, 50, 50});
             r.root.MoveTo(Rig::outX, Rig::outY);
             r.root.Press(Rig::outX, Rig::outY);
             r.root.MoveTo(Rig::inX, Rig::inY);
             r.root.Release(Rig::inX, Rig::inY);
         },
         {}},
        {"capture taken away during the press",
         [](Rig& r) {
             r.PressIn();
             r.root.StealCapture();
             r.log.push_back("capture lost");
             r.root.Release(Rig::inX, Rig::inY);
         },
         {"Pressed", "Released", "capture lost"}},
        {"button hidden during the press",
         [](Rig& r) {
             r.PressIn();
             r.button->SetVisible(false);
             r.log.push_back("hidden");
             r.button->SetVisible(true);
             r.root.Release(Rig::inX, Rig::inY);
         },
         {"Pressed", "Released", "hidden"}},
        {"button taken out of its parent during the press",
         [](Rig& r) {
             r.PressIn();
             r.container.RemoveChild(r.button.get());
             r.log.push_back("removed");
             r.root.Release(Rig::inX, Rig::inY);
         },
         {"Pressed", "Released", "removed"}},
        {"button disabled during the press, enabled before the release",
         [](Rig& r) {
             r.PressIn();
             r.button->SetEnabled(false);
             r.log.push_back("disabled");
             r.button->SetEnabled(true);
             r.root.Release(Rig::inX, Rig::inY);
         },
         {"Pressed", "Released", "disabled"}},
        {"parent hidden during the press",
         [](Rig& r) {
             r.PressIn();
             r.container.SetVisible(false);
             r.log.push_back("parent hidden");
             r.root.Release(Rig::inX, Rig::inY);
         },
         {"Pressed", "parent hidden", "Released"}},
        {"parent disabled during the press",
         [](Rig& r) {
             r.PressIn();
             r.container.SetEnabled(false);
             r.log.push_back("parent disabled");
             r.root.Release(Rig::inX, Rig::inY);
         },
         {"Pressed", "parent disabled", "Released"}},
        {"a click listener hides the button",
         [](Rig& r) {
             r.button->AddClickListener(
                 Fn<ButtonListenerArgs>([&r](ButtonListenerArgs) { r.log.push_back("next listener"); }));
             r.onClick = [&r] { r.button->SetVisible(false); };
             r.PressIn();
             r.root.Release(Rig::inX, Rig::inY);
         },
         {"Pressed", "Click 1", "next listener", "Released"}},
        {"button closed during the press",
         [](Rig& r) {
             r.PressIn();
             r.button->Close();
             r.log.push_back("closed");
             r.root.Release(Rig::inX, Rig::inY);
         },
         {"Pressed", "Released", "closed"}},
        {"button destroyed during the press",
         [](Rig& r) {
             r.PressIn();
             r.button.reset();
             r.log.push_back("destroyed");
             r.root.Release(Rig::inX, Rig::inY);
         },
         {"Pressed", "Released", "destroyed"}},
    };
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        c.steps(r);
        EXPECT_EQ(c.expected, r.log);
        EXPECT_EQ(0, r.observer->open);
        if (r.button) {
            EXPECT_FALSE(r.button->IsHeld());
            EXPECT_FALSE(r.button->IsPressed());
        }
    }
}

TEST(ButtonClicks, AnObserverHearsTheEndOfEveryPressItHeardStartAndNoOther) {
    Rig r;
    Ref<LogObserver> second(new LogObserver(r.log, "2nd "));

    // Added during a press: it did not hear it start, so it does not hear it end.
    r.PressIn();
    r.button->SetPressObserver(second);
    r.root.Release(Rig::inX, Rig::inY);
    EXPECT_EQ((Log{"Pressed", "Click 1", "Released"}), r.log);

    // Removed during a press: it still hears the end of the press it heard start.
    r.log.clear();
    r.PressIn();
    r.button->RemovePressObserver(r.observer.Get());
    r.root.Release(Rig::inX, Rig::inY);
    EXPECT_EQ((Log{"Pressed", "2nd Pressed", "Click 1", "Released", "2nd Released"}), r.log);

    r.log.clear();
    r.PressIn();
    r.root.Release(Rig::inX, Rig::inY);
    EXPECT_EQ((Log{"2nd Pressed", "Click 1", "2nd Released"}), r.log);
    EXPECT_EQ(0, r.observer->open);
    EXPECT_EQ(0, second->open);
}

// A listener may delete the button; nothing that belongs to the button
// runs after that, the press still ends once, and the order stays.
TEST(ButtonClicks, AListenerOrObserverMayDeleteTheButton) {
    struct Case {
        const char* name;
        std::function<void(Rig&)> arm;
        Log expected;
        Log mouse; // what the button's mouse listener heard (the root enters a captured pane once more)
    };
    const Case cases[] = {
        {"click listener", [](Rig& r) { r.onClick = [&r] { r.button.reset(); }; },
         {"Pressed", "Click 1", "Released"},
         {"mouse Entered", "mouse Moved", "mouse Pressed", "mouse Entered"}},
        {"observer's Pressed", [](Rig& r) { r.observer->onPressed = [&r] { r.button.reset(); }; },
         {"Pressed", "Released"},
         {"mouse Entered", "mouse Moved"}},
        {"observer's Released", [](Rig& r) { r.observer->onReleased = [&r] { r.button.reset(); }; },
         {"Pressed", "Click 1", "late listener", "Released"},
         {"mouse Entered", "mouse Moved", "mouse Pressed", "mouse Entered"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        Log mouse;
        LoggingListener listener(mouse, "mouse");
        r.button->AddMouseListener(&listener);
        r.button->AddClickListener(
            Fn<ButtonListenerArgs>([&r](ButtonListenerArgs) { r.log.push_back("late listener"); }));
        c.arm(r);
        r.PressIn();
        if (r.button)
            r.root.Release(Rig::inX, Rig::inY);
        EXPECT_EQ(c.expected, r.log);
        EXPECT_EQ(c.mouse, mouse);
        EXPECT_FALSE(r.button);
        EXPECT_EQ(0, r.observer->open);
    }
}

TEST(ButtonClicks, ListenersMayRemoveThemselvesAndEachOtherDuringAClick) {
    Rig r;
    r.log.clear();
    Button& b = *r.button;
    Ref<ButtonListener> a, bee, c, d;
    a = Fn<ButtonListenerArgs>([&](ButtonListenerArgs) {
        r.log.push_back("A");
        b.RemoveClickListener(a.Get());
    });
    bee = Fn<ButtonListenerArgs>([&](ButtonListenerArgs) {
        r.log.push_back("B");
        b.RemoveClickListener(c.Get());
    });
    c = Fn<ButtonListenerArgs>([&](ButtonListenerArgs) { r.log.push_back("C"); });
    d = Fn<ButtonListenerArgs>([&](ButtonListenerArgs) { r.log.push_back("D"); });
    for (auto* l : {&a, &bee, &c, &d})
        b.AddClickListener(*l);

    r.root.Click(Rig::inX, Rig::inY);
    r.root.Click(Rig::inX, Rig::inY);
    EXPECT_EQ((Log{"Pressed", "Click 1", "A", "B", "D", "Released", "Pressed", "Click 1", "B", "D", "Released"}),
              r.log);
}

TEST(SelectableButtons, SetOnTellsTheSelectionListenersOfChangesOnly) {
    struct Step {
        const char* what;
        std::function<void(SelectableButton&)> op;
        int notices;
        bool invalidates;
    };
    const Step steps[] = {
        {"on", [](SelectableButton& s) { s.SetOn(true); }, 1, true},
        {"on again", [](SelectableButton& s) { s.SetOn(true); }, 0, false},
        {"off", [](SelectableButton& s) { s.SetOn(false); }, 1, true},
        {"as a plain toggle", [](SelectableButton& s) { static_cast<ToggleButton&>(s).SetOn(true); }, 0, true},
        {"plain toggle, unchanged", [](SelectableButton& s) { static_cast<ToggleButton&>(s).SetOn(true); }, 0, true},
        {"notice without a change", [](SelectableButton& s) { s.NotifySelection(); }, 1, false},
    };
    TestRootPane root(200, 200);
    SelectableButton s;
    s.Create(&root, {10, 10, 50, 20});
    int notices = 0;
    s.AddSelectionListener(Fn<SelectableButton*>([&](SelectableButton* who) {
        EXPECT_EQ(&s, who);
        ++notices;
    }));
    for (const Step& st : steps) {
        SCOPED_TRACE(st.what);
        notices = 0;
        root.ClearInvalidations();
        st.op(s);
        EXPECT_EQ(st.notices, notices);
        EXPECT_EQ(st.invalidates, !root.invalidations.empty());
    }
    EXPECT_TRUE(s.IsOn());
}

TEST(SelectableButtons, TheClickListenerTurnsALeftClickIntoASelectionNotice) {
    Rig r(std::make_unique<SelectableButton>());
    auto& s = static_cast<SelectableButton&>(*r.button);
    s.AddClickListener(MakeSelectOnClickListener());
    s.AddSelectionListener(Fn<SelectableButton*>([&](SelectableButton* who) {
        r.log.push_back(who == &s ? "selected" : "selected (someone else)");
    }));
    r.root.Click(Rig::inX, Rig::inY);
    r.root.Click(Rig::inX, Rig::inY, kButtonRight);
    EXPECT_EQ((Log{"Pressed", "Click 1", "selected", "Released"}), r.log);
    EXPECT_FALSE(s.IsOn()) << "the state is the listener's to change";

    // Any instance removes the one registered.
    EXPECT_TRUE(s.RemoveClickListener(MakeSelectOnClickListener().Get()));
    r.log.clear();
    r.root.Click(Rig::inX, Rig::inY);
    EXPECT_EQ((Log{"Pressed", "Click 1", "Released"}), r.log);
}

TEST(SelectableButtons, ASelectionListenerMayDeleteTheButton) {
    Rig r(std::make_unique<SelectableButton>());
    auto* s = static_cast<SelectableButton*>(r.button.get());
    s->AddClickListener(MakeSelectOnClickListener());
    s->AddSelectionListener(Fn<SelectableButton*>([&](SelectableButton*) {
        r.log.push_back("closing");
        r.button.reset();
    }));
    s->AddSelectionListener(Fn<SelectableButton*>([&](SelectableButton*) { r.log.push_back("late listener"); }));
    r.root.Click(Rig::inX, Rig::inY);
    EXPECT_EQ((Log{"Pressed", "Click 1", "closing", "Released"}), r.log);
    EXPECT_EQ(0, r.observer->open);
}

TEST(PlayButtons, ThePressListenersHearALeftPressBeforeItsRelease) {
    Rig r(std::make_unique<PlayButton>());
    auto& p = static_cast<PlayButton&>(*r.button);
    p.AddPressListener(Fn<ButtonListenerArgs>([&](ButtonListenerArgs a) {
        r.log.push_back(a.button == &p && a.mouseButton == kButtonLeft ? "start" : "start (wrong arguments)");
    }));
    r.PressIn();
    r.log.push_back("holding");
    r.root.Release(Rig::inX, Rig::inY);
    EXPECT_EQ((Log{"Pressed", "start", "holding", "Click 1", "Released"}), r.log);

    // A second press whose first release was lost starts nothing new.
    r.log.clear();
    r.PressIn();
    r.root.Press(Rig::inX, Rig::inY);
    r.root.Release(Rig::inX, Rig::inY);
    EXPECT_EQ((Log{"Pressed", "start", "Click 1", "Released"}), r.log);

    // Nothing ends what another button would start, so it starts nothing.
    r.log.clear();
    r.root.Click(Rig::inX, Rig::inY, kButtonRight);
    r.root.Click(Rig::inX, Rig::inY, kButtonMiddle);
    EXPECT_EQ(Log{}, r.log);
}

// root 200x200, check box at (20, 20, 120, 20): mark 20x20, label 100x20.
TEST(CheckRadioButtons, EitherPartPressesAndClicksTheWholeButtonWhichKeepsItsState) {
    for (auto kind : {CheckRadioButton::Kind::Check, CheckRadioButton::Kind::Radio}) {
        SCOPED_TRACE(kind == CheckRadioButton::Kind::Check ? "check" : "radio");
        Log log;
        Ref<LogObserver> observer(new LogObserver(log, ""));
        TestRootPane root(200, 200);
        auto box = std::make_unique<CheckRadioButton>(kind, "Legato");
        box->Create(&root, {20, 20, 120, 20});
        box->SetPressObserver(observer);
        box->AddClickListener(Fn<ButtonListenerArgs>([&](ButtonListenerArgs a) {
            log.push_back(a.button == box.get() ? "Click" : "Click (a part)");
        }));
        ASSERT_TRUE(box->GetMark());
        EXPECT_EQ((Rect{0, 0, 20, 20}), box->GetMark()->GetBounds());
        EXPECT_EQ((Rect{20, 0, 100, 20}), box->GetLabelButton()->GetBounds());
        EXPECT_EQ(String("Legato"), box->GetLabelButton()->GetCaption());

        root.Click(30, 30);  // the mark
        root.Click(100, 30); // the label
        EXPECT_EQ((Log{"Pressed", "Click", "Released", "Pressed", "Click", "Released"}), log);
        EXPECT_FALSE(box->IsOn());

        // The mark shows the state however it is set.
        static_cast<ToggleButton&>(*box).SetOn(true);
        EXPECT_TRUE(box->GetMark()->IsOn());

        // Destroyed while a part is held: the press still ends once.
        log.clear();
        root.MoveTo(100, 30);
        root.Press(100, 30);
        box.reset();
        EXPECT_EQ((Log{"Pressed", "Released"}), log);
        EXPECT_EQ(0, observer->open);
    }
}

} // namespace
} // namespace Corvell::Test
