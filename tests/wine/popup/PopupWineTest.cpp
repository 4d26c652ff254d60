// Combos, their native menus and popup panes in a real window under Wine.
// A menu's loop is modal: thread timers read and close it from inside.
#include "../RootWindow.h"
#include "ui/Button.h"
#include "ui/Combo.h"
#include "ui/EditCombo.h"
#include "ui/PopupPane.h"
#include "ui/Tooltip.h"
#include "ui/TooltipViewer.h"
#include "ui/win32/Win32NativePane.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Corvell {
namespace {

using WineTest::RunMessagesUntil;
using WineTest::RunQueued;

HWND MenuWindow() {
    HWND w = FindWindowA("#32768", nullptr);
    return w && IsWindowVisible(w) ? w : nullptr;
}

// What the timers saw of the menu that was up.
struct MenuProbe {
    static std::vector<std::string> items;
    static RECT where;
    static int menus;
    static UINT_PTR timer;
    static UINT_PTR safety;

    static void Start(TIMERPROC proc) {
        items.clear();
        where = RECT{};
        menus = 0;
        timer = SetTimer(nullptr, 0, 20, proc);
        // A menu nobody expected must not hang the run.
        safety = SetTimer(nullptr, 0, 3000, &Safety);
    }
    static void Stop() {
        KillTimer(nullptr, timer);
        KillTimer(nullptr, safety);
    }
    static bool Read(HWND w) {
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(w, 0x01E1 /* MN_GETHMENU */, 0, 0));
        if (!menu)
            return false;
        ++menus;
        GetWindowRect(w, &where);
        const int n = GetMenuItemCount(menu);
        for (int i = 0; i < n; ++i) {
            char text[64] = {};
            GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
            items.push_back(std::string(text) + ((state & MF_CHECKED) ? ":checked" : "") +
                            ((state & MF_GRAYED) ? ":grey" : ""));
        }
        return true;
    }
    // Reads the menu, then picks its first item with the keyboard.
    static void CALLBACK ReadAndPickFirst(HWND, UINT, UINT_PTR id, DWORD) {
        HWND w = MenuWindow();
        if (!w || !Read(w))
            return;
        KillTimer(nullptr, id);
        PostMessageA(w, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(w, WM_KEYDOWN, VK_RETURN, 0);
    }
    // Reads the menu, then cancels it.
    static void CALLBACK ReadAndCancel(HWND, UINT, UINT_PTR id, DWORD) {
        HWND w = MenuWindow();
        if (!w || !Read(w))
            return;
        KillTimer(nullptr, id);
        EndMenu();
    }
    static void CALLBACK Safety(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        ++menus;
        items.push_back("unexpected menu");
        EndMenu();
    }
};
std::vector<std::string> MenuProbe::items;
RECT MenuProbe::where;
int MenuProbe::menus = 0;
UINT_PTR MenuProbe::timer = 0;
UINT_PTR MenuProbe::safety = 0;

struct Chosen : CountedObject<ComboListener> {
    void Invoke(Combo* c) override { picks.push_back(c->GetSelectedIndex()); }
    std::vector<int32_t> picks;
};

struct PopupWindow : WineTest::RootWindowTest<PopupWindow> {
    void Click(int x, int y) {
        SendMessageA(root->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageA(root->Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
};

TEST_F(PopupWindow, AComboShowsItsItemsAsTheyAreBelowItselfAndTakesTheChoice) {
    Combo combo;
    combo.Create(root, Rect{40, 50, 150, 20});
    combo.AddItem("Rock & Blues");
    combo.AddItem("Clean\tLead");
    combo.AddItem("Off");
    combo.GetItems().Item(2).flags |= MenuItem::Disabled;
    combo.Select(1);
    Ref<Chosen> chosen(new Chosen);
    combo.AddChosenListener(chosen);

    MenuProbe::Start(&MenuProbe::ReadAndPickFirst);
    Click(60, 60);
    MenuProbe::Stop();

    // Stored doubled, an ampersand shows as itself; a tab is no column.
    EXPECT_EQ(MenuProbe::items, (std::vector<std::string>{"Rock && Blues", "Clean Lead:checked", "Off:grey"}));
    POINT below{40, 70};
    ClientToScreen(root->Hwnd(), &below);
    EXPECT_EQ(MenuProbe::where.left, below.x);
    EXPECT_EQ(MenuProbe::where.top, below.y);
    EXPECT_EQ(combo.GetSelectedIndex(), 0);
    EXPECT_EQ(chosen->picks, (std::vector<int32_t>{0}));
    EXPECT_EQ(std::string(combo.GetItemText(0).c_str()), "Rock & Blues");

    // The click right after the menu closed does not reopen it; a later one does.
    MenuProbe::Start(&MenuProbe::ReadAndCancel);
    Click(60, 60);
    EXPECT_EQ(MenuProbe::menus, 0);
    Sleep(60);
    Click(60, 60);
    MenuProbe::Stop();
    EXPECT_EQ(MenuProbe::menus, 1);
    EXPECT_EQ(combo.GetSelectedIndex(), 0); // cancelled: unchanged
    EXPECT_EQ(chosen->picks.size(), 1u);
}

TEST_F(PopupWindow, EscapeClosesAPopupOnceTheKeyHasBeenHandled) {
    auto* popup = new PaneControllingSubpanes<PopupPane>;
    popup->SetDeleteOnClose(true);
    popup->Create(root, Rect{50, 40, 200, 120});
    PaneGuard alive(popup);
    RunQueued();
    // Opening took the keyboard focus for the popup.
    ASSERT_EQ(GetFocus(), root->Hwnd());
    ASSERT_EQ(root->GetFocusedPane(), popup);
    SendMessageA(root->Hwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(alive.IsAlive()); // deferred
    EXPECT_TRUE(RunMessagesUntil([&] { return !alive.IsAlive(); }));
    EXPECT_EQ(root->GetChildCount(), 0);
}

TEST_F(PopupWindow, APopupClosesWhenAnotherWindowIsActivatedNotWhenItsOwnFieldTakesTheFocus) {
    auto* popup = new PaneControllingSubpanes<ModalPopupPane>;
    popup->SetDeleteOnClose(true);
    popup->Create(root, Rect{50, 40, 200, 120});
    auto* name = new EditCombo;
    name->Create(popup, Rect{10, 10, 150, 22});
    name->AddItem("Bank 1");
    name->Select(0);
    PaneGuard alive(popup);
    RunQueued();
    ASSERT_EQ(GetFocus(), root->Hwnd());

    // Typing a name: the focus moves to the edit control, a child of the window.
    name->BeginEdit();
    RunQueued();
    ASSERT_TRUE(name->IsEditing());
    EXPECT_NE(GetFocus(), root->Hwnd());
    EXPECT_TRUE(IsChild(root->Hwnd(), GetFocus()));
    RunQueued();
    EXPECT_TRUE(alive.IsAlive());
    EXPECT_EQ(root->GetDeferredCount(), 0u);

    // Back to the window, then the user turns to another window.
    root->Activate();
    RunQueued();
    ASSERT_EQ(GetFocus(), root->Hwnd());
    HWND other = WineTest::MakeTopLevel(200, 100);
    SetForegroundWindow(other);
    SetActiveWindow(other);
    SetFocus(other);
    EXPECT_TRUE(RunMessagesUntil([&] { return !alive.IsAlive(); }));
    EXPECT_EQ(root->GetChildCount(), 0);
    DestroyWindow(other);
    RunQueued();
}

TEST_F(PopupWindow, ATooltipAppearsOverItsPaneTakesNothingFromItAndGoesWithIt) {
    auto* line = new TooltipViewer;
    line->Create(root, Rect{0, 270, 400, 22});
    auto* page = new Pane;
    page->Create(root, Rect{20, 20, 200, 100});
    auto* strum = new Button;
    strum->SetCaption("Strum");
    strum->Create(page, Rect{10, 10, 80, 24});
    struct Count : CountedObject<ButtonListener> {
        int clicks = 0;
        void Invoke(ButtonListenerArgs) override { ++clicks; }
    };
    Ref<Count> count(new Count);
    strum->AddClickListener(count);
    line->AddTooltip(new TooltipNotifier(strum, "Strum time"));
    root->Activate();
    RunQueued();
    UpdateWindow(root->Hwnd());
    const HWND focus = GetFocus();

    // The pointer comes over the button: the line says its text and repaints.
    SendMessageA(root->Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(50, 40));
    EXPECT_STREQ("Strum time", line->GetText().c_str());
    RECT dirty;
    ASSERT_TRUE(GetUpdateRect(root->Hwnd(), &dirty, FALSE));
    EXPECT_LE(dirty.top, 270);
    EXPECT_GE(dirty.bottom, 292);
    UpdateWindow(root->Hwnd());
    // It took neither the focus nor the click.
    EXPECT_EQ(focus, GetFocus());
    SendMessageA(root->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 40));
    SendMessageA(root->Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(50, 40));
    EXPECT_EQ(1, count->clicks);
    EXPECT_STREQ("Strum time", line->GetText().c_str());

    // The page goes, its tooltips first: the line goes blank and repaints.
    line->DeleteTooltips();
    delete strum;
    delete page;
    EXPECT_STREQ("", line->GetText().c_str());
    ASSERT_TRUE(GetUpdateRect(root->Hwnd(), &dirty, FALSE));
    EXPECT_LE(dirty.top, 270);
    EXPECT_GE(dirty.bottom, 292);
    SendMessageA(root->Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(52, 42));
    EXPECT_STREQ("", line->GetText().c_str());
    delete line;
    RunQueued();
}

} // namespace
} // namespace Corvell
