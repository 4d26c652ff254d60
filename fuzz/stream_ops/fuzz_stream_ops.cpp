// Sequences of stream operations on a MemoryStream, checked step by step
// against a plain byte-vector model of the buffer and its position.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../FuzzCheck.h"
#include "ui/core/MemoryStream.h"

using namespace Corvell;

namespace {

constexpr std::size_t kMaxSize = 64 * 1024;

struct Model {
    std::vector<uint8_t> bytes;
    std::size_t pos = 0;
    bool growable = true;

    bool CanHold(std::size_t n) const { return growable && n <= kMaxSize; }

    std::size_t Write(const uint8_t* src, std::size_t n) {
        if (n == 0)
            return 0;
        if (bytes.size() - pos < n) {
            if (!CanHold(pos + n))
                return 0;
            bytes.resize(pos + n, 0);
        }
        std::memcpy(bytes.data() + pos, src, n);
        pos += n;
        return n;
    }
    bool Read(uint8_t* dst, std::size_t n) {
        if (bytes.size() - pos < n)
            return false;
        if (n)
            std::memcpy(dst, bytes.data() + pos, n);
        pos += n;
        return true;
    }
    std::size_t Seek(int64_t off, int mode) {
        int64_t base;
        switch (mode) {
        case 0: base = 0; break;
        case 1: base = static_cast<int64_t>(pos); break;
        case 2: base = static_cast<int64_t>(bytes.size()); break;
        default: return pos;
        }
        __int128 t = static_cast<__int128>(base) + off;
        if (t < 0)
            t = 0;
        if (t > static_cast<__int128>(bytes.size())) {
            if (!growable)
                t = bytes.size();
            else if (t > kMaxSize)
                return pos; // growth fails; the position stays
            else
                bytes.resize(static_cast<std::size_t>(t), 0);
        }
        pos = static_cast<std::size_t>(t);
        return pos;
    }
};

void Compare(const Model& m, MemoryStream& s, StreamBuffer* b) {
    CHECK(static_cast<std::size_t>(s.GetSize()) == m.bytes.size());
    CHECK(static_cast<std::size_t>(s.Tell()) == m.pos);
    CHECK(b->GetPosition() == m.pos);
    CHECK(s.AtEnd() == (m.pos == m.bytes.size()));
    if (!m.bytes.empty())
        CHECK(std::memcmp(b->GetData(), m.bytes.data(), m.bytes.size()) == 0);
}

// Sizes and counts whose product wraps to a few bytes, which the stream
// could transfer if it missed the overflow.
constexpr std::size_t kWraps[][2] = {
    {SIZE_MAX / 2 + 2, 2}, {2, SIZE_MAX / 2 + 2}, {SIZE_MAX / 4 + 2, 4}, {SIZE_MAX / 3 + 1, 3}};

constexpr bool AllWrapSmall() {
    for (const auto& w : kWraps)
        if (w[0] * w[1] == 0 || w[0] * w[1] > 4)
            return false;
    return true;
}
static_assert(AllWrapSmall(), "each product wraps to 1..4 bytes");

int64_t FuzzOffset(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return in.ConsumeIntegralInRange<int64_t>(-300, 300);
    case 1: return in.ConsumeIntegralInRange<int64_t>(-(1 << 17), 1 << 17);
    case 2: return in.ConsumeBool() ? INT64_MIN + in.ConsumeIntegralInRange<int64_t>(0, 3)
                                   : INT64_MAX - in.ConsumeIntegralInRange<int64_t>(0, 3);
    default: return in.ConsumeIntegral<int64_t>();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    Model m;
    std::vector<uint8_t> fixedStorage;
    Ref<StreamBuffer> buffer;
    if (in.ConsumeBool()) {
        buffer = StreamBuffer::Create(MemAllocator::Create(), true, kMaxSize);
    } else {
        fixedStorage = in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, 256));
        buffer = StreamBuffer::CreateFixed(fixedStorage.data(), fixedStorage.size());
        m.bytes = fixedStorage;
        m.growable = false;
    }
    MemoryStream s{Ref<IStreamBuffer>(buffer)};

    for (int step = 0; step < 2000 && in.remaining_bytes() > 0; ++step) {
        switch (in.ConsumeIntegralInRange<int>(0, 11)) {
        case 0: { // raw write
            std::vector<uint8_t> bytes = in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, 600));
            const std::size_t expect = m.Write(bytes.data(), bytes.size());
            CHECK(s.Write(bytes.data(), bytes.size()) == expect);
            break;
        }
        case 1: { // raw read
            const std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, 700);
            std::vector<uint8_t> got(n + 1, 0xAA), want(n + 1, 0xAA);
            const bool ok = m.Read(want.data(), n);
            const std::size_t r = s.Read(got.data(), n);
            CHECK(r == (ok ? n : 0));
            CHECK(got == want);
            break;
        }
        case 2: { // seek
            const int64_t off = FuzzOffset(in);
            const int mode = in.ConsumeIntegralInRange<int>(0, 3);
            const std::size_t expect = m.Seek(off, mode);
            CHECK(static_cast<std::size_t>(s.Seek(off, mode)) == expect);
            break;
        }
        case 3: { // typed write
            const uint64_t v = in.ConsumeIntegral<uint64_t>();
            uint8_t le[8];
            std::memcpy(le, &v, 8);
            switch (in.ConsumeIntegralInRange<int>(0, 3)) {
            case 0: CHECK(s.Write(static_cast<uint8_t>(v)) == (m.Write(le, 1) == 1)); break;
            case 1: CHECK(s.Write(static_cast<int16_t>(v)) == (m.Write(le, 2) == 2)); break;
            case 2: CHECK(s.Write(static_cast<uint32_t>(v)) == (m.Write(le, 4) == 4)); break;
            default: CHECK(s.Write(static_cast<int64_t>(v)) == (m.Write(le, 8) == 8)); break;
            }
            break;
        }
        case 4: { // typed read
            uint8_t want[8] = {};
            switch (in.ConsumeIntegralInRange<int>(0, 3)) {
            case 0: {
                const bool ok = m.Read(want, 1);
                uint8_t v = 0;
                CHECK(s.Read(v) == ok);
                CHECK(!ok || v == want[0]);
                break;
            }
            case 1: {
                const bool ok = m.Read(want, 2);
                const int16_t v = s.ReadS16();
                int16_t w = 0;
                if (ok)
                    std::memcpy(&w, want, 2);
                CHECK(v == w);
                break;
            }
            case 2: {
                const bool ok = m.Read(want, 4);
                float v = 0;
                CHECK(s.Read(v) == ok);
                CHECK(!ok || std::memcmp(&v, want, 4) == 0);
                break;
            }
            default: {
                const bool ok = m.Read(want, 8);
                uint64_t w = 0;
                if (ok)
                    std::memcpy(&w, want, 8);
                CHECK(s.ReadU64() == w);
                break;
            }
            }
            break;
        }
        case 5: { // string write
            const String text(in.ConsumeRandomLengthString(300).c_str());
            const int32_t n = text.GetLength();
            const std::size_t before = m.pos;
            const std::vector<uint8_t> saved = m.bytes;
            uint8_t le[4];
            std::memcpy(le, &n, 4);
            bool expect = m.Write(le, 4) == 4;
            if (expect && n > 0)
                expect = m.Write(reinterpret_cast<const uint8_t*>(text.GetString()), static_cast<std::size_t>(n)) ==
                         static_cast<std::size_t>(n);
            const bool ok = s.WriteString(text);
            CHECK(ok == expect);
            (void)before;
            (void)saved;
            break;
        }
        case 6: { // string read
            String got("stale");
            const bool ok = s.ReadString(got);
            // Model: length, then that many bytes, only when all are there.
            int32_t n = 0;
            bool expect = false;
            std::string want;
            uint8_t le[4];
            if (m.Read(le, 4)) {
                std::memcpy(&n, le, 4);
                if (n == 0) {
                    expect = true;
                } else if (n > 0 && m.bytes.size() - m.pos >= static_cast<std::size_t>(n)) {
                    const char* p = reinterpret_cast<const char*>(m.bytes.data() + m.pos);
                    want.assign(p, strnlen(p, static_cast<std::size_t>(n)));
                    m.pos += static_cast<std::size_t>(n);
                    expect = true;
                }
            }
            CHECK(ok == expect);
            CHECK(got == want.c_str());
            CHECK(got.GetLength() == static_cast<int>(std::strlen(got.GetString())));
            break;
        }
        case 7: { // explicit truncate
            if (m.growable)
                m.bytes.resize(m.pos);
            CHECK(static_cast<std::size_t>(s.Truncate()) == m.bytes.size());
            break;
        }
        case 8: { // resize the buffer directly, also below the position
            const std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, kMaxSize + 16);
            bool threw = false;
            try {
                buffer->Resize(n);
            } catch (const StreamBufferException& e) {
                CHECK(e.GetCode() == StreamBufferException::kCannotResize);
                threw = true;
            }
            const bool expectThrow = !m.growable || (n > kMaxSize && n > m.bytes.size());
            CHECK(threw == expectThrow);
            if (!threw) {
                m.bytes.resize(n, 0);
                if (m.pos > n)
                    m.pos = n;
            }
            break;
        }
        case 9: { // size and element counts that overflow
            const auto& w = kWraps[in.ConsumeIntegralInRange<std::size_t>(0, 3)];
            uint8_t scratch[16] = {};
            CHECK(s.Read(scratch, w[0], w[1]) == 0);
            CHECK(s.Write(scratch, w[0], w[1]) == 0);
            const std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, 4);
            const std::size_t c = in.ConsumeIntegralInRange<std::size_t>(0, 4);
            const bool ok = m.Read(scratch, n * c);
            CHECK(s.Read(scratch, n, c) == (ok ? n * c : 0));
            break;
        }
        case 10: { // skip
            const int64_t n = FuzzOffset(in);
            const std::size_t before = m.pos;
            const std::size_t after = m.Seek(n, 1);
            const bool moved = static_cast<int64_t>(after) - static_cast<int64_t>(before) == n;
            CHECK(s.Skip(n) == moved);
            break;
        }
        default: { // buffer-level read: the exception, never a partial copy
            const std::size_t n = in.ConsumeIntegralInRange<std::size_t>(1, 300);
            std::vector<uint8_t> got(n), want(n);
            const bool ok = m.Read(want.data(), n);
            bool threw = false;
            try {
                CHECK(buffer->Read(got.data(), n) == n);
            } catch (const StreamBufferException& e) {
                CHECK(e.GetCode() == StreamBufferException::kReadPastEnd);
                threw = true;
            }
            CHECK(threw == !ok);
            if (ok)
                CHECK(got == want);
            break;
        }
        }
        Compare(m, s, buffer.Get());
    }

    // Handing the bytes out leaves an empty buffer and the caller owning them.
    void* bytes = nullptr;
    std::size_t n = 0;
    Ref<Allocator> alloc = buffer->Detach(&bytes, &n);
    CHECK(n == m.bytes.size());
    CHECK(buffer->GetSize() == 0 && buffer->GetData() == nullptr);
    if (alloc)
        alloc->Free(bytes);
    return 0;
}
