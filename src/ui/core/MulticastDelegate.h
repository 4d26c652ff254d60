#pragma once
#include <atomic>
#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

#include "ui/core/Delegate.h"
#include "ui/core/Lock.h"

namespace Corvell {

namespace detail {

// Address of the multicast list being allocated by its own operator new on
// this thread, so that its constructor can tell a heap list (counted,
// deleted at 0) from one embedded in its owner (never deleted through a
// reference).
void*& PendingHeapList();

// The entries of one list, in the order added.
//
// A list may be changed by its own listeners while it runs, and from other
// threads. While any call walks the list, a removed entry is only cleared
// (so positions stay put and no live listener is skipped); the cleared
// entries are dropped when the last walk ends. Delegates are released
// outside the lock, because a destructor may come back to the list.
template <class D>
class ListEntries {
public:
    ListEntries() = default;
    ListEntries(const ListEntries&) = delete;
    ListEntries& operator=(const ListEntries&) = delete;
    ~ListEntries() { Clear(); }

    void Add(Ref<D> d) {
        if (!d)
            return;
        LockGuard g(m_lock);
        m_items.push_back(std::move(d));
        ++m_live;
    }

    // Removes the last entry that is d or Equals(d).
    bool Remove(D* d) {
        if (!d)
            return false;
        Ref<D> victim;
        {
            LockGuard g(m_lock);
            for (std::size_t i = m_items.size(); i-- > 0;) {
                D* e = m_items[i].Get();
                if (!e || !(e == d || e->Equals(d)))
                    continue;
                victim = std::move(m_items[i]);
                m_items[i] = nullptr;
                if (m_walks == 0)
                    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(i));
                --m_live;
                break;
            }
        }
        return static_cast<bool>(victim);
    }

    bool IsEmpty() const {
        LockGuard g(m_lock);
        return m_live == 0;
    }

    std::size_t Count() const {
        LockGuard g(m_lock);
        return m_live;
    }

    void Clear() {
        std::vector<Ref<D>> old;
        {
            LockGuard g(m_lock);
            if (m_walks == 0) {
                old.swap(m_items);
            } else {
                old.reserve(m_items.size());
                for (auto& e : m_items)
                    old.push_back(std::move(e));
                for (auto& e : m_items)
                    e = nullptr;
            }
            m_live = 0;
        }
    }

    // Calls f(D*) for every entry, in order, including entries added by the
    // listeners themselves during the walk.
    template <class F>
    void Walk(F&& f) {
        WalkScope scope(*this);
        for (std::size_t i = 0;; ++i) {
            Ref<D> d;
            {
                LockGuard g(m_lock);
                if (i >= m_items.size())
                    break;
                d = m_items[i];
            }
            if (d)
                f(d.Get());
        }
    }

private:
    struct WalkScope {
        explicit WalkScope(ListEntries& l) : list(l) {
            LockGuard g(list.m_lock);
            ++list.m_walks;
        }
        ~WalkScope() {
            LockGuard g(list.m_lock);
            if (--list.m_walks == 0)
                list.Compact();
        }
        ListEntries& list;
    };

    void Compact() {
        std::size_t out = 0;
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            if (m_items[i])
                m_items[out++] = std::move(m_items[i]);
        }
        m_items.resize(out);
    }

    mutable Lock m_lock;
    std::vector<Ref<D>> m_items;
    std::size_t m_live = 0;
    int m_walks = 0;
};

// Counting of a list: a heap list counts from 0 and deletes itself at 0; a
// list embedded in its owner ignores counting.
template <class D>
class MulticastBase : public D, public Object {
public:
    MulticastBase() : m_heap(PendingHeapList() == static_cast<void*>(static_cast<D*>(this))) {
        if (m_heap)
            PendingHeapList() = nullptr;
    }
    MulticastBase(const MulticastBase&) = delete;
    MulticastBase& operator=(const MulticastBase&) = delete;

    static void* operator new(std::size_t size) {
        void* p = Base::operator new(size);
        PendingHeapList() = p;
        return p;
    }
    static void operator delete(void* p) noexcept {
        if (PendingHeapList() == p)
            PendingHeapList() = nullptr;
        Base::operator delete(p);
    }

    uint32_t AddRef() override {
        if (!m_heap)
            return 0;
        return static_cast<uint32_t>(m_refs.fetch_add(1) + 1);
    }
    uint32_t Release() override {
        if (!m_heap)
            return 0;
        const int32_t n = m_refs.fetch_sub(1) - 1;
        if (n == 0)
            delete this;
        return static_cast<uint32_t>(n);
    }

    void Add(Ref<D> d) { m_entries.Add(std::move(d)); }
    bool Remove(D* d) { return m_entries.Remove(d); }
    bool IsEmpty() const { return m_entries.IsEmpty(); }
    std::size_t Count() const { return m_entries.Count(); }
    void Clear() { m_entries.Clear(); }
    bool IsHeapList() const { return m_heap; }

protected:
    // Holds the list itself for the length of a call when it is owned by
    // references, so a listener may drop the last outside reference.
    class KeepAlive {
    public:
        explicit KeepAlive(MulticastBase& l) : m_list(l.m_heap && l.m_refs.load() > 0 ? &l : nullptr) {
            if (m_list)
                m_list->AddRef();
        }
        ~KeepAlive() {
            if (m_list)
                m_list->Release();
        }

    private:
        MulticastBase* m_list;
    };

    ListEntries<D> m_entries;

private:
    const bool m_heap;
    std::atomic<int32_t> m_refs{0};
};

} // namespace detail

// Lists of delegates, called in the order added. A list is itself a
// delegate, so it can be registered wherever a single one can.
class MulticastDelegate : public detail::MulticastBase<Delegate> {
public:
    void Invoke() override {
        KeepAlive keep(*this);
        m_entries.Walk([](Delegate* d) { d->Invoke(); });
    }
};

template <class A>
class MulticastDelegate1 : public detail::MulticastBase<Delegate1<A>> {
public:
    void Invoke(A a) override {
        typename detail::MulticastBase<Delegate1<A>>::KeepAlive keep(*this);
        this->m_entries.Walk([&a](Delegate1<A>* d) { d->Invoke(static_cast<A>(a)); });
    }
};

// Returns the last listener's answer (R() for an empty list).
template <class A, class B, class R = void>
class MulticastDelegate2 : public detail::MulticastBase<Delegate2<A, B, R>> {
public:
    R Invoke(A a, B b) override {
        typename detail::MulticastBase<Delegate2<A, B, R>>::KeepAlive keep(*this);
        if constexpr (std::is_void_v<R>) {
            this->m_entries.Walk([&](Delegate2<A, B, R>* d) { d->Invoke(static_cast<A>(a), static_cast<B>(b)); });
        } else {
            R result{};
            this->m_entries.Walk(
                [&](Delegate2<A, B, R>* d) { result = d->Invoke(static_cast<A>(a), static_cast<B>(b)); });
            return result;
        }
    }
};

} // namespace Corvell
