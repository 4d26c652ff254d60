#pragma once
#include <atomic>
#include <cstdint>

#include "ui/core/Base.h"

namespace Corvell {

// Abstract base of everything delegates hold. AddRef and Release return
// the new count.
class RefCounted {
public:
    virtual ~RefCounted() = default;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;
};

// Heap counting for an interface I derived from RefCounted: the count
// starts at 0 and the object deletes itself when Release brings it back
// to 0. Being an Object, every instance is in the module's live count.
template <class I>
class CountedObject : public I, public Object {
public:
    uint32_t AddRef() override { return static_cast<uint32_t>(m_refs.fetch_add(1) + 1); }
    uint32_t Release() override {
        const int32_t n = m_refs.fetch_sub(1) - 1;
        if (n == 0)
            delete this;
        return static_cast<uint32_t>(n);
    }
    int32_t RefCount() const { return m_refs.load(); }

protected:
    using I::I;
    CountedObject() = default;

private:
    std::atomic<int32_t> m_refs{0};
};

// For objects embedded in their owner: counting is a no-op and the object
// is never deleted through a reference.
template <class I>
class EmbeddedCounting : public I {
public:
    uint32_t AddRef() override { return 0; }
    uint32_t Release() override { return 0; }

protected:
    using I::I;
    EmbeddedCounting() = default;
};

} // namespace Corvell
