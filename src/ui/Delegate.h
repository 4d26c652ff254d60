#pragma once
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "ui/Ref.h"

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

template <class C>
class MemberDelegateT : public CountedObject<Delegate> {
public:
    using Fn = void (C::*)();
    MemberDelegateT(C* obj, Fn fn) : m_obj(obj), m_fn(fn) {}
    void Invoke() override { (m_obj->*m_fn)(); }
    bool Equals(const AbstractDelegate* o) const override { return detail::SameBinding(*this, o); }
    C* Target() const { return m_obj; }
    Fn Member() const { return m_fn; }

private:
    C* m_obj;
    Fn m_fn;
};

template <class A, class C>
class MemberDelegate1T : public CountedObject<Delegate1<A>> {
public:
    using Fn = void (C::*)(A);
    MemberDelegate1T(C* obj, Fn fn) : m_obj(obj), m_fn(fn) {}
    void Invoke(A a) override { (m_obj->*m_fn)(std::forward<A>(a)); }
    bool Equals(const AbstractDelegate* o) const override { return detail::SameBinding(*this, o); }
    C* Target() const { return m_obj; }
    Fn Member() const { return m_fn; }

private:
    C* m_obj;
    Fn m_fn;
};

// As MemberDelegate1T; a distinct class, so the two never compare equal.
template <class A, class C>
class XDelegate1T : public CountedObject<Delegate1<A>> {
public:
    using Fn = void (C::*)(A);
    XDelegate1T(C* obj, Fn fn) : m_obj(obj), m_fn(fn) {}
    void Invoke(A a) override { (m_obj->*m_fn)(std::forward<A>(a)); }
    bool Equals(const AbstractDelegate* o) const override { return detail::SameBinding(*this, o); }
    C* Target() const { return m_obj; }
    Fn Member() const { return m_fn; }

private:
    C* m_obj;
    Fn m_fn;
};

template <class A, class B, class R, class C>
class __MemberDelegate2 : public CountedObject<Delegate2<A, B, R>> {
public:
    using Fn = R (C::*)(A, B);
    __MemberDelegate2(C* obj, Fn fn) : m_obj(obj), m_fn(fn) {}
    R Invoke(A a, B b) override { return (m_obj->*m_fn)(std::forward<A>(a), std::forward<B>(b)); }
    bool Equals(const AbstractDelegate* o) const override { return detail::SameBinding(*this, o); }
    C* Target() const { return m_obj; }
    Fn Member() const { return m_fn; }

private:
    C* m_obj;
    Fn m_fn;
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
