#pragma once
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "ui/core/Ref.h"

namespace Corvell {

// Base of every delegate. Equals says whether two delegates would call the
// same thing; by default only the very same object does (two unrelated
// delegates of one class must never be taken for each other).
class AbstractDelegate : public RefCounted {
public:
    virtual bool Equals(const AbstractDelegate* other) const { return other == this; }
};

class Delegate : public AbstractDelegate {
public:
    virtual void Invoke() = 0;
};

template <class A>
class Delegate1 : public AbstractDelegate {
public:
    virtual void Invoke(A a) = 0;
};

template <class A, class B, class R = void>
class Delegate2 : public AbstractDelegate {
public:
    virtual R Invoke(A a, B b) = 0;
};

namespace detail {
// Same class, object and member function.
template <class Self>
bool SameBinding(const Self& self, const AbstractDelegate* other) {
    if (!other || typeid(*other) != typeid(self))
        return false;
    const Self& o = static_cast<const Self&>(*other);
    return o.Target() == self.Target() && o.Member() == self.Member();
}
} // namespace detail

// ---- member delegates: bind an object without owning it -------------------

namespace detail {
// The object and member function a member delegate calls; equal to another
// of the same class with the same object and member function.
template <class I, class C, class F>
class MemberBinding : public CountedObject<I> {
public:
    using Fn = F;
    MemberBinding(C* obj, Fn fn) : m_obj(obj), m_fn(fn) {}
    bool Equals(const AbstractDelegate* o) const override { return SameBinding(*this, o); }
    C* Target() const { return m_obj; }
    Fn Member() const { return m_fn; }

protected:
    template <class... Args>
    decltype(auto) Call(Args&&... args) {
        return (m_obj->*m_fn)(std::forward<Args>(args)...);
    }

private:
    C* m_obj;
    Fn m_fn;
};
} // namespace detail

template <class C>
class MemberDelegateT : public detail::MemberBinding<Delegate, C, void (C::*)()> {
public:
    MemberDelegateT(C* obj, void (C::*fn)()) : detail::MemberBinding<Delegate, C, void (C::*)()>(obj, fn) {}
    void Invoke() override { this->Call(); }
};

template <class A, class C>
class MemberDelegate1T : public detail::MemberBinding<Delegate1<A>, C, void (C::*)(A)> {
public:
    MemberDelegate1T(C* obj, void (C::*fn)(A)) : detail::MemberBinding<Delegate1<A>, C, void (C::*)(A)>(obj, fn) {}
    void Invoke(A a) override { this->Call(std::forward<A>(a)); }
};

// As MemberDelegate1T; a distinct class, so the two never compare equal.
template <class A, class C>
class XDelegate1T : public detail::MemberBinding<Delegate1<A>, C, void (C::*)(A)> {
public:
    XDelegate1T(C* obj, void (C::*fn)(A)) : detail::MemberBinding<Delegate1<A>, C, void (C::*)(A)>(obj, fn) {}
    void Invoke(A a) override { this->Call(std::forward<A>(a)); }
};

template <class A, class B, class R, class C>
class __MemberDelegate2 : public detail::MemberBinding<Delegate2<A, B, R>, C, R (C::*)(A, B)> {
public:
    __MemberDelegate2(C* obj, R (C::*fn)(A, B))
        : detail::MemberBinding<Delegate2<A, B, R>, C, R (C::*)(A, B)>(obj, fn) {}
    R Invoke(A a, B b) override { return this->Call(std::forward<A>(a), std::forward<B>(b)); }
};

// ---- embedded delegates: live inside their owner, never counted -----------

// Calls a member function of its owner; a member of that owner.
template <class C>
class BaseMemberDelegate0 : public EmbeddedCounting<Delegate> {
public:
    using Fn = void (C::*)();
    BaseMemberDelegate0(C* owner, Fn fn) : m_owner(owner), m_fn(fn) {}
    BaseMemberDelegate0(const BaseMemberDelegate0&) = delete;
    BaseMemberDelegate0& operator=(const BaseMemberDelegate0&) = delete;
    void Invoke() override {
        if (m_owner && m_fn)
            (m_owner->*m_fn)();
    }

private:
    C* m_owner;
    Fn m_fn;
};

// Base of an owner that implements the delegate interface D itself.
template <class D>
class Inner_delegate : public EmbeddedCounting<D> {};

// ---- factories: a null object or member function gives a null delegate ----

template <class C, class T>
Ref<Delegate> MakeDelegate(T* obj, void (C::*fn)()) {
    if (!obj || !fn)
        return nullptr;
    return Ref<Delegate>(new MemberDelegateT<C>(obj, fn));
}

template <class A, class C, class T>
Ref<Delegate1<A>> MakeDelegate(T* obj, void (C::*fn)(A)) {
    if (!obj || !fn)
        return nullptr;
    return Ref<Delegate1<A>>(new MemberDelegate1T<A, C>(obj, fn));
}

template <class A, class B, class R, class C, class T>
Ref<Delegate2<A, B, R>> MakeDelegate(T* obj, R (C::*fn)(A, B)) {
    if (!obj || !fn)
        return nullptr;
    return Ref<Delegate2<A, B, R>>(new __MemberDelegate2<A, B, R, C>(obj, fn));
}

template <class A, class C, class T>
Ref<Delegate1<A>> MakeXDelegate(T* obj, void (C::*fn)(A)) {
    if (!obj || !fn)
        return nullptr;
    return Ref<Delegate1<A>>(new XDelegate1T<A, C>(obj, fn));
}

// The member function fixed at compile time.
template <class A, class C, void (C::*Fn)(A), class T>
Ref<Delegate1<A>> MakeXDelegate(T* obj) {
    return MakeXDelegate<A, C>(obj, Fn);
}

} // namespace Corvell
