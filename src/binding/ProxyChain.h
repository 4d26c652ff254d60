#pragma once
// Proxies of one interface can be attached to each other. Attaching one to
// itself, or to a chain that leads back to it, would make every forwarded
// call recurse without end, so each proxy kind keeps a set of its live
// proxies and follows the chain before it attaches.
#include "ui/core/Lock.h"

#include <set>

namespace Corvell {

template <class Proxy, class Iface>
class ProxyChain {
public:
    static void Enter(const Proxy* p) {
        LockGuard g(Mutex());
        Live().insert(static_cast<const Iface*>(p));
    }
    static void Leave(const Proxy* p) {
        LockGuard g(Mutex());
        Live().erase(static_cast<const Iface*>(p));
    }
    // Whether attaching self to engine would reach self again; next gives
    // the engine a live proxy of this kind is attached to.
    template <class Next>
    static bool LeadsBack(const Proxy* self, const Iface* engine, Next next) {
        LockGuard g(Mutex());
        const Iface* p = engine;
        for (int depth = 0; p; ++depth) {
            if (p == static_cast<const Iface*>(self) || depth > 1000)
                return true;
            if (!Live().count(p))
                return false;
            p = next(static_cast<const Proxy*>(p));
        }
        return false;
    }

private:
    static Lock& Mutex() {
        static Lock lock;
        return lock;
    }
    static std::set<const Iface*>& Live() {
        static std::set<const Iface*> s;
        return s;
    }
};

} // namespace Corvell
