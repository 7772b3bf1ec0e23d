// One check's lookups, 60 names of which half are missing, against an install tree the size of
// a full game installation, beside bare listings of the same folders as often as the check
// searches them.

#include "analysis/package_locator.h"
#include "tests/analysis/temp_tree.h"

#include <benchmark/benchmark.h>

#include <dirent.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using lintara::fixtures::kContentFolderNames;
using lintara::fixtures::TempTree;

// Files per content folder and the extensions they carry, roughly as a full installation has
// them: about 2,500 files.
struct FolderShape {
    int files;
    std::vector<const char*> extensions;
};
const FolderShape kShapes[7] = {
    {1000, {".u", ".int", ".ucl", ".det", ".frt", ".itt", ".est"}}, // System
    {400, {".ut2", ".ut2"}},                                         // Maps
    {450, {".utx"}},                                                 // Textures
    {250, {".uax"}},                                                 // Sounds
    {200, {".usx"}},                                                 // StaticMeshes
    {120, {".ukx"}},                                                 // Animations
    {80, {".ogg"}},                                                  // Music
};

struct Install {
    TempTree tree;
    std::string dir;
    std::vector<std::string> names;                // the check's package names, lower-cased
    std::vector<std::vector<std::string>> visits;  // for each name, the folders its lookup searches
    int files = 0;

    Install() {
        dir = tree.AddInstall("UT2004").string();
        std::vector<std::vector<std::string>> stems(7);
        for (int f = 0; f < 7; ++f) {
            for (int i = 0; i < kShapes[f].files; ++i) {
                const std::string stem = std::string(f == 1 ? "DM-" : "") + kContentFolderNames[f] + "Pack" + std::to_string(i);
                const char* extension = kShapes[f].extensions[i % kShapes[f].extensions.size()];
                tree.AddFile("UT2004/" + std::string(kContentFolderNames[f]) + "/" + stem + extension);
                stems[f].push_back(stem);
                ++files;
            }
        }
        // 30 present, spread over the folders as a map's dependencies are, and 30 missing.
        const int present[7] = {10, 5, 7, 3, 2, 2, 1};
        for (int f = 0; f < 7; ++f)
            for (int i = 0; i < present[f]; ++i) names.push_back(Lower(stems[f][(i * 37) % stems[f].size()]));
        for (int i = 0; i < 30; ++i) names.push_back("missingpack" + std::to_string(i));

        for (const auto& name : names) {
            const std::string status = lintara::Locate(dir, name);
            std::vector<std::string> searched;
            for (const char* folder : kContentFolderNames) {
                searched.push_back(dir + "/" + folder);
                if (status == folder) break;
            }
            visits.push_back(searched);
        }
    }

    static std::string Lower(std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 0x20);
        return s;
    }
};

const Install& TheInstall() {
    static const Install install;
    return install;
}

void BM_CheckSixtyNames(benchmark::State& state) {
    const Install& install = TheInstall();
    int missing = 0;
    for (auto _ : state) {
        missing = 0;
        for (const auto& name : install.names) {
            const auto location = lintara::FindPackage(install.dir, name);
            missing += location.IsMissing();
            benchmark::DoNotOptimize(location);
        }
    }
    if (missing != 30) throw std::logic_error("wrong number of missing packages");
    state.counters["files"] = install.files;
}
BENCHMARK(BM_CheckSixtyNames)->Unit(benchmark::kMillisecond);

// The baseline: list each folder that the check searches, whole, as many times as it does.
void BM_BareListings(benchmark::State& state) {
    const Install& install = TheInstall();
    std::size_t entries = 0;
    std::size_t listings = 0;
    for (auto _ : state) {
        entries = listings = 0;
        for (const auto& folders : install.visits) {
            for (const auto& folder : folders) {
                DIR* dir = ::opendir(folder.c_str());
                if (!dir) throw std::runtime_error("cannot list " + folder);
                while (const dirent* entry = ::readdir(dir)) {
                    benchmark::DoNotOptimize(entry->d_name[0]);
                    ++entries;
                }
                ::closedir(dir);
                ++listings;
            }
        }
    }
    state.counters["listings"] = static_cast<double>(listings);
    state.counters["entries"] = static_cast<double>(entries);
}
BENCHMARK(BM_BareListings)->Unit(benchmark::kMillisecond);

} // namespace
