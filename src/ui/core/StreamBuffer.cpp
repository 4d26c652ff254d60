#include "ui/core/StreamBuffer.h"

#include <cstdlib>
#include <cstring>

#include "ui/core/Stream.h"

namespace Corvell {

// ---- MemAllocator ----------------------------------------------------------

uint32_t MemAllocator::Release() {
    const int32_t n = DropRef();
    if (n == 0)
        delete this;
    return static_cast<uint32_t>(n);
}

void* MemAllocator::Alloc(std::size_t size) { return std::malloc(size ? size : 1); }

// realloc(p, 0) is not portable; a zero size is a free.
void* MemAllocator::Realloc(void* block, std::size_t size) {
    if (size == 0) {
        std::free(block);
        return nullptr;
    }
    return std::realloc(block, size);
}

void MemAllocator::Free(void* block) { std::free(block); }

// ---- StreamBuffer ----------------------------------------------------------

StreamBuffer::StreamBuffer(Ref<Allocator> alloc, uint8_t* data, std::size_t size, bool growable,
                           std::size_t maxSize)
    : m_alloc(std::move(alloc)), m_data(data), m_size(size), m_growable(growable), m_maxSize(maxSize) {}

StreamBuffer::~StreamBuffer() {
    if (m_alloc && m_data)
        m_alloc->Free(m_data);
}

Ref<StreamBuffer> StreamBuffer::Create(Ref<Allocator> alloc, bool growable, std::size_t maxSize) {
    return Ref<StreamBuffer>::Adopt(new StreamBuffer(std::move(alloc), nullptr, 0, growable, maxSize));
}

Ref<StreamBuffer> StreamBuffer::CreateCopy(const void* data, std::size_t size, std::size_t maxSize) {
    Ref<StreamBuffer> b = Create(MemAllocator::Create(), true, maxSize);
    b->Write(data, size);
    b->Seek(0, SeekFromStart);
    return b;
}

Ref<StreamBuffer> StreamBuffer::CreateFixed(void* data, std::size_t size) {
    return Ref<StreamBuffer>::Adopt(new StreamBuffer(nullptr, static_cast<uint8_t*>(data), data ? size : 0, false, 0));
}

uint32_t StreamBuffer::Release() {
    const int32_t n = DropRef();
    if (n == 0)
        delete this;
    return static_cast<uint32_t>(n);
}

std::size_t StreamBuffer::Read(void* dst, std::size_t n) {
    if (n == 0 || !dst)
        return 0;
    if (m_size - m_pos < n)
        throw StreamBufferException(this, StreamBufferException::kReadPastEnd);
    std::memmove(dst, m_data + m_pos, n);
    m_pos += n;
    return n;
}

std::size_t StreamBuffer::Write(const void* src, std::size_t n) {
    if (n == 0 || !src)
        return 0;
    const uint8_t* from = static_cast<const uint8_t*>(src);
    if (m_size - m_pos < n) {
        if (n > SIZE_MAX - m_pos)
            throw StreamBufferException(this, StreamBufferException::kCannotResize);
        // The source may lie in our own bytes, which the resize can move.
        const bool inside = m_data && from >= m_data && from < m_data + m_size;
        const std::size_t offset = inside ? static_cast<std::size_t>(from - m_data) : 0;
        Resize(m_pos + n);
        if (inside)
            from = m_data + offset;
    }
    std::memmove(m_data + m_pos, from, n);
    m_pos += n;
    return n;
}

int64_t StreamBuffer::Seek(int64_t pos, int mode) {
    uint64_t base;
    switch (mode) {
    case SeekFromStart: base = 0; break;
    case SeekFromCurrent: base = m_pos; break;
    case SeekFromEnd: base = m_size; break;
    default: return static_cast<int64_t>(m_pos);
    }
    // Before the start clamps to 0; it never wraps round to a huge target.
    uint64_t target;
    if (pos < 0) {
        const uint64_t back = static_cast<uint64_t>(-(pos + 1)) + 1;
        target = back > base ? 0 : base - back;
    } else {
        target = base + static_cast<uint64_t>(pos);
        if (target < base || target > static_cast<uint64_t>(INT64_MAX))
            target = static_cast<uint64_t>(INT64_MAX);
    }
    if (target > m_size) {
        if (IsGrowable()) {
            if (target > SIZE_MAX)
                throw StreamBufferException(this, StreamBufferException::kCannotResize);
            Resize(static_cast<std::size_t>(target));
        } else {
            target = m_size;
        }
    }
    m_pos = static_cast<std::size_t>(target);
    return static_cast<int64_t>(m_pos);
}

void StreamBuffer::Resize(std::size_t n) {
    if (!m_alloc || (n > m_size && (!m_growable || n > m_maxSize)))
        throw StreamBufferException(this, StreamBufferException::kCannotResize);
    if (n == m_size)
        return;
    if (n == 0) {
        m_alloc->Free(m_data);
        m_data = nullptr;
    } else {
        void* p = m_data ? m_alloc->Realloc(m_data, n) : m_alloc->Alloc(n);
        if (!p)
            throw StreamBufferException(this, StreamBufferException::kCannotResize);
        m_data = static_cast<uint8_t*>(p);
        // New bytes are zeros, never stale heap contents.
        if (n > m_size)
            std::memset(m_data + m_size, 0, n - m_size);
    }
    m_size = n;
    if (m_pos > m_size)
        m_pos = m_size;
}

std::size_t StreamBuffer::Truncate() {
    if (m_alloc && m_pos != m_size)
        Resize(m_pos);
    return m_size;
}

Ref<Allocator> StreamBuffer::Detach(void** data, std::size_t* size) {
    if (data)
        *data = m_data;
    else if (m_alloc && m_data)
        m_alloc->Free(m_data); // nobody to hand the bytes to
    if (size)
        *size = m_size;
    m_data = nullptr;
    m_size = 0;
    m_pos = 0;
    Ref<Allocator> alloc = std::move(m_alloc);
    return alloc;
}

} // namespace Corvell
