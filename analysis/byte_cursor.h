#pragma once

#include "platform/read_only_file.h"

#include <cstdint>
#include <string>
#include <vector>

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

    std::uint8_t ReadByte();
    std::uint32_t ReadUInt32();
    // Reads `count` bytes and appends them to `out`, 0 for those beyond the end of the file.
    void ReadBytes(std::size_t count, std::string& out);
    // Appends the bytes up to the next zero byte, which is consumed, or up to the end of the file.
    void ReadUntilZero(std::string& out);

private:
    void Fill();

    ReadOnlyFile& file_;
    std::vector<std::uint8_t> buffer_;
    std::uint64_t bufferStart_ = 0; // file position of buffer_[0]
    std::size_t bufferEnd_ = 0;     // bytes of buffer_ that hold file data
    std::uint64_t position_ = 0;
    std::uint64_t filePosition_ = 0; // where the file itself stands
    std::uint64_t end_;              // the file's size, or where a read came up short
};

} // namespace lintara
