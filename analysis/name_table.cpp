#include "analysis/package_format.h"

namespace lintara {

void NameTable::Append(std::string_view text, std::uint32_t flags) {
    entries_.push_back({texts_.size(), static_cast<std::uint32_t>(text.size()), flags});
    texts_.append(text);
}

} // namespace lintara
