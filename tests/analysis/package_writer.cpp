#include "tests/analysis/package_writer.h"

#include <fstream>
#include <stdexcept>

namespace lintara::fixtures {

std::string EncodeCompactIndex(std::int32_t value) {
    std::uint32_t magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    std::string bytes;
    std::uint8_t first = (value < 0 ? 0x80 : 0x00) | (magnitude & 0x3F);
    magnitude >>= 6;
    if (magnitude != 0) first |= 0x40;
    bytes += static_cast<char>(first);
    for (int i = 1; i < 4 && magnitude != 0; ++i) {
        std::uint8_t byte = magnitude & 0x7F;
        magnitude >>= 7;
        if (magnitude != 0) byte |= 0x80;
        bytes += static_cast<char>(byte);
    }
    if (magnitude != 0) bytes += static_cast<char>(magnitude & 0x1F);
    return bytes;
}

std::string EncodeUInt32(std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

std::string EncodeName(std::string_view text, std::uint32_t version) {
    std::string bytes;
    if ((version & 0xFFFF) >= kFirstLengthPrefixedVersion) {
        if (text.size() + 1 > 255) throw std::invalid_argument("name too long for a length byte");
        bytes += static_cast<char>(text.size() + 1);
    }
    bytes += text;
    bytes += '\0';
    return bytes;
}

std::int32_t PackageWriter::AddName(std::string text, std::uint32_t flags) {
    names_.push_back({std::move(text), {}, flags, 1, false});
    return static_cast<std::int32_t>(nameEntries_++);
}

std::int32_t PackageWriter::Name(std::string_view text) {
    std::int32_t index = 0;
    for (const auto& name : names_) {
        if (!name.isRaw && name.text == text) return index;
        index += static_cast<std::int32_t>(name.entries);
    }
    return AddName(std::string(text));
}

void PackageWriter::AddRawNames(std::string bytes, std::uint32_t entries) {
    names_.push_back({{}, std::move(bytes), 0, entries, true});
    nameEntries_ += entries;
}

void PackageWriter::AddImport(const ImportEntry& entry) {
    imports_ += EncodeCompactIndex(entry.classPackage);
    imports_ += EncodeCompactIndex(entry.className);
    imports_ += EncodeUInt32(static_cast<std::uint32_t>(entry.outer));
    imports_ += EncodeCompactIndex(entry.objectName);
    ++importEntries_;
}

void PackageWriter::AddPackageImport(std::string_view name) {
    const std::int32_t core = Name("Core");
    const std::int32_t package = Name("Package");
    AddImport({core, package, 0, Name(name)});
}

void PackageWriter::AddRawImports(std::string bytes, std::uint32_t entries) {
    imports_ += bytes;
    importEntries_ += entries;
}

void PackageWriter::Patch(std::size_t offset, std::string bytes) { patches_.emplace_back(offset, std::move(bytes)); }

void PackageWriter::Truncate(std::size_t size) { truncateTo_ = size; }

std::string PackageWriter::NameTableBytes() const {
    std::string bytes;
    for (const auto& name : names_) {
        if (name.isRaw) {
            bytes += name.raw;
        } else {
            bytes += EncodeName(name.text, version);
            bytes += EncodeUInt32(name.flags);
        }
    }
    return bytes;
}

std::size_t PackageWriter::ImportTableOffset() const { return kPackageHeaderSize + NameTableBytes().size(); }

std::string PackageWriter::Bytes() const {
    const std::string names = NameTableBytes();
    const std::uint32_t fields[] = {
        tag,
        version,
        packageFlags,
        nameCount.value_or(nameEntries_),
        nameOffset.value_or(static_cast<std::uint32_t>(kPackageHeaderSize)),
        exportCount,
        exportOffset,
        importCount.value_or(importEntries_),
        importOffset.value_or(static_cast<std::uint32_t>(kPackageHeaderSize + names.size())),
    };
    std::string bytes;
    for (std::uint32_t field : fields) bytes += EncodeUInt32(field);
    bytes += names;
    bytes += imports_;
    for (const auto& [offset, patch] : patches_) {
        if (bytes.size() < offset + patch.size()) bytes.resize(offset + patch.size(), '\0');
        bytes.replace(offset, patch.size(), patch);
    }
    if (truncateTo_ && *truncateTo_ < bytes.size()) bytes.resize(*truncateTo_);
    return bytes;
}

TreePath PackageWriter::WriteTo(const std::filesystem::path& path) const {
    WriteFile(path, Bytes());
    return path;
}

PackageWriter HugeCountsPackage() {
    PackageWriter w;
    w.AddName("Package");
    w.AddName("Rocks");
    for (int i = 0; i < 5; ++i) w.AddImport({0, 0, 0, 1});
    w.nameCount = 0xFFFFFFFF;
    w.importCount = 0xFFFFFFFF;
    w.Patch(99, std::string(1, '\x05')); // makes the file 100 bytes long
    return w;
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

} // namespace lintara::fixtures
