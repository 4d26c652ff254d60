#pragma once
// Delegates over a function object: for callers that have no member
// function to bind (hosts, tests, one-off listeners).
#include <functional>
#include <utility>

#include "ui/core/Delegate.h"

namespace Corvell {

template <class A>
class FunctionDelegate1 : public CountedObject<Delegate1<A>> {
public:
    explicit FunctionDelegate1(std::function<void(A)> f) : m_f(std::move(f)) {}
    void Invoke(A a) override {
        if (m_f)
            m_f(std::forward<A>(a));
    }

private:
    std::function<void(A)> m_f;
};

class FunctionDelegate : public CountedObject<Delegate> {
public:
    explicit FunctionDelegate(std::function<void()> f) : m_f(std::move(f)) {}
    void Invoke() override {
        if (m_f)
            m_f();
    }

private:
    std::function<void()> m_f;
};

inline Ref<Delegate> Fn(std::function<void()> f) { return Ref<Delegate>(new FunctionDelegate(std::move(f))); }

template <class A>
Ref<Delegate1<A>> Fn(std::function<void(A)> f) {
    return Ref<Delegate1<A>>(new FunctionDelegate1<A>(std::move(f)));
}

} // namespace Corvell
