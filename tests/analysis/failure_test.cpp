#include "analysis/dependency_extractor.h"
#include "analysis/package_reader.h"
#include "platform/file_error.h"
#include "tests/analysis/failure_injection.h"
#include "tests/analysis/package_writer.h"
#include "tests/analysis/temp_tree.h"
#include "tests/analysis/test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#endif

namespace lintara {
namespace {

using fixtures::AllocationFailure;
using fixtures::OpenFileWatch;
using fixtures::PackageWriter;
using fixtures::TempTree;

PackageWriter Package() {
    PackageWriter w;
    w.AddPackageImport("Engine");
    w.AddPackageImport("Rocks");
    w.AddPackageImport("Stone");
    return w;
}

#ifndef _WIN32
using fixtures::ReadFailure;

// Read failures are injected into read(), which the POSIX reader calls.
TEST(ReadFailures, AReadErrorRaisesAFileErrorWithTheOsError) {
    TempTree tree;
    const auto path = Package().WriteTo(tree / "p.u");
    const OpenFileWatch open;
    ReadFailure failure(path, EIO);
    bool called = false;
    try {
        ReadPackage(path, [&](auto&&...) { called = true; });
        ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.operation(), FileError::Operation::Read);
        EXPECT_EQ(error.osError(), EIO);
        EXPECT_EQ(error.osMessage(), std::strerror(EIO));
        EXPECT_EQ(std::string(error.what()), std::string("read failed: ") + std::strerror(EIO));
    }
    EXPECT_GE(failure.Injected(), 1);
    EXPECT_FALSE(called);
    EXPECT_TRUE(open.NothingLeftOpen(path));
}

TEST(ReadFailures, PassThroughCollectDependencies) {
    TempTree tree;
    const auto path = Package().WriteTo(tree / "p.u");
    ReadFailure failure(path, EIO);
    DependencySet set;
    EXPECT_THROW(CollectDependencies(path, set), FileError);
}

TEST(ReadFailures, AnInterruptedReadIsRetried) {
    TempTree tree;
    const auto path = Package().WriteTo(tree / "p.u");
    DependencySet expected;
    CollectDependencies(path, expected);
    ReadFailure failure(path, EINTR, 3);
    DependencySet set;
    CollectDependencies(path, set);
    EXPECT_EQ(failure.Injected(), 3);
    EXPECT_EQ(set, expected);
    EXPECT_EQ(set, (DependencySet{"engine", "rocks", "stone"}));
}
#endif

// Whatever allocation fails, std::bad_alloc comes out and the file is closed; once enough
// allocations succeed the result is the whole one.
TEST(ReadFailures, ExhaustedMemoryRaisesBadAllocAndClosesTheFile) {
    TempTree tree;
    const auto path = Package().WriteTo(tree / "p.u");
    DependencySet expected;
    CollectDependencies(path, expected);
    const OpenFileWatch open;
    bool completed = false;
    int failures = 0;
    for (std::size_t allowed = 0; !completed && allowed < 1000; ++allowed) {
        DependencySet set;
        bool threw = false;
        bool triggered = false;
        {
            AllocationFailure failure(allowed);
            try {
                CollectDependencies(path, set);
            } catch (const std::bad_alloc&) {
                threw = true;
            }
            triggered = failure.Triggered();
        }
        EXPECT_EQ(threw, triggered) << allowed;
        EXPECT_TRUE(open.NothingLeftOpen(path)) << allowed;
        if (threw) ++failures;
        else {
            completed = true;
            EXPECT_EQ(set, expected);
        }
    }
    EXPECT_TRUE(completed);
    EXPECT_GT(failures, 0);
}

TEST(ReadFailures, TheFileIsClosedOnEveryPath) {
    TempTree tree;
    PackageWriter seek = Package();
    seek.importOffset = 0x80000000;
    PackageWriter wrongTag = Package();
    wrongTag.tag = 0;
    PackageWriter noImports;
    noImports.AddName("Core");
    const fixtures::TreePath files[] = {
        Package().WriteTo(tree / "good.u"), seek.WriteTo(tree / "seek.u"),   wrongTag.WriteTo(tree / "tag.u"),
        noImports.WriteTo(tree / "none.u"), tree.AddFile("short.u", "abc"), tree.AddFolder("folder"),
    };
    const OpenFileWatch open;
    for (const auto& file : files) {
        try {
            ReadPackage(file, [](auto&&...) {});
        } catch (const FileError&) {
        }
        EXPECT_TRUE(open.NothingLeftOpen(file.string())) << file;
    }
    // A consumer that throws leaves through the reader too.
    EXPECT_THROW(ReadPackage(files[0], [](auto&&...) { throw std::runtime_error("stop"); }), std::runtime_error);
    EXPECT_TRUE(open.NothingLeftOpen(files[0].string()));
#ifndef _WIN32
    {
        ReadFailure failure(files[0], EIO);
        EXPECT_THROW(ReadPackage(files[0], [](auto&&...) {}), FileError);
    }
    EXPECT_TRUE(open.NothingLeftOpen(files[0].string()));
#endif
}

#ifndef _WIN32
// A file that shrinks while it is read: what it no longer delivers reads as 0, as at its end,
// so the result is that of the shorter file, whatever the reader's buffer held before.
TEST(ReadFailures, AFileThatShrinksWhileReadReadsAsTheShorterFile) {
    PackageWriter w;
    const std::int32_t package = w.Name("Package");
    const std::int32_t rocks = w.Name("Rocks");
    for (int i = 0; i < 20000; ++i) w.AddImport({rocks + 5, package, 0, rocks});
    const std::string bytes = w.Bytes();
    const std::size_t imports = w.ImportTableOffset();
    // Cut where the reader's second buffer of the import table would begin, and a little later.
    for (std::size_t cut : {imports + 64 * 1024, imports + 64 * 1024 + 3}) {
        TempTree tree;
        const auto path = tree.AddFile("shrinking.u", bytes);
        std::vector<ImportEntry> seen;
        ReadPackage(path, [&](const ImportEntry& entry, std::uint32_t repeat, const NameTable&) {
            if (seen.empty()) std::filesystem::resize_file(path, cut);
            seen.insert(seen.end(), repeat, entry);
        });
        EXPECT_EQ(seen, fixtures::ModelRead(bytes.substr(0, cut)).Expanded()) << cut;
    }
}

#else
// On Windows the reader shares the file with nobody: while it reads, no other opener can change
// the file, or even open it.
TEST(ReadFailures, NoOtherOpenerCanChangeTheFileWhileItIsRead) {
    TempTree tree;
    const std::string path = Package().WriteTo(tree / "p.u");
    int calls = 0;
    ReadPackage(path, [&](const ImportEntry&, std::uint32_t, const NameTable&) {
        ++calls;
        for (const DWORD access : {DWORD{GENERIC_READ}, DWORD{GENERIC_WRITE}}) {
            const HANDLE other = ::CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            EXPECT_EQ(other, INVALID_HANDLE_VALUE);
            EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
            if (other != INVALID_HANDLE_VALUE) ::CloseHandle(other);
        }
    });
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(OpenFileWatch().NothingLeftOpen(path));
}
#endif

} // namespace
} // namespace lintara
