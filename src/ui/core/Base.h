#pragma once
#include <cstddef>
#include <cstdint>
#include <new>

namespace Corvell {

// Root of the library's resource classes. Heap instances are counted
// module-wide so the module can tell whether it may be unloaded; objects
// embedded in others or built on the stack are not counted.
class Base {
public:
    virtual ~Base() = default;

    static void* operator new(std::size_t size);
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* p) noexcept;
    static void operator delete(void* p, const std::nothrow_t&) noexcept;
    static void operator delete(void* p, std::size_t) noexcept;

    // Live heap objects of this module.
    static int32_t LiveObjects();
};

class Object : public Base {};

} // namespace Corvell
