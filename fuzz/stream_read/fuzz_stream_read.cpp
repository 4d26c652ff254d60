// Typed reads of untrusted bytes through a MemoryStream. The input is the
// stream's content; each operation is chosen by a byte read from the stream
// itself, and every result is checked against the raw input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "../FuzzCheck.h"
#include "ui/core/MemoryStream.h"

using namespace Corvell;

namespace {

struct Expect {
    const uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;

    template <class T>
    bool Take(T& v) {
        if (size - pos < sizeof(T))
            return false;
        std::memcpy(&v, data + pos, sizeof(T));
        pos += sizeof(T);
        return true;
    }
};

template <class T>
void CheckTyped(MemoryStream& s, Expect& e) {
    T want{};
    const bool ok = e.Take(want);
    T got{};
    CHECK(s.Read(got) == ok);
    if (ok)
        CHECK(std::memcmp(&got, &want, sizeof(T)) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Ref<StreamBuffer> buffer = StreamBuffer::CreateCopy(data, size);
    MemoryStream s{Ref<IStreamBuffer>(buffer)};
    Expect e{data, size};

    for (int step = 0; step < 4096 && !s.AtEnd(); ++step) {
        uint8_t op = 0;
        CHECK(e.Take(op));
        CHECK(s.ReadU8() == op);
        switch (op % 12) {
        case 0: CheckTyped<int8_t>(s, e); break;
        case 1: CheckTyped<uint16_t>(s, e); break;
        case 2: CheckTyped<int32_t>(s, e); break;
        case 3: CheckTyped<uint64_t>(s, e); break;
        case 4: CheckTyped<float>(s, e); break;
        case 5: CheckTyped<double>(s, e); break;
        case 6:
        case 7: { // a length-prefixed string
            int32_t n = 0;
            bool expect = false;
            std::string want;
            if (e.Take(n)) {
                if (n == 0) {
                    expect = true;
                } else if (n > 0 && e.size - e.pos >= static_cast<std::size_t>(n)) {
                    const char* p = reinterpret_cast<const char*>(e.data + e.pos);
                    want.assign(p, strnlen(p, static_cast<std::size_t>(n)));
                    e.pos += static_cast<std::size_t>(n);
                    expect = true;
                }
            }
            String got;
            if (op % 12 == 6) {
                CHECK(s.ReadString(got) == expect);
            } else {
                got = s.ReadString();
            }
            CHECK(got == want.c_str());
            CHECK(got.GetLength() == static_cast<int>(want.size()));
            break;
        }
        case 8: { // an element count and size taken from the data
            uint16_t sz = 0, count = 0;
            if (!e.Take(sz) || !e.Take(count)) {
                e.pos = e.size; // the stream reads what is left as 1-byte ops
                s.Seek(0, SeekFromEnd);
                break;
            }
            CHECK(s.ReadU16() == sz && s.ReadU16() == count);
            const std::size_t n = std::size_t(sz % 512) * (count % 64);
            std::string buf(n + 1, '\0');
            const bool ok = e.size - e.pos >= n;
            const std::size_t got = s.Read(&buf[0], sz % 512, count % 64);
            CHECK(got == (ok ? n : 0));
            if (ok) {
                CHECK(std::memcmp(buf.data(), e.data + e.pos, n) == 0);
                e.pos += n;
            }
            break;
        }
        case 9: { // a relative seek by a signed 16-bit amount
            int16_t d = 0;
            if (!e.Take(d)) {
                e.pos = e.size;
                s.Seek(0, SeekFromEnd);
                break;
            }
            CHECK(s.ReadS16() == d);
            int64_t t = static_cast<int64_t>(e.pos) + d;
            if (t < 0)
                t = 0;
            // A seek past the end of a growable buffer grows it with zeros;
            // keep to the data here.
            if (static_cast<int64_t>(e.pos) + d > static_cast<int64_t>(e.size))
                break;
            CHECK(s.Seek(d, SeekFromCurrent) == t);
            e.pos = static_cast<std::size_t>(t);
            break;
        }
        case 10: { // a skip within the data
            uint8_t d = 0;
            if (!e.Take(d)) {
                e.pos = e.size;
                s.Seek(0, SeekFromEnd);
                break;
            }
            CHECK(s.ReadU8() == d);
            if (e.size - e.pos < d)
                break;
            CHECK(s.Skip(d));
            e.pos += d;
            break;
        }
        default: { // values that fail read 0
            const bool ok = e.size - e.pos >= 8;
            int64_t want = 0;
            if (ok)
                e.Take(want);
            CHECK(s.ReadS64() == want);
            break;
        }
        }
        CHECK(static_cast<std::size_t>(s.Tell()) == e.pos);
        CHECK(static_cast<std::size_t>(s.GetSize()) == size);
    }
    return 0;
}
