// The engine's listener removal waits for a call in flight on another
// thread: once Remove returns, the listener is not running and is never
// called again, so its owner may die. The proxy's detach relies on it.
#include "SubstituteHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

namespace Corvell {
namespace {

using Substitute::SubstituteHost;
using Substitute::SubstituteRnC;

// Holds the first call that passes until released.
struct Latch {
    std::promise<void> entered;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<int> calls{0};
    std::atomic<bool> inside{false};

    void Pass() {
        inside = true;
        if (calls.fetch_add(1) == 0) {
            entered.set_value();
            released.wait();
        }
        inside = false;
    }
};

// One kind of engine listener each: how to add it, make the engine call it
// on the calling thread, and remove it.
struct ParameterListener : CountedObject<Delegate1<ERnCPars>> {
    explicit ParameterListener(Latch& l) : latch(l) {}
    void Invoke(ERnCPars) override { latch.Pass(); }
    Latch& latch;
    static void Add(SubstituteRnC& e, ParameterListener* l) { e.AddParameterListener(l); }
    static void Trigger(SubstituteRnC& e) { e.SetParameter(rncCapo, 3); }
    static bool Remove(SubstituteRnC& e, ParameterListener* l) { return e.RemoveParameterListener(l); }
};

struct FxListener : CountedObject<Delegate1<IRnC::FxListenerArgs>> {
    explicit FxListener(Latch& l) : latch(l) {}
    void Invoke(IRnC::FxListenerArgs) override { latch.Pass(); }
    Latch& latch;
    static void Add(SubstituteRnC& e, FxListener* l) { e.AddFxListener(l); }
    static void Trigger(SubstituteRnC& e) { e.SetFxOn(4, true); }
    static bool Remove(SubstituteRnC& e, FxListener* l) { return e.RemoveFxListener(l); }
};

struct PresetListener : CountedObject<IRnC::PresetListener> {
    explicit PresetListener(Latch& l) : latch(l) {}
    void OnPresetChanged() override { latch.Pass(); }
    void OnPresetListChanged() override { latch.Pass(); }
    Latch& latch;
    static void Add(SubstituteRnC& e, PresetListener* l) { e.AddPresetListener(1, l); }
    static void Trigger(SubstituteRnC& e) { e.SavePreset(1, "A"); }
    static bool Remove(SubstituteRnC& e, PresetListener* l) {
        e.RemovePresetListener(1, l);
        return true;
    }
};

template <class L>
struct EngineRemoval : ::testing::Test {};
using ListenerKinds = ::testing::Types<ParameterListener, FxListener, PresetListener>;
TYPED_TEST_SUITE(EngineRemoval, ListenerKinds);

TYPED_TEST(EngineRemoval, WaitsForACallInFlightOnAnotherThread) {
    SubstituteHost host; // synchronous: the engine calls listeners on the thread that caused the notice
    SubstituteRnC& engine = host.RnC();
    Latch latch;
    auto listener = Ref<TypeParam>(new TypeParam(latch));
    TypeParam::Add(engine, listener.Get());

    std::thread engineCall([&] { TypeParam::Trigger(engine); });
    latch.entered.get_future().wait(); // the listener is running now, held by the latch

    std::promise<void> removed;
    std::future<void> removedSeen = removed.get_future();
    std::atomic<bool> releasedLatch{false};
    std::thread releaser([&] {
        // Remove has not returned while the listener is held. The bound only
        // gives an early return time to show; the release follows anyway.
        EXPECT_EQ(std::future_status::timeout, removedSeen.wait_for(std::chrono::milliseconds(200)))
            << "Remove returned while the listener was still running";
        releasedLatch = true;
        latch.release.set_value();
    });

    EXPECT_TRUE(TypeParam::Remove(engine, listener.Get()));
    const bool releasedAtReturn = releasedLatch.load();
    const bool insideAtReturn = latch.inside.load();
    removed.set_value();
    releaser.join();
    engineCall.join();

    EXPECT_TRUE(releasedAtReturn) << "Remove returned before the call in flight was let go";
    EXPECT_FALSE(insideAtReturn) << "the listener was still running when Remove returned";
    TypeParam::Trigger(engine);
    EXPECT_EQ(1, latch.calls.load()) << "a removed listener is not called again";
    EXPECT_EQ(0u, engine.ListenerCount());
}

} // namespace
} // namespace Corvell
