#pragma once

#include "platform/read_only_file.h"

#include <cstdint>
#include <memory>
#include <string>

namespace lintara {

// Reads a package file through a buffer, one field at a time. Every byte at or beyond the end of
// the file (its size when opened) reads as 0, so a field that the end of the file cuts off is
// completed with zero bytes; the position still moves past it.
class ByteCursor {
public:
    explicit ByteCursor(ReadOnlyFile& file);

    // Seeks the file; a negative position throws FileError(Seek).
    void Seek(std::int32_t position);
    std::uint64_t Position() const { return position_; }
    // Whether the position lies at or beyond the last byte the file delivers.
    bool AtEnd() const { return position_ >= end_; }

    std::uint8_t ReadByte() {
        const std::uint64_t at = position_ - bufferStart_;
        if (at < bufferEnd_) {
            ++position_;
            return buffer_[at];
        }
        return ReadByteSlow();
    }
    std::uint32_t ReadUInt32() {
        if (const std::uint8_t* p = Request(4)) {
            position_ += 4;
            return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
                   std::uint32_t{p[3]} << 24;
        }
        return ReadUInt32Slow();
    }
    // Reads `count` bytes and appends them to `out`, 0 for those beyond the end of the file.
    void ReadBytes(std::size_t count, std::string& out);
    // Appends the bytes up to the next zero byte, which is consumed, or up to the end of the file.
    void ReadUntilZero(std::string& out);

    // The next `count` bytes (at most kBufferSize), all of them file data, without moving the
    // position; nullptr when the file ends before them. Skip() then moves past what was used.
    const std::uint8_t* Request(std::size_t count) {
        const std::uint64_t at = position_ - bufferStart_;
        if (at + count <= bufferEnd_) return buffer_.get() + at;
        return RequestSlow(count);
    }
    void Skip(std::size_t count) { position_ += count; }
    // How many bytes of file data the buffer holds from the position on, after a Request() that
    // succeeded: at least the count requested.
    std::size_t Buffered() const { return bufferEnd_ - static_cast<std::size_t>(position_ - bufferStart_); }

    // Gives away the buffer, whose bytes stay where they are, and goes on in a new one that holds
    // the buffered bytes from the position on: for a caller that keeps pointers into the bytes.
    std::unique_ptr<std::uint8_t[]> TakeBuffer();

    static constexpr std::size_t kBufferSize = 64 * 1024;

private:
    std::uint8_t ReadByteSlow();
    std::uint32_t ReadUInt32Slow();
    const std::uint8_t* RequestSlow(std::size_t count);
    void Fill();

    ReadOnlyFile& file_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::uint64_t bufferStart_ = 0; // file position of buffer_[0]
    std::size_t bufferEnd_ = 0;     // bytes of buffer_ that hold file data
    std::uint64_t position_ = 0;
    std::uint64_t filePosition_ = 0; // where the file itself stands
    std::uint64_t end_;              // the file's size, or where a read came up short
};

} // namespace lintara
