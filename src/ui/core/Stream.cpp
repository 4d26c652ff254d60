#include "ui/core/Stream.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <type_traits>

namespace Corvell {

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "the stream byte format is little-endian; add byte swapping for this target"
#endif

namespace {
// Strings are read in pieces into a buffer that at most doubles what has
// arrived, so a corrupt length cannot make us allocate more than about twice
// the real data (plus one piece), and a long string is still copied only a
// few times.
constexpr std::size_t kStringChunk = 64 * 1024;
} // namespace

// ---- InputStream -----------------------------------------------------------

bool InputStream::AtEnd() { return false; }

template <class T>
bool InputStream::ReadValue(T& v) {
    unsigned char bytes[sizeof(T)];
    if (Read(bytes, sizeof(T)) != sizeof(T))
        return false;
    std::memcpy(&v, bytes, sizeof(T));
    return true;
}

bool InputStream::Read(uint64_t& v) {
    int64_t s;
    if (!Read(s))
        return false;
    v = static_cast<uint64_t>(s);
    return true;
}
bool InputStream::Read(uint32_t& v) {
    int32_t s;
    if (!Read(s))
        return false;
    v = static_cast<uint32_t>(s);
    return true;
}
bool InputStream::Read(uint16_t& v) {
    int16_t s;
    if (!Read(s))
        return false;
    v = static_cast<uint16_t>(s);
    return true;
}
bool InputStream::Read(uint8_t& v) {
    int8_t s;
    if (!Read(s))
        return false;
    v = static_cast<uint8_t>(s);
    return true;
}

bool InputStream::Read(double& v) { return ReadValue(v); }
bool InputStream::Read(float& v) { return ReadValue(v); }
bool InputStream::Read(int64_t& v) { return ReadValue(v); }
bool InputStream::Read(int32_t& v) { return ReadValue(v); }
bool InputStream::Read(int16_t& v) { return ReadValue(v); }
bool InputStream::Read(int8_t& v) { return ReadValue(v); }

std::size_t InputStream::Read(void* dst, std::size_t size, std::size_t count) {
    if (count != 0 && size > SIZE_MAX / count)
        return 0;
    return Read(dst, size * count);
}

namespace {
template <class T>
T ReadOrZero(InputStream& in) {
    T v{};
    return in.Read(v) ? v : T{};
}
} // namespace

int8_t InputStream::ReadS8() { return ReadOrZero<int8_t>(*this); }
int16_t InputStream::ReadS16() { return ReadOrZero<int16_t>(*this); }
int32_t InputStream::ReadS32() { return ReadOrZero<int32_t>(*this); }
int64_t InputStream::ReadS64() { return ReadOrZero<int64_t>(*this); }
uint8_t InputStream::ReadU8() { return ReadOrZero<uint8_t>(*this); }
uint16_t InputStream::ReadU16() { return ReadOrZero<uint16_t>(*this); }
uint32_t InputStream::ReadU32() { return ReadOrZero<uint32_t>(*this); }
uint64_t InputStream::ReadU64() { return ReadOrZero<uint64_t>(*this); }
float InputStream::ReadFloat() { return ReadOrZero<float>(*this); }
double InputStream::ReadDouble() { return ReadOrZero<double>(*this); }

bool InputStream::ReadString(String& s) {
    s.Empty();
    int32_t n = 0;
    if (!Read(n) || n < 0)
        return false;
    if (n == 0)
        return true;
    // With random access a length beyond the data fails at once.
    bool verified = false;
    if (auto* ra = dynamic_cast<RandomAccess*>(this)) {
        const int64_t remaining = ra->GetSize() - ra->Tell();
        if (remaining < n)
            return false;
        verified = true;
    }
    String text;
    try {
        // A length already checked against the data is taken at once.
        int64_t capacity = verified ? n : std::min<int64_t>(n, kStringChunk);
        char* p = text.GetBuffer(static_cast<int>(capacity));
        int64_t done = 0;
        while (done < n) {
            const int64_t piece = std::min<int64_t>(kStringChunk, n - done);
            if (done + piece > capacity) {
                capacity = std::min<int64_t>(n, std::max(done + piece, 2 * capacity));
                text.ReleaseBuffer(static_cast<int>(done)); // what GetBuffer keeps
                p = text.GetBuffer(static_cast<int>(capacity));
            }
            if (Read(p + done, static_cast<std::size_t>(piece)) != static_cast<std::size_t>(piece))
                return false;
            done += piece;
        }
        // The length counts only the text before the first NUL.
        p[n] = '\0';
        text.ReleaseBuffer(-1);
    } catch (const std::bad_alloc&) {
        // Longer than a String can be, or no memory for it: a failed read
        // like any other, not an exception through the stream.
        return false;
    }
    s = text;
    return true;
}

String InputStream::ReadString() {
    String s;
    ReadString(s);
    return s;
}

// ---- OutputStream ----------------------------------------------------------

template <class T>
bool OutputStream::WriteValue(T v) {
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &v, sizeof(T));
    return Write(static_cast<const void*>(bytes), sizeof(T)) == sizeof(T);
}

bool OutputStream::WriteString(const String& s) {
    const int32_t n = s.GetLength();
    if (!Write(n))
        return false;
    if (n == 0)
        return true;
    return Write(static_cast<const void*>(s.GetString()), static_cast<std::size_t>(n)) == static_cast<std::size_t>(n);
}

bool OutputStream::Write(uint64_t v) { return Write(static_cast<int64_t>(v)); }
bool OutputStream::Write(uint32_t v) { return Write(static_cast<int32_t>(v)); }
bool OutputStream::Write(uint16_t v) { return Write(static_cast<int16_t>(v)); }
bool OutputStream::Write(uint8_t v) { return Write(static_cast<int8_t>(v)); }

bool OutputStream::Write(double v) { return WriteValue(v); }
bool OutputStream::Write(float v) { return WriteValue(v); }
bool OutputStream::Write(int64_t v) { return WriteValue(v); }
bool OutputStream::Write(int32_t v) { return WriteValue(v); }
bool OutputStream::Write(int16_t v) { return WriteValue(v); }
bool OutputStream::Write(int8_t v) { return WriteValue(v); }

std::size_t OutputStream::Write(const void* src, std::size_t size, std::size_t count) {
    if (count != 0 && size > SIZE_MAX / count)
        return 0;
    return Write(src, size * count);
}

namespace {
// The signed fixed-width type of a given size.
template <std::size_t N> struct SignedOf;
template <> struct SignedOf<1> { using type = int8_t; };
template <> struct SignedOf<2> { using type = int16_t; };
template <> struct SignedOf<4> { using type = int32_t; };
template <> struct SignedOf<8> { using type = int64_t; };

template <class T>
typename SignedOf<sizeof(T)>::type AsSigned(T v) {
    typename SignedOf<sizeof(T)>::type s;
    std::memcpy(&s, &v, sizeof(T));
    return s;
}
} // namespace

bool OutputStream::WriteChar(char v) { return Write(AsSigned(v)); }
bool OutputStream::WriteBool(bool v) { return Write(static_cast<int8_t>(v ? 1 : 0)); }
bool OutputStream::WriteWChar(wchar_t v) { return Write(AsSigned(v)); }
bool OutputStream::WriteChar16(char16_t v) { return Write(AsSigned(v)); }
bool OutputStream::WriteChar32(char32_t v) { return Write(AsSigned(v)); }
bool OutputStream::WriteLong(long v) { return Write(AsSigned(v)); }
bool OutputStream::WriteULong(unsigned long v) { return Write(AsSigned(v)); }
bool OutputStream::WriteLongLong(long long v) { return Write(AsSigned(v)); }
bool OutputStream::WriteULongLong(unsigned long long v) { return Write(AsSigned(v)); }
bool OutputStream::WriteLongDouble(long double v) { return Write(static_cast<double>(v)); }

bool OutputStream::WriteStringCopy(String s) { return WriteString(s); }

// ---- RandomAccess ----------------------------------------------------------

int64_t RandomAccess::Tell() { return Seek(0, SeekFromCurrent); }

bool RandomAccess::Skip(int64_t n) {
    const int64_t before = Tell();
    const int64_t after = Seek(n, SeekFromCurrent);
    return after - before == n;
}

} // namespace Corvell
