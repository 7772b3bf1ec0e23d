#include "analysis/package_reader.h"

#include <cstring>

namespace lintara {

std::string Describe(const ReadOutcome& outcome) {
    switch (outcome.kind) {
    case ReadOutcome::Kind::Read: return "read";
    case ReadOutcome::Kind::NoTables: return "a package without imports";
    case ReadOutcome::Kind::CannotOpen: return "cannot open: " + outcome.openFailure.message;
    case ReadOutcome::Kind::TooShort: return "not a package: shorter than the 36-byte header";
    case ReadOutcome::Kind::WrongTag: return "not a package: wrong tag";
    }
    return {};
}

namespace {

constexpr std::size_t kLongestCompactIndex = 5;
constexpr std::size_t kLongestImport = 3 * kLongestCompactIndex + 4;
constexpr std::size_t kLongestLengthPrefixedName = 1 + 255 + 4; // with its flags

std::uint32_t DecodeUInt32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

// Decodes one CompactIndex from bytes that hold at least five, by the same table as
// ReadCompactIndex; returns how many bytes it took.
inline std::size_t DecodeCompactIndex(const std::uint8_t* p, std::int32_t& out) {
    std::uint32_t value = p[0] & 0x3Fu;
    std::size_t used = 1;
    if (p[0] & 0x40) {
        for (unsigned shift = 6; used < 4; shift += 7) {
            value |= std::uint32_t{p[used] & 0x7Fu} << shift;
            if ((p[used++] & 0x80) == 0) break;
        }
        if (used == 4 && (p[3] & 0x80)) value |= std::uint32_t{p[used++] & 0x1Fu} << 27;
    }
    if (p[0] & 0x80) value = 0u - value;
    out = static_cast<std::int32_t>(value);
    return used;
}

} // namespace

std::int32_t ReadInt32(ByteCursor& cursor) { return static_cast<std::int32_t>(cursor.ReadUInt32()); }

std::int32_t ReadCompactIndex(ByteCursor& cursor) {
    // One row per byte: the first holds the sign, a continue flag and 6 bits; bytes 2 to 4 a
    // continue flag and 7 bits each; a fifth, the last, 5 bits.
    struct Row {
        std::uint8_t sign, more, value, shift;
    };
    static constexpr Row kRows[5] = {
        {0x80, 0x40, 0x3F, 6}, {0, 0x80, 0x7F, 7}, {0, 0x80, 0x7F, 7}, {0, 0x80, 0x7F, 7}, {0, 0, 0x1F, 0},
    };
    if (const std::uint8_t* p = cursor.Request(kLongestCompactIndex)) {
        std::int32_t value;
        cursor.Skip(DecodeCompactIndex(p, value));
        return value;
    }
    std::uint32_t value = 0;
    bool negative = false;
    unsigned shift = 0;
    for (const Row& row : kRows) {
        const std::uint8_t byte = cursor.ReadByte();
        if (row.sign) negative = (byte & row.sign) == row.sign;
        value |= std::uint32_t{static_cast<std::uint8_t>(byte & row.value)} << shift;
        shift += row.shift;
        if ((byte & row.more) == 0) break;
    }
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

void ReadName(ByteCursor& cursor, std::string& text, std::uint32_t version) {
    text.clear();
    if ((version & 0xFFFF) >= kFirstLengthPrefixedVersion) {
        const std::uint8_t length = cursor.ReadByte();
        cursor.ReadBytes(length, text);
        const std::size_t zero = text.find('\0');
        if (zero != std::string::npos) text.resize(zero);
    } else {
        cursor.ReadUntilZero(text);
    }
}

namespace {

PackageHeader ReadHeader(ByteCursor& cursor) {
    PackageHeader h;
    std::uint32_t* fields[] = {&h.tag,        &h.version,     &h.packageFlags, &h.nameCount,   &h.nameOffset,
                               &h.exportCount, &h.exportOffset, &h.importCount,  &h.importOffset};
    for (std::uint32_t* field : fields) *field = cursor.ReadUInt32();
    return h;
}

} // namespace

ReadOutcome ReadPackage(const std::string& fileName, const ImportConsumer& consumer) {
    ReadOutcome outcome;
    auto file = ReadOnlyFile::Open(fileName, &outcome.openFailure);
    if (!file) {
        outcome.kind = ReadOutcome::Kind::CannotOpen;
        return outcome;
    }
    if (file->Size() < kPackageHeaderSize) {
        outcome.kind = ReadOutcome::Kind::TooShort;
        return outcome;
    }
    ByteCursor cursor(*file);
    const PackageHeader header = ReadHeader(cursor);
    if (header.tag != kPackageTag) {
        outcome.kind = ReadOutcome::Kind::WrongTag;
        return outcome;
    }
    if (header.importCount == 0 || header.nameCount == 0) {
        outcome.kind = ReadOutcome::Kind::NoTables;
        return outcome;
    }

    // The offsets are signed 32-bit positions: 0x80000000 and above are refused by the seek.
    cursor.Seek(static_cast<std::int32_t>(header.nameOffset));
    NameTable names(header.nameCount);
    std::string text;
    // Each entry takes at least five bytes, so this loop ends within the file; the entries after
    // it are all the empty text with flags 0, which the table gives without storing them.
    const bool lengthPrefixed = (header.version & 0xFFFF) >= kFirstLengthPrefixedVersion;
    for (std::uint32_t i = 0; i < header.nameCount && !cursor.AtEnd(); ++i) {
        if (const std::uint8_t* p = lengthPrefixed ? cursor.Request(kLongestLengthPrefixedName) : nullptr) {
            // The whole entry lies in the buffer: take the text and flags from it in place.
            const std::size_t length = p[0];
            const void* zero = std::memchr(p + 1, 0, length);
            const std::size_t textLength =
                zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - (p + 1)) : length;
            names.Append(std::string_view(reinterpret_cast<const char*>(p + 1), textLength), DecodeUInt32(p + 1 + length));
            cursor.Skip(1 + length + 4);
            continue;
        }
        ReadName(cursor, text, header.version);
        names.Append(text, cursor.ReadUInt32());
    }

    cursor.Seek(static_cast<std::int32_t>(header.importOffset));
    std::uint32_t i = 0;
    for (; i < header.importCount && !cursor.AtEnd(); ++i) {
        ImportEntry entry;
        if (const std::uint8_t* p = cursor.Request(kLongestImport)) {
            std::size_t used = DecodeCompactIndex(p, entry.classPackage);
            used += DecodeCompactIndex(p + used, entry.className);
            entry.outer = static_cast<std::int32_t>(DecodeUInt32(p + used));
            used += 4;
            used += DecodeCompactIndex(p + used, entry.objectName);
            cursor.Skip(used);
        } else {
            entry.classPackage = ReadCompactIndex(cursor);
            entry.className = ReadCompactIndex(cursor);
            entry.outer = ReadInt32(cursor);
            entry.objectName = ReadCompactIndex(cursor);
        }
        consumer(entry, 1, names);
    }
    // Every entry from here on starts at or beyond the end of the file and reads as all zeros.
    if (i < header.importCount) consumer(ImportEntry{}, header.importCount - i, names);
    return outcome;
}

} // namespace lintara
