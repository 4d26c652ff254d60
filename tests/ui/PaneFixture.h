#pragma once
#include "EventLog.h"
#include "TestRootPane.h"

#include <gtest/gtest.h>

#include <memory>

namespace Corvell::Test {

// root 200x200
//   p  (10, 10, 100, 100)        "P"
//     c (10, 10, 30, 30)         "C"   (20..50 in the window)
//   q  (120, 10, 60, 60)         "Q"
class PaneFixture : public ::testing::Test {
protected:
    PaneFixture() {
        p->Create(root.get(), {10, 10, 100, 100});
        c->Create(p.get(), {10, 10, 30, 30});
        q->Create(root.get(), {120, 10, 60, 60});
    }
    ~PaneFixture() override {
        // Panes first, as the view that owns them would.
        c.reset();
        p.reset();
        q.reset();
        root.reset();
    }

    // The pointer somewhere with the window entered, and the log emptied.
    void Rest(int32_t x, int32_t y) {
        root->MoveTo(x, y);
        log.Clear();
    }

    EventLog log;
    std::unique_ptr<TestRootPane> root = std::make_unique<TestRootPane>(200, 200);
    std::unique_ptr<LoggingPane> p = std::make_unique<LoggingPane>(log, "P");
    std::unique_ptr<LoggingPane> c = std::make_unique<LoggingPane>(log, "C");
    std::unique_ptr<LoggingPane> q = std::make_unique<LoggingPane>(log, "Q");
};

} // namespace Corvell::Test
