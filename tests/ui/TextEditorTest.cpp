#include "TestRootPane.h"
#include "ui/PaneTrace.h"
#include "ui/TextEditorImpl.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Corvell::Test {
namespace {

// Logs every call of the editor; `during` runs inside the named call.
class RecordingHost : public TextEditorHost {
public:
    void GetEditText(String& out) override {
        log.push_back("GetEditText");
        out = text;
    }
    void CommitEdit(const String& t) override {
        log.push_back(std::string("Commit ") + t.c_str());
        Run("Commit");
    }
    void EditFinished() override {
        log.push_back("Finished");
        Run("Finished");
    }
    void EditCancelled() override {
        log.push_back("Cancelled");
        Run("Cancelled");
    }
    void GetEditFont(Ref<Font>& out) override {
        log.push_back("GetEditFont");
        out = font;
    }
    bool AcceptsEditText(const String& t) override {
        log.push_back(std::string("Accepts ") + t.c_str());
        return accepts;
    }

    // The ends reported, in order.
    std::vector<std::string> Ends() const {
        std::vector<std::string> out;
        for (const std::string& l : log)
            if (l.rfind("Commit", 0) == 0 || l == "Finished" || l == "Cancelled")
                out.push_back(l);
        return out;
    }

    String text;
    Ref<Font> font;
    bool accepts = true;
    std::vector<std::string> log;
    std::function<void(const std::string& call)> during;

private:
    void Run(const std::string& call) {
        if (during)
            during(call);
    }
};

// A host pane at (30, 20) inside a pane at (10, 40) of a 300 x 200 window.
class Editor : public ::testing::Test {
protected:
    Editor() {
        outer.Create(&root, {10, 40, 200, 100});
        pane.Create(&outer, {30, 20, 120, 18});
        host.text = "Pattern 1";
    }

    // Opens an editor over (2, 1, 100, 16) of the host pane.
    TextEditorImpl* Open() {
        editor = new TextEditorImpl(&host);
        editor->Create(&pane, {2, 1, 100, 16});
        return editor;
    }
    FakeTextField* Field() const { return root.textFields.Last(); }
    // No field is left: the editor deleted its field, so it went itself.
    bool AllGone() const { return root.textFields.live.empty(); }

    TestRootPane root{300, 200};
    Pane outer;
    Pane pane;
    RecordingHost host;
    TextEditorImpl* editor = nullptr;
};

TEST_F(Editor, OpensAFieldOverTheRectangleInWindowCoordinatesWithTheHostsText) {
    Open();
    FakeTextField* f = Field();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->IsOpen());
    EXPECT_EQ(f->Window(), root.GetNativeWindow());
    EXPECT_EQ(f->Where(), (Rect{42, 61, 100, 16}));
    EXPECT_STREQ(f->Text().c_str(), "Pattern 1");
    EXPECT_EQ(f->Limit(), TextEditorImpl::kMaxLength);
    EXPECT_EQ(f->Limit(), 31);
    // No font from the host: the editor's own, Tahoma at 11 pixels.
    ASSERT_NE(f->GetFont(), nullptr);
    EXPECT_EQ(f->GetFont(), editor->GetOwnFont());
    EXPECT_STREQ(f->GetFont()->Desc().face, "Tahoma");
    EXPECT_EQ(f->GetFont()->Desc().height, -11);
    EXPECT_EQ(host.log, (std::vector<std::string>{"GetEditText", "GetEditFont"}));
    EXPECT_TRUE(editor->IsOpen());
    f->PressEscape();
}

TEST_F(Editor, TheHostsFontWhenItGivesOne) {
    host.font = new Font("Tahoma", 9.0f, 1, Font::Points);
    Open();
    EXPECT_EQ(Field()->GetFont(), host.font.Get());
    Field()->PressEscape();
    EXPECT_TRUE(AllGone());
}

// ---- the ends ---------------------------------------------------------------------

struct EndingCase {
    const char* name;
    std::function<void(FakeTextField&, TestRootPane&)> act;
    std::vector<std::string> ends; // empty: still open
};

class Endings : public Editor, public ::testing::WithParamInterface<EndingCase> {};

TEST_P(Endings, ReportExactlyOneEndAndLeaveNothingBehind) {
    const EndingCase& c = GetParam();
    Open();
    c.act(*Field(), root);
    EXPECT_EQ(host.Ends(), c.ends);
    if (c.ends.empty()) {
        ASSERT_NE(Field(), nullptr);
        EXPECT_TRUE(Field()->IsOpen());
        Field()->PressEscape();
        EXPECT_EQ(host.Ends(), std::vector<std::string>{"Cancelled"});
    }
    EXPECT_TRUE(AllGone());
    EXPECT_EQ(root.textFields.made, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Endings,
    ::testing::Values(
        EndingCase{"TypeThenEnter",
                   [](FakeTextField& f, TestRootPane&) {
                       f.Type("abc");
                       f.PressEnter();
                   },
                   {"Commit abc", "Finished"}},
        EndingCase{"EnterOnTheStartingText", [](FakeTextField& f, TestRootPane&) { f.PressEnter(); },
                   {"Commit Pattern 1", "Finished"}},
        EndingCase{"EnterOnAnEmptiedFieldKeepsItOpen",
                   [](FakeTextField& f, TestRootPane&) {
                       f.Erase(100);
                       f.PressEnter();
                       EXPECT_EQ(f.Refusals(), 1);
                   },
                   {}},
        EndingCase{"Escape",
                   [](FakeTextField& f, TestRootPane&) {
                       f.Type("abc");
                       f.PressEscape();
                   },
                   {"Cancelled"}},
        EndingCase{"FocusElsewhere",
                   [](FakeTextField& f, TestRootPane&) {
                       f.Type("abc");
                       f.LoseFocus();
                   },
                   {"Cancelled"}},
        EndingCase{"WindowDestroyed", [](FakeTextField&, TestRootPane& r) { r.DestroyWindow(); }, {"Cancelled"}},
        EndingCase{"EnterTwiceEscapeAndFocusAfterwards",
                   [](FakeTextField& f, TestRootPane& r) {
                       f.Type("x");
                       f.PressEnter();
                       // The field is gone; a late platform event finds nothing.
                       EXPECT_EQ(r.textFields.Last(), nullptr);
                   },
                   {"Commit x", "Finished"}}),
    [](const ::testing::TestParamInfo<EndingCase>& i) { return std::string(i.param.name); });

// What the platform reports while the control is destroyed differs (a
// focus loss before or after, a destroy notice, both, nothing). The end
// must not depend on it.
struct OrderCase {
    const char* name;
    std::vector<FakeTextFields::Notice> duringDestroy;
};

class EndOnce : public Editor,
                public ::testing::WithParamInterface<std::tuple<OrderCase, int /* 0 Enter, 1 Escape, 2 focus */>> {};

TEST_P(EndOnce, WhateverThePlatformReportsWhileTheControlGoes) {
    const OrderCase& order = std::get<0>(GetParam());
    const int how = std::get<1>(GetParam());
    root.textFields.duringDestroy = order.duringDestroy;
    Open();
    Field()->Type("Verse");
    if (how == 0)
        Field()->PressEnter();
    else if (how == 1)
        Field()->PressEscape();
    else
        Field()->LoseFocus();

    if (how == 0)
        EXPECT_EQ(host.Ends(), (std::vector<std::string>{"Commit Verse", "Finished"}));
    else
        EXPECT_EQ(host.Ends(), std::vector<std::string>{"Cancelled"});
    EXPECT_TRUE(AllGone());
    int closes = 0;
    for (const std::string& l : root.textFields.log)
        closes += l == "Destroy";
    EXPECT_EQ(closes, 1);
}

std::string EndOnceName(const ::testing::TestParamInfo<std::tuple<OrderCase, int>>& i) {
    static const char* const how[] = {"Enter", "Escape", "FocusLost"};
    return std::string(std::get<0>(i.param).name) + how[std::get<1>(i.param)];
}

INSTANTIATE_TEST_SUITE_P(
    Orders, EndOnce,
    ::testing::Combine(::testing::Values(OrderCase{"Nothing", {}}, OrderCase{"FocusLost", {FakeTextFields::kFocusLost}},
                                         OrderCase{"Gone", {FakeTextFields::kGone}},
                                         OrderCase{"FocusThenGone", {FakeTextFields::kFocusLost, FakeTextFields::kGone}},
                                         OrderCase{"GoneThenFocus", {FakeTextFields::kGone, FakeTextFields::kFocusLost}}),
                       ::testing::Values(0, 1, 2)),
    EndOnceName);

// ---- the host acting from its calls --------------------------------------------------

TEST_F(Editor, AHostMayDeleteTheEditorInsideCommitEditAndHearsNothingMore) {
    host.during = [&](const std::string& call) {
        if (call == "Commit") {
            delete editor; // the host's row was deselected, say
            editor = nullptr;
        }
    };
    root.textFields.duringDestroy = {FakeTextFields::kFocusLost};
    Open();
    Field()->Type("Chorus");
    Field()->PressEnter();
    EXPECT_EQ(host.Ends(), std::vector<std::string>{"Commit Chorus"});
    EXPECT_TRUE(AllGone());
}

TEST_F(Editor, AHostMayDeleteTheEditorInItsLastCall) {
    for (const char* key : {"Enter", "Escape"}) {
        host.log.clear();
        host.during = [&](const std::string& call) {
            if (call == "Finished" || call == "Cancelled") {
                delete editor;
                editor = nullptr;
            }
        };
        Open();
        if (std::string(key) == "Enter")
            Field()->PressEnter();
        else
            Field()->PressEscape();
        EXPECT_EQ(host.Ends().size(), std::string(key) == "Enter" ? 2u : 1u) << key;
        EXPECT_TRUE(AllGone()) << key;
    }
}

TEST_F(Editor, AnOwnerDeletedInsideCommitEditTakesItsEditorWithIt) {
    // The owner is the host, and deletes its running editor when it goes,
    // as hosts must; it goes from inside the accepted text's call.
    struct Owner final : TextEditorHost {
        explicit Owner(std::vector<std::string>& l) : log(l) {}
        ~Owner() { delete editor; }
        void GetEditText(String& out) override { out = "Bank A"; }
        void CommitEdit(const String& t) override {
            log.push_back(std::string("Commit ") + t.c_str());
            delete this;
        }
        void EditFinished() override { log.push_back("Finished"); }
        void EditCancelled() override { log.push_back("Cancelled"); }
        void GetEditFont(Ref<Font>& out) override { out.Reset(); }
        std::vector<std::string>& log;
        TextEditorImpl* editor = nullptr;
    };
    std::vector<std::string> log;
    root.textFields.duringDestroy = {FakeTextFields::kFocusLost};
    auto* owner = new Owner(log);
    owner->editor = new TextEditorImpl(owner);
    owner->editor->Create(&pane, {0, 0, 50, 16});
    Field()->Type("Bank B");
    Field()->PressEnter();
    EXPECT_EQ(log, std::vector<std::string>{"Commit Bank B"});
    EXPECT_TRUE(AllGone());
}

TEST_F(Editor, KeysAndFocusLossInsideTheHostsCallsFindTheEditorEnded) {
    // The host's reaction to the end sends the platform's late events.
    host.during = [&](const std::string& call) {
        if (call == "Commit") {
            // The field is closed by now: nothing reaches the editor.
            EXPECT_EQ(Field(), root.textFields.Last());
            if (FakeTextField* f = Field()) {
                EXPECT_FALSE(f->IsOpen());
                f->PressEnter();
                f->PressEscape();
                f->LoseFocus();
                f->DestroyFromOutside();
            }
        }
    };
    Open();
    Field()->PressEnter();
    EXPECT_EQ(host.Ends(), (std::vector<std::string>{"Commit Pattern 1", "Finished"}));
    EXPECT_TRUE(AllGone());
}

TEST_F(Editor, AHostDeletingAnOpenEditorHearsNothing) {
    Open();
    Field()->Type("half typed");
    root.textFields.duringDestroy = {FakeTextFields::kFocusLost, FakeTextFields::kGone};
    delete editor;
    EXPECT_TRUE(host.Ends().empty());
    EXPECT_TRUE(AllGone());
}

// ---- length ---------------------------------------------------------------------------------

TEST_F(Editor, ALongerStartingTextIsNeverCutEnterRefusesItUntilShortened) {
    const std::string forty = "0123456789012345678901234567890123456789";
    host.text = forty.c_str();
    Open();
    Field()->PressEnter();
    EXPECT_EQ(Field()->Refusals(), 1);
    EXPECT_TRUE(Field()->IsOpen());
    EXPECT_STREQ(Field()->Text().c_str(), forty.c_str());
    EXPECT_TRUE(host.Ends().empty());

    // Shortened to 32: still one too many.
    Field()->Deselect();
    Field()->Erase(8);
    Field()->PressEnter();
    EXPECT_EQ(Field()->Refusals(), 2);
    EXPECT_TRUE(host.Ends().empty());

    Field()->Erase(1);
    Field()->PressEnter();
    EXPECT_EQ(host.Ends(), (std::vector<std::string>{"Commit " + forty.substr(0, 31), "Finished"}));
    EXPECT_TRUE(AllGone());
}

TEST_F(Editor, TypingStopsAtTheLimitSoWhatIsCommittedIsWhatTheUserSaw) {
    Open();
    Field()->Type("A very long chord name that goes on");
    const std::string shown = Field()->Text().c_str();
    EXPECT_EQ(shown.size(), 31u);
    Field()->PressEnter();
    EXPECT_EQ(host.Ends(), (std::vector<std::string>{"Commit " + shown, "Finished"}));
}

TEST_F(Editor, TextTheHostRefusesKeepsTheFieldOpen) {
    host.accepts = false;
    Open();
    Field()->Type("junk");
    Field()->PressEnter();
    EXPECT_EQ(Field()->Refusals(), 1);
    EXPECT_TRUE(host.Ends().empty());
    host.accepts = true;
    Field()->PressEnter();
    EXPECT_EQ(host.Ends(), (std::vector<std::string>{"Commit junk", "Finished"}));
}

TEST_F(Editor, AHostDeletingTheEditorWhileAskedAboutTheTextIsSafe) {
    struct Deleting final : RecordingHost {
        TextEditorImpl** editor = nullptr;
        bool AcceptsEditText(const String&) override {
            delete *editor;
            *editor = nullptr;
            return true;
        }
    } deleting;
    deleting.editor = &editor;
    deleting.text = "Intro";
    editor = new TextEditorImpl(&deleting);
    editor->Create(&pane, {0, 0, 50, 16});
    Field()->PressEnter();
    EXPECT_TRUE(deleting.Ends().empty());
    EXPECT_TRUE(AllGone());
}

// ---- no field ---------------------------------------------------------------------------------

TEST_F(Editor, WithoutAFieldTheEditorEndsAtOnceCancelled) {
    root.textFields.failOpen = true;
    Open();
    EXPECT_EQ(host.Ends(), std::vector<std::string>{"Cancelled"});
    EXPECT_TRUE(AllGone());

    // A pane in no window.
    root.textFields.failOpen = false;
    host.log.clear();
    Pane alone;
    alone.SetBounds({0, 0, 50, 20});
    auto* e = new TextEditorImpl(&host);
    e->Create(&alone, {0, 0, 50, 20});
    EXPECT_EQ(host.Ends(), std::vector<std::string>{"Cancelled"});
    EXPECT_EQ(root.textFields.made, 1);
}

} // namespace
} // namespace Corvell::Test
