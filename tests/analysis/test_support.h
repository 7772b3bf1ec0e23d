#pragma once

#include "analysis/byte_cursor.h"
#include "analysis/package_reader.h"
#include "platform/read_only_file.h"
#include "tests/analysis/temp_tree.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace lintara {
// How test failures show an import entry: {class package, class name, outer, object name}.
void PrintTo(const ImportEntry& entry, std::ostream* out);
} // namespace lintara

namespace lintara::fixtures {

// Bytes written as numbers: Bytes({0x40, 0x01}).
std::string Bytes(std::initializer_list<int> values);

// A cursor over a file that holds exactly these bytes.
struct CursorOver {
    explicit CursorOver(std::string_view bytes);
    TempTree tree;
    std::optional<ReadOnlyFile> file;
    std::optional<ByteCursor> cursor;
};

// One consumer call.
struct ImportCall {
    ImportEntry entry;
    std::uint32_t repeat = 0;
    friend bool operator==(const ImportCall&, const ImportCall&) = default;
};
void PrintTo(const ImportCall& call, std::ostream* out);

// Everything that one reading of a package showed: the outcome, the consumer calls, and the name
// table's count and the texts of its first names (up to kNamesKept).
struct ReadLog {
    static constexpr std::uint32_t kNamesKept = 4096;
    ReadOutcome::Kind kind = ReadOutcome::Kind::Read;
    std::vector<ImportCall> calls;
    std::uint32_t nameCount = 0;
    std::vector<std::string> names;

    // The import entries one by one, each call repeated as often as it says.
    std::vector<ImportEntry> Expanded() const;
};

ReadLog ReadAll(const std::string& path);

// How the package format reads these bytes, worked out the plain way: a whole file in memory,
// one field after another, every byte at or beyond the end read as 0. Entries that start at or
// beyond the end are all alike and come as one call, as the reader hands them on.
ReadLog ModelRead(std::string_view file);

// The operating system's own text for one of its error codes, as the platform layer gives it.
std::string OsErrorText(int error);

// The error code of a seek to a negative position, which the platform refuses.
int NegativeSeekError();

// Tells whether reading left a file open. On POSIX it compares the number of file descriptors
// that the process holds with the number when the watch began. On Windows, where Wine gives no
// handle count, it opens the file with no sharing, which fails while any handle holds it.
class OpenFileWatch {
public:
    OpenFileWatch();
    bool NothingLeftOpen(const std::string& path) const;

private:
    int descriptors_ = 0;
};

} // namespace lintara::fixtures
