#include "analysis/package_reader.h"

#include <algorithm>
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
constexpr std::size_t kLongestLengthPrefixedName = 1 + 255 + 4; // with its flags

std::uint32_t DecodeUInt32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
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
        cursor.Skip(static_cast<std::size_t>(DecodeCompactIndex(p, value) - p));
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

// Reads length-prefixed names while whole entries lie in the cursor's buffer, which the table
// then keeps, so that the entries' bytes are not copied; returns how many entries it read.
std::uint32_t ReadBufferedNames(ByteCursor& cursor, NameTable& names, std::uint32_t wanted) {
    std::uint32_t read = 0;
    while (read < wanted) {
        const std::uint8_t* const begin = cursor.Request(kLongestLengthPrefixedName);
        if (!begin) break;
        const std::uint8_t* const last = begin + (cursor.Buffered() - kLongestLengthPrefixedName);
        const std::uint8_t* p = begin;
        for (; read < wanted && p <= last; ++read) {
            const std::uint32_t length = p[0];
            names.AppendEntry(p + 1, length, DecodeUInt32(p + 1 + length));
            p += 1 + length + 4;
        }
        cursor.Skip(static_cast<std::size_t>(p - begin));
        names.Keep(cursor.TakeBuffer());
    }
    return read;
}

} // namespace

ReadOutcome OpenPackage(const std::string& fileName, OpenedPackage& package) {
    ReadOutcome outcome;
    package.file = ReadOnlyFile::Open(fileName, &outcome.openFailure);
    if (!package.file) {
        outcome.kind = ReadOutcome::Kind::CannotOpen;
        return outcome;
    }
    if (package.file->Size() < kPackageHeaderSize) {
        outcome.kind = ReadOutcome::Kind::TooShort;
        return outcome;
    }
    ByteCursor& cursor = package.cursor.emplace(*package.file);
    const PackageHeader header = package.header = ReadHeader(cursor);
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
    // Each entry takes at least five bytes, so this loop ends within the file; the entries after
    // it are all the empty text with flags 0, which the table gives without storing them.
    const std::uint64_t size = package.file->Size();
    const std::uint64_t left = size > header.nameOffset ? size - header.nameOffset : 0;
    names.Reserve(static_cast<std::size_t>(std::min<std::uint64_t>(header.nameCount, left / 5 + 1)));
    const bool lengthPrefixed = (header.version & 0xFFFF) >= kFirstLengthPrefixedVersion;
    std::string text;
    for (std::uint32_t i = 0; i < header.nameCount && !cursor.AtEnd(); ++i) {
        if (lengthPrefixed) {
            i += ReadBufferedNames(cursor, names, header.nameCount - i);
            if (i == header.nameCount || cursor.AtEnd()) break;
        }
        // An entry near the end of the file, or one of a version with zero-terminated names.
        ReadName(cursor, text, header.version);
        names.Append(text, cursor.ReadUInt32());
    }

    cursor.Seek(static_cast<std::int32_t>(header.importOffset));
    package.names.emplace(std::move(names));
    return outcome;
}

void ReadImportSlow(ByteCursor& cursor, ImportEntry& entry) {
    entry.classPackage = ReadCompactIndex(cursor);
    entry.className = ReadCompactIndex(cursor);
    entry.outer = ReadInt32(cursor);
    entry.objectName = ReadCompactIndex(cursor);
}

ReadOutcome ReadPackage(const std::string& fileName, const ImportConsumer& consumer) {
    return ReadPackage<const ImportConsumer&>(fileName, consumer);
}

} // namespace lintara
