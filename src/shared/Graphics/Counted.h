#pragma once
#include "ui/Base.h"

#include <atomic>
#include <cstdint>
#include <utility>

namespace Corvell {

// Intrusive reference count of the drawing objects and images: the count
// starts at 0, GRef adds and drops references, the last drop deletes.
class GraphicsObject : public Object {
public:
    GraphicsObject(const GraphicsObject&) = delete;
    GraphicsObject& operator=(const GraphicsObject&) = delete;

    void AddRef() const { m_refs.fetch_add(1, std::memory_order_relaxed); }
    void Release() const {
        if (m_refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }
    int32_t RefCount() const { return m_refs.load(std::memory_order_relaxed); }

protected:
    GraphicsObject() = default;

private:
    mutable std::atomic<int32_t> m_refs{0};
};

template <class T>
class GRef {
public:
    GRef() = default;
    GRef(T* p) : m_p(p) { // NOLINT: implicit, as a raw pointer converts
        if (m_p)
            m_p->AddRef();
    }
    GRef(const GRef& o) : GRef(o.m_p) {}
    GRef(GRef&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    template <class U>
    GRef(const GRef<U>& o) : GRef(o.Get()) {}
    ~GRef() {
        if (m_p)
            m_p->Release();
    }
    GRef& operator=(GRef o) noexcept {
        std::swap(m_p, o.m_p);
        return *this;
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    bool operator==(const GRef& o) const { return m_p == o.m_p; }
    bool operator!=(const GRef& o) const { return m_p != o.m_p; }

private:
    T* m_p = nullptr;
};

} // namespace Corvell
