#pragma once
#include <atomic>
#include <cstdarg>
#include <cstdint>

namespace Corvell {

// Header in front of a String's characters. The operations are virtual so
// that a buffer is always freed by the module that made it.
class StringData {
public:
    virtual void Free();
    virtual bool IsHeap() const;

    char* Chars() { return reinterpret_cast<char*>(this + 1); }
    const char* Chars() const { return reinterpret_cast<const char*>(this + 1); }

    std::atomic<int32_t> refs; // -1 marks the shared empty buffer
    int64_t length;            // without the terminator
    int64_t capacity;          // without the terminator

    // A new heap buffer: count 1, the given capacity, length 0.
    static StringData* Allocate(int64_t capacity);
    // The one process-wide empty buffer.
    static StringData* Empty();

protected:
    StringData(int32_t count, int64_t cap) : refs(count), length(0), capacity(cap) {}
    ~StringData() = default;
};

// 8-bit NUL-terminated text; copies share one buffer, a change first makes
// the buffer unique; every empty string shares one static buffer.
class String {
public:
    String() noexcept;
    String(const char* s);
    String(const char* s, int n);
    String(const String& o);
    String(String&& o) noexcept;
    ~String();

    String& operator=(const String& o);
    String& operator=(String&& o) noexcept;
    String& operator=(const char* s);

    int GetLength() const { return static_cast<int>(Data()->length); }
    bool IsEmpty() const { return Data()->length == 0; }
    const char* GetString() const { return m_chars; }
    const char* c_str() const { return m_chars; }
    operator const char*() const { return m_chars; }

    // Releases the buffer; the string then points at the empty buffer.
    void Empty();

    // Appends up to n characters of src (stops early at a NUL).
    String& Append(const char* src, int n);
    String& operator+=(const String& s);
    String& operator+=(const char* s);
    String& operator+=(char c);

    String Mid(int start) const;
    String Mid(int start, int count) const;
    String Left(int count) const;
    String Right(int count) const;

    // printf-style, with the I64 size prefix accepted. Formats into a new
    // buffer, so an argument may be this string's own text.
    void Format(const char* fmt, ...);
    void FormatV(const char* fmt, va_list args);

    // Unique, writable buffer with room for at least max(n, length)
    // characters plus the terminator. Finish with ReleaseBuffer.
    char* GetBuffer(int n);
    // Sets the length after writing through GetBuffer: len < 0 takes the
    // text up to the first NUL; either way bounded by the capacity.
    void ReleaseBuffer(int len = -1);

    // Inserts one character; the index is clamped to [0, length].
    int Insert(int index, char ch);

    // Case-insensitive suffix helpers (file extensions such as ".mid").
    bool EndsWithNoCase(const char* suffix) const;
    String WithSuffix(const char* suffix) const;
    String WithoutSuffix(const char* suffix) const;

    friend String operator+(const String& a, const String& b);
    friend String operator+(const String& a, const char* b);
    friend String operator+(const char* a, const String& b);
    friend String operator+(const String& a, char b);

    friend bool operator==(const String& a, const String& b);
    friend bool operator==(const String& a, const char* b);
    friend bool operator==(const char* a, const String& b) { return b == a; }
    friend bool operator!=(const String& a, const String& b) { return !(a == b); }
    friend bool operator!=(const String& a, const char* b) { return !(a == b); }
    friend bool operator!=(const char* a, const String& b) { return !(b == a); }

    // The header in front of the characters.
    StringData* Data() const { return reinterpret_cast<StringData*>(m_chars) - 1; }

private:
    explicit String(StringData* adopt) noexcept : m_chars(adopt->Chars()) {}
    static String Concat(const char* a, int64_t na, const char* b, int64_t nb);

    void Attach(StringData* d) { m_chars = d->Chars(); }
    void SetEmpty();
    void MakeUnique();
    void PrepareOverwrite(int64_t n);
    void AssignChars(const char* s, int64_t n);

    char* m_chars;
};

} // namespace Corvell
