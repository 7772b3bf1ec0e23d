#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
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
        if (entry.length == 0) return {};
        // A stored entry may hold a zero byte: its text ends there.
        const void* zero = std::memchr(entry.bytes, 0, entry.length);
        return std::string_view(entry.bytes, zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - entry.bytes) : entry.length);
    }
    std::uint32_t Flags(std::uint32_t index) const { return index < entries_.size() ? entries_[index].flags : 0; }

    // Appends the next entry read from the file.
    void Append(std::string_view text, std::uint32_t flags);
    std::uint32_t StoredCount() const { return static_cast<std::uint32_t>(entries_.size()); }

    // For a reader that keeps whole blocks of the file's bytes: AppendEntry() adds an entry whose
    // `length` bytes lie at `bytes`, in a block that Keep() takes; its text ends at the first zero
    // byte among them. Reserve() prepares room for that many more entries.
    void AppendEntry(const std::uint8_t* bytes, std::uint32_t length, std::uint32_t flags) {
        entries_.push_back({reinterpret_cast<const char*>(bytes), length, flags});
    }
    void Keep(std::unique_ptr<std::uint8_t[]> block) { blocks_.push_back(std::move(block)); }
    void Reserve(std::size_t entries) { entries_.reserve(entries_.size() + entries); }

private:
    struct Stored {
        const char* bytes;
        std::uint32_t length;
        std::uint32_t flags;
    };
    std::uint32_t count_;
    std::vector<Stored> entries_;
    // The bytes the entries point into; blocks do not move when the table grows or moves.
    std::vector<std::unique_ptr<std::uint8_t[]>> blocks_;
    std::uint8_t* room_ = nullptr; // what Append() has left of its last block
    std::size_t roomSize_ = 0;
};

} // namespace lintara
