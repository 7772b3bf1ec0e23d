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

namespace lintara {
namespace {

using fixtures::AllocationFailure;
using fixtures::OpenDescriptorCount;
using fixtures::PackageWriter;
using fixtures::ReadFailure;
using fixtures::TempTree;

PackageWriter Package() {
    PackageWriter w;
    w.AddPackageImport("Engine");
    w.AddPackageImport("Rocks");
    w.AddPackageImport("Stone");
    return w;
}

TEST(ReadFailures, AReadErrorRaisesAFileErrorWithTheOsError) {
    TempTree tree;
    const auto path = Package().WriteTo(tree / "p.u");
    const int open = OpenDescriptorCount();
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
    EXPECT_EQ(OpenDescriptorCount(), open);
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

// Whatever allocation fails, std::bad_alloc comes out and the file is closed; once enough
// allocations succeed the result is the whole one.
TEST(ReadFailures, ExhaustedMemoryRaisesBadAllocAndClosesTheFile) {
    TempTree tree;
    const auto path = Package().WriteTo(tree / "p.u");
    DependencySet expected;
    CollectDependencies(path, expected);
    const int open = OpenDescriptorCount();
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
        EXPECT_EQ(OpenDescriptorCount(), open) << allowed;
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
    const std::filesystem::path files[] = {
        Package().WriteTo(tree / "good.u"), seek.WriteTo(tree / "seek.u"),   wrongTag.WriteTo(tree / "tag.u"),
        noImports.WriteTo(tree / "none.u"), tree.AddFile("short.u", "abc"), tree.AddFolder("folder"),
    };
    const int open = OpenDescriptorCount();
    for (const auto& file : files) {
        try {
            ReadPackage(file, [](auto&&...) {});
        } catch (const FileError&) {
        }
        EXPECT_EQ(OpenDescriptorCount(), open) << file;
    }
    // A consumer that throws leaves through the reader too.
    EXPECT_THROW(ReadPackage(files[0], [](auto&&...) { throw std::runtime_error("stop"); }), std::runtime_error);
    EXPECT_EQ(OpenDescriptorCount(), open);
    {
        ReadFailure failure(files[0], EIO);
        EXPECT_THROW(ReadPackage(files[0], [](auto&&...) {}), FileError);
    }
    EXPECT_EQ(OpenDescriptorCount(), open);
}

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

} // namespace
} // namespace lintara
