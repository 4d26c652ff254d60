#include "ui/core/MemoryStream.h"

namespace Corvell {

MemoryStream::MemoryStream() : m_buffer(StreamBuffer::Create(MemAllocator::Create())) {}

MemoryStream::MemoryStream(Ref<IStreamBuffer> buffer) : m_buffer(std::move(buffer)) {}

MemoryStream::~MemoryStream() = default;

bool MemoryStream::AtEnd() {
    if (!m_buffer)
        return true;
    return static_cast<std::size_t>(m_buffer->Seek(0, SeekFromCurrent)) == m_buffer->GetSize();
}

std::size_t MemoryStream::Read(void* dst, std::size_t size) {
    if (!m_buffer)
        return 0;
    // Reading past the end is routine for a reader; answer it without the
    // buffer's exception.
    const std::size_t pos = static_cast<std::size_t>(m_buffer->Seek(0, SeekFromCurrent));
    if (m_buffer->GetSize() - pos < size)
        return 0;
    try {
        return m_buffer->Read(dst, size);
    } catch (const StreamBufferException&) {
        return 0;
    }
}

std::size_t MemoryStream::Write(const void* src, std::size_t size) {
    if (!m_buffer)
        return 0;
    try {
        return m_buffer->Write(src, size);
    } catch (const StreamBufferException&) {
        return 0;
    }
}

int64_t MemoryStream::Seek(int64_t pos, int mode) {
    if (!m_buffer)
        return 0;
    try {
        return m_buffer->Seek(pos, mode);
    } catch (const StreamBufferException&) {
        return m_buffer->Seek(0, SeekFromCurrent);
    }
}

int64_t MemoryStream::GetSize() { return m_buffer ? static_cast<int64_t>(m_buffer->GetSize()) : 0; }

int64_t MemoryStream::Truncate() {
    if (!m_buffer)
        return 0;
    try {
        return static_cast<int64_t>(m_buffer->Truncate());
    } catch (const StreamBufferException&) {
        return static_cast<int64_t>(m_buffer->GetSize());
    }
}

} // namespace Corvell
