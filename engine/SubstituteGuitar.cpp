#include "SubstituteGuitar.h"

#include <algorithm>
#include <cstring>

namespace Corvell {
namespace Substitute {

SubstituteGuitar::SubstituteGuitar(CallLog& log, Notifier& notifier, SubstituteSampler& sampler)
    : m_log(log), m_notifier(notifier), m_sampler(sampler) {
    m_loader = std::thread([this] { RunLoader(); });
}

SubstituteGuitar::~SubstituteGuitar() {
    {
        std::lock_guard<std::mutex> g(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_loader.join();
    m_notifier.Flush();
}

void SubstituteGuitar::Notify() {
    m_notifier.Send([this] { m_listeners.ForEach([](Delegate* d) { d->Invoke(); }); });
}

void SubstituteGuitar::SetGuitars(std::vector<Guitar> guitars, int current) {
    {
        std::lock_guard<std::mutex> g(m_mutex);
        m_guitars = std::move(guitars);
        m_current = m_guitars.empty() ? 0 : std::clamp(current, 0, static_cast<int>(m_guitars.size()) - 1);
    }
    Notify();
}

void SubstituteGuitar::SetLoadPace(std::chrono::milliseconds period) {
    {
        std::lock_guard<std::mutex> g(m_mutex);
        m_pace = period;
    }
    m_wake.notify_all();
}

// The loader sleeps until a load is pending at a set pace, then steps it to
// the end; a new SelectGuitar restarts the count.
void SubstituteGuitar::RunLoader() {
    std::unique_lock<std::mutex> g(m_mutex);
    for (;;) {
        m_wake.wait(g, [this] { return m_stop || (m_loadPending && m_pace.count() > 0); });
        if (m_stop)
            return;
        const auto pace = m_pace;
        if (m_wake.wait_for(g, pace, [this] { return m_stop || m_pace.count() == 0; })) {
            if (m_stop)
                return;
            continue;
        }
        g.unlock();
        const bool more = m_sampler.StepLoad();
        g.lock();
        if (!more)
            m_loadPending = false;
    }
}

int SubstituteGuitar::GetGuitarCount() {
    std::lock_guard<std::mutex> g(m_mutex);
    return static_cast<int>(m_guitars.size());
}

void SubstituteGuitar::GetGuitarInfo(int index, GuitarInfo* out) {
    m_log.Add("IGuitar", "GetGuitarInfo", {index});
    if (!out)
        return;
    std::lock_guard<std::mutex> g(m_mutex);
    out->flags = 0;
    out->name[0] = '\0';
    if (index < 0 || index >= static_cast<int>(m_guitars.size()))
        return;
    out->flags = index == m_current ? 1 : 0;
    // Longer names are cut to the record's capacity.
    const std::string& name = m_guitars[static_cast<size_t>(index)].name;
    const size_t n = std::min(name.size(), sizeof out->name - 1);
    std::memcpy(out->name, name.data(), n);
    out->name[n] = '\0';
}

int SubstituteGuitar::GetCurrentGuitar() {
    std::lock_guard<std::mutex> g(m_mutex);
    return m_current;
}

void SubstituteGuitar::SelectGuitar(int index) {
    m_log.Add("IGuitar", "SelectGuitar", {index});
    int memory;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        if (index < 0 || index >= static_cast<int>(m_guitars.size()))
            return;
        // The current guitar changes at once, so a listener that asks during
        // the load hears the new one.
        m_current = index;
        memory = m_guitars[static_cast<size_t>(index)].memoryMB;
        m_loadPending = true;
    }
    m_sampler.BeginLoad(memory);
    Notify();
    m_wake.notify_all();
}

void SubstituteGuitar::AddGuitarListener(Delegate* l) {
    m_log.Add("IGuitar", "AddGuitarListener");
    m_listeners.Add(l);
}

bool SubstituteGuitar::RemoveGuitarListener(Delegate* l) {
    m_log.Add("IGuitar", "RemoveGuitarListener");
    return m_listeners.Remove(l);
}

} // namespace Substitute
} // namespace Corvell
