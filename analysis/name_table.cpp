#include "analysis/package_format.h"

#include <algorithm>

namespace lintara {

void NameTable::Append(std::string_view text, std::uint32_t flags) {
    if (text.size() > roomSize_) {
        roomSize_ = std::max<std::size_t>(text.size(), 4096);
        Keep(std::unique_ptr<std::uint8_t[]>(room_ = new std::uint8_t[roomSize_]));
    }
    std::copy(text.begin(), text.end(), room_);
    AppendEntry(room_, static_cast<std::uint32_t>(text.size()), flags);
    room_ += text.size();
    roomSize_ -= text.size();
}

} // namespace lintara
