#pragma once
// Every call the library makes into the substitute engine, for tests.
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Corvell {
namespace Substitute {

struct Call {
    std::string iface;
    std::string op;
    std::vector<long long> args;
    std::string text; // string argument, when there is one
    std::thread::id thread;
};

class CallLog {
public:
    void Add(const char* iface, const char* op, std::vector<long long> args = {}, std::string text = {});
    std::vector<Call> Calls() const;
    // Calls of one operation, in order.
    std::vector<Call> Calls(const std::string& iface, const std::string& op) const;
    size_t Count(const std::string& iface, const std::string& op) const { return Calls(iface, op).size(); }
    void Clear();
    // A running demo keeps no log: it would grow for as long as it runs.
    void SetEnabled(bool on);

private:
    mutable std::mutex m_mutex;
    bool m_enabled = true;
    std::vector<Call> m_calls;
};

} // namespace Substitute
} // namespace Corvell
