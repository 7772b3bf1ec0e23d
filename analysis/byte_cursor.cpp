#include "analysis/byte_cursor.h"

#include <algorithm>

namespace lintara {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}

ByteCursor::ByteCursor(ReadOnlyFile& file) : file_(file), buffer_(kBufferSize), end_(file.Size()) {}

void ByteCursor::Seek(std::int32_t position) {
    file_.Seek(position);
    position_ = filePosition_ = static_cast<std::uint64_t>(position);
    bufferStart_ = position_;
    bufferEnd_ = 0;
}

// Refills the buffer from the file at the position, which is where the file stands: the cursor
// only ever moves forward between seeks, and past the end of the file nothing is read.
void ByteCursor::Fill() {
    bufferStart_ = position_;
    bufferEnd_ = 0;
    if (position_ >= end_) return;
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(kBufferSize, end_ - position_));
    bufferEnd_ = file_.Read(buffer_.data(), wanted);
    filePosition_ += bufferEnd_;
    if (bufferEnd_ < wanted) end_ = filePosition_; // the file shrank: what it did not deliver reads as 0
}

std::uint8_t ByteCursor::ReadByte() {
    if (position_ - bufferStart_ >= bufferEnd_) {
        if (position_ >= end_) {
            ++position_;
            return 0;
        }
        Fill();
        if (bufferEnd_ == 0) { // the file shrank to this position: nothing left to deliver
            ++position_;
            return 0;
        }
    }
    return buffer_[position_++ - bufferStart_];
}

std::uint32_t ByteCursor::ReadUInt32() {
    const std::size_t at = position_ - bufferStart_;
    if (at + 4 <= bufferEnd_) {
        const std::uint8_t* p = buffer_.data() + at;
        position_ += 4;
        return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
    }
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= std::uint32_t{ReadByte()} << (8 * i);
    return value;
}

void ByteCursor::ReadBytes(std::size_t count, std::string& out) {
    const std::size_t at = position_ - bufferStart_;
    if (at + count <= bufferEnd_) {
        out.append(reinterpret_cast<const char*>(buffer_.data() + at), count);
        position_ += count;
        return;
    }
    for (std::size_t i = 0; i < count; ++i) out += static_cast<char>(ReadByte());
}

void ByteCursor::ReadUntilZero(std::string& out) {
    for (;;) {
        if (position_ - bufferStart_ >= bufferEnd_) {
            if (position_ >= end_) return; // the end of the file ends the text
            Fill();
        }
        const std::uint8_t* begin = buffer_.data() + (position_ - bufferStart_);
        const std::uint8_t* end = buffer_.data() + bufferEnd_;
        const std::uint8_t* zero = std::find(begin, end, std::uint8_t{0});
        out.append(reinterpret_cast<const char*>(begin), static_cast<std::size_t>(zero - begin));
        position_ += static_cast<std::size_t>(zero - begin);
        if (zero != end) {
            ++position_;
            return;
        }
    }
}

} // namespace lintara
