#pragma once
// Where the substitute engine sends its notices from: the caller's thread
// (synchronous mode) or one engine worker thread, in order.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace Corvell {
namespace Substitute {

class Notifier {
public:
    enum class Mode { Synchronous, Worker };

    explicit Notifier(Mode mode = Mode::Synchronous);
    ~Notifier();
    Notifier(const Notifier&) = delete;
    Notifier& operator=(const Notifier&) = delete;

    Mode GetMode() const { return m_mode; }
    void Send(std::function<void()> notice);
    // Waits until every notice sent so far has been delivered.
    void Flush();
    std::thread::id WorkerId() const { return m_worker.get_id(); }

private:
    void Run();

    const Mode m_mode;
    std::mutex m_mutex;
    std::condition_variable m_wake, m_idle;
    std::deque<std::function<void()>> m_queue;
    bool m_busy = false;
    bool m_stop = false;
    std::thread m_worker;
};

} // namespace Substitute
} // namespace Corvell
