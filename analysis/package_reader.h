#pragma once

#include "analysis/byte_cursor.h"
#include "analysis/package_format.h"
#include "platform/read_only_file.h"

#include <cstdint>
#include <functional>
#include <string>

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
ReadOutcome ReadPackage(const std::string& fileName, const ImportConsumer& consumer);

// The field readers, each at the cursor's position.
std::int32_t ReadInt32(ByteCursor& cursor);
std::int32_t ReadCompactIndex(ByteCursor& cursor);
// Replaces text with one name in the encoding that the version's low 16 bits choose.
void ReadName(ByteCursor& cursor, std::string& text, std::uint32_t version);

} // namespace lintara
