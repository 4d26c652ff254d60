#include "ui/core/String.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace Corvell {

namespace {

// The public interface counts in int; no buffer may outgrow it.
constexpr int64_t kMaxLength = INT_MAX - 1;

class EmptyStringData final : public StringData {
public:
    EmptyStringData() : StringData(-1, 0) {}
    void Free() override {}
    bool IsHeap() const override { return false; }
};

// Storage for the empty buffer and its terminator; never destroyed, so
// strings in other static objects may outlive everything else.
alignas(EmptyStringData) unsigned char g_emptyStorage[sizeof(EmptyStringData) + 8];

void ReleaseData(StringData* d) {
    if (d->refs.load(std::memory_order_relaxed) < 0)
        return;
    if (d->refs.fetch_sub(1, std::memory_order_acq_rel) - 1 <= 0)
        d->Free();
}

bool IsUnshared(const StringData* d) { return d->IsHeap() && d->refs.load(std::memory_order_acquire) <= 1; }

int64_t BoundedLength(const char* s, int64_t max) {
    if (!s || max <= 0)
        return 0;
    return static_cast<int64_t>(strnlen(s, static_cast<size_t>(max)));
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

class HeapStringData final : public StringData {
public:
    explicit HeapStringData(int64_t cap) : StringData(1, cap) {}
    void Free() override {
        this->~HeapStringData();
        std::free(this);
    }
};

} // namespace

void StringData::Free() {}
bool StringData::IsHeap() const { return refs.load(std::memory_order_relaxed) != -1; }

StringData* StringData::Allocate(int64_t capacity) {
    if (capacity < 0 || capacity > kMaxLength)
        throw std::bad_alloc();
    static_assert(sizeof(HeapStringData) == sizeof(StringData), "header layout");
    void* p = std::malloc(sizeof(HeapStringData) + static_cast<size_t>(capacity) + 1);
    if (!p)
        throw std::bad_alloc();
    StringData* d = new (p) HeapStringData(capacity);
    d->Chars()[0] = '\0';
    d->Chars()[capacity] = '\0';
    return d;
}

StringData* StringData::Empty() {
    static StringData* const empty = new (g_emptyStorage) EmptyStringData();
    return empty;
}

// ---- construction and assignment -----------------------------------------

String::String() noexcept : m_chars(StringData::Empty()->Chars()) {}

String::String(const char* s) : String() {
    if (s)
        AssignChars(s, static_cast<int64_t>(std::strlen(s)));
}

String::String(const char* s, int n) : String() { AssignChars(s, BoundedLength(s, n)); }

String::String(const String& o) : m_chars(o.m_chars) {
    StringData* d = o.Data();
    if (d->refs.load(std::memory_order_relaxed) >= 0)
        d->refs.fetch_add(1, std::memory_order_relaxed);
    else
        SetEmpty();
}

String::String(String&& o) noexcept : m_chars(o.m_chars) { o.m_chars = StringData::Empty()->Chars(); }

String::~String() { ReleaseData(Data()); }

String& String::operator=(const String& o) {
    if (o.m_chars == m_chars)
        return *this;
    StringData* src = o.Data();
    if (src->refs.load(std::memory_order_relaxed) < 0) {
        SetEmpty();
        return *this;
    }
    src->refs.fetch_add(1, std::memory_order_relaxed);
    StringData* old = Data();
    m_chars = o.m_chars;
    ReleaseData(old);
    return *this;
}

String& String::operator=(String&& o) noexcept {
    if (this != &o) {
        StringData* old = Data();
        m_chars = o.m_chars;
        o.m_chars = StringData::Empty()->Chars();
        ReleaseData(old);
    }
    return *this;
}

String& String::operator=(const char* s) {
    if (!s)
        SetEmpty();
    else
        AssignChars(s, static_cast<int64_t>(std::strlen(s)));
    return *this;
}

void String::SetEmpty() {
    StringData* old = Data();
    m_chars = StringData::Empty()->Chars();
    ReleaseData(old);
}

void String::Empty() { SetEmpty(); }

void String::MakeUnique() {
    StringData* d = Data();
    if (!d->IsHeap() || d->refs.load(std::memory_order_acquire) <= 1)
        return;
    StringData* nd = StringData::Allocate(d->length);
    std::memcpy(nd->Chars(), m_chars, static_cast<size_t>(d->length) + 1);
    nd->length = d->length;
    Attach(nd);
    ReleaseData(d);
}

// Keeps an unshared buffer that is large enough, otherwise takes a new one
// of exactly n; the old text is not kept.
void String::PrepareOverwrite(int64_t n) {
    if (n == 0) {
        SetEmpty();
        return;
    }
    StringData* d = Data();
    if (IsUnshared(d) && d->capacity >= n)
        return;
    StringData* nd = StringData::Allocate(n);
    Attach(nd);
    ReleaseData(d);
}

// s may point into this string's own text: the old buffer is released only
// after the copy.
void String::AssignChars(const char* s, int64_t n) {
    if (n <= 0) {
        SetEmpty();
        return;
    }
    StringData* d = Data();
    if (IsUnshared(d) && d->capacity >= n) {
        std::memmove(m_chars, s, static_cast<size_t>(n));
    } else {
        StringData* nd = StringData::Allocate(n);
        std::memcpy(nd->Chars(), s, static_cast<size_t>(n));
        Attach(nd);
        ReleaseData(d);
    }
    Data()->length = n;
    m_chars[n] = '\0';
}

// ---- appending ---------------------------------------------------------------

String& String::Append(const char* src, int n) {
    const int64_t add = BoundedLength(src, n);
    if (add == 0)
        return *this;
    StringData* d = Data();
    const int64_t len = d->length;
    if (add > kMaxLength - len)
        throw std::bad_alloc();
    const int64_t total = len + add;
    if (IsUnshared(d) && d->capacity >= total) {
        std::memmove(m_chars + len, src, static_cast<size_t>(add));
    } else {
        StringData* nd = StringData::Allocate(total);
        std::memcpy(nd->Chars(), m_chars, static_cast<size_t>(len));
        std::memcpy(nd->Chars() + len, src, static_cast<size_t>(add));
        Attach(nd);
        ReleaseData(d);
    }
    Data()->length = total;
    m_chars[total] = '\0';
    return *this;
}

String& String::operator+=(const String& s) { return Append(s.m_chars, s.GetLength()); }

String& String::operator+=(const char* s) {
    if (s)
        Append(s, static_cast<int>(std::min<size_t>(std::strlen(s), static_cast<size_t>(kMaxLength))));
    return *this;
}

String& String::operator+=(char c) {
    const char buf[2] = {c, '\0'};
    return Append(buf, 1);
}

String String::Concat(const char* a, int64_t na, const char* b, int64_t nb) {
    if (na > kMaxLength - nb)
        throw std::bad_alloc();
    if (na + nb == 0)
        return String();
    StringData* nd = StringData::Allocate(na + nb);
    std::memcpy(nd->Chars(), a, static_cast<size_t>(na));
    std::memcpy(nd->Chars() + na, b, static_cast<size_t>(nb));
    nd->length = na + nb;
    nd->Chars()[na + nb] = '\0';
    return String(nd);
}

String operator+(const String& a, const String& b) {
    return String::Concat(a.m_chars, a.Data()->length, b.m_chars, b.Data()->length);
}

String operator+(const String& a, const char* b) {
    return String::Concat(a.m_chars, a.Data()->length, b ? b : "", b ? static_cast<int64_t>(std::strlen(b)) : 0);
}

String operator+(const char* a, const String& b) {
    return String::Concat(a ? a : "", a ? static_cast<int64_t>(std::strlen(a)) : 0, b.m_chars, b.Data()->length);
}

String operator+(const String& a, char b) {
    if (b == '\0')
        return a;
    return String::Concat(a.m_chars, a.Data()->length, &b, 1);
}

bool operator==(const String& a, const String& b) {
    return a.m_chars == b.m_chars ||
           (a.Data()->length == b.Data()->length &&
            std::memcmp(a.m_chars, b.m_chars, static_cast<size_t>(a.Data()->length)) == 0);
}

bool operator==(const String& a, const char* b) { return std::strcmp(a.m_chars, b ? b : "") == 0; }

// ---- substrings ----------------------------------------------------------

String String::Mid(int start) const { return Mid(start, INT_MAX); }

String String::Mid(int start, int count) const {
    const int len = GetLength();
    if (start < 0)
        start = 0;
    if (count < 0)
        count = 0;
    if (start > len)
        start = len;
    if (count > len - start)
        count = len - start;
    if (start == 0 && count == len)
        return *this;
    return String(m_chars + start, count);
}

String String::Left(int count) const { return Mid(0, count); }

String String::Right(int count) const {
    const int len = GetLength();
    count = std::max(0, std::min(count, len));
    return Mid(len - count, count);
}

// ---- formatting ----------------------------------------------------------

namespace {

// Rewrites the I64 / I32 / I size prefixes into the standard ones, which
// every C library understands.
const char* TranslateFormat(const char* fmt, std::string& out) {
    if (!std::strchr(fmt, 'I'))
        return fmt;
    out.clear();
    for (const char* p = fmt; *p;) {
        if (*p != '%') {
            out += *p++;
            continue;
        }
        out += *p++;
        if (*p == '%') {
            out += *p++;
            continue;
        }
        while (*p && std::strchr("-+ #0'", *p))
            out += *p++;
        while (*p == '*' || (*p >= '0' && *p <= '9'))
            out += *p++;
        if (*p == '.') {
            out += *p++;
            while (*p == '*' || (*p >= '0' && *p <= '9'))
                out += *p++;
        }
        if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
            out += "ll";
            p += 3;
        } else if (p[0] == 'I' && p[1] == '3' && p[2] == '2') {
            p += 3;
        } else if (p[0] == 'I') {
            out += 'z';
            p += 1;
        }
    }
    return out.c_str();
}

} // namespace

void String::Format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    FormatV(fmt, args);
    va_end(args);
}

void String::FormatV(const char* fmt, va_list args) {
    if (!fmt) {
        SetEmpty();
        return;
    }
    std::string translated;
    const char* f = TranslateFormat(fmt, translated);

    va_list measure;
    va_copy(measure, args);
    const int needed = std::vsnprintf(nullptr, 0, f, measure);
    va_end(measure);
    if (needed <= 0 || needed > kMaxLength) {
        SetEmpty();
        return;
    }
    // A fresh buffer: the arguments may point into the current one, which
    // is released only once the text is complete.
    StringData* nd = StringData::Allocate(needed);
    const int written = std::vsnprintf(nd->Chars(), static_cast<size_t>(needed) + 1, f, args);
    nd->length = written < 0 ? 0 : std::min<int64_t>(written, needed);
    nd->Chars()[nd->length] = '\0';
    if (nd->length == 0) {
        nd->Free();
        SetEmpty();
        return;
    }
    StringData* old = Data();
    Attach(nd);
    ReleaseData(old);
}

// ---- raw buffer access ---------------------------------------------------

char* String::GetBuffer(int n) {
    StringData* d = Data();
    const int64_t want = std::max<int64_t>(n < 0 ? 0 : n, d->length);
    if (IsUnshared(d) && d->capacity >= want)
        return m_chars;
    // Also for the empty buffer: it is never written through.
    StringData* nd = StringData::Allocate(want);
    std::memcpy(nd->Chars(), m_chars, static_cast<size_t>(d->length) + 1);
    nd->length = d->length;
    Attach(nd);
    ReleaseData(d);
    return m_chars;
}

void String::ReleaseBuffer(int len) {
    MakeUnique();
    StringData* d = Data();
    if (!d->IsHeap())
        return;
    const int64_t n = len < 0 ? BoundedLength(m_chars, d->capacity) : std::min<int64_t>(len, d->capacity);
    if (n == 0) {
        SetEmpty();
        return;
    }
    d->length = n;
    m_chars[n] = '\0';
}

int String::Insert(int index, char ch) {
    const int len = GetLength();
    if (ch == '\0')
        return len;
    index = std::max(0, std::min(index, len));
    StringData* d = Data();
    if (IsUnshared(d) && d->capacity > len) {
        std::memmove(m_chars + index + 1, m_chars + index, static_cast<size_t>(len - index));
    } else {
        if (len >= kMaxLength)
            throw std::bad_alloc();
        StringData* nd = StringData::Allocate(len + 1);
        std::memcpy(nd->Chars(), m_chars, static_cast<size_t>(index));
        std::memcpy(nd->Chars() + index + 1, m_chars + index, static_cast<size_t>(len - index));
        Attach(nd);
        ReleaseData(d);
    }
    m_chars[index] = ch;
    Data()->length = len + 1;
    m_chars[len + 1] = '\0';
    return len + 1;
}

// ---- suffixes ------------------------------------------------------------

bool String::EndsWithNoCase(const char* suffix) const {
    if (!suffix)
        return true;
    const size_t n = std::strlen(suffix);
    const size_t len = static_cast<size_t>(GetLength());
    if (n > len)
        return false;
    const char* tail = m_chars + (len - n);
    for (size_t i = 0; i < n; ++i) {
        if (LowerAscii(tail[i]) != LowerAscii(suffix[i]))
            return false;
    }
    return true;
}

String String::WithSuffix(const char* suffix) const {
    if (EndsWithNoCase(suffix))
        return *this;
    return *this + suffix;
}

String String::WithoutSuffix(const char* suffix) const {
    if (!suffix || !*suffix || !EndsWithNoCase(suffix))
        return *this;
    return Left(GetLength() - static_cast<int>(std::strlen(suffix)));
}

} // namespace Corvell
