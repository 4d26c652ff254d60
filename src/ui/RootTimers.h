#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "ui/core/Delegate.h"
#include "ui/core/Lock.h"
#include "ui/core/Ref.h"

namespace Corvell {

class Pane;
class PaneGuard;

// The timers and deferred calls of one root pane. Add, Remove and Post may
// be called from any thread; the rest runs on the window's thread. A
// platform timer belongs to that thread, so a timer added elsewhere, or
// before the window exists, is started by the next wake-up or by
// WindowCreated.
class RootTimers {
public:
    // What the queues need of the window; answered by the root.
    class Platform {
    public:
        virtual bool HasWindow() = 0;
        virtual bool OnWindowThread() = 0;
        // A periodic platform timer that calls Fire(id); false on failure.
        virtual bool StartTimer(uintptr_t id, int32_t milliseconds) = 0;
        virtual void StopTimer(uintptr_t id) = 0;
        // Posts the message that makes the window call RunDeferred; false on failure.
        virtual bool PostWakeUp() = 0;

    protected:
        ~Platform() = default;
    };

    explicit RootTimers(Platform& platform) : m_platform(platform) {}
    RootTimers(const RootTimers&) = delete;
    RootTimers& operator=(const RootTimers&) = delete;

    // owner: the pane that asked, whose removal stops the timer; null for the root.
    void Add(Pane* owner, Ref<Delegate> d, int32_t milliseconds);
    // Stops the timers that are d or equal to it; only when there is none,
    // withdraws the waiting deferred calls that are d or equal to it.
    void Remove(Delegate* d);
    // Queues a call for the next wake-up; dropped when there is no window.
    void Post(Ref<Delegate> d);
    // Stops the timers of the panes inside removed (removed included).
    void RemoveOwnedWithin(const Pane* removed);

    // Starts the timers recorded before and announces the waiting calls.
    void WindowCreated();
    // The window is gone with its platform timers: the timers are kept to be
    // started by a new window; the waiting calls are handed back unrun, for
    // the caller to release last (releasing one may delete the root).
    std::vector<Ref<Delegate>> WindowDestroyed();
    // Stops every timer and releases every timer and call.
    void Release();

    // A platform timer fired: calls its delegate, or stops a timer nobody owns.
    void Fire(uintptr_t id);
    // Runs the calls posted before this wake-up, one at a time, so a call
    // can still withdraw a later one of the same batch; calls posted
    // meanwhile wait for their own wake-up. Stops as soon as owner is gone
    // (a call may delete the root, and these queues with it).
    void RunDeferred(const PaneGuard& owner);

    size_t TimerCount() const;
    size_t DeferredCount() const;

private:
    struct TimerEntry {
        uintptr_t id;
        Ref<Delegate> delegate;
        int32_t period;
        Pane* owner;
        bool started;
    };
    struct DeferredEntry {
        uint64_t seq;
        Ref<Delegate> call;
    };

    void StartPending();

    Platform& m_platform;
    mutable Lock m_lock;
    std::vector<TimerEntry> m_timers;
    std::deque<DeferredEntry> m_deferred;
    uint64_t m_nextDeferredSeq = 0;
    uintptr_t m_nextTimerId = 0;
    bool m_wakePending = false;
};

} // namespace Corvell
