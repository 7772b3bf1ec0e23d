#pragma once

#include "analysis/byte_cursor.h"
#include "analysis/package_format.h"
#include "platform/read_only_file.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace lintara {

// What reading a package found, for callers that want to know why a file gave nothing.
struct ReadOutcome {
    enum class Kind {
        Read,       // the header was good and both tables were read
        NoTables,   // a package whose name count or import count is 0: no imports to hand on
        CannotOpen, // see openFailure
        TooShort,   // shorter than the header: not a package
        WrongTag,   // not a package
    };
    Kind kind = Kind::Read;
    OpenFailure openFailure; // set when kind is CannotOpen

    // Whether the file is a package (with or without imports).
    bool IsPackage() const { return kind == Kind::Read || kind == Kind::NoTables; }
};

// A short text for an outcome that is not a package, e.g. "cannot open: Permission denied" or
// "not a package: wrong tag".
std::string Describe(const ReadOutcome& outcome);

// Receives the import entries in file order. `repeat` is how many entries in a row this one
// stands for: 1 for each entry read from the file, and the whole rest of the count, once, for the
// entries that start at or beyond the end of the file, which are all alike (every field 0).
using ImportConsumer = std::function<void(const ImportEntry& entry, std::uint32_t repeat, const NameTable& names)>;

// Reads the package file's header, its name table and its import table, and hands each import
// entry to the consumer as soon as it has been read. The path is used unchanged.
//
// A file that cannot be opened, that is not a package, or whose name or import count is 0 gives
// no consumer call; the outcome says which. A refused seek (an offset of 0x80000000 or more) or
// an operating-system read failure throws FileError; exhausted memory throws std::bad_alloc.
// The file is closed and the tables released on every path.
//
// Time and memory are bounded by the size of the file, whatever its counts: the entries that
// start at or beyond the end of the file are not read one by one.
//
// The template takes any callable with the signature of ImportConsumer and calls it directly.
template <class Consumer>
ReadOutcome ReadPackage(const std::string& fileName, Consumer&& consumer);
ReadOutcome ReadPackage(const std::string& fileName, const ImportConsumer& consumer);

// The field readers, each at the cursor's position.
std::int32_t ReadInt32(ByteCursor& cursor);
std::int32_t ReadCompactIndex(ByteCursor& cursor);
// Replaces text with one name in the encoding that the version's low 16 bits choose.
void ReadName(ByteCursor& cursor, std::string& text, std::uint32_t version);

// A package opened by ReadPackage, read up to its import table.
struct OpenedPackage {
    std::optional<ReadOnlyFile> file;
    std::optional<ByteCursor> cursor;
    PackageHeader header;
    std::optional<NameTable> names; // set when there are imports to hand on
};

// Opens the package and reads its header and name table, leaving the cursor at the import table.
ReadOutcome OpenPackage(const std::string& fileName, OpenedPackage& package);

// Decodes one CompactIndex from bytes that hold at least five, by the same table as
// ReadCompactIndex; returns where the bytes after it begin.
inline const std::uint8_t* DecodeCompactIndex(const std::uint8_t* p, std::int32_t& out) {
    const std::uint32_t first = *p++;
    std::uint32_t value = first & 0x3Fu;
    if (first & 0x40) {
        std::uint32_t next = *p++;
        value |= (next & 0x7Fu) << 6;
        if (next & 0x80) {
            next = *p++;
            value |= (next & 0x7Fu) << 13;
            if (next & 0x80) {
                next = *p++;
                value |= (next & 0x7Fu) << 20;
                if (next & 0x80) value |= (*p++ & 0x1Fu) << 27;
            }
        }
    }
    const std::uint32_t negative = 0u - (first >> 7); // all ones when the sign bit is set
    out = static_cast<std::int32_t>((value ^ negative) - negative);
    return p;
}

// Decodes one import entry from bytes that hold at least kLongestImport; returns where the next
// one begins.
inline constexpr std::size_t kLongestImport = 3 * 5 + 4;
inline const std::uint8_t* DecodeImport(const std::uint8_t* p, ImportEntry& entry) {
    p = DecodeCompactIndex(p, entry.classPackage);
    p = DecodeCompactIndex(p, entry.className);
    entry.outer = static_cast<std::int32_t>(std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 |
                                            std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24);
    return DecodeCompactIndex(p + 4, entry.objectName);
}

// Reads one import entry at the cursor's position, byte by byte.
void ReadImportSlow(ByteCursor& cursor, ImportEntry& entry);

template <class Consumer>
ReadOutcome ReadPackage(const std::string& fileName, Consumer&& consumer) {
    OpenedPackage package;
    const ReadOutcome outcome = OpenPackage(fileName, package);
    if (!package.names) return outcome;
    ByteCursor& cursor = *package.cursor;
    const NameTable& names = *package.names;
    const std::uint32_t count = package.header.importCount;
    std::uint32_t i = 0;
    while (i < count && !cursor.AtEnd()) {
        ImportEntry entry;
        const std::uint8_t* const begin = cursor.Request(kLongestImport);
        if (!begin) { // the last few bytes of the file
            ReadImportSlow(cursor, entry);
            consumer(std::as_const(entry), std::uint32_t{1}, names);
            ++i;
            continue;
        }
        // The entries that lie wholly in the buffer, decoded in place.
        const std::uint8_t* const last = begin + (cursor.Buffered() - kLongestImport);
        const std::uint8_t* p = begin;
        for (; i < count && p <= last; ++i) {
            p = DecodeImport(p, entry);
            consumer(std::as_const(entry), std::uint32_t{1}, names);
        }
        cursor.Skip(static_cast<std::size_t>(p - begin));
    }
    // Every entry from here on starts at or beyond the end of the file and reads as all zeros.
    if (i < count) consumer(ImportEntry{}, count - i, names);
    return outcome;
}

} // namespace lintara
