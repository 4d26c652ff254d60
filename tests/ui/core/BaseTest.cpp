#include "ui/core/Base.h"

#include <gtest/gtest.h>

#include <memory>

namespace Corvell {
namespace {

struct Counted : Object {
    char payload[64] = {};
};

TEST(Base, CountsHeapObjectsOnlyOnce) {
    const int32_t before = Base::LiveObjects();
    {
        Counted onStack;
        (void)onStack;
        EXPECT_EQ(before, Base::LiveObjects()) << "stack objects are not counted";
    }
    auto* a = new Counted;
    auto* b = new (std::nothrow) Counted;
    EXPECT_EQ(before + 2, Base::LiveObjects());
    delete a;
    Base* asBase = b;
    delete asBase;
    EXPECT_EQ(before, Base::LiveObjects());
}

struct Throws : Object {
    Throws() { throw 42; }
};

TEST(Base, ConstructorFailureGivesTheCountBack) {
    const int32_t before = Base::LiveObjects();
    EXPECT_THROW(new Throws, int);
    EXPECT_EQ(before, Base::LiveObjects());
}

} // namespace
} // namespace Corvell
