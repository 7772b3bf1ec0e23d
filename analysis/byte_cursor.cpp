#include "analysis/byte_cursor.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace lintara {

ByteCursor::ByteCursor(ReadOnlyFile& file) : file_(file), buffer_(new std::uint8_t[kBufferSize]), end_(file.Size()) {}

void ByteCursor::Seek(std::int32_t position) {
    file_.Seek(position);
    position_ = filePosition_ = static_cast<std::uint64_t>(position);
    bufferStart_ = position_;
    bufferEnd_ = 0;
}

// Moves the bytes not yet read to the front of the buffer and fills the rest from the file,
// which stands right after them: the cursor only moves forward between seeks, and past the end
// of the file nothing is read.
void ByteCursor::Fill() {
    if (position_ >= end_) {
        bufferStart_ = position_;
        bufferEnd_ = 0;
        return;
    }
    const std::size_t at = static_cast<std::size_t>(position_ - bufferStart_);
    const std::size_t kept = at < bufferEnd_ ? bufferEnd_ - at : 0;
    if (kept > 0) std::memmove(buffer_.get(), buffer_.get() + at, kept);
    bufferStart_ = position_;
    bufferEnd_ = kept;
    const std::size_t wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(kBufferSize - kept, end_ - filePosition_));
    const std::size_t got = wanted == 0 ? 0 : file_.Read(buffer_.get() + kept, wanted);
    bufferEnd_ += got;
    filePosition_ += got;
    if (got < wanted) end_ = filePosition_; // the file shrank: what it did not deliver reads as 0
}

std::unique_ptr<std::uint8_t[]> ByteCursor::TakeBuffer() {
    std::unique_ptr<std::uint8_t[]> given = std::exchange(buffer_, std::unique_ptr<std::uint8_t[]>(new std::uint8_t[kBufferSize]));
    const std::size_t at = static_cast<std::size_t>(position_ - bufferStart_);
    const std::size_t kept = at < bufferEnd_ ? bufferEnd_ - at : 0;
    std::memcpy(buffer_.get(), given.get() + at, kept);
    bufferStart_ = position_;
    bufferEnd_ = kept;
    return given;
}

std::uint8_t ByteCursor::ReadByteSlow() {
    Fill();
    if (bufferEnd_ == 0) { // at or beyond the end of the file
        ++position_;
        return 0;
    }
    ++position_;
    return buffer_[0];
}

std::uint32_t ByteCursor::ReadUInt32Slow() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= std::uint32_t{ReadByte()} << (8 * i);
    return value;
}

const std::uint8_t* ByteCursor::RequestSlow(std::size_t count) {
    if (count > kBufferSize) return nullptr;
    Fill();
    return count <= bufferEnd_ ? buffer_.get() : nullptr;
}

void ByteCursor::ReadBytes(std::size_t count, std::string& out) {
    if (const std::uint8_t* p = Request(count)) {
        out.append(reinterpret_cast<const char*>(p), count);
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
            if (bufferEnd_ == 0) return;
        }
        const std::uint8_t* begin = buffer_.get() + (position_ - bufferStart_);
        const std::uint8_t* end = buffer_.get() + bufferEnd_;
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
