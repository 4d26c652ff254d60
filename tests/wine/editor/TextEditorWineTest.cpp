// The text editor over a real edit control in a real window under Wine,
// driven by the messages the platform would send.
#include "../RootWindow.h"
#include "ui/NumEditor.h"
#include "ui/PaneTrace.h"
#include "ui/TextEditorImpl.h"
#include "ui/win32/Win32NativePane.h"
#include "ui/win32/Win32TextField.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace Corvell {
namespace {

using WineTest::RunMessagesUntil;
using WineTest::RunQueued;

class RecordingHost : public TextEditorHost {
public:
    void GetEditText(String& out) override { out = text; }
    void CommitEdit(const String& t) override {
        log.push_back(std::string("Commit ") + t.c_str());
        if (during)
            during("Commit");
    }
    void EditFinished() override { log.push_back("Finished"); }
    void EditCancelled() override { log.push_back("Cancelled"); }
    void GetEditFont(Ref<Font>& out) override { out.Reset(); }

    bool Ended() const {
        for (const std::string& l : log)
            if (l == "Finished" || l == "Cancelled")
                return true;
        return false;
    }

    String text;
    std::vector<std::string> log;
    std::function<void(const std::string&)> during;
};

std::vector<std::string> g_trace;
void TraceSink(const char* line) { g_trace.emplace_back(line); }

// The edit control of the newest field under the root's window, or null.
HWND FindEdit(HWND root) {
    HWND field = nullptr;
    for (HWND w = FindWindowExA(root, nullptr, Win32NativePane::WindowClassName(), nullptr); w;
         w = FindWindowExA(root, w, Win32NativePane::WindowClassName(), nullptr))
        field = w;
    return field ? FindWindowExA(field, nullptr, "Edit", nullptr) : nullptr;
}

void Type(HWND edit, const char* text) {
    for (const char* p = text; *p; ++p)
        SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(*p)), 1);
}

void Key(HWND edit, WPARAM key) {
    SendMessageA(edit, WM_KEYDOWN, key, 1);
    SendMessageA(edit, WM_KEYUP, key, 0xC0000001);
}

std::string TextOf(HWND edit) {
    char buffer[256] = {};
    GetWindowTextA(edit, buffer, sizeof buffer);
    return buffer;
}

struct EditorWindow : WineTest::RootWindowTest<EditorWindow> {
    void SetUp() override {
        RootWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        pane.Create(root, Rect{20, 30, 150, 20});
        other.Create(root, Rect{20, 80, 150, 20});
        host.text = "Pattern 1";
        RunQueued();
    }
    void TearDown() override {
        RootWindowTest::TearDown();
        SetPaneTraceSink(nullptr);
    }

    // Opens an editor over the whole host pane; returns its edit control.
    HWND Open(RecordingHost& h, Pane& over) {
        auto* e = new TextEditorImpl(&h);
        e->Create(&over, Rect{0, 0, over.GetBounds().width, over.GetBounds().height});
        RunQueued();
        return FindEdit(root->Hwnd());
    }

    Pane pane;
    Pane other;
    RecordingHost host;
};

TEST_F(EditorWindow, TypingThenEnterCommitsTheTextAndTheWindowsGo) {
    SetPaneTraceSink(&TraceSink);
    g_trace.clear();
    HWND edit = Open(host, pane);
    ASSERT_NE(nullptr, edit);
    HWND field = GetParent(edit);
    EXPECT_EQ(root->Hwnd(), GetParent(field));
    EXPECT_EQ(edit, GetFocus());
    // Where the host pane lies in the window, covered whole by the control.
    RECT rc;
    GetWindowRect(field, &rc);
    MapWindowPoints(nullptr, root->Hwnd(), reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(20, rc.left);
    EXPECT_EQ(30, rc.top);
    EXPECT_EQ(150, rc.right - rc.left);
    GetClientRect(edit, &rc);
    EXPECT_EQ(150, rc.right);
    EXPECT_EQ(Win32TextField::kEditStyle, static_cast<DWORD>(GetWindowLongA(edit, GWL_STYLE)) &
                                              Win32TextField::kEditStyle);
    EXPECT_EQ(DLGC_WANTALLKEYS, SendMessageA(edit, WM_GETDLGCODE, 0, 0));
    EXPECT_EQ(31, SendMessageA(edit, EM_GETLIMITTEXT, 0, 0));
    EXPECT_EQ("Pattern 1", TextOf(edit));

    Type(edit, "abc"); // the starting text is selected: typing replaces it
    EXPECT_EQ("abc", TextOf(edit));
    Key(edit, VK_RETURN);

    EXPECT_EQ(host.log, (std::vector<std::string>{"Commit abc", "Finished"}));
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_FALSE(IsWindow(field));
    RunQueued();
    EXPECT_EQ(host.log.size(), 2u);
    bool traced = false;
    for (const std::string& l : g_trace)
        traced = traced || l == "Edit: code = EN_CHANGE\n";
    EXPECT_TRUE(traced);
}

TEST_F(EditorWindow, EnterOnAnEmptiedFieldKeepsItOpenThenEscapeCancels) {
    HWND edit = Open(host, pane);
    ASSERT_NE(nullptr, edit);
    Key(edit, VK_DELETE); // the whole text was selected
    EXPECT_EQ("", TextOf(edit));
    Key(edit, VK_RETURN);
    RunQueued();
    EXPECT_TRUE(host.log.empty());
    EXPECT_TRUE(IsWindow(edit));

    Type(edit, "Chorus");
    Key(edit, VK_ESCAPE);
    EXPECT_EQ(host.log, std::vector<std::string>{"Cancelled"});
    EXPECT_FALSE(IsWindow(edit));
}

TEST_F(EditorWindow, LosingTheFocusCancels) {
    HWND edit = Open(host, pane);
    ASSERT_NE(nullptr, edit);
    Type(edit, "Verse");
    SetFocus(root->Hwnd());
    ASSERT_TRUE(RunMessagesUntil([&] { return host.Ended(); }));
    EXPECT_EQ(host.log, std::vector<std::string>{"Cancelled"});
    EXPECT_FALSE(IsWindow(edit));
}

TEST_F(EditorWindow, AClickElsewhereInTheWindowCancels) {
    HWND edit = Open(host, pane);
    ASSERT_NE(nullptr, edit);
    Type(edit, "Verse");
    // The root takes the capture and the keyboard focus with a press.
    const LPARAM at = MAKELPARAM(300, 200);
    SendMessageA(root->Hwnd(), WM_MOUSEMOVE, 0, at);
    SendMessageA(root->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(root->Hwnd(), WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(RunMessagesUntil([&] { return host.Ended(); }));
    EXPECT_EQ(host.log, std::vector<std::string>{"Cancelled"});
    EXPECT_FALSE(IsWindow(edit));
}

TEST_F(EditorWindow, TheFieldIsWhiteOnBlack) {
    HWND edit = Open(host, pane);
    ASSERT_NE(nullptr, edit);
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    const LRESULT brush = SendMessageA(GetParent(edit), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(edit));
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH)), brush);
    EXPECT_EQ(RGB(255, 255, 255), GetTextColor(dc));
    EXPECT_EQ(RGB(0, 0, 0), GetBkColor(dc));
    DeleteDC(dc);
    Key(edit, VK_ESCAPE);
}

TEST_F(EditorWindow, ASecondEditorTakesTheFocusAndTheFirstCancels) {
    HWND first = Open(host, pane);
    ASSERT_NE(nullptr, first);
    RecordingHost second;
    second.text = "Bank B";
    HWND next = Open(second, other);
    ASSERT_NE(nullptr, next);
    ASSERT_NE(first, next);
    ASSERT_TRUE(RunMessagesUntil([&] { return host.Ended(); }));
    EXPECT_EQ(host.log, std::vector<std::string>{"Cancelled"});
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindow(next));
    EXPECT_EQ(next, GetFocus());

    Type(next, "Bank C");
    Key(next, VK_RETURN);
    EXPECT_EQ(second.log, (std::vector<std::string>{"Commit Bank C", "Finished"}));
    EXPECT_EQ(host.log.size(), 1u);
}

TEST_F(EditorWindow, TheWindowDestroyedWhileTheEditorIsOpenCancelsIt) {
    HWND edit = Open(host, pane);
    ASSERT_NE(nullptr, edit);
    Type(edit, "half");
    DestroyWindow(root->Hwnd());
    EXPECT_EQ(host.log, std::vector<std::string>{"Cancelled"});
    EXPECT_FALSE(IsWindow(edit));
    RunQueued();
    EXPECT_EQ(host.log.size(), 1u);
}

TEST_F(EditorWindow, ALongerTextIsNeverCutOrMangledAndTypingStopsAtTheLimit) {
    // 40 characters, far wider than the field.
    const std::string forty = "0123456789012345678901234567890123456789";
    host.text = forty.c_str();
    HWND edit = Open(host, pane);
    ASSERT_NE(nullptr, edit);
    EXPECT_EQ(forty, TextOf(edit));
    Key(edit, VK_RETURN);
    RunQueued();
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(forty, TextOf(edit));
    // Typing past the limit is refused, and takes nothing away.
    Key(edit, VK_END);
    Type(edit, "x");
    EXPECT_EQ(forty, TextOf(edit));
    // Each backspace takes one character; at 31 the text is taken whole.
    for (size_t n = forty.size(); n > 31; --n) {
        SendMessageA(edit, WM_CHAR, VK_BACK, 1);
        ASSERT_EQ(forty.substr(0, n - 1), TextOf(edit));
    }
    Key(edit, VK_RETURN);
    EXPECT_EQ(host.log, (std::vector<std::string>{"Commit " + forty.substr(0, 31), "Finished"}));

    // A name wider than a narrow field can still be typed up to the limit.
    Pane narrow;
    narrow.Create(root, Rect{20, 150, 60, 20});
    host.log.clear();
    host.text = "";
    edit = Open(host, narrow);
    ASSERT_NE(nullptr, edit);
    Type(edit, forty.c_str());
    EXPECT_EQ(forty.substr(0, 31), TextOf(edit));
    Key(edit, VK_RETURN);
    EXPECT_EQ(host.log, (std::vector<std::string>{"Commit " + forty.substr(0, 31), "Finished"}));
}

TEST_F(EditorWindow, AHostDeletingTheEditorInsideCommitEditHearsNothingMore) {
    TextEditorImpl* editor = new TextEditorImpl(&host);
    host.during = [&](const std::string&) { delete editor; };
    editor->Create(&pane, Rect{0, 0, 150, 20});
    HWND edit = FindEdit(root->Hwnd());
    ASSERT_NE(nullptr, edit);
    Type(edit, "x");
    Key(edit, VK_RETURN);
    RunQueued();
    EXPECT_EQ(host.log, std::vector<std::string>{"Commit x"});
    EXPECT_FALSE(IsWindow(edit));
}

TEST_F(EditorWindow, ANumberEditorTakesATypedValue) {
    struct Listener : Inner_delegate<RangeControlListener> {
        void Begin(RangeControl*) override { log.push_back("Begin"); }
        void Changed(RangeControl* c) override { log.push_back("Changed " + std::to_string(c->GetValue())); }
        void End(RangeControl*) override { log.push_back("End"); }
        std::vector<std::string> log;
    } listener;
    NumEditor number;
    number.Create(root, Rect{200, 30, 60, 20});
    number.SetRange(0, 127);
    number.AddListener(&listener);
    const LPARAM at = MAKELPARAM(215, 40);
    SendMessageA(root->Hwnd(), WM_MOUSEMOVE, 0, at);
    SendMessageA(root->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(root->Hwnd(), WM_LBUTTONUP, 0, at);
    SendMessageA(root->Hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(root->Hwnd(), WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(number.IsTyping());
    HWND edit = FindEdit(root->Hwnd());
    ASSERT_NE(nullptr, edit);
    EXPECT_EQ(edit, GetFocus());
    EXPECT_EQ("0", TextOf(edit));
    Type(edit, "64");
    Key(edit, VK_RETURN);
    EXPECT_FALSE(number.IsTyping());
    EXPECT_EQ(64, number.GetValue());
    EXPECT_EQ(listener.log, (std::vector<std::string>{"Begin", "Changed 64", "End"}));
    EXPECT_FALSE(IsWindow(edit));
}

} // namespace
} // namespace Corvell
