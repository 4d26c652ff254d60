#pragma once
#include <cstddef>
#include <cstdint>

#include "ui/core/String.h"

namespace Corvell {

// Byte streams. Every typed value travels as its raw little-endian bytes,
// one after the other, with no alignment gaps. The virtual operations are
// declared in their fixed slot order.
class InputStream {
public:
    virtual bool AtEnd();
    // A signed 32-bit length n, then n bytes; the text is kept up to its
    // first NUL. A negative or impossible length fails with an empty string.
    virtual bool ReadString(String& s);

    virtual bool Read(uint64_t& v);
    virtual bool Read(uint32_t& v);
    virtual bool Read(uint16_t& v);
    virtual bool Read(uint8_t& v);

    virtual bool Read(double& v);
    virtual bool Read(float& v);
    virtual bool Read(int64_t& v);
    virtual bool Read(int32_t& v);
    virtual bool Read(int16_t& v);
    virtual bool Read(int8_t& v);

    // Bytes actually read.
    virtual std::size_t Read(void* dst, std::size_t size) = 0;
    // size × count bytes; 0 when the product does not fit.
    virtual std::size_t Read(void* dst, std::size_t size, std::size_t count);

    // The value, or 0 when it could not be read.
    virtual int8_t ReadS8();
    virtual int16_t ReadS16();
    virtual int32_t ReadS32();
    virtual int64_t ReadS64();
    virtual uint8_t ReadU8();
    virtual uint16_t ReadU16();
    virtual uint32_t ReadU32();
    virtual uint64_t ReadU64();
    virtual float ReadFloat();
    virtual double ReadDouble();

    virtual String ReadString();

protected:
    InputStream() = default;
    ~InputStream() = default;

private:
    template <class T>
    bool ReadValue(T& v);
};

class OutputStream {
public:
    // The length as a signed 32-bit integer, then the characters.
    virtual bool WriteString(const String& s);

    virtual bool Write(uint64_t v);
    virtual bool Write(uint32_t v);
    virtual bool Write(uint16_t v);
    virtual bool Write(uint8_t v);

    virtual bool Write(double v);
    virtual bool Write(float v);
    virtual bool Write(int64_t v);
    virtual bool Write(int32_t v);
    virtual bool Write(int16_t v);
    virtual bool Write(int8_t v);

    // Bytes actually written.
    virtual std::size_t Write(const void* src, std::size_t size) = 0;
    // size × count bytes; 0 when the product does not fit.
    virtual std::size_t Write(const void* src, std::size_t size, std::size_t count);

    // The remaining types, each at its own width (long double as a double).
    virtual bool WriteChar(char v);
    virtual bool WriteBool(bool v);
    virtual bool WriteWChar(wchar_t v);
    virtual bool WriteChar16(char16_t v);
    virtual bool WriteChar32(char32_t v);
    virtual bool WriteLong(long v);
    virtual bool WriteULong(unsigned long v);
    virtual bool WriteLongLong(long long v);
    virtual bool WriteULongLong(unsigned long long v);
    virtual bool WriteLongDouble(long double v);

    virtual bool WriteStringCopy(String s);

    // One byte, not a promoted int.
    bool Write(char v) { return WriteChar(v); }

protected:
    OutputStream() = default;
    ~OutputStream() = default;

private:
    template <class T>
    bool WriteValue(T v);
};

enum SeekMode { SeekFromStart = 0, SeekFromCurrent = 1, SeekFromEnd = 2 };

class RandomAccess {
public:
    // The new position.
    virtual int64_t Seek(int64_t pos, int mode) = 0;
    virtual int64_t Tell();
    // True when the position moved by exactly n.
    virtual bool Skip(int64_t n);
    virtual int64_t GetSize() = 0;

protected:
    RandomAccess() = default;
    ~RandomAccess() = default;
};

class InputRandomAccessStream : public InputStream, public virtual RandomAccess {
protected:
    ~InputRandomAccessStream() = default;
};

class OutputRandomAccessStream : public OutputStream, public virtual RandomAccess {
protected:
    ~OutputRandomAccessStream() = default;
};

} // namespace Corvell
