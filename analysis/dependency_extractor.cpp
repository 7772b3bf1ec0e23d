#include "analysis/dependency_extractor.h"

#include "platform/code_page.h"

#include <vector>

namespace lintara {

namespace {

inline bool IsTopLevelPackage(const ImportEntry& entry, const NameTable& names) {
    const std::uint32_t count = names.Count();
    // Indexes are taken as unsigned, so a negative one is out of range too.
    const auto className = static_cast<std::uint32_t>(entry.className);
    const auto objectName = static_cast<std::uint32_t>(entry.objectName);
    if (className >= count || objectName >= count) return false;
    if (names.Text(className) != "Package") return false;
    if (entry.outer < 0) {
        // A negative outer refers to name k = -outer - 1; one that names a non-empty name means
        // the package sits inside another object.
        const auto k = static_cast<std::uint32_t>(~entry.outer);
        if (k < count && !names.Text(k).empty()) return false;
    }
    return !names.Text(objectName).empty();
}

} // namespace

bool IsTopLevelPackageImport(const ImportEntry& entry, const NameTable& names) { return IsTopLevelPackage(entry, names); }

ReadOutcome CollectDependencies(const std::string& fileName, DependencySet& dependencies) {
    dependencies.clear();
    std::string name;
    // The stored names already inserted: most package imports repeat a few names.
    std::vector<bool> inserted;
    return ReadPackage(fileName, [&](const ImportEntry& entry, std::uint32_t, const NameTable& names) {
        if (!IsTopLevelPackage(entry, names)) return;
        // A name past the stored ones is empty, which the test above rejects.
        const auto index = static_cast<std::uint32_t>(entry.objectName);
        if (inserted.empty()) inserted.resize(names.StoredCount());
        if (inserted[index]) return;
        inserted[index] = true;
        name.assign(names.Text(index));
        LowerCaseAnsi(name);
        dependencies.insert(name);
    });
}

} // namespace lintara
