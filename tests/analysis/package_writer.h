#pragma once

#include "analysis/package_format.h"
#include "tests/analysis/tree_path.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lintara::fixtures {

// The bytes of one CompactIndex: sign and magnitude, 1 to 5 bytes.
std::string EncodeCompactIndex(std::int32_t value);
// The bytes of an unsigned 32-bit value, little-endian.
std::string EncodeUInt32(std::uint32_t value);
// The bytes of one name text in the encoding that the version's low 16 bits choose: a length byte
// (counting a closing zero byte) and the text with that zero byte, or the text and a zero byte.
std::string EncodeName(std::string_view text, std::uint32_t version);

// Builds the bytes of a package file for tests: the 36-byte header, the name table right after it
// and the import table after that. Counts and offsets follow the tables unless set; every other
// header field is written as set. Raw bytes, patches and truncation make broken files.
class PackageWriter {
public:
    std::uint32_t tag = kPackageTag;
    std::uint32_t version = 128;
    std::uint32_t packageFlags = 0;
    std::uint32_t exportCount = 0;
    std::uint32_t exportOffset = 0;
    std::optional<std::uint32_t> nameCount;
    std::optional<std::uint32_t> nameOffset;
    std::optional<std::uint32_t> importCount;
    std::optional<std::uint32_t> importOffset;

    // Appends a name (in the version's encoding, as the version stands when Bytes() is called) and
    // returns its index.
    std::int32_t AddName(std::string text, std::uint32_t flags = 0);
    // The index of the first name with this text, appending it when there is none.
    std::int32_t Name(std::string_view text);
    // Appends bytes to the name table as they stand, counted as `entries` names.
    void AddRawNames(std::string bytes, std::uint32_t entries = 1);

    // Appends an import, each index as a CompactIndex.
    void AddImport(const ImportEntry& entry);
    // Appends an import of class "Package" with outer 0, adding the names it needs.
    void AddPackageImport(std::string_view name);
    // Appends bytes to the import table as they stand, counted as `entries` imports.
    void AddRawImports(std::string bytes, std::uint32_t entries = 1);

    // Overwrites bytes of the finished file from `offset` on, growing it when needed.
    void Patch(std::size_t offset, std::string bytes);
    // Cuts the finished file to `size` bytes (no effect when it is shorter).
    void Truncate(std::size_t size);

    // Where the tables start in the finished file.
    std::size_t NameTableOffset() const { return kPackageHeaderSize; }
    std::size_t ImportTableOffset() const;

    std::string Bytes() const;
    // Writes Bytes() to the path, replacing the file; returns the path.
    TreePath WriteTo(const std::filesystem::path& path) const;

private:
    struct NameRecord {
        std::string text; // a name to encode
        std::string raw;  // or bytes as they stand
        std::uint32_t flags = 0;
        std::uint32_t entries = 1; // how many names the raw bytes count as
        bool isRaw = false;
    };
    std::string NameTableBytes() const;

    std::vector<NameRecord> names_;
    std::uint32_t nameEntries_ = 0;
    std::string imports_;
    std::uint32_t importEntries_ = 0;
    std::vector<std::pair<std::size_t, std::string>> patches_;
    std::optional<std::size_t> truncateTo_;
};

// A hostile header: a 100-byte package whose name and import counts are both 0xFFFFFFFF, with
// the names "Package" and "Rocks" and five imports of package "Rocks" before the end of the file.
PackageWriter HugeCountsPackage();

// Writes the bytes to the path, replacing the file.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);

} // namespace lintara::fixtures
