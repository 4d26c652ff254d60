#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "ui/core/Base.h"
#include "ui/core/Ref.h"

namespace Corvell {

// The stream classes' own counting: the count sits right after the virtual
// table and starts at 1 for the creator (wrap with Ref<T>::Adopt).
class IRefCounter {
public:
    virtual uint32_t AddRef() { return static_cast<uint32_t>(m_refs.fetch_add(1) + 1); }
    // Deletes the object when the count reaches 0.
    virtual uint32_t Release() = 0;

    int32_t RefCount() const { return m_refs.load(); }

protected:
    IRefCounter() = default;
    ~IRefCounter() = default;
    IRefCounter(const IRefCounter&) = delete;
    IRefCounter& operator=(const IRefCounter&) = delete;

    // The new count.
    int32_t DropRef() { return m_refs.fetch_sub(1) - 1; }

private:
    std::atomic<int32_t> m_refs{1};
};

class Exception {
public:
    virtual ~Exception() = default;
    virtual const char* GetName() const { return "Exception"; }
};

class IStreamBuffer;

class StreamBufferException : public Exception {
public:
    enum Code { kCannotResize = 1, kReadPastEnd = 2 };

    StreamBufferException(IStreamBuffer* buffer, int code) : m_buffer(buffer), m_code(code) {}
    const char* GetName() const override { return "StreamBufferException"; }

    // The buffer that raised it, for identification only.
    IStreamBuffer* GetBuffer() const { return m_buffer; }
    int GetCode() const { return m_code; }

private:
    IStreamBuffer* m_buffer;
    int m_code;
};

class Allocator : public IRefCounter {
public:
    virtual void* Alloc(std::size_t size) = 0;
    virtual void* Realloc(void* block, std::size_t size) = 0;
    virtual void Free(void* block) = 0;

protected:
    virtual ~Allocator() = default;
};

// The standard heap.
class MemAllocator final : public Allocator, public Object {
public:
    static Ref<Allocator> Create() { return Ref<Allocator>::Adopt(new MemAllocator); }

    uint32_t Release() override;
    void* Alloc(std::size_t size) override;
    void* Realloc(void* block, std::size_t size) override;
    void Free(void* block) override;

private:
    MemAllocator() = default;
    ~MemAllocator() override = default;
};

class IStreamBuffer : public IRefCounter {
public:
    // Exactly n bytes or a StreamBufferException (code 2); never partial.
    virtual std::size_t Read(void* dst, std::size_t n) = 0;
    // Grows as needed; StreamBufferException (code 1) when it cannot.
    virtual std::size_t Write(const void* src, std::size_t n) = 0;
    virtual int64_t Seek(int64_t pos, int mode) = 0;
    virtual uint8_t* GetData() = 0;
    virtual std::size_t GetSize() = 0;
    // Hands the bytes to the caller, who frees them through the returned
    // allocator (null for a buffer that never owned them).
    virtual Ref<Allocator> Detach(void** data, std::size_t* size) = 0;
    // Cuts the bytes after the position; the new size.
    virtual std::size_t Truncate() = 0;

protected:
    virtual ~IStreamBuffer() = default;

public:
    virtual void Resize(std::size_t n) = 0;
};

// Bytes in memory with a read/write position. Growth is exact-size and
// zero-fills; the position never passes the size.
class StreamBuffer final : public IStreamBuffer, public Object {
public:
    // Growth beyond this fails as any failed resize does.
    static constexpr std::size_t kDefaultMaxSize = std::size_t(1) << 30;

    // An empty buffer owning its bytes through alloc.
    static Ref<StreamBuffer> Create(Ref<Allocator> alloc, bool growable = true,
                                    std::size_t maxSize = kDefaultMaxSize);
    // A growable buffer (standard heap) holding a copy of the bytes, at 0.
    static Ref<StreamBuffer> CreateCopy(const void* data, std::size_t size,
                                        std::size_t maxSize = kDefaultMaxSize);
    // A fixed buffer over the caller's bytes, which it neither grows nor frees.
    static Ref<StreamBuffer> CreateFixed(void* data, std::size_t size);

    uint32_t Release() override;
    std::size_t Read(void* dst, std::size_t n) override;
    std::size_t Write(const void* src, std::size_t n) override;
    int64_t Seek(int64_t pos, int mode) override;
    uint8_t* GetData() override { return m_data; }
    std::size_t GetSize() override { return m_size; }
    Ref<Allocator> Detach(void** data, std::size_t* size) override;
    std::size_t Truncate() override;
    void Resize(std::size_t n) override;

    std::size_t GetPosition() const { return m_pos; }
    bool IsGrowable() const { return m_growable && m_alloc; }

private:
    StreamBuffer(Ref<Allocator> alloc, uint8_t* data, std::size_t size, bool growable, std::size_t maxSize);
    ~StreamBuffer() override;

    Ref<Allocator> m_alloc;
    uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
    bool m_growable;
    std::size_t m_maxSize;
};

} // namespace Corvell
