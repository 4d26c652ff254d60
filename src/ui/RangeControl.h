#pragma once
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "ui/core/Delegate.h"

namespace Corvell {

class Pane;
class RangeControl;

// Hears one edit of a range control: Begin when the user takes hold,
// Changed for every step, End when the edit is over. Listeners embedded in
// panes (Inner_delegate<RangeControlListener>) count no references.
class RangeControlListener : public AbstractDelegate {
public:
    virtual void Begin(RangeControl* c) = 0;
    virtual void Changed(RangeControl* c) = 0;
    virtual void End(RangeControl* c) = 0;
};

// An integer value inside a range, with a default.
class RangeControl {
public:
    virtual int32_t GetValue() const = 0;
    // Clamped to the range; no listener is told.
    virtual void SetValue(int32_t value) = 0;
    virtual void SetRange(int32_t minimum, int32_t maximum) = 0;
    virtual void SetDefault(int32_t value) = 0;
    // Not owned beyond the reference the control keeps; a second listener
    // makes a multicaster, notified first-added first.
    virtual void AddListener(RangeControlListener* l) = 0;
    virtual void RemoveListener(RangeControlListener* l) = 0;

protected:
    ~RangeControl() = default;
};

// Two listeners behind one: each notification goes to a, then to b.
class RangeControlMulticaster : public CountedObject<RangeControlListener> {
public:
    RangeControlMulticaster(Ref<RangeControlListener> first, Ref<RangeControlListener> second);

    // What a listener slot holding `current` becomes when l is added.
    static Ref<RangeControlListener> Add(const Ref<RangeControlListener>& current, RangeControlListener* l);

    // What a listener slot holding `current` becomes when l is removed.
    // When the very object l is in the tree, every occurrence of it goes;
    // only when it is not, listeners that Equals(l) go instead, so two
    // listeners of one class are never taken for each other.
    static Ref<RangeControlListener> Remove(const Ref<RangeControlListener>& current, RangeControlListener* l);

    // Whether the listener tree `root` holds l itself.
    static bool Holds(const RangeControlListener* root, const RangeControlListener* l);
    // Appends the plain listeners of `root` in calling order.
    static void Flatten(RangeControlListener* root, std::vector<Ref<RangeControlListener>>& out);

    void Begin(RangeControl* c) override;
    void Changed(RangeControl* c) override;
    void End(RangeControl* c) override;

    const Ref<RangeControlListener>& First() const { return m_a; }
    const Ref<RangeControlListener>& Second() const { return m_b; }

private:
    void Notify(void (RangeControlListener::*fn)(RangeControl*), RangeControl* c);

    Ref<RangeControlListener> m_a;
    Ref<RangeControlListener> m_b;
};

using RangeControlNotice = void (RangeControlListener::*)(RangeControl*);

// Tells the listeners that `slot` (a member of `owner`) holds, first-added
// first, each notice in turn. A listener may remove others or delete the
// owner: each is checked before it is called and kept alive while it runs.
// False when the owner is gone.
bool NotifyRangeListeners(Pane* owner, RangeControl* control, const Ref<RangeControlListener>& slot,
                          std::initializer_list<RangeControlNotice> notices);

} // namespace Corvell
