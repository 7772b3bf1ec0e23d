#include "analysis/package_reader.h"
#include "platform/file_error.h"
#include "tests/analysis/package_writer.h"
#include "tests/analysis/temp_tree.h"
#include "tests/analysis/test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace lintara {
namespace {

using fixtures::Bytes;
using fixtures::ImportCall;
using fixtures::PackageWriter;
using fixtures::ReadAll;
using fixtures::ReadLog;
using fixtures::TempTree;
using Kind = ReadOutcome::Kind;

// Core (0), Package (1), Engine (2), Texture (3), Rocks (4); imports: the package Engine, the
// package Rocks, and a texture inside Rocks.
PackageWriter SmallPackage(std::uint32_t version = 128) {
    PackageWriter w;
    w.version = version;
    w.AddName("Core", 0x70010);
    w.AddName("Package");
    w.AddName("Engine");
    w.AddName("Texture");
    w.AddName("Rocks");
    w.AddImport({0, 1, 0, 2});
    w.AddImport({0, 1, 0, 4});
    w.AddImport({2, 3, -2, 4});
    return w;
}

TEST(ReadPackage, HandsOnEveryImportInFileOrderWithTheNameTable) {
    for (std::uint32_t version : {63u, 128u}) {
        TempTree tree;
        const ReadLog log = ReadAll(SmallPackage(version).WriteTo(tree / "small.u"));
        EXPECT_EQ(log.kind, Kind::Read);
        EXPECT_EQ(log.nameCount, 5u);
        EXPECT_EQ(log.names, (std::vector<std::string>{"Core", "Package", "Engine", "Texture", "Rocks"}));
        EXPECT_EQ(log.calls, (std::vector<ImportCall>{{{0, 1, 0, 2}, 1}, {{0, 1, 0, 4}, 1}, {{2, 3, -2, 4}, 1}}));
    }
}

TEST(ReadPackage, KeepsTheFlagsOfEachName) {
    TempTree tree;
    const auto path = SmallPackage().WriteTo(tree / "small.u");
    std::vector<std::uint32_t> flags;
    ReadPackage(path, [&](const ImportEntry&, std::uint32_t, const NameTable& names) {
        if (!flags.empty()) return;
        for (std::uint32_t i = 0; i < names.Count(); ++i) flags.push_back(names.Flags(i));
    });
    EXPECT_EQ(flags, (std::vector<std::uint32_t>{0x70010, 0, 0, 0, 0}));
}

TEST(ReadPackage, TheFieldsThatAreNotUsedChangeNothing) {
    TempTree tree;
    PackageWriter w = SmallPackage();
    w.packageFlags = 0xFFFFFFFF;
    w.exportCount = 0xFFFFFFFF;
    w.exportOffset = 0x90000000;
    w.version = 0xFFFF0080;
    const ReadLog log = ReadAll(w.WriteTo(tree / "small.u"));
    EXPECT_EQ(log.calls, ReadAll(SmallPackage().WriteTo(tree / "plain.u")).calls);
}

struct HeaderCase {
    const char* what;
    std::string file;
    Kind kind;
};

class HeaderTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderTest, DecidesWhetherTheTablesAreRead) {
    TempTree tree;
    const auto path = tree.AddFile("p.u", GetParam().file);
    const ReadLog log = ReadAll(path);
    EXPECT_EQ(log.kind, GetParam().kind);
    if (GetParam().kind != Kind::Read) EXPECT_TRUE(log.calls.empty());
    else EXPECT_FALSE(log.calls.empty());
}

std::string WithTag(std::string file, std::string tag) { return file.replace(0, 4, tag); }
std::string WithField(std::string file, std::size_t offset, std::uint32_t value) {
    return file.replace(offset, 4, fixtures::EncodeUInt32(value));
}

const std::string kSmall = SmallPackage().Bytes();

INSTANTIATE_TEST_SUITE_P(
    Cases, HeaderTest,
    ::testing::Values(
        HeaderCase{"TagLittleEndian", WithTag(kSmall, Bytes({0xC1, 0x83, 0x2A, 0x9E})), Kind::Read},
        HeaderCase{"TagBigEndian", WithTag(kSmall, Bytes({0x9E, 0x2A, 0x83, 0xC1})), Kind::WrongTag},
        HeaderCase{"TagOneBitOff", WithTag(kSmall, Bytes({0xC1, 0x83, 0x2A, 0x9F})), Kind::WrongTag},
        HeaderCase{"TagZero", WithTag(kSmall, Bytes({0, 0, 0, 0})), Kind::WrongTag},
        HeaderCase{"NameCountZero", WithField(kSmall, 12, 0), Kind::NoTables},
        HeaderCase{"ImportCountZero", WithField(kSmall, 28, 0), Kind::NoTables},
        HeaderCase{"BothCountsZero", WithField(WithField(kSmall, 12, 0), 28, 0), Kind::NoTables},
        HeaderCase{"WrongTagBeforeZeroCounts", WithTag(WithField(kSmall, 12, 0), "abcd"), Kind::WrongTag},
        HeaderCase{"Empty", "", Kind::TooShort},
        HeaderCase{"HeaderCutByOneByte", kSmall.substr(0, 35), Kind::TooShort},
        HeaderCase{"OnlyTheHeader", kSmall.substr(0, 36), Kind::Read}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(ReadPackage, AHeaderAloneReadsEmptyNamesAndZeroImports) {
    TempTree tree;
    const ReadLog log = ReadAll(tree.AddFile("p.u", kSmall.substr(0, 36)));
    EXPECT_EQ(log.nameCount, 5u);
    EXPECT_EQ(log.names, std::vector<std::string>(5));
    EXPECT_EQ(log.Expanded(), std::vector<ImportEntry>(3));
}

TEST(ReadPackage, ZeroCountsMeanAPackageWithoutDependencies) {
    TempTree tree;
    PackageWriter w;
    w.AddName("Core");
    const auto path = w.WriteTo(tree / "p.u");
    ReadOutcome outcome = ReadPackage(path, [](auto&&...) { FAIL() << "no import to hand on"; });
    EXPECT_EQ(outcome.kind, Kind::NoTables);
    EXPECT_TRUE(outcome.IsPackage());
    EXPECT_EQ(Describe(outcome), "a package without imports");
}

struct OpenCase {
    const char* what;
    std::string path; // relative to a fresh tree holding "folder/" and, on POSIX, "pipe" (on Windows
                      // "held", which another handle holds open); "" stays empty
    OpenFailure::Kind failure;
};

class CannotOpenTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(CannotOpenTest, ReadsNothingAndSaysWhy) {
    TempTree tree;
    tree.AddFolder("folder");
#ifdef _WIN32
    const std::string heldPath = tree.AddFile("held", "held open");
    const HANDLE held = ::CreateFileA(heldPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    struct Closer {
        HANDLE handle;
        ~Closer() { ::CloseHandle(handle); }
    } closeHeld{held};
#else
    ASSERT_EQ(::mkfifo((tree / "pipe").c_str(), 0600), 0);
#endif
    const std::string path = GetParam().path.empty() ? "" : (tree / GetParam().path).string();
    bool called = false;
    const ReadOutcome outcome = ReadPackage(path, [&](auto&&...) { called = true; });
    EXPECT_FALSE(called);
    EXPECT_EQ(outcome.kind, Kind::CannotOpen);
    EXPECT_FALSE(outcome.IsPackage());
    EXPECT_EQ(outcome.openFailure.kind, GetParam().failure);
    EXPECT_FALSE(outcome.openFailure.message.empty());
    EXPECT_EQ(Describe(outcome), "cannot open: " + outcome.openFailure.message);
}

INSTANTIATE_TEST_SUITE_P(Cases, CannotOpenTest,
                         ::testing::Values(OpenCase{"Missing", "nothing.u", OpenFailure::Kind::NotFound},
                                           OpenCase{"MissingFolder", "nothing/p.u", OpenFailure::Kind::NotFound},
                                           OpenCase{"EmptyName", "", OpenFailure::Kind::NotFound},
                                           OpenCase{"Folder", "folder", OpenFailure::Kind::IsDirectory},
                                           OpenCase{"FolderWithSlash", "folder/", OpenFailure::Kind::IsDirectory},
#ifdef _WIN32
                                           OpenCase{"HeldOpenByAnotherHandle", "held", OpenFailure::Kind::InUse},
                                           OpenCase{"Device", "NUL", OpenFailure::Kind::Other}),
#else
                                           OpenCase{"NamedPipe", "pipe", OpenFailure::Kind::Other}),
#endif
                         [](const auto& info) { return std::string(info.param.what); });

TEST(ReadPackage, DescribesFilesThatAreNoPackage) {
    TempTree tree;
    EXPECT_EQ(Describe(ReadPackage(tree.AddFile("short", "abc"), [](auto&&...) {})),
              "not a package: shorter than the 36-byte header");
    EXPECT_EQ(Describe(ReadPackage(tree.AddFile("tag", WithTag(kSmall, "abcd")), [](auto&&...) {})),
              "not a package: wrong tag");
}

TEST(ReadPackage, UsesARelativePathAgainstTheCurrentFolder) {
    TempTree tree;
    SmallPackage().WriteTo(tree / "small.u");
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(tree.Root());
    const ReadLog log = ReadAll("small.u");
    std::filesystem::current_path(before);
    EXPECT_EQ(log.calls.size(), 3u);
}

// Offsets are signed 32-bit positions: from 0x80000000 on the seek is refused.
struct SeekCase {
    const char* what;
    std::size_t field;
    std::uint32_t offset;
};

class RefusedSeek : public ::testing::TestWithParam<SeekCase> {};

TEST_P(RefusedSeek, RaisesAFileErrorAndHandsOnNothing) {
    TempTree tree;
    const auto path = tree.AddFile("p.u", WithField(kSmall, GetParam().field, GetParam().offset));
    bool called = false;
    try {
        ReadPackage(path, [&](auto&&...) { called = true; });
        ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.operation(), FileError::Operation::Seek);
        EXPECT_EQ(error.osError(), fixtures::NegativeSeekError());
        EXPECT_EQ(error.osMessage(), fixtures::OsErrorText(fixtures::NegativeSeekError()));
        EXPECT_EQ(std::string(error.what()), "seek failed: " + error.osMessage());
    }
    EXPECT_FALSE(called);
}

INSTANTIATE_TEST_SUITE_P(Offsets, RefusedSeek,
                         ::testing::Values(SeekCase{"NameOffset80000000", 16, 0x80000000},
                                           SeekCase{"NameOffsetFFFFFFFF", 16, 0xFFFFFFFF},
                                           SeekCase{"ImportOffset80000000", 32, 0x80000000},
                                           SeekCase{"ImportOffsetFFFFFFFF", 32, 0xFFFFFFFF}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST(ReadPackage, ANameOffsetPastTheEndGivesEmptyNames) {
    for (std::uint32_t offset : {std::uint32_t(kSmall.size()), 0x10000000u, 0x7FFFFFFFu}) {
        TempTree tree;
        const ReadLog log = ReadAll(tree.AddFile("p.u", WithField(kSmall, 16, offset)));
        EXPECT_EQ(log.kind, Kind::Read);
        EXPECT_EQ(log.names, std::vector<std::string>(5)) << offset;
        EXPECT_EQ(log.calls, ReadAll(tree.AddFile("q.u", kSmall)).calls) << offset;
    }
}

TEST(ReadPackage, AnImportOffsetPastTheEndGivesZeroImports) {
    TempTree tree;
    const ReadLog log = ReadAll(tree.AddFile("p.u", WithField(kSmall, 32, 0x7FFFFFFF)));
    EXPECT_EQ(log.calls, (std::vector<ImportCall>{{ImportEntry{}, 3}}));
}

TEST(ReadPackage, TablesMayOverlapAndLieInAnyOrder) {
    // The import table first, the name table behind it; the header's offsets say where.
    PackageWriter names = SmallPackage();
    const std::string bytes = names.Bytes();
    const std::size_t nameTable = names.NameTableOffset(), importTable = names.ImportTableOffset();
    std::string swapped = bytes.substr(0, 36) + bytes.substr(importTable) + bytes.substr(nameTable, importTable - nameTable);
    swapped = WithField(swapped, 16, static_cast<std::uint32_t>(36 + bytes.size() - importTable));
    swapped = WithField(swapped, 32, 36);
    TempTree tree;
    EXPECT_EQ(ReadAll(tree.AddFile("p.u", swapped)).calls, ReadAll(tree.AddFile("q.u", bytes)).calls);
}

// Cutting a good package anywhere: never an error, and exactly what reading the bytes that are
// left, with every missing byte as 0, gives. The tables are long enough that the first entries
// are read from a full buffer and the last ones from the bytes that the cut leaves.
TEST(ReadPackage, ACutFileReadsAsItsBytesWithZerosAfterThem) {
    for (std::uint32_t version : {63u, 128u}) {
        PackageWriter w = SmallPackage(version);
        for (int i = 0; i < 20; ++i) w.AddName("Name" + std::string(static_cast<std::size_t>(i), 'x') + "\xC4", i);
        w.AddName("Package");
        for (int i = 0; i < 30; ++i) w.AddImport({i - 15, i % 7, -i * 1000, i * 4500});
        w.AddImport({0, 1, -1, 0});
        w.AddImport({0, 1, -300, 200000}); // a three-byte index at the end
        const std::string full = w.Bytes();
        TempTree tree;
        const auto path = tree.AddFile("cut.u", full);
        for (std::size_t length = full.size() + 1; length-- > 0;) {
            std::filesystem::resize_file(path, length);
            const std::string cut = full.substr(0, length);
            ReadLog log;
            ASSERT_NO_THROW(log = ReadAll(path)) << length;
            const ReadLog expected = fixtures::ModelRead(cut);
            EXPECT_EQ(log.kind, expected.kind) << length;
            EXPECT_EQ(log.nameCount, expected.nameCount) << length;
            EXPECT_EQ(log.names, expected.names) << length;
            EXPECT_EQ(log.Expanded(), expected.Expanded()) << "version " << version << ", length " << length;
        }
    }
}

TEST(ReadPackage, ReadsTablesThatCrossTheBufferLikeAnyOther) {
    // Enough long names and imports to fill several buffers, with fields across every boundary.
    PackageWriter w;
    w.AddName("Core");
    w.AddName("Package");
    for (int i = 0; i < 3000; ++i) w.AddName(std::string(40 + i % 97, static_cast<char>('a' + i % 26)), i);
    for (int i = 0; i < 30000; ++i) w.AddImport({i % 7 - 3, i % 3000, -(i % 5000), i * 7919 - 100000000});
    const std::string bytes = w.Bytes();
    TempTree tree;
    const ReadLog log = ReadAll(tree.AddFile("big.u", bytes));
    const ReadLog expected = fixtures::ModelRead(bytes);
    EXPECT_EQ(log.names, expected.names);
    EXPECT_EQ(log.calls, expected.calls);
    EXPECT_EQ(log.calls.size(), 30000u);
}

// Counts far beyond what the file holds: the entries past its end are all alike.
TEST(ReadPackage, HugeCountsReadTheFileAndHandOnTheRestOnce) {
    const PackageWriter w = fixtures::HugeCountsPackage();
    const std::string bytes = w.Bytes();
    ASSERT_EQ(bytes.size(), 100u);
    TempTree tree;
    const auto path = tree.AddFile("huge.u", bytes);

    const NameTable* table = nullptr;
    std::uint64_t total = 0;
    std::vector<ImportCall> calls;
    std::uint32_t stored = 0;
    ReadPackage(path, [&](const ImportEntry& entry, std::uint32_t repeat, const NameTable& names) {
        table = &names;
        stored = names.StoredCount();
        EXPECT_EQ(names.Count(), 0xFFFFFFFFu);
        EXPECT_EQ(names.Text(0xFFFFFFFE), "");
        EXPECT_EQ(names.Flags(0xFFFFFFFE), 0u);
        total += repeat;
        calls.push_back({entry, repeat});
    });
    EXPECT_NE(table, nullptr);
    EXPECT_EQ(total, 0xFFFFFFFFu);
    EXPECT_LE(stored, bytes.size()); // memory follows the file, not the count
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls.back(), (ImportCall{ImportEntry{}, static_cast<std::uint32_t>(0xFFFFFFFF - (calls.size() - 1))}));
    EXPECT_EQ(calls, fixtures::ModelRead(bytes).calls);

    // The same file with a count that can be read one entry at a time gives the same entries.
    PackageWriter smaller = w;
    smaller.nameCount = 100000;
    smaller.importCount = 100000;
    const ReadLog log = ReadAll(smaller.WriteTo(tree / "smaller.u"));
    std::vector<ImportEntry> expected;
    for (const auto& call : calls) expected.insert(expected.end(), std::min<std::uint32_t>(call.repeat, 100000 - expected.size()), call.entry);
    EXPECT_EQ(log.Expanded(), expected);
}

} // namespace
} // namespace lintara
