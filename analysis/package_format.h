#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lintara {

// The layout of a UT2004 package file, as far as this tool reads it: the header, the name table
// and the import table. All fields are little-endian.

inline constexpr std::uint32_t kPackageTag = 0x9E2A83C1; // the bytes C1 83 2A 9E
inline constexpr std::size_t kPackageHeaderSize = 36;
// From this version on (low 16 bits) names carry a length byte; before it they end in a zero byte.
inline constexpr std::uint16_t kFirstLengthPrefixedVersion = 64;

struct PackageHeader {
    std::uint32_t tag = 0;
    std::uint32_t version = 0;
    std::uint32_t packageFlags = 0;
    std::uint32_t nameCount = 0;
    std::uint32_t nameOffset = 0;
    std::uint32_t exportCount = 0;
    std::uint32_t exportOffset = 0;
    std::uint32_t importCount = 0;
    std::uint32_t importOffset = 0;
};

// One entry of the import table, each field exactly as decoded.
struct ImportEntry {
    std::int32_t classPackage = 0;
    std::int32_t className = 0;
    std::int32_t outer = 0;
    std::int32_t objectName = 0;

    friend bool operator==(const ImportEntry&, const ImportEntry&) = default;
};

// The name table of one package: Count() entries, each a byte string without zero bytes and its
// flags. The entries that start at or beyond the end of the file are all the empty text with
// flags 0; the table stores only the ones before them, so its memory is bounded by the file's
// size however large the count.
class NameTable {
public:
    explicit NameTable(std::uint32_t count) : count_(count) {}

    std::uint32_t Count() const { return count_; }
    std::string_view Text(std::uint32_t index) const {
        if (index >= entries_.size()) return {};
        const Stored& entry = entries_[index];
        return std::string_view(texts_.data() + entry.offset, entry.length);
    }
    std::uint32_t Flags(std::uint32_t index) const { return index < entries_.size() ? entries_[index].flags : 0; }

    // Appends the next entry read from the file.
    void Append(std::string_view text, std::uint32_t flags);
    std::uint32_t StoredCount() const { return static_cast<std::uint32_t>(entries_.size()); }

    // For a reader that keeps whole runs of the file's bytes: AppendBytes() stores bytes as they
    // stand and returns where they begin; AppendEntry() then adds an entry whose text lies at
    // `offset` in the bytes stored so far. Reserve() prepares room for that many more entries.
    std::size_t AppendBytes(const std::uint8_t* bytes, std::size_t size) {
        const std::size_t at = texts_.size();
        texts_.append(reinterpret_cast<const char*>(bytes), size);
        return at;
    }
    void AppendEntry(std::size_t offset, std::uint32_t length, std::uint32_t flags) {
        entries_.push_back({offset, length, flags});
    }
    void Reserve(std::size_t entries) { entries_.reserve(entries_.size() + entries); }

private:
    struct Stored {
        std::size_t offset;
        std::uint32_t length;
        std::uint32_t flags;
    };
    std::uint32_t count_;
    std::string texts_;
    std::vector<Stored> entries_;
};

} // namespace lintara
