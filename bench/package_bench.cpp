// Reading a large package and collecting its dependencies, beside reading the same file's bytes
// into memory and nothing else.

#include "analysis/dependency_extractor.h"
#include "tests/analysis/package_writer.h"
#include "tests/analysis/temp_tree.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <random>
#include <stdexcept>
#include <string>

namespace {

using lintara::DependencySet;
using lintara::fixtures::PackageWriter;
using lintara::fixtures::TempTree;

constexpr int kNames = 100000;
constexpr int kImports = 100000;
constexpr int kPackages = 300;

// A package the size of a large map: 100,000 names and 100,000 imports, of which a few hundred
// import whole packages; the rest import classes and objects inside them, and groups inside those.
std::string LargePackage() {
    std::mt19937 random(2004);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const char* kClasses[] = {"Package", "Class",     "Texture",  "Shader",       "Sound",
                              "StaticMesh", "Material", "Combiner", "FinalBlend", "TexPanner",
                              "MeshAnimation", "SkeletalMesh", "Font", "Palette", "Music"};
    PackageWriter w;
    w.AddName("Core");
    w.AddName("Engine");
    for (const char* c : kClasses) w.Name(c);
    const std::int32_t package = w.Name("Package");
    std::vector<std::int32_t> packageNames;
    for (int i = 0; i < kPackages; ++i)
        packageNames.push_back(w.AddName((i % 3 ? "Pack" : "AW-Textures") + std::to_string(i) + (i % 2 ? "_rc" : "")));
    std::vector<std::int32_t> objectNames;
    const char* kStems[] = {"Wall", "Floor", "Rock", "Metal", "Glass", "Light", "Trim", "Pipe", "Door", "Sky"};
    while (static_cast<int>(objectNames.size()) + kPackages + 17 < kNames) {
        std::string name = kStems[pick(10)];
        name += std::to_string(objectNames.size());
        name += std::string(static_cast<std::size_t>(pick(12)), static_cast<char>('a' + pick(26)));
        objectNames.push_back(w.AddName(name, 0x70010));
    }

    // First the packages, then groups and objects that point back at them.
    for (int i = 0; i < kPackages; ++i) w.AddImport({0, package, 0, packageNames[i]});
    for (int i = kPackages; i < kImports; ++i) {
        const std::int32_t outer = -(pick(kPackages) + 1);
        if (i % 20 == 0) w.AddImport({0, package, outer, objectNames[pick(static_cast<int>(objectNames.size()))]});
        else w.AddImport({pick(2), 3 + pick(14), outer, objectNames[pick(static_cast<int>(objectNames.size()))]});
    }
    return w.Bytes();
}

// The same tables laid out as real packages lay them out: the name table after the header, then
// the objects' data, then the import table and the export table. The shares of the file are those
// of CommandAndConquer.u in the corpus, the real package with the largest tables found there
// (names 5.22%, imports 1.18%, exports 5.32%; the large textures and meshes have under 0.2% each).
// The export table here is filler bytes of that share: the reader does not look at it.
std::string RealisticPackage() {
    PackageWriter w;
    const std::string dense = LargePackage();
    const std::size_t namesAt = w.NameTableOffset();
    // The dense file is header, names, imports; the import table starts where the names end.
    std::size_t importsAt = 0;
    {
        const auto field = [&](int i) {
            return std::size_t{static_cast<std::uint8_t>(dense[4 * i])} |
                   std::size_t{static_cast<std::uint8_t>(dense[4 * i + 1])} << 8 |
                   std::size_t{static_cast<std::uint8_t>(dense[4 * i + 2])} << 16 |
                   std::size_t{static_cast<std::uint8_t>(dense[4 * i + 3])} << 24;
        };
        importsAt = field(8);
    }
    const std::string names = dense.substr(namesAt, importsAt - namesAt);
    const std::string imports = dense.substr(importsAt);
    const auto total = static_cast<std::size_t>(static_cast<double>(names.size()) / 0.0522);
    const auto exportBytes = static_cast<std::size_t>(static_cast<double>(total) * 0.0532);
    const std::size_t dataBytes = total - names.size() - imports.size() - exportBytes  - namesAt;
    std::string bytes = dense.substr(0, namesAt) + names;
    std::mt19937 random(128);
    const std::size_t dataAt = bytes.size();
    bytes.resize(dataAt + dataBytes);
    for (std::size_t i = dataAt; i < bytes.size(); ++i) bytes[i] = static_cast<char>(random());
    const std::size_t newImportsAt = bytes.size();
    bytes += imports;
    const std::size_t exportsAt = bytes.size();
    bytes.append(exportBytes, '\x01');
    const auto put = [&](int i, std::size_t value) {
        for (int b = 0; b < 4; ++b) bytes[4 * i + b] = static_cast<char>(value >> (8 * b));
    };
    put(5, 100000);    // export count
    put(6, exportsAt); // export offset
    put(8, newImportsAt);
    return bytes;
}

struct PackageFile {
    TempTree tree;
    std::string path;
    std::size_t size = 0;
    explicit PackageFile(const std::string& bytes) : size(bytes.size()) { path = tree.AddFile("Large.ut2", bytes).string(); }
};

const PackageFile& Large() {
    static const PackageFile file(LargePackage());
    return file;
}

const PackageFile& Realistic() {
    static const PackageFile file(RealisticPackage());
    return file;
}

void CollectDependencies(benchmark::State& state, const PackageFile& file) {
    DependencySet set;
    for (auto _ : state) {
        lintara::CollectDependencies(file.path, set);
        benchmark::DoNotOptimize(set);
    }
    if (set.size() != kPackages) throw std::logic_error("wrong dependency count");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * (kNames + kImports)));
    state.counters["file_bytes"] = static_cast<double>(file.size);
}

// The baseline: open the file and read all of it into memory.
void PlainRead(benchmark::State& state, const PackageFile& file) {
    for (auto _ : state) {
        const int fd = ::open(file.path.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat info {};
        ::fstat(fd, &info);
        const auto size = static_cast<std::size_t>(info.st_size);
        auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(size);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::read(fd, buffer.get() + done, size - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
        benchmark::DoNotOptimize(buffer.get());
        if (done != file.size) throw std::logic_error("short read");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size));
}

void BM_DensePackage_CollectDependencies(benchmark::State& state) { CollectDependencies(state, Large()); }
void BM_DensePackage_PlainRead(benchmark::State& state) { PlainRead(state, Large()); }
void BM_RealisticPackage_CollectDependencies(benchmark::State& state) { CollectDependencies(state, Realistic()); }
void BM_RealisticPackage_PlainRead(benchmark::State& state) { PlainRead(state, Realistic()); }
BENCHMARK(BM_DensePackage_CollectDependencies)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DensePackage_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RealisticPackage_CollectDependencies)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RealisticPackage_PlainRead)->Unit(benchmark::kMillisecond);

// A hostile header: a 100-byte file whose counts are both 0xFFFFFFFF.
void BM_HugeCounts(benchmark::State& state) {
    TempTree tree;
    const std::string path = lintara::fixtures::HugeCountsPackage().WriteTo(tree / "huge.u").string();
    DependencySet set;
    for (auto _ : state) {
        lintara::CollectDependencies(path, set);
        benchmark::DoNotOptimize(set);
    }
}
BENCHMARK(BM_HugeCounts)->Unit(benchmark::kMicrosecond);

} // namespace
