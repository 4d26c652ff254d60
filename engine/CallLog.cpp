#include "CallLog.h"

namespace Corvell {
namespace Substitute {

void CallLog::Add(const char* iface, const char* op, std::vector<long long> args, std::string text) {
    std::lock_guard<std::mutex> g(m_mutex);
    if (!m_enabled)
        return;
    m_calls.push_back({iface, op, std::move(args), std::move(text), std::this_thread::get_id()});
}

std::vector<Call> CallLog::Calls() const {
    std::lock_guard<std::mutex> g(m_mutex);
    return m_calls;
}

std::vector<Call> CallLog::Calls(const std::string& iface, const std::string& op) const {
    std::lock_guard<std::mutex> g(m_mutex);
    std::vector<Call> out;
    for (const auto& c : m_calls)
        if (c.iface == iface && c.op == op)
            out.push_back(c);
    return out;
}

void CallLog::SetEnabled(bool on) {
    std::lock_guard<std::mutex> g(m_mutex);
    m_enabled = on;
    if (!on)
        m_calls.clear();
}

void CallLog::Clear() {
    std::lock_guard<std::mutex> g(m_mutex);
    m_calls.clear();
}

} // namespace Substitute
} // namespace Corvell
