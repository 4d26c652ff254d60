#pragma once
#include <atomic>
#include <type_traits>
#include <utility>

#include "ui/core/Delegate.h"

namespace Corvell {

// Counting shared by deferred calls: from 0, not module-counted objects.
template <class I>
class PlainCounted : public I {
public:
    uint32_t AddRef() override { return static_cast<uint32_t>(m_refs.fetch_add(1) + 1); }
    uint32_t Release() override {
        const int32_t n = m_refs.fetch_sub(1) - 1;
        if (n == 0)
            delete this;
        return static_cast<uint32_t>(n);
    }

private:
    std::atomic<int32_t> m_refs{0};
};

// A call captured for later, typically on the user-interface thread:
// target, member function and one argument (kept by value).
template <class A>
class DeferredCallType : public PlainCounted<Delegate> {
public:
    using Value = std::decay_t<A>;

    template <class C, class T>
    static Ref<Delegate> Make(T* target, void (C::*fn)(A), Value arg);

    const Value& Argument() const { return m_arg; }

protected:
    explicit DeferredCallType(Value arg) : m_arg(std::move(arg)) {}
    Value m_arg;
};

template <class A, class B>
class DeferredBinaryCallType : public PlainCounted<Delegate> {
public:
    using Value1 = std::decay_t<A>;
    using Value2 = std::decay_t<B>;

    template <class C, class T>
    static Ref<Delegate> Make(T* target, void (C::*fn)(A, B), Value1 a, Value2 b);

protected:
    DeferredBinaryCallType(Value1 a, Value2 b) : m_a(std::move(a)), m_b(std::move(b)) {}
    Value1 m_a;
    Value2 m_b;
};

namespace detail {
template <class A, class C>
class DeferredCallImpl final : public DeferredCallType<A> {
public:
    DeferredCallImpl(C* t, void (C::*fn)(A), typename DeferredCallType<A>::Value arg)
        : DeferredCallType<A>(std::move(arg)), m_target(t), m_fn(fn) {}
    void Invoke() override { (m_target->*m_fn)(this->m_arg); }

private:
    C* m_target;
    void (C::*m_fn)(A);
};

template <class A, class B, class C>
class DeferredBinaryCallImpl final : public DeferredBinaryCallType<A, B> {
public:
    DeferredBinaryCallImpl(C* t, void (C::*fn)(A, B), typename DeferredBinaryCallType<A, B>::Value1 a,
                           typename DeferredBinaryCallType<A, B>::Value2 b)
        : DeferredBinaryCallType<A, B>(std::move(a), std::move(b)), m_target(t), m_fn(fn) {}
    void Invoke() override { (m_target->*m_fn)(this->m_a, this->m_b); }

private:
    C* m_target;
    void (C::*m_fn)(A, B);
};
} // namespace detail

template <class A>
template <class C, class T>
Ref<Delegate> DeferredCallType<A>::Make(T* target, void (C::*fn)(A), Value arg) {
    if (!target || !fn)
        return nullptr;
    return Ref<Delegate>(new detail::DeferredCallImpl<A, C>(target, fn, std::move(arg)));
}

template <class A, class B>
template <class C, class T>
Ref<Delegate> DeferredBinaryCallType<A, B>::Make(T* target, void (C::*fn)(A, B), Value1 a, Value2 b) {
    if (!target || !fn)
        return nullptr;
    return Ref<Delegate>(new detail::DeferredBinaryCallImpl<A, B, C>(target, fn, std::move(a), std::move(b)));
}

} // namespace Corvell
