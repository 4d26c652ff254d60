#include "ui/core/MemoryStream.h"
#include "ui/core/StreamBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace Corvell {
namespace {

std::vector<uint8_t> Bytes(IStreamBuffer& b) { return std::vector<uint8_t>(b.GetData(), b.GetData() + b.GetSize()); }

int CodeOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const StreamBufferException& e) {
        return e.GetCode();
    }
    return 0;
}

// Hands out blocks whose new bytes are garbage, as realloc may.
class DirtyAllocator final : public Allocator, public Object {
public:
    static Ref<Allocator> Create(bool failGrowth = false) {
        auto* a = new DirtyAllocator;
        a->m_failGrowth = failGrowth;
        return Ref<Allocator>::Adopt(a);
    }
    uint32_t Release() override {
        const int32_t n = DropRef();
        if (n == 0)
            delete this;
        return static_cast<uint32_t>(n);
    }
    void* Alloc(std::size_t size) override { return Realloc(nullptr, size); }
    void* Realloc(void* block, std::size_t size) override {
        if (m_failGrowth)
            return nullptr;
        void* p = std::malloc(size);
        std::memset(p, 0xCD, size);
        if (block) {
            std::memcpy(p, block, std::min(size, m_sizes[block]));
            m_sizes.erase(block);
            std::free(block);
        }
        m_sizes[p] = size;
        return p;
    }
    void Free(void* block) override {
        m_sizes.erase(block);
        std::free(block);
    }

private:
    std::map<void*, std::size_t> m_sizes;
    bool m_failGrowth = false;
};

class StreamBufferTest : public ::testing::Test {
protected:
    void TearDown() override {
        buffer = nullptr;
        EXPECT_EQ(before, Base::LiveObjects());
    }
    const int32_t before = Base::LiveObjects();
    Ref<StreamBuffer> buffer = StreamBuffer::Create(MemAllocator::Create());
};

TEST_F(StreamBufferTest, WritesGrowExactlyAndReadsNeverGoPastTheEnd) {
    const char ten[] = "0123456789";
    EXPECT_EQ(1, buffer->RefCount()) << "created with its creator's reference";
    EXPECT_EQ(10u, buffer->Write(ten, 10));
    EXPECT_EQ(10u, buffer->GetSize());
    EXPECT_EQ(10u, buffer->GetPosition());
    EXPECT_EQ(0, buffer->Seek(0, SeekFromStart));
    char out[16] = {};
    EXPECT_EQ(StreamBufferException::kReadPastEnd, CodeOf([&] { buffer->Read(out, 11); }));
    EXPECT_EQ(0u, buffer->GetPosition()) << "nothing read";
    EXPECT_EQ('\0', out[0]);
    EXPECT_EQ(4u, buffer->Read(out, 4));
    EXPECT_EQ(0, std::memcmp(out, "0123", 4));
    EXPECT_EQ(0u, buffer->Read(out, 0));
    EXPECT_EQ(0u, buffer->Write(nullptr, 3));
}

TEST_F(StreamBufferTest, SeeksClampAtBothEnds) {
    buffer->Write("0123456789", 10);
    struct Case {
        int64_t from; // position before
        int64_t pos;
        int mode;
        int64_t want;
    } cases[] = {
        {5, -1, SeekFromStart, 0},   {5, -20, SeekFromCurrent, 0}, {5, -3, SeekFromEnd, 7},
        {5, INT64_MIN, SeekFromCurrent, 0}, {5, 2, SeekFromCurrent, 7}, {5, 0, 9, 5},
        {5, -10, SeekFromEnd, 0},   {5, INT64_MIN + 1, SeekFromEnd, 0},
    };
    for (const Case& c : cases) {
        buffer->Seek(c.from, SeekFromStart);
        EXPECT_EQ(c.want, buffer->Seek(c.pos, c.mode)) << c.pos << " mode " << c.mode;
        EXPECT_EQ(10u, buffer->GetSize());
    }

    char fixedBytes[10] = {};
    Ref<StreamBuffer> fixed = StreamBuffer::CreateFixed(fixedBytes, sizeof fixedBytes);
    EXPECT_EQ(10, fixed->Seek(20, SeekFromStart));
    EXPECT_EQ(10, fixed->Seek(INT64_MAX, SeekFromCurrent));
}

TEST_F(StreamBufferTest, GrowthBySeekIsZeroFilled) {
    Ref<StreamBuffer> b = StreamBuffer::Create(DirtyAllocator::Create());
    b->Write("ab", 2);
    EXPECT_EQ(20, b->Seek(20, SeekFromStart));
    b->Write("z", 1);
    std::vector<uint8_t> want(21, 0);
    want[0] = 'a';
    want[1] = 'b';
    want[20] = 'z';
    EXPECT_EQ(want, Bytes(*b));
    b->Resize(30);
    EXPECT_EQ(std::vector<uint8_t>(9, 0), std::vector<uint8_t>(b->GetData() + 21, b->GetData() + 30));
}

TEST_F(StreamBufferTest, HugeGrowthFailsWithCodeOneAndChangesNothing) {
    buffer->Write("abc", 3);
    for (int64_t target : {int64_t(StreamBuffer::kDefaultMaxSize) + 1, INT64_MAX}) {
        EXPECT_EQ(StreamBufferException::kCannotResize, CodeOf([&] { buffer->Seek(target, SeekFromStart); }));
        EXPECT_EQ(3u, buffer->GetSize());
        EXPECT_EQ(3u, buffer->GetPosition());
    }
    Ref<StreamBuffer> small = StreamBuffer::Create(MemAllocator::Create(), true, 16);
    EXPECT_EQ(16u, small->Write(std::string(16, 'x').data(), 16));
    EXPECT_EQ(StreamBufferException::kCannotResize, CodeOf([&] { small->Write("y", 1); }));
    EXPECT_EQ(16u, small->GetSize());

    Ref<StreamBuffer> failing = StreamBuffer::Create(DirtyAllocator::Create(true));
    EXPECT_EQ(StreamBufferException::kCannotResize, CodeOf([&] { failing->Write("abc", 3); }));
    EXPECT_EQ(0u, failing->GetSize());
}

TEST_F(StreamBufferTest, FixedBuffersNeverResize) {
    char bytes[4] = {'a', 'b', 'c', 'd'};
    Ref<StreamBuffer> fixed = StreamBuffer::CreateFixed(bytes, sizeof bytes);
    fixed->Seek(2, SeekFromStart);
    EXPECT_EQ(StreamBufferException::kCannotResize, CodeOf([&] { fixed->Write("xyz", 3); }));
    EXPECT_EQ(0, std::memcmp(bytes, "abcd", 4)) << "nothing written on failure";
    EXPECT_EQ(StreamBufferException::kCannotResize, CodeOf([&] { fixed->Resize(2); }));
    EXPECT_EQ(2u, fixed->Write("XY", 2));
    EXPECT_EQ(0, std::memcmp(bytes, "abXY", 4));
    EXPECT_EQ(4u, fixed->Truncate());
}

TEST_F(StreamBufferTest, ResizeBelowThePositionMovesThePosition) {
    buffer->Write("0123456789", 10);
    buffer->Resize(4);
    EXPECT_EQ(4u, buffer->GetPosition());
    char c;
    EXPECT_EQ(StreamBufferException::kReadPastEnd, CodeOf([&] { buffer->Read(&c, 1); }));
    buffer->Write("X", 1);
    EXPECT_EQ((std::vector<uint8_t>{'0', '1', '2', '3', 'X'}), Bytes(*buffer));

    buffer->Resize(0);
    EXPECT_EQ(nullptr, buffer->GetData());
    EXPECT_EQ(0u, buffer->GetPosition());
    buffer->Write("again", 5);
    EXPECT_EQ(5u, buffer->GetSize());

    buffer->Seek(2, SeekFromStart);
    EXPECT_EQ(2u, buffer->Truncate());
    EXPECT_EQ((std::vector<uint8_t>{'a', 'g'}), Bytes(*buffer));
}

TEST_F(StreamBufferTest, WritingItsOwnBytesWhileGrowing) {
    buffer->Write("abcdef", 6);
    EXPECT_EQ(6u, buffer->Write(buffer->GetData(), 6));
    EXPECT_EQ(std::string("abcdefabcdef"), std::string(reinterpret_cast<char*>(buffer->GetData()), 12));
}

TEST_F(StreamBufferTest, DetachHandsOverTheBytesAndTheAllocator) {
    buffer->Write("payload", 7);
    void* data = nullptr;
    std::size_t size = 0;
    Ref<Allocator> alloc = buffer->Detach(&data, &size);
    buffer = nullptr; // the buffer's own reference to the allocator is gone
    ASSERT_TRUE(alloc);
    ASSERT_EQ(7u, size);
    EXPECT_EQ(0, std::memcmp(data, "payload", 7));
    alloc->Free(data);
}

TEST(StreamBufferException, NamesItselfAndItsBuffer) {
    Ref<StreamBuffer> b = StreamBuffer::Create(MemAllocator::Create());
    try {
        char c;
        b->Read(&c, 1);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ("StreamBufferException", e.GetName());
        const auto& sbe = dynamic_cast<const StreamBufferException&>(e);
        EXPECT_EQ(b.Get(), sbe.GetBuffer());
    }
}

// ---- MemoryStream ------------------------------------------------------------

TEST(MemoryStream, ValuesAreLittleEndianAtEveryWidth) {
    MemoryStream s;
    EXPECT_TRUE(s.Write(uint64_t(0x0102030405060708)));
    EXPECT_TRUE(s.Write(uint32_t(0x0A0B0C0D)));
    EXPECT_TRUE(s.Write(uint16_t(0xBEEF)));
    EXPECT_TRUE(s.Write(uint8_t(0x7F)));
    EXPECT_TRUE(s.Write(int64_t(-2)));
    EXPECT_TRUE(s.Write(int32_t(-3)));
    EXPECT_TRUE(s.Write(int16_t(-4)));
    EXPECT_TRUE(s.Write(int8_t(-5)));
    EXPECT_TRUE(s.Write(1.5));
    EXPECT_TRUE(s.Write(2.5f));
    EXPECT_TRUE(s.Write('c'));
    EXPECT_TRUE(s.WriteBool(true));
    EXPECT_TRUE(s.WriteChar16(u'\x1234'));
    EXPECT_TRUE(s.WriteChar32(U'\x12345678'));
    EXPECT_TRUE(s.WriteLongLong(-6));
    EXPECT_TRUE(s.WriteLongDouble(0.25L));

    const std::vector<uint8_t> want = {
        8, 7, 6, 5, 4, 3, 2, 1, 0x0D, 0x0C, 0x0B, 0x0A, 0xEF, 0xBE, 0x7F,
        0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFD, 0xFF, 0xFF, 0xFF, 0xFC, 0xFF, 0xFB,
        0, 0, 0, 0, 0, 0, 0xF8, 0x3F, // 1.5
        0, 0, 0x20, 0x40,             // 2.5f
        'c', 1, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12,
        0xFA, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
        0, 0, 0, 0, 0, 0, 0xD0, 0x3F, // 0.25
    };
    ASSERT_EQ(static_cast<int64_t>(want.size()), s.GetSize());
    EXPECT_EQ(want, std::vector<uint8_t>(s.GetData(), s.GetData() + want.size()));

    s.Seek(0, SeekFromStart);
    EXPECT_EQ(0x0102030405060708u, s.ReadU64());
    uint32_t u32 = 0;
    EXPECT_TRUE(s.Read(u32));
    EXPECT_EQ(0x0A0B0C0Du, u32);
    EXPECT_EQ(0xBEEF, s.ReadU16());
    EXPECT_EQ(0x7F, s.ReadU8());
    EXPECT_EQ(-2, s.ReadS64());
    EXPECT_EQ(-3, s.ReadS32());
    int16_t i16 = 0;
    EXPECT_TRUE(s.Read(i16));
    EXPECT_EQ(-4, i16);
    EXPECT_EQ(-5, s.ReadS8());
    EXPECT_EQ(1.5, s.ReadDouble());
    float f = 0;
    EXPECT_TRUE(s.Read(f));
    EXPECT_EQ(2.5f, f);
}

TEST(MemoryStream, StringsRoundTripAndStopAtTheFirstNul) {
    MemoryStream s;
    EXPECT_TRUE(s.WriteString(String("abc")));
    EXPECT_TRUE(s.WriteStringCopy(String()));
    const int32_t n = 5;
    s.Write(n);
    s.Write("ab\0cd", 5);
    EXPECT_EQ((std::vector<uint8_t>{3, 0, 0, 0, 'a', 'b', 'c', 0, 0, 0, 0}),
              std::vector<uint8_t>(s.GetData(), s.GetData() + 11));

    s.Seek(0, SeekFromStart);
    String got("stale");
    EXPECT_TRUE(s.ReadString(got));
    EXPECT_STREQ("abc", got.GetString());
    EXPECT_TRUE(s.ReadString(got)) << "a length of 0 reads as success";
    EXPECT_TRUE(got.IsEmpty());
    EXPECT_EQ(StringData::Empty(), got.Data());
    got = s.ReadString();
    EXPECT_STREQ("ab", got.GetString());
    EXPECT_EQ(2, got.GetLength());
    EXPECT_TRUE(s.AtEnd());
}

TEST(MemoryStream, HostileStringLengthsFailWithoutReading) {
    for (int32_t n : {-1, INT_MIN, 4, INT_MAX}) {
        MemoryStream s;
        s.Write(n);
        s.Write("abc", 3);
        s.Seek(0, SeekFromStart);
        String got("stale");
        EXPECT_FALSE(s.ReadString(got)) << n;
        EXPECT_TRUE(got.IsEmpty()) << n;
        EXPECT_TRUE(s.ReadString().IsEmpty());
    }
}

// An input stream over given bytes, plain or with random access. It notes
// each request as the caller made it, before it is cut to what is left, and,
// when the bytes hold one stored string, the buffer that each read after the
// 4-byte length lands in (the String's header sits right before its
// characters).
// The members of RandomAccess without being one: ReadString cannot check a
// length against the data first.
class PlainInput : public InputStream {
public:
    virtual int64_t Seek(int64_t pos, int mode) = 0;
    virtual int64_t GetSize() = 0;
};

template <class Base>
class WatchedInput final : public Base {
public:
    explicit WatchedInput(std::vector<uint8_t> bytes, bool oneString = true)
        : m_bytes(std::move(bytes)), m_oneString(oneString) {}
    using InputStream::Read;
    std::size_t Read(void* dst, std::size_t n) override {
        largest = std::max(largest, n);
        if (m_oneString && m_pos >= 4)
            Watch(static_cast<char*>(dst) - (m_pos - 4));
        n = std::min(n, m_bytes.size() - m_pos);
        std::memcpy(dst, m_bytes.data() + m_pos, n);
        m_pos += n;
        return n;
    }
    int64_t Seek(int64_t pos, int mode) override {
        const int64_t base = mode == SeekFromStart ? 0 : mode == SeekFromCurrent ? int64_t(m_pos) : GetSize();
        m_pos = static_cast<std::size_t>(std::clamp<int64_t>(base + pos, 0, GetSize()));
        return int64_t(m_pos);
    }
    int64_t GetSize() override { return reportedSize >= 0 ? reportedSize : static_cast<int64_t>(m_bytes.size()); }

    int64_t reportedSize = -1; // when set, the size GetSize claims

    std::size_t largest = 0;   // the largest request
    int textReads = 0;         // reads into the string
    int buffers = 0;           // string buffers the text went into
    std::size_t moved = 0;     // bytes that had arrived when the buffer changed
    int64_t excess = INT64_MIN; // the most capacity beyond twice what had arrived

private:
    void Watch(char* text) {
        const std::size_t arrived = m_pos - 4;
        const int64_t capacity = (reinterpret_cast<const StringData*>(text) - 1)->capacity;
        ++textReads;
        if (text != m_text) {
            ++buffers;
            if (m_text)
                moved += arrived;
            m_text = text;
        }
        excess = std::max(excess, capacity - 2 * int64_t(arrived));
    }

    std::vector<uint8_t> m_bytes;
    bool m_oneString;
    std::size_t m_pos = 0;
    char* m_text = nullptr;
};

std::vector<uint8_t> StoredString(int32_t claimed, std::size_t supplied) {
    std::vector<uint8_t> bytes(4 + supplied);
    std::memcpy(bytes.data(), &claimed, 4);
    for (std::size_t i = 0; i < supplied; ++i)
        bytes[4 + i] = static_cast<uint8_t>('a' + i % 26);
    return bytes;
}

constexpr std::size_t kPiece = 64 * 1024;

struct StringCase {
    int32_t claimed;
    std::size_t supplied;
    bool ok;
} const kStringCases[] = {
    {1, 1, true},
    {int32_t(kPiece), kPiece, true},
    {int32_t(kPiece) + 1, kPiece + 1, true},
    {4 << 20 | 3, 4 << 20 | 3, true},
    {INT_MAX, 3, false},
    {1 << 20, 200000, false},
};

// Without random access the claimed length cannot be checked first: the
// text arrives in pieces into a buffer that at most doubles what has
// arrived, so a huge claim costs no more than the data, and a long string is
// moved only a few times (bytes moved stay below twice the length, where
// growing piece by piece moves about n * n / 128 KiB).
TEST(InputStream, StringsWithoutRandomAccessGrowByDoubling) {
    for (const StringCase& c : kStringCases) {
        SCOPED_TRACE(c.claimed);
        WatchedInput<PlainInput> in(StoredString(c.claimed, c.supplied));
        String got("stale");
        EXPECT_EQ(c.ok, in.ReadString(got));
        EXPECT_LE(in.largest, kPiece);
        EXPECT_LE(in.excess, int64_t(kPiece)) << "reserved far beyond the data";
        EXPECT_LE(in.moved, 2 * c.supplied);
        if (c.ok) {
            ASSERT_EQ(c.claimed, got.GetLength());
            EXPECT_EQ(0, std::memcmp(got.GetString(), StoredString(c.claimed, c.supplied).data() + 4, c.supplied));
        } else {
            EXPECT_TRUE(got.IsEmpty());
        }
    }
}

// A length checked against the data is read into one buffer of its size.
TEST(InputStream, StringsWithRandomAccessTakeOneBuffer) {
    for (const StringCase& c : kStringCases) {
        SCOPED_TRACE(c.claimed);
        WatchedInput<InputRandomAccessStream> in(StoredString(c.claimed, c.supplied));
        String got;
        EXPECT_EQ(c.ok, in.ReadString(got));
        EXPECT_EQ(c.ok ? 1 : 0, in.buffers);
        EXPECT_EQ(0u, in.moved);
        EXPECT_LE(in.largest, kPiece);
        if (!c.ok) {
            EXPECT_EQ(0, in.textReads) << "a length beyond the data fails before reading";
        }
    }
}

// A stream that claims the data for the longest length: more than a String
// can hold, which fails like any other read, not by an exception.
TEST(InputStream, AStringLongerThanAStringCanBeFailsQuietly) {
    WatchedInput<InputRandomAccessStream> in(StoredString(INT_MAX, 3));
    in.reportedSize = int64_t(INT_MAX) + 4;
    String got("stale");
    EXPECT_FALSE(in.ReadString(got));
    EXPECT_TRUE(got.IsEmpty());
}

TEST(InputStream, StringsReadOneAfterAnother) {
    std::vector<uint8_t> bytes = StoredString(2, 2);
    const std::vector<uint8_t> second = StoredString(3, 3);
    bytes.insert(bytes.end(), second.begin(), second.end());
    WatchedInput<PlainInput> in(bytes, false);
    EXPECT_STREQ("ab", in.ReadString().GetString());
    EXPECT_STREQ("abc", in.ReadString().GetString());
    EXPECT_TRUE(in.ReadString().IsEmpty()) << "nothing left";
}

TEST(MemoryStream, GetSizeNeverCutsTheData) {
    MemoryStream s;
    for (int i = 0; i < 25; ++i)
        s.Write(int32_t(i));
    s.Seek(4, SeekFromStart);
    s.Write(int32_t(99)); // patch a header, as a file writer does
    EXPECT_EQ(100, s.GetSize());
    EXPECT_EQ(100, s.GetSize());
    EXPECT_EQ(8, s.Tell());
    s.Seek(96, SeekFromStart);
    EXPECT_EQ(24, s.ReadS32()) << "the last value survived";

    s.Seek(8, SeekFromStart);
    EXPECT_EQ(8, s.Truncate());
    EXPECT_EQ(8, s.GetSize());
    EXPECT_TRUE(s.AtEnd());
}

// The stream handed to the engine and to readers reports failures as
// results, never by an exception.
TEST(MemoryStream, FailuresAreShortTransfersNotExceptions) {
    char bytes[6] = {'a', 'b', 'c', 'd', 'e', 'f'};
    MemoryStream s{Ref<IStreamBuffer>(StreamBuffer::CreateFixed(bytes, sizeof bytes))};
    s.Seek(4, SeekFromStart);
    int32_t v = 77;
    EXPECT_FALSE(s.Read(v));
    EXPECT_EQ(77, v);
    EXPECT_EQ(0, s.ReadS64());
    EXPECT_EQ(0.0, s.ReadDouble());
    EXPECT_EQ(4, s.Tell()) << "no partial read";
    EXPECT_EQ(2u, s.Read(bytes, 1, 2));
    EXPECT_TRUE(s.AtEnd());
    EXPECT_FALSE(s.Write(int32_t(1)));
    EXPECT_EQ(0u, s.Write("xy", 2));
    EXPECT_FALSE(s.WriteString(String("too long")));
    EXPECT_EQ(6, s.Seek(100, SeekFromStart));

    MemoryStream g;
    g.Write("abc", 3);
    EXPECT_EQ(3, g.Seek(INT64_MAX, SeekFromStart)) << "growth that fails leaves the position";
    EXPECT_FALSE(g.Skip(INT64_MAX));
    EXPECT_TRUE(g.Skip(-2));
    EXPECT_EQ(1, g.Tell());
    EXPECT_FALSE(g.Skip(-5));
    EXPECT_EQ(0, g.Tell());
}

// Sizes and counts whose product wraps to a few bytes, which the stream
// could transfer: the call must see the overflow and move nothing.
TEST(MemoryStream, SizeTimesCountThatOverflowsMovesNothing) {
    struct Case {
        std::size_t size, count;
    } const cases[] = {
        {SIZE_MAX / 2 + 2, 2}, // 2^63 + 1 times 2 wraps to 2
        {2, SIZE_MAX / 2 + 2},
        {SIZE_MAX / 4 + 2, 4}, // wraps to 4
        {SIZE_MAX / 3 + 1, 3}, // wraps to 2
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        const std::size_t wrapped = c.size * c.count;
        ASSERT_TRUE(wrapped > 0 && wrapped <= 4) << "the case must wrap to a transfer that fits";
        char bytes[6] = {'a', 'b', 'c', 'd', 'e', 'f'};
        MemoryStream s{Ref<IStreamBuffer>(StreamBuffer::CreateFixed(bytes, sizeof bytes))};
        char out[6] = {};
        EXPECT_EQ(0u, s.Read(out, c.size, c.count));
        EXPECT_EQ(0u, s.Write("wxyz", c.size, c.count));
        EXPECT_EQ(0, s.Tell());
        EXPECT_EQ(0, std::memcmp(bytes, "abcdef", 6));
    }
}

TEST(MemoryStream, StreamObjectsAreCountedAndFreed) {
    const int32_t before = Base::LiveObjects();
    {
        auto* s = new MemoryStream;
        s->WriteString(String("x"));
        EXPECT_EQ(before + 3, Base::LiveObjects()) << "stream, buffer and allocator";
        delete s;
    }
    EXPECT_EQ(before, Base::LiveObjects());
}

} // namespace
} // namespace Corvell
