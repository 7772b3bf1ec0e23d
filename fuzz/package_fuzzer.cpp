// The package reader and the dependency extraction, on a file that holds the input.
//
// Besides surviving the input, the reader must read exactly what the plain model of the package
// format (the unit tests' ModelRead) reads from the same bytes, fail only where the format says
// it fails, and the dependency set must be the lower-cased package imports of what was read.
#include "analysis/dependency_extractor.h"
#include "analysis/package_reader.h"
#include "fuzz/scratch.h"
#include "platform/code_page.h"
#include "platform/file_error.h"
#include "tests/analysis/test_support.h"

#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

using lintara::fuzz::Fail;

std::uint32_t HeaderField(const std::uint8_t* data, int index) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | data[4 * index + i];
    return value;
}

// Whether the format sends the reader to an offset that cannot be sought to: a package with
// both tables and a name or import offset of 0x80000000 or more.
bool MustRefuseASeek(const std::uint8_t* data, std::size_t size) {
    if (size < lintara::kPackageHeaderSize || HeaderField(data, 0) != lintara::kPackageTag) return false;
    if (HeaderField(data, 3) == 0 || HeaderField(data, 7) == 0) return false;
    return HeaderField(data, 4) >= 0x80000000u || HeaderField(data, 8) >= 0x80000000u;
}

void CheckAgainstTheModel(const std::string& path, std::string_view bytes) {
    using lintara::fixtures::ReadLog;
    const ReadLog read = lintara::fixtures::ReadAll(path);
    const ReadLog model = lintara::fixtures::ModelRead(bytes);
    if (read.kind != model.kind) Fail("the outcome differs from the model's");
    if (read.calls != model.calls) Fail("the import entries differ from the model's");
    if (read.nameCount != model.nameCount) Fail("the name count differs from the model's");
    if (read.names != model.names) Fail("the names differ from the model's");
}

// Every name of the set is a lower-cased top-level package import of the names that were read,
// and every such import is in the set.
void CheckTheSet(const std::string& path, const lintara::DependencySet& set) {
    lintara::DependencySet expected;
    lintara::ReadPackage(path, [&](const lintara::ImportEntry& entry, std::uint32_t, const lintara::NameTable& names) {
        if (!lintara::IsTopLevelPackageImport(entry, names)) return;
        std::string name(names.Text(static_cast<std::uint32_t>(entry.objectName)));
        lintara::LowerCaseAnsi(name);
        expected.insert(name);
    });
    if (set != expected) Fail("the dependency set is not the package imports read");
    for (const std::string& name : set) {
        if (name.empty() || name.find('\0') != std::string::npos) Fail("an empty name or a zero byte in the set");
        std::string lower = name;
        lintara::LowerCaseAnsi(lower);
        if (lower != name) Fail("a name of the set is not lower-cased");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static lintara::fuzz::MemoryFile file;
    file.Replace(data, size);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    lintara::DependencySet set{"left from before"};
    try {
        const lintara::ReadOutcome outcome = lintara::CollectDependencies(file.Path(), set);
        if (MustRefuseASeek(data, size)) Fail("an offset of 0x80000000 or more was sought to");
        if (outcome.kind == lintara::ReadOutcome::Kind::CannotOpen) Fail("the input's file did not open");
    } catch (const lintara::FileError& error) {
        if (error.operation() != lintara::FileError::Operation::Seek || !MustRefuseASeek(data, size))
            Fail("a file error where the format reads on");
        if (!set.empty()) Fail("a refused seek left names in the set");
        return 0;
    }
    CheckTheSet(file.Path(), set);
    CheckAgainstTheModel(file.Path(), bytes);
    return 0;
}
