#include "analysis/package_locator.h"

#include "platform/code_page.h"
#include "platform/file_search.h"

namespace lintara {

namespace {

struct ContentFolder {
    const char* segment;
    const char* status;
};

constexpr ContentFolder kContentFolders[] = {
    {"\\System\\", "System"},       {"\\Maps\\", "Maps"},
    {"\\Textures\\", "Textures"},   {"\\Sounds\\", "Sounds"},
    {"\\StaticMeshes\\", "StaticMeshes"}, {"\\Animations\\", "Animations"},
    {"\\Music\\", "Music"},
};

} // namespace

bool MatchingFileExists(const std::string& pattern, std::string* found) {
    auto search = FileSearch::Start(pattern);
    if (!search) return false;
    while (auto entry = search->Next()) {
        if (entry->name == "." || entry->name == ".." || entry->isDirectory) continue;
        if (found) *found = search->PathOf(*entry);
        return true;
    }
    return false;
}

PackageLocation FindPackage(const std::string& installDir, const std::string& packageName) {
    // Package names are code-page text; file names may be in another encoding.
    const std::string name = AnsiToFileName(packageName);
    for (const ContentFolder& folder : kContentFolders) {
        const std::string pattern = installDir + folder.segment + name + ".*";
        PackageLocation location;
        if (MatchingFileExists(pattern, &location.path)) {
            location.status = folder.status;
            return location;
        }
    }
    return {kMissing, {}};
}

std::string Locate(const std::string& installDir, const std::string& packageName) {
    return FindPackage(installDir, packageName).status;
}

} // namespace lintara
