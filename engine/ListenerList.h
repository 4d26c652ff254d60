#pragma once
// The engine's listener lists. A removal waits for a call in flight on
// another thread, so a listener is never called after Remove returns; a
// listener may add or remove listeners from inside its own call.
#include "ui/core/Delegate.h"
#include "ui/core/Ref.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace Corvell {
namespace Substitute {

template <class D>
class ListenerList {
public:
    void Add(D* d) {
        if (!d)
            return;
        std::lock_guard<std::recursive_mutex> g(m_mutex);
        m_items.emplace_back(d);
    }
    // Removes the last entry that is d or equal to it.
    bool Remove(D* d) {
        if (!d)
            return false;
        Ref<D> victim;
        std::lock_guard<std::recursive_mutex> g(m_mutex);
        for (size_t i = m_items.size(); i-- > 0;) {
            D* e = m_items[i].Get();
            if (e == d || e->Equals(d)) {
                victim = std::move(m_items[i]);
                m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(i));
                return true;
            }
        }
        return false;
    }
    size_t Count() {
        std::lock_guard<std::recursive_mutex> g(m_mutex);
        return m_items.size();
    }
    template <class F>
    void ForEach(F&& f) {
        std::lock_guard<std::recursive_mutex> g(m_mutex);
        const std::vector<Ref<D>> snapshot = m_items;
        for (const auto& d : snapshot) {
            // Skip one removed by an earlier listener of this walk.
            if (std::find(m_items.begin(), m_items.end(), d) != m_items.end())
                f(d.Get());
        }
    }

private:
    std::recursive_mutex m_mutex;
    std::vector<Ref<D>> m_items;
};

} // namespace Substitute
} // namespace Corvell
