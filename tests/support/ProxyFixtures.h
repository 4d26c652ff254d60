#pragma once
// A window's thread for proxy tests: the test thread is the UI thread, and
// calls posted from elsewhere wait in a queue until RunPosted.
#include "binding/CVProxySite.h"
#include "binding/UiProxySite.h"

#include <atomic>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace Corvell {
namespace test {

class ManualUiThread : public UiThread {
public:
    bool IsUiThread() override { return std::this_thread::get_id() == m_ui; }
    void Post(Ref<Delegate> call) override {
        std::lock_guard<std::mutex> g(m_mutex);
        m_queue.push_back(std::move(call));
    }
    size_t RunPosted() {
        size_t n = 0;
        for (;;) {
            Ref<Delegate> call;
            {
                std::lock_guard<std::mutex> g(m_mutex);
                if (m_queue.empty())
                    return n;
                call = std::move(m_queue.front());
                m_queue.pop_front();
            }
            call->Invoke();
            ++n;
        }
    }
    void DropPosted() {
        std::lock_guard<std::mutex> g(m_mutex);
        m_queue.clear();
    }

private:
    std::thread::id m_ui = std::this_thread::get_id();
    std::mutex m_mutex;
    std::deque<Ref<Delegate>> m_queue;
};

// Records what the proxy tells its owner, on top of the view's hand-off.
class RecordingSite : public UiProxySite {
public:
    explicit RecordingSite(UiThread* ui) : UiProxySite(ui) {}
    void OnRnCReset() override {
        ++resets;
        UiProxySite::OnRnCReset();
    }
    void OnMidiEcho(const unsigned char* b) override { echoes.push_back({b[0], b[1], b[2], b[3]}); }
    std::atomic<int> resets{0};
    std::vector<std::vector<unsigned char>> echoes;
};

// Collects values from a listener.
template <class A>
struct Collector : CountedObject<Delegate1<A>> {
    void Invoke(A a) override {
        std::lock_guard<std::mutex> g(mutex);
        seen.push_back(a);
    }
    std::vector<A> Seen() {
        std::lock_guard<std::mutex> g(mutex);
        return seen;
    }
    std::mutex mutex;
    std::vector<A> seen;
};

struct Counter : CountedObject<Delegate> {
    void Invoke() override { ++count; }
    int count = 0;
};

struct PresetCounter : CountedObject<IRnC::PresetListener> {
    void OnPresetChanged() override { ++changed; }
    void OnPresetListChanged() override { ++listChanged; }
    int changed = 0, listChanged = 0;
};

} // namespace test
} // namespace Corvell
