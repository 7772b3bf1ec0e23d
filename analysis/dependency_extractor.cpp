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

namespace {

// What is known of each stored name, filled in as imports refer to it: whether its text is
// "Package", and whether it went into the set already. A package's imports name few classes and
// repeat the same packages, so most imports are settled by two lookups here.
class NameMemo {
public:
    // Whether the entry's class is "Package" and its object a name not inserted yet.
    bool MayAdd(const ImportEntry& entry, const NameTable& names) {
        if (known_.empty()) {
            stored_ = names.StoredCount();
            known_.resize(std::size_t{stored_} + 1);
        }
        // Indexes are taken as unsigned, so a negative one is out of range too; a name past the
        // stored ones is empty and so neither "Package" nor a package's name.
        const auto className = static_cast<std::uint32_t>(entry.className);
        const auto objectName = static_cast<std::uint32_t>(entry.objectName);
        if (className >= stored_ || objectName >= stored_) return false;
        std::uint8_t classState = known_[className];
        if (classState == kUnknown) [[unlikely]]
            classState = known_[className] = names.Text(className) == "Package" ? kPackageClass : kOtherClass;
        return classState == kPackageClass && (known_[objectName] & kInserted) == 0;
    }
    void MarkInserted(std::uint32_t objectName) { known_[objectName] |= kInserted; }

private:
    enum : std::uint8_t { kUnknown = 0, kOtherClass = 1, kPackageClass = 2, kInserted = 4 };
    std::uint32_t stored_ = 0;
    std::vector<std::uint8_t> known_;
};

} // namespace

ReadOutcome CollectDependencies(const std::string& fileName, DependencySet& dependencies) {
    dependencies.clear();
    NameMemo memo;
    std::string name;
    const auto add = [&](const ImportEntry& entry, const NameTable& names) {
        if (!IsTopLevelPackage(entry, names)) return;
        const auto objectName = static_cast<std::uint32_t>(entry.objectName);
        memo.MarkInserted(objectName);
        name.assign(names.Text(objectName));
        LowerCaseAnsi(name);
        dependencies.insert(name);
    };
    return ReadPackage(fileName, [&](const ImportEntry& entry, std::uint32_t, const NameTable& names) {
        if (memo.MayAdd(entry, names)) [[unlikely]] add(entry, names);
    });
}

} // namespace lintara
