#include "ui/RangeControl.h"

#include "ui/Pane.h"

namespace Corvell {

namespace {

// The tree without the listeners `drop` picks. Multicasters never change
// once made (another control may hold the same one), so a changed branch
// is a new multicaster.
template <class Pred>
Ref<RangeControlListener> Without(const Ref<RangeControlListener>& current, const Pred& drop) {
    if (!current || drop(current.Get()))
        return nullptr;
    auto* m = dynamic_cast<RangeControlMulticaster*>(current.Get());
    if (!m)
        return current;
    Ref<RangeControlListener> a = Without(m->First(), drop);
    Ref<RangeControlListener> b = Without(m->Second(), drop);
    if (a == m->First() && b == m->Second())
        return current;
    if (a && b)
        return Ref<RangeControlListener>(new RangeControlMulticaster(a, b));
    return a ? a : b;
}

} // namespace

RangeControlMulticaster::RangeControlMulticaster(Ref<RangeControlListener> first, Ref<RangeControlListener> second)
    : m_a(std::move(first)), m_b(std::move(second)) {}

Ref<RangeControlListener> RangeControlMulticaster::Add(const Ref<RangeControlListener>& current,
                                                       RangeControlListener* l) {
    if (!l)
        return current;
    if (!current)
        return Ref<RangeControlListener>(l);
    return Ref<RangeControlListener>(new RangeControlMulticaster(current, Ref<RangeControlListener>(l)));
}

Ref<RangeControlListener> RangeControlMulticaster::Remove(const Ref<RangeControlListener>& current,
                                                          RangeControlListener* l) {
    if (!l || !current)
        return current;
    if (Holds(current.Get(), l))
        return Without(current, [l](const RangeControlListener* x) { return x == l; });
    return Without(current, [l](const RangeControlListener* x) { return x->Equals(l); });
}

bool RangeControlMulticaster::Holds(const RangeControlListener* root, const RangeControlListener* l) {
    if (!root || !l)
        return false;
    if (root == l)
        return true;
    if (auto* m = dynamic_cast<const RangeControlMulticaster*>(root))
        return Holds(m->m_a.Get(), l) || Holds(m->m_b.Get(), l);
    return false;
}

void RangeControlMulticaster::Flatten(RangeControlListener* root, std::vector<Ref<RangeControlListener>>& out) {
    if (!root)
        return;
    if (auto* m = dynamic_cast<RangeControlMulticaster*>(root)) {
        Flatten(m->m_a.Get(), out);
        Flatten(m->m_b.Get(), out);
        return;
    }
    out.emplace_back(root);
}

void RangeControlMulticaster::Notify(void (RangeControlListener::*fn)(RangeControl*), RangeControl* c) {
    // The first listener may drop this multicaster: keep both parts here.
    Ref<RangeControlListener> a = m_a;
    Ref<RangeControlListener> b = m_b;
    if (a)
        (a.Get()->*fn)(c);
    if (b)
        (b.Get()->*fn)(c);
}

void RangeControlMulticaster::Begin(RangeControl* c) { Notify(&RangeControlListener::Begin, c); }
void RangeControlMulticaster::Changed(RangeControl* c) { Notify(&RangeControlListener::Changed, c); }
void RangeControlMulticaster::End(RangeControl* c) { Notify(&RangeControlListener::End, c); }

bool NotifyRangeListeners(Pane* owner, RangeControl* control, const Ref<RangeControlListener>& slot,
                          std::initializer_list<RangeControlNotice> notices) {
    if (!slot)
        return true;
    std::vector<Ref<RangeControlListener>> listeners;
    RangeControlMulticaster::Flatten(slot.Get(), listeners);
    PaneGuard alive(owner);
    for (RangeControlNotice notice : notices) {
        for (const Ref<RangeControlListener>& l : listeners) {
            if (!alive.IsAlive())
                return false;
            if (RangeControlMulticaster::Holds(slot.Get(), l.Get()))
                (l.Get()->*notice)(control);
        }
    }
    return alive.IsAlive();
}

} // namespace Corvell
