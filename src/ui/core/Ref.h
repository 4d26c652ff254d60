#pragma once
#include <cstddef>
#include <type_traits>
#include <utility>

#include "ui/core/RefCounted.h"

namespace Corvell {

// Intrusive smart pointer over anything with AddRef/Release (RefCounted
// objects, and the stream classes' IRefCounter).
template <class T>
class Ref {
public:
    Ref() noexcept = default;
    Ref(std::nullptr_t) noexcept {}
    Ref(T* p) : m_p(p) {
        if (m_p)
            m_p->AddRef();
    }
    Ref(const Ref& o) : Ref(o.m_p) {}
    Ref(Ref&& o) noexcept : m_p(o.m_p) { o.m_p = nullptr; }
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(const Ref<U>& o) : Ref(static_cast<T*>(o.Get())) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(Ref<U>&& o) noexcept : m_p(o.Detach()) {}

    ~Ref() { Reset(); }

    // Takes over a reference the caller already owns (objects whose count
    // starts at 1, such as stream buffers), without adding one.
    static Ref Adopt(T* p) noexcept {
        Ref r;
        r.m_p = p;
        return r;
    }

    Ref& operator=(const Ref& o) {
        Assign(o.m_p);
        return *this;
    }
    Ref& operator=(Ref&& o) noexcept {
        if (this != &o) {
            T* old = m_p;
            m_p = o.m_p;
            o.m_p = nullptr;
            if (old)
                old->Release();
        }
        return *this;
    }
    Ref& operator=(T* p) {
        Assign(p);
        return *this;
    }
    Ref& operator=(std::nullptr_t) {
        Reset();
        return *this;
    }

    // Releases the target and stores null. The pointer is cleared first, so
    // a destructor that looks back at this Ref sees it empty.
    void Reset() {
        T* old = m_p;
        m_p = nullptr;
        if (old)
            old->Release();
    }

    // Gives up the reference without releasing it.
    T* Detach() noexcept {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }

    T* Get() const noexcept { return m_p; }
    T* operator->() const noexcept { return m_p; }
    T& operator*() const noexcept { return *m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }

    friend bool operator==(const Ref& a, const Ref& b) { return a.m_p == b.m_p; }
    friend bool operator!=(const Ref& a, const Ref& b) { return a.m_p != b.m_p; }
    friend bool operator==(const Ref& a, std::nullptr_t) { return a.m_p == nullptr; }
    friend bool operator!=(const Ref& a, std::nullptr_t) { return a.m_p != nullptr; }

private:
    // AddRef the new target, store it, then release the old one; the same
    // pointer changes nothing.
    void Assign(T* p) {
        if (p == m_p)
            return;
        if (p)
            p->AddRef();
        T* old = m_p;
        m_p = p;
        if (old)
            old->Release();
    }

    T* m_p = nullptr;
};

// new T(args...) wrapped at once, so the object never sits at count 0.
template <class T, class... Args>
Ref<T> MakeRef(Args&&... args) {
    return Ref<T>(new T(std::forward<Args>(args)...));
}

} // namespace Corvell
