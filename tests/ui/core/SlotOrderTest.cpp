// The virtual operations of the interfaces handed across the engine
// boundary sit in a fixed order. Under the Itanium C++ ABI (GCC and clang,
// mingw included) a pointer to a virtual member holds 1 + its byte offset
// in the virtual table, which lets the order be checked directly.
#include "ui/core/Delegate.h"
#include "ui/core/Stream.h"
#include "ui/core/StreamBuffer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace Corvell {
namespace {

#if defined(__GNUC__)

template <class M>
long Slot(M m) {
    struct Rep {
        std::uintptr_t ptr;
        std::ptrdiff_t adj;
    } r;
    static_assert(sizeof(M) == sizeof(Rep), "Itanium member pointer");
    std::memcpy(&r, &m, sizeof r);
    EXPECT_EQ(1u, r.ptr % sizeof(void*)) << "not a virtual member";
    return static_cast<long>((r.ptr - 1) / sizeof(void*));
}

using IS = InputStream;
using OS = OutputStream;

TEST(SlotOrder, InputStream) {
    const long slots[] = {
        Slot(&IS::AtEnd),
        Slot(static_cast<bool (IS::*)(String&)>(&IS::ReadString)),
        Slot(static_cast<bool (IS::*)(uint64_t&)>(&IS::Read)),
        Slot(static_cast<bool (IS::*)(uint32_t&)>(&IS::Read)),
        Slot(static_cast<bool (IS::*)(uint16_t&)>(&IS::Read)),
        Slot(static_cast<bool (IS::*)(uint8_t&)>(&IS::Read)),
        Slot(static_cast<bool (IS::*)(double&)>(&IS::Read)),
        Slot(static_cast<bool (IS::*)(float&)>(&IS::Read)),
        Slot(static_cast<bool (IS::*)(int64_t&)>(&IS::Read)),
        Slot(static_cast<bool (IS::*)(int32_t&)>(&IS::Read)),
        Slot(static_cast<bool (IS::*)(int16_t&)>(&IS::Read)),
        Slot(static_cast<bool (IS::*)(int8_t&)>(&IS::Read)),
        Slot(static_cast<std::size_t (IS::*)(void*, std::size_t)>(&IS::Read)),
        Slot(static_cast<std::size_t (IS::*)(void*, std::size_t, std::size_t)>(&IS::Read)),
        Slot(&IS::ReadS8), Slot(&IS::ReadS16), Slot(&IS::ReadS32), Slot(&IS::ReadS64),
        Slot(&IS::ReadU8), Slot(&IS::ReadU16), Slot(&IS::ReadU32), Slot(&IS::ReadU64),
        Slot(&IS::ReadFloat), Slot(&IS::ReadDouble),
        Slot(static_cast<String (IS::*)()>(&IS::ReadString)),
    };
    ASSERT_EQ(25u, sizeof slots / sizeof slots[0]);
    for (long i = 0; i < 25; ++i)
        EXPECT_EQ(i, slots[i]) << "operation " << i + 1;
}

TEST(SlotOrder, OutputStream) {
    const long slots[] = {
        Slot(&OS::WriteString),
        Slot(static_cast<bool (OS::*)(uint64_t)>(&OS::Write)),
        Slot(static_cast<bool (OS::*)(uint32_t)>(&OS::Write)),
        Slot(static_cast<bool (OS::*)(uint16_t)>(&OS::Write)),
        Slot(static_cast<bool (OS::*)(uint8_t)>(&OS::Write)),
        Slot(static_cast<bool (OS::*)(double)>(&OS::Write)),
        Slot(static_cast<bool (OS::*)(float)>(&OS::Write)),
        Slot(static_cast<bool (OS::*)(int64_t)>(&OS::Write)),
        Slot(static_cast<bool (OS::*)(int32_t)>(&OS::Write)),
        Slot(static_cast<bool (OS::*)(int16_t)>(&OS::Write)),
        Slot(static_cast<bool (OS::*)(int8_t)>(&OS::Write)),
        Slot(static_cast<std::size_t (OS::*)(const void*, std::size_t)>(&OS::Write)),
        Slot(static_cast<std::size_t (OS::*)(const void*, std::size_t, std::size_t)>(&OS::Write)),
        Slot(&OS::WriteChar), Slot(&OS::WriteBool), Slot(&OS::WriteWChar), Slot(&OS::WriteChar16),
        Slot(&OS::WriteChar32), Slot(&OS::WriteLong), Slot(&OS::WriteULong), Slot(&OS::WriteLongLong),
        Slot(&OS::WriteULongLong), Slot(&OS::WriteLongDouble),
        Slot(&OS::WriteStringCopy),
    };
    ASSERT_EQ(24u, sizeof slots / sizeof slots[0]);
    for (long i = 0; i < 24; ++i)
        EXPECT_EQ(i, slots[i]) << "operation " << i + 1;
}

TEST(SlotOrder, RandomAccessAndStreamBuffer) {
    EXPECT_EQ(0, Slot(&RandomAccess::Seek));
    EXPECT_EQ(1, Slot(&RandomAccess::Tell));
    EXPECT_EQ(2, Slot(&RandomAccess::Skip));
    EXPECT_EQ(3, Slot(&RandomAccess::GetSize));

    EXPECT_EQ(0, Slot(&IStreamBuffer::AddRef));
    EXPECT_EQ(1, Slot(&IStreamBuffer::Release));
    EXPECT_EQ(2, Slot(&IStreamBuffer::Read));
    EXPECT_EQ(3, Slot(&IStreamBuffer::Write));
    EXPECT_EQ(4, Slot(&IStreamBuffer::Seek));
    EXPECT_EQ(5, Slot(&IStreamBuffer::GetData));
    EXPECT_EQ(6, Slot(&IStreamBuffer::GetSize));
    EXPECT_EQ(7, Slot(&IStreamBuffer::Detach));
    EXPECT_EQ(8, Slot(&IStreamBuffer::Truncate));
    // The destructor comes next (two entries under this ABI), then Resize.
    EXPECT_EQ(11, Slot(&IStreamBuffer::Resize));

    EXPECT_EQ(2, Slot(&Allocator::Alloc));
    EXPECT_EQ(3, Slot(&Allocator::Realloc));
    EXPECT_EQ(4, Slot(&Allocator::Free));
}

TEST(SlotOrder, Delegates) {
    // Destructor (two entries), AddRef, Release, Equals, Invoke.
    EXPECT_EQ(2, Slot(&RefCounted::AddRef));
    EXPECT_EQ(3, Slot(&RefCounted::Release));
    EXPECT_EQ(4, Slot(&AbstractDelegate::Equals));
    EXPECT_EQ(5, Slot(&Delegate::Invoke));
    EXPECT_EQ(5, Slot(&Delegate1<int>::Invoke));
    EXPECT_EQ(5, Slot(&Delegate2<int, int, bool>::Invoke));
}

#endif

} // namespace
} // namespace Corvell
