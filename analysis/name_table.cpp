#include "analysis/package_format.h"

namespace lintara {

std::string_view NameTable::Text(std::uint32_t index) const {
    if (index >= entries_.size()) return {};
    const Stored& entry = entries_[index];
    return std::string_view(texts_).substr(entry.offset, entry.length);
}

std::uint32_t NameTable::Flags(std::uint32_t index) const {
    return index < entries_.size() ? entries_[index].flags : 0;
}

void NameTable::Append(std::string_view text, std::uint32_t flags) {
    entries_.push_back({texts_.size(), static_cast<std::uint32_t>(text.size()), flags});
    texts_.append(text);
}

} // namespace lintara
