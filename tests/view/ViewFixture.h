#pragma once
// The view in a test window on the substitute engine, which notifies on
// the calling thread or from its worker as the test's parameter says.
// Every test starts with an empty image cache, as the first open in a
// process does, and leaves it empty.
#include "EngineModes.h"
#include "SubstituteHost.h"
#include "TestImageSource.h"
#include "TestRootPane.h"
#include "shared/Graphics/Bitmap.h"
#include "view/RorezoZavu.h"

#include <gtest/gtest.h>

#include <memory>

namespace Corvell::Test {

struct ViewFixture : ::testing::TestWithParam<Substitute::Notifier::Mode> {
    ~ViewFixture() override {
        view.reset();
        ClearImageCache();
    }
    // Before the view: it takes its images while it is built.
    struct ColdCache {
        ColdCache() { ClearImageCache(); }
    } cold;
    TestImageSource images{TARROW_SOURCE_DIR "/src/resources"};
    Substitute::SubstituteHost host{GetParam()};
    TestRootPane root;
    std::unique_ptr<RorezoZavu> view{new RorezoZavu};

    // The view in the window, attached to the engine, its notices delivered.
    void AttachInWindow() {
        root.AddChild(view.get());
        ASSERT_TRUE(view->AttachHost(&host));
        Settle();
    }
    // Everything the engine sent so far, delivered on the window's thread.
    void Settle() {
        host.Notices().Flush();
        root.PumpMessages();
    }
    // A click at (dx, dy) inside p, then what it set off.
    void ClickAt(const Pane* p, int dx, int dy) {
        const Point o = p->GetAbsoluteOrigin();
        root.Click(o.x + dx, o.y + dy);
        Settle();
    }
    void ClickCentre(const Pane* p) { ClickAt(p, p->GetBounds().width / 2, p->GetBounds().height / 2); }
};

} // namespace Corvell::Test
