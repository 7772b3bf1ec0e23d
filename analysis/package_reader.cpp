#include "analysis/package_reader.h"

#include <algorithm>
#include <bit>
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
constexpr std::size_t kTextOverRead = 8;                        // see TextLength

std::uint32_t DecodeUInt32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

// The length of the text at `p` up to its first zero byte, at most `length`. Reads whole 8-byte
// words, so up to 7 bytes past the text must be readable.
inline std::size_t TextLength(const std::uint8_t* p, std::size_t length) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101u, kHighs = 0x8080808080808080u;
        for (std::size_t i = 0; i < length; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, p + i, 8);
            // The lowest set high bit marks the first zero byte of the word.
            if (const std::uint64_t zeros = (word - kOnes) & ~word & kHighs) {
                return std::min(length, i + static_cast<std::size_t>(std::countr_zero(zeros) / 8));
            }
        }
        return length;
    } else {
        const void* zero = std::memchr(p, 0, length);
        return zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - p) : length;
    }
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

// Reads length-prefixed names while whole entries lie in the cursor's buffer, keeping each run
// of the buffer's bytes in the table in one piece; returns how many entries it read.
std::uint32_t ReadBufferedNames(ByteCursor& cursor, NameTable& names, std::uint32_t wanted) {
    std::uint32_t read = 0;
    while (read < wanted) {
        const std::uint8_t* p = cursor.Request(kLongestLengthPrefixedName + kTextOverRead);
        if (!p) break;
        const std::size_t buffered = cursor.Buffered();
        // Offsets of the texts in the table once the run is stored.
        const std::size_t base = names.AppendBytes(p, 0);
        std::size_t used = 0;
        while (read < wanted && used + kLongestLengthPrefixedName + kTextOverRead <= buffered) {
            const std::uint8_t* entry = p + used;
            const std::size_t length = entry[0];
            const std::size_t textLength = TextLength(entry + 1, length);
            names.AppendEntry(base + used + 1, static_cast<std::uint32_t>(textLength), DecodeUInt32(entry + 1 + length));
            used += 1 + length + 4;
            ++read;
        }
        names.AppendBytes(p, used);
        cursor.Skip(used);
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
