#include "Canvas.h"
#include "PngBuilder.h"
#include "TestImageSource.h"
#include "TestRootPane.h"
#include "shared/Graphics/Palette.h"
#include "ui/Button.h"
#include "ui/GrayPane.h"
#include "ui/PopupPane.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Corvell::Test {
namespace {

using Lines = std::vector<std::string>;

bool Covers(const Region& region, const Rect& r) {
    Region rest(r);
    for (const Rect& x : region.Rects())
        rest.Subtract(x);
    return rest.IsEmpty();
}

// A pane that writes its close and its deletion to a shared log.
class Logged : public Pane {
public:
    Logged(Lines& log, std::string name) : m_log(log), m_name(std::move(name)) {}
    ~Logged() override {
        if (!IsClosed())
            OnDestroy();
        m_log.push_back("delete " + m_name);
    }
    void OnDestroy() override {
        m_log.push_back("close " + m_name);
        Pane::OnDestroy();
    }

private:
    Lines& m_log;
    std::string m_name;
};

class ClosedLog : public CountedObject<PopupClosedListener> {
public:
    ClosedLog(Lines& log, std::function<void(BasicPopupPane*)> also = nullptr) : m_log(log), m_also(std::move(also)) {}
    void Invoke(BasicPopupPane* p) override {
        m_log.push_back(std::string("closed, content ") + (p->GetContent() ? "there" : "gone"));
        if (m_also)
            m_also(p);
    }

private:
    Lines& m_log;
    std::function<void(BasicPopupPane*)> m_also;
};

using OwningPopup = PaneControllingSubpanes<PopupPane>;
using OwningModal = PaneControllingSubpanes<ModalPopupPane>;

// A window with a panel at (10, 10); popups open over (20, 30, 100, 50) of
// the panel, that is (30, 40, 100, 50) of the window.
class Popup : public ::testing::Test {
protected:
    Popup() {
        root.SetWindowFocus(true);
        panel.Create(&root, {10, 10, 300, 200});
    }
    template <class P>
    P* Open(bool deleteOnClose = true) {
        auto* p = new P;
        p->SetDeleteOnClose(deleteOnClose);
        p->AddClosedListener(new ClosedLog(log));
        p->Create(&panel, {20, 30, 100, 50});
        p->AddSubpane(new Logged(log, "a"), 7);
        p->AddSubpane(new Logged(log, "b"), -1);
        return p;
    }

    TestRootPane root;
    Pane panel;
    Lines log;
};

TEST_F(Popup, OpensOverTheWholeRootWithItsContentWhereAsked) {
    PaneGuard popup(Open<OwningPopup>());
    auto* p = static_cast<BasicPopupPane*>(popup.Get());
    EXPECT_EQ(p->GetParent(), &root);
    EXPECT_EQ(root.GetChild(root.GetChildCount() - 1), p);
    EXPECT_EQ(p->GetBounds(), (Rect{0, 0, 800, 588}));
    EXPECT_EQ(p->ContentRect(), (Rect{30, 40, 100, 50}));
    EXPECT_EQ(p->LocalBounds(), (Rect{0, 0, 100, 50}));
    EXPECT_EQ(root.GetFocusedPane(), p);

    // The content: a grey panel at 90 % of palette entry 9, opaque.
    auto* content = dynamic_cast<GrayPane*>(p->GetContent());
    ASSERT_NE(content, nullptr);
    EXPECT_TRUE(content->IsOpaque());
    const Color c9 = GetColor(9);
    EXPECT_EQ(content->GetColor(), MakeColor(uint8_t(RedOf(c9) * 9 / 10), uint8_t(GreenOf(c9) * 9 / 10),
                                             uint8_t(BlueOf(c9) * 9 / 10)));
    // Later children go into the content; sub-panes keep or take their ids.
    EXPECT_EQ(content->GetChildCount(), 2);
    EXPECT_EQ(content->GetChild(0)->GetId(), 7);
    EXPECT_EQ(content->GetChild(1)->GetId(), -1);
    p->Close();
}

TEST_F(Popup, OpeningAndClosingRepaintTheShadowToo) {
    root.ClearInvalidations();
    auto* p = Open<OwningPopup>();
    const Rect shadow{14, 24, 132, 82};
    EXPECT_TRUE(Covers(root.InvalidRegion(), shadow));
    root.ClearInvalidations();
    p->Close();
    EXPECT_TRUE(Covers(root.InvalidRegion(), shadow));
}

TEST_F(Popup, ClosesInOrderListenersFirstThenPanesThenItself) {
    auto* p = Open<OwningPopup>();
    log.clear();
    PaneGuard alive(p);
    p->Close();
    EXPECT_EQ(log, (Lines{"closed, content there", "close a", "close b", "delete a", "delete b"}));
    EXPECT_FALSE(alive.IsAlive()); // deleted itself
    EXPECT_EQ(root.GetChildCount(), 1);
    EXPECT_EQ(root.GetFocusedPane(), &root);
}

TEST_F(Popup, WithoutDeleteOnCloseItStaysAndASecondCloseDoesNothing) {
    std::unique_ptr<OwningPopup> p(Open<OwningPopup>(false));
    p->Close();
    EXPECT_FALSE(p->IsOpen());
    EXPECT_EQ(p->GetParent(), nullptr);
    const size_t lines = log.size();
    p->Close();
    p->PostClose();
    EXPECT_EQ(log.size(), lines);
    EXPECT_EQ(root.GetDeferredCount(), 0u);
}

struct CloseCase {
    const char* name;
    std::function<void(TestRootPane&)> gesture;
    bool closes;
};

class PopupGesture : public Popup, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(PopupGesture, ClosesAfterTheEventThatAskedForIt) {
    PaneGuard alive(Open<OwningPopup>());
    log.clear();
    GetParam().gesture(root);
    // Nothing has closed while the event ran.
    EXPECT_TRUE(alive.IsAlive());
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(root.GetDeferredCount(), GetParam().closes ? 1u : 0u);
    root.PumpMessages();
    EXPECT_EQ(alive.IsAlive(), !GetParam().closes);
    if (alive.IsAlive())
        static_cast<BasicPopupPane*>(alive.Get())->Close();
}

INSTANTIATE_TEST_SUITE_P(
    Table, PopupGesture,
    ::testing::Values(
        CloseCase{"Escape", [](TestRootPane& r) { r.KeyDown(27); }, true},
        CloseCase{"LeftPressOutside", [](TestRootPane& r) { r.Press(300, 300); }, true},
        CloseCase{"EscapeThenPressOutside", [](TestRootPane& r) {
                      r.KeyDown(27);
                      r.Press(300, 300);
                      r.Release(300, 300);
                      r.KeyDown(27);
                  }, true},
        CloseCase{"AnotherWindowActivated", [](TestRootPane& r) { r.Deactivate(); }, true},
        CloseCase{"OwnMessageBox", [](TestRootPane& r) { r.MessageBox("Delete", "Delete the pattern?", 1); }, false},
        CloseCase{"OtherKey", [](TestRootPane& r) { r.KeyDown('A'); }, false},
        CloseCase{"RightPressOutside", [](TestRootPane& r) { r.Click(300, 300, kButtonRight); }, false},
        CloseCase{"PressOnTheContent", [](TestRootPane& r) { r.Click(60, 60); }, false}),
    [](const auto& info) { return info.param.name; });

TEST_F(Popup, AClosePendingWhenTheOwnerClosesOrDeletesItRunsNothing) {
    // Closed by the owner: the queued close is withdrawn.
    auto* closed = Open<OwningPopup>(false);
    root.KeyDown(27);
    closed->Close();
    EXPECT_EQ(root.GetDeferredCount(), 0u);
    delete closed;
    // Deleted by the owner: likewise.
    auto* deleted = Open<OwningPopup>(false);
    root.KeyDown(27);
    log.clear();
    delete deleted;
    EXPECT_EQ(log, (Lines{"close a", "delete a", "close b", "delete b"}));
    EXPECT_EQ(root.GetDeferredCount(), 0u);
    root.PumpMessages();
    EXPECT_EQ(log.size(), 4u);
}

TEST_F(Popup, AQueuedCloseCannotReachAPopupDeletedOutsideTheTree) {
    // Detached first (the root can no longer withdraw the call), then deleted.
    auto* p = Open<OwningPopup>(false);
    root.KeyDown(27);
    root.Pane::RemoveChild(p);
    delete p;
    root.PumpMessages(); // ASan: the call must not reach the freed popup
    EXPECT_EQ(root.GetDeferredCount(), 0u);
}

TEST_F(Popup, AClosedListenerMayDeleteThePopup) {
    auto* p = new OwningPopup;
    p->AddClosedListener(new ClosedLog(log, [](BasicPopupPane* q) { delete q; }));
    p->Create(&panel, {20, 30, 100, 50});
    p->AddSubpane(new Logged(log, "a"), -1);
    p->Close();
    EXPECT_EQ(log, (Lines{"closed, content there", "close a", "delete a"}));
    EXPECT_EQ(root.GetChildCount(), 1);
}

TEST_F(Popup, AModalPopupCoversItsContentAndShadowOnly) {
    int clicks = 0;
    Button below;
    below.Create(&root, {0, 300, 200, 100});
    struct Count : CountedObject<ButtonListener> {
        int* n;
        explicit Count(int* c) : n(c) {}
        void Invoke(ButtonListenerArgs) override { ++*n; }
    };
    below.AddClickListener(new Count(&clicks));

    PaneGuard alive(Open<OwningModal>());
    auto* p = static_cast<ModalPopupPane*>(alive.Get());
    EXPECT_EQ(p->GetBounds(), (Rect{14, 24, 132, 82}));
    EXPECT_EQ(p->ContentRect(), (Rect{16, 16, 100, 50}));
    EXPECT_EQ(p->GetContent()->GetAbsoluteOrigin(), (Point{30, 40}));

    // Outside the covered area the panes below take the click.
    root.Click(50, 350);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(root.GetDeferredCount(), 0u);
    // In the shadow margin the press belongs to the popup, and closes it.
    root.Click(20, 30);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(root.GetDeferredCount(), 1u);
    root.PumpMessages();
    EXPECT_FALSE(alive.IsAlive());
}

TEST_F(Popup, AnAreaAddedBeforeWidensTheModalPopup) {
    auto* p = new OwningModal;
    p->AddCoveredArea({0, 0, 40, 40});
    p->Create(&panel, {20, 30, 100, 50});
    EXPECT_EQ(p->GetBounds(), (Rect{0, 0, 146, 106}));
    EXPECT_EQ(p->ContentRect(), (Rect{30, 40, 100, 50}));
    EXPECT_TRUE(p->Contains({2, 2}));
    delete p;
}

TEST_F(Popup, PaintsAShadowAroundTheContentInItsOwnFont) {
    ClearImageCache();
    TestImageSource source{"/nowhere/module"};
    source.AddPng("DROP-SHADOW", RgbaPng(132, 132));
    auto* p = Open<OwningPopup>();
    Canvas canvas;
    root.PaintWindow(canvas.gc);
    canvas.CheckRestored();

    // The pieces tile the content's rectangle grown by 16 exactly once.
    const auto blends = canvas.gc.CallsOf("Blend");
    ASSERT_FALSE(blends.empty());
    Region covered;
    int64_t area = 0;
    for (const auto& b : blends) {
        covered.Add(b.rect);
        area += int64_t(b.rect.width) * b.rect.height;
    }
    EXPECT_EQ(covered.Bounds(), (Rect{14, 24, 132, 82}));
    EXPECT_EQ(area, 132 * 82);
    // The content outlined in grey; text of the popup in 9 points.
    const auto rects = canvas.gc.CallsOf("Rectangle");
    ASSERT_FALSE(rects.empty());
    EXPECT_EQ(rects.back().penColor, GrayPane::kOutline);
    p->Close();
    ClearImageCache();
}

} // namespace
} // namespace Corvell::Test
