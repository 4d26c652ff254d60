#pragma once
// Runs a parameterised test once with the engine notifying on the calling
// thread and once from its worker thread.
#include "Notifier.h"

#include <gtest/gtest.h>

#include <string>

namespace Corvell::test {

inline std::string EngineModeName(const ::testing::TestParamInfo<Substitute::Notifier::Mode>& info) {
    return info.param == Substitute::Notifier::Mode::Worker ? "Worker" : "Synchronous";
}

} // namespace Corvell::test

#define TARROW_BOTH_ENGINE_MODES(Suite)                                                                          \
    INSTANTIATE_TEST_SUITE_P(BothModes, Suite,                                                                   \
                             ::testing::Values(::Corvell::Substitute::Notifier::Mode::Synchronous,              \
                                               ::Corvell::Substitute::Notifier::Mode::Worker),                  \
                             ::Corvell::test::EngineModeName)
