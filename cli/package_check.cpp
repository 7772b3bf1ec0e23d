#include "cli/package_check.h"

#include "analysis/dependency_extractor.h"
#include "platform/code_page.h"
#include "platform/file_error.h"
#include "platform/file_search.h"

#include <new>
#include <set>

namespace lintara::cli {

bool PackageReport::HasMissing() const {
    for (const DependencyRow& row : rows)
        if (row.status == kMissing) return true;
    return false;
}

bool ReadDependencies(const std::string& path, DependencySet& dependencies, std::string* whyNot) {
    try {
        const ReadOutcome outcome = CollectDependencies(path, dependencies);
        if (outcome.IsPackage()) return true;
        if (whyNot) *whyNot = Describe(outcome);
    } catch (const FileError& error) {
        if (whyNot) *whyNot = error.what();
    } catch (const std::bad_alloc&) {
        if (whyNot) *whyNot = "out of memory while reading";
    }
    dependencies.clear();
    return false;
}

bool ReadInstalledDependencies(const std::string& installDir, const std::string& name,
                               const PackageLocation& location, DependencySet& dependencies,
                               std::string* whyNot) {
    std::string firstFailure;
    if (ReadDependencies(location.path, dependencies, &firstFailure)) return true;

    // The status word is the content folder's name, so this is the pattern that the lookup used.
    const std::string pattern = installDir + "\\" + location.status + "\\" + AnsiToFileName(name) + ".*";
    if (auto search = FileSearch::Start(pattern)) {
        while (auto entry = search->Next()) {
            if (entry->name == "." || entry->name == ".." || entry->isDirectory) continue;
            const std::string path = search->PathOf(*entry);
            if (path != location.path && ReadDependencies(path, dependencies, nullptr)) return true;
        }
    }
    if (whyNot) *whyNot = location.path + ": " + firstFailure;
    return false;
}

PackageReport CheckPackage(const std::string& path, const std::string& installDir, bool recursive) {
    PackageReport report;
    report.path = path;

    DependencySet dependencies;
    std::string whyNot;
    if (!ReadDependencies(path, dependencies, &whyNot)) {
        report.errors.push_back(whyNot);
        return report;
    }
    report.read = true;

    std::set<std::string> seen;
    for (const std::string& name : dependencies) {
        seen.insert(name);
        report.rows.push_back({name, {}, {}});
    }
    // The rows grow while they are walked: each followed package appends the names it brings in.
    for (std::size_t i = 0; i < report.rows.size(); ++i) {
        const std::string name = report.rows[i].name;
        const PackageLocation location = FindPackage(installDir, name);
        report.rows[i].status = location.status;
        if (!recursive || location.IsMissing()) continue;
        if (!ReadInstalledDependencies(installDir, name, location, dependencies, &whyNot)) {
            report.errors.push_back("cannot follow " + AnsiToUtf8(name) + ": " + whyNot);
            continue;
        }
        for (const std::string& needed : dependencies)
            if (seen.insert(needed).second) report.rows.push_back({needed, {}, name});
    }
    return report;
}

} // namespace lintara::cli
