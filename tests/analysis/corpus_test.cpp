#include "analysis/dependency_extractor.h"
#include "platform/code_page.h"
#include "tests/analysis/test_support.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace lintara {
namespace {

const std::filesystem::path kCorpus = LINTARA_CORPUS_DIR;

// The counts that MANIFEST.tsv gives for each file, by path relative to the corpus.
struct ManifestRow {
    unsigned version = 0;
    std::uint32_t nameCount = 0;
    std::uint32_t importCount = 0;
};

std::map<std::string, ManifestRow> ReadManifest() {
    std::map<std::string, ManifestRow> rows;
    std::ifstream in(kCorpus / "MANIFEST.tsv");
    std::string line;
    std::getline(in, line); // the column names
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string file, sha, size, version, licensee, names, imports;
        std::getline(fields, file, '\t');
        std::getline(fields, sha, '\t');
        std::getline(fields, size, '\t');
        std::getline(fields, version, '\t');
        std::getline(fields, licensee, '\t');
        std::getline(fields, names, '\t');
        std::getline(fields, imports, '\t');
        rows[file] = {static_cast<unsigned>(std::stoul(version)), static_cast<std::uint32_t>(std::stoul(names)),
                      static_cast<std::uint32_t>(std::stoul(imports))};
    }
    return rows;
}

class CorpusTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::is_directory(kCorpus)) GTEST_SKIP() << "no corpus at " << kCorpus;
    }
};

TEST_F(CorpusTest, EveryFileReadsWithoutError) {
    const auto manifest = ReadManifest();
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kCorpus)) {
        if (!entry.is_regular_file()) continue;
        const std::string relative = std::filesystem::relative(entry.path(), kCorpus).generic_string();
        if (relative == "README.md" || relative == "MANIFEST.tsv") continue;
        ++files;
        SCOPED_TRACE(relative);
        fixtures::ReadLog log;
        ASSERT_NO_THROW(log = fixtures::ReadAll(entry.path().string()));
        DependencySet set;
        ASSERT_NO_THROW(CollectDependencies(entry.path().string(), set));

        const auto row = manifest.find(relative);
        ASSERT_NE(row, manifest.end()) << "not in the manifest";
        if (row->second.version > 128) continue; // a later engine generation: another header layout
        if (row->second.nameCount == 0) {
            EXPECT_EQ(log.kind, ReadOutcome::Kind::NoTables);
            continue;
        }
        EXPECT_EQ(log.kind, ReadOutcome::Kind::Read);
        EXPECT_EQ(log.nameCount, row->second.nameCount);
        // The whole import table lies inside the file: every entry read by itself.
        EXPECT_EQ(log.calls.size(), row->second.importCount);
        for (const auto& call : log.calls) EXPECT_EQ(call.repeat, 1u);
        // And so do the names: a real package names nothing with the empty text.
        for (const auto& name : log.names) EXPECT_FALSE(name.empty());
    }
    EXPECT_EQ(files, static_cast<int>(manifest.size()));
}

struct KnownSet {
    const char* file;
    DependencySet dependencies;
};

class CorpusDependencies : public ::testing::TestWithParam<KnownSet> {};

TEST_P(CorpusDependencies, AreExactlyTheKnownSet) {
    if (!std::filesystem::is_directory(kCorpus)) GTEST_SKIP() << "no corpus at " << kCorpus;
    DependencySet set{"left over"};
    CollectDependencies((kCorpus / GetParam().file).string(), set);
    EXPECT_EQ(set, GetParam().dependencies);
}

INSTANTIATE_TEST_SUITE_P(
    Readme, CorpusDependencies,
    ::testing::Values(
        KnownSet{"100GPing100__ut2004-heal-link-gun/System/HealLinkGun.u", {"core", "engine", "unrealgame", "xgame", "xweapons"}},
        KnownSet{"GrantSorenson__LumpysInvasionServer-1.0/Maps/ParticleExamples.ut2",
                 {"aw-2004particles", "engine", "epicparticles", "onslaught"}},
        KnownSet{"adrak0__ut99/Sounds/DMatch.uax", {"core", "engine"}},
        KnownSet{"HeffersonMan__UT2004/Textures/Animated.utx", {}}),
    [](const auto& info) {
        std::string name = std::filesystem::path(info.param.file).stem().string();
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

TEST_F(CorpusTest, ALargeScriptPackageHasAboutSixtyDependencies) {
    DependencySet set;
    CollectDependencies((kCorpus / "supersonic1999__UT2004-Command-And-Conquer/compiled/CommandAndConquer.u").string(), set);
    EXPECT_GE(set.size(), 50u);
    EXPECT_LE(set.size(), 70u);
    for (const char* expected : {"core", "engine", "xgame"}) EXPECT_EQ(set.count(expected), 1u) << expected;
    for (const auto& name : set) {
        std::string lower = name;
        LowerCaseAnsi(lower);
        EXPECT_EQ(name, lower);
    }
}

} // namespace
} // namespace lintara
