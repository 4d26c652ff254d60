#include "Notifier.h"

namespace Corvell {
namespace Substitute {

Notifier::Notifier(Mode mode) : m_mode(mode) {
    if (m_mode == Mode::Worker)
        m_worker = std::thread([this] { Run(); });
}

Notifier::~Notifier() {
    if (m_worker.joinable()) {
        {
            std::lock_guard<std::mutex> g(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_worker.join();
    }
}

void Notifier::Send(std::function<void()> notice) {
    if (m_mode == Mode::Synchronous) {
        notice();
        return;
    }
    {
        std::lock_guard<std::mutex> g(m_mutex);
        m_queue.push_back(std::move(notice));
    }
    m_wake.notify_one();
}

void Notifier::Flush() {
    if (m_mode == Mode::Synchronous || std::this_thread::get_id() == m_worker.get_id())
        return;
    std::unique_lock<std::mutex> g(m_mutex);
    m_idle.wait(g, [this] { return m_queue.empty() && !m_busy; });
}

void Notifier::Run() {
    std::unique_lock<std::mutex> g(m_mutex);
    for (;;) {
        m_wake.wait(g, [this] { return m_stop || !m_queue.empty(); });
        if (m_queue.empty() && m_stop)
            return;
        auto notice = std::move(m_queue.front());
        m_queue.pop_front();
        m_busy = true;
        g.unlock();
        notice();
        g.lock();
        m_busy = false;
        if (m_queue.empty())
            m_idle.notify_all();
    }
}

} // namespace Substitute
} // namespace Corvell
