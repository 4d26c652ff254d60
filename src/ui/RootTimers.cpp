#include "ui/RootTimers.h"

#include "ui/Pane.h"

namespace Corvell {

namespace {
bool InvokeFenced(Delegate* d) {
    try {
        d->Invoke();
        return true;
    } catch (...) {
        return false;
    }
}

bool Matches(const Ref<Delegate>& entry, Delegate* d) { return entry.Get() == d || entry->Equals(d); }
} // namespace

void RootTimers::Add(Pane* owner, Ref<Delegate> d, int32_t milliseconds) {
    if (!d)
        return;
    LockGuard g(m_lock);
    TimerEntry e{++m_nextTimerId, std::move(d), milliseconds, owner, false};
    if (e.id == 0) // identifiers are never 0 (the platform's "no timer")
        e.id = ++m_nextTimerId;
    if (m_platform.HasWindow()) {
        // A platform timer belongs to the window's thread: from elsewhere,
        // the wake-up starts it.
        if (m_platform.OnWindowThread())
            e.started = m_platform.StartTimer(e.id, milliseconds);
        else if (!m_wakePending)
            m_wakePending = m_platform.PostWakeUp();
    }
    m_timers.push_back(std::move(e));
}

void RootTimers::Remove(Delegate* d) {
    if (!d)
        return;
    std::vector<Ref<Delegate>> released; // outside the lock: a destructor may come back here
    LockGuard g(m_lock);
    const bool window = m_platform.HasWindow();
    bool matched = false;
    for (size_t i = 0; i < m_timers.size();) {
        TimerEntry& e = m_timers[i];
        if (Matches(e.delegate, d)) {
            if (e.started && window)
                m_platform.StopTimer(e.id);
            released.push_back(std::move(e.delegate));
            m_timers.erase(m_timers.begin() + std::ptrdiff_t(i));
            matched = true;
        } else {
            ++i;
        }
    }
    if (matched)
        return;
    for (auto it = m_deferred.begin(); it != m_deferred.end();) {
        if (Matches(it->call, d)) {
            released.push_back(std::move(it->call));
            it = m_deferred.erase(it);
        } else {
            ++it;
        }
    }
}

void RootTimers::Post(Ref<Delegate> d) {
    if (!d)
        return;
    LockGuard g(m_lock);
    if (!m_platform.HasWindow())
        return;
    m_deferred.push_back(DeferredEntry{m_nextDeferredSeq++, std::move(d)});
    // Announce while no announcement is on its way; a failed post leaves
    // the flag clear, so the next call tries again.
    if (!m_wakePending)
        m_wakePending = m_platform.PostWakeUp();
}

void RootTimers::RemoveOwnedWithin(const Pane* removed) {
    if (!removed)
        return;
    std::vector<Ref<Delegate>> released;
    LockGuard g(m_lock);
    const bool window = m_platform.HasWindow();
    for (size_t i = 0; i < m_timers.size();) {
        TimerEntry& e = m_timers[i];
        if (e.owner && removed->IsAncestorOf(e.owner)) {
            if (e.started && window)
                m_platform.StopTimer(e.id);
            released.push_back(std::move(e.delegate));
            m_timers.erase(m_timers.begin() + std::ptrdiff_t(i));
        } else {
            ++i;
        }
    }
}

void RootTimers::WindowCreated() {
    StartPending();
    LockGuard g(m_lock);
    if (!m_deferred.empty() && !m_wakePending)
        m_wakePending = m_platform.PostWakeUp();
}

std::vector<Ref<Delegate>> RootTimers::WindowDestroyed() {
    std::vector<Ref<Delegate>> dropped;
    LockGuard g(m_lock);
    for (TimerEntry& e : m_timers)
        e.started = false;
    dropped.reserve(m_deferred.size());
    for (DeferredEntry& e : m_deferred)
        dropped.push_back(std::move(e.call));
    m_deferred.clear();
    m_wakePending = false;
    return dropped;
}

void RootTimers::Release() {
    std::vector<TimerEntry> timers;
    std::deque<DeferredEntry> calls;
    LockGuard g(m_lock);
    timers.swap(m_timers);
    calls.swap(m_deferred);
    m_wakePending = false;
    if (m_platform.HasWindow()) {
        for (const TimerEntry& e : timers) {
            if (e.started)
                m_platform.StopTimer(e.id);
        }
    }
}

void RootTimers::StartPending() {
    LockGuard g(m_lock);
    if (!m_platform.HasWindow())
        return;
    for (TimerEntry& e : m_timers) {
        if (!e.started)
            e.started = m_platform.StartTimer(e.id, e.period);
    }
}

void RootTimers::Fire(uintptr_t id) {
    Ref<Delegate> d;
    {
        LockGuard g(m_lock);
        for (const TimerEntry& e : m_timers) {
            if (e.id == id) {
                d = e.delegate;
                break;
            }
        }
    }
    if (!d) {
        // A tick already queued when the timer was stopped: nothing to call.
        m_platform.StopTimer(id);
        return;
    }
    // The call may delete the root and these queues: nothing of this after it.
    InvokeFenced(d.Get());
}

void RootTimers::RunDeferred(const PaneGuard& owner) {
    StartPending();
    uint64_t end;
    {
        LockGuard g(m_lock);
        end = m_nextDeferredSeq;
        m_wakePending = false;
    }
    for (;;) {
        Ref<Delegate> call;
        {
            LockGuard g(m_lock);
            if (m_deferred.empty() || m_deferred.front().seq >= end)
                break;
            call = std::move(m_deferred.front().call);
            m_deferred.pop_front();
        }
        InvokeFenced(call.Get());
        call.Reset();
        if (!owner.IsAlive())
            return;
    }
}

size_t RootTimers::TimerCount() const {
    LockGuard g(m_lock);
    return m_timers.size();
}

size_t RootTimers::DeferredCount() const {
    LockGuard g(m_lock);
    return m_deferred.size();
}

} // namespace Corvell
