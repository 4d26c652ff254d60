#pragma once
#include "ui/core/Base.h"
#include "ui/core/Stream.h"
#include "ui/core/StreamBuffer.h"

namespace Corvell {

// Both stream sides over one stream buffer. This is the object handed to
// the engine and to file readers, so buffer exceptions stop here: a short
// transfer is reported as 0 bytes (false, or a value of 0, for the typed
// operations).
class MemoryStream : public InputRandomAccessStream, public OutputRandomAccessStream, public Object {
public:
    // Over a new growable buffer on the standard heap.
    MemoryStream();
    explicit MemoryStream(Ref<IStreamBuffer> buffer);
    ~MemoryStream() override;

    using InputStream::Read;
    using OutputStream::Write;

    bool AtEnd() override;
    std::size_t Read(void* dst, std::size_t size) override;
    std::size_t Write(const void* src, std::size_t size) override;
    int64_t Seek(int64_t pos, int mode) override;
    // The size of the data; reading it changes nothing.
    int64_t GetSize() override;

    // Cuts the data after the position explicitly; the new size.
    int64_t Truncate();

    IStreamBuffer* GetBuffer() const { return m_buffer.Get(); }
    const uint8_t* GetData() const { return m_buffer ? m_buffer->GetData() : nullptr; }

private:
    Ref<IStreamBuffer> m_buffer;
};

} // namespace Corvell
