// Writes the seed inputs of the fuzz targets, one folder per target under the folder given:
// packages built as the unit tests build their fixtures, the real packages of the corpus cut
// down to their header and tables, settings files, key files and name pairs.
//
//     make_seeds OUT_FOLDER [CORPUS_FOLDER]
#include "analysis/dependency_extractor.h"
#include "analysis/package_format.h"
#include "tests/analysis/package_writer.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace std::string_literals;
using lintara::fixtures::PackageWriter;

namespace {

void Write(const fs::path& folder, const std::string& name, const std::string& bytes) {
    fs::create_directories(folder);
    lintara::fixtures::WriteFile(folder / name, bytes);
}

std::string ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t Field(const std::string& bytes, int index) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[4 * index + i]);
    return value;
}

// A package's header and its two tables (as far as `keep` bytes of each), laid one after the
// other and the offsets set to match: the tables of a real package in a few kilobytes.
std::string CutDown(const std::string& bytes) {
    constexpr std::size_t keep = 16 * 1024;
    const std::size_t nameOffset = Field(bytes, 4), importOffset = Field(bytes, 8);
    if (nameOffset >= bytes.size() || importOffset >= bytes.size()) return {};
    const std::string names = bytes.substr(nameOffset, keep);
    const std::string imports = bytes.substr(importOffset, keep);
    std::string cut = bytes.substr(0, lintara::kPackageHeaderSize);
    cut.replace(16, 4, lintara::fixtures::EncodeUInt32(static_cast<std::uint32_t>(cut.size())));
    cut.replace(32, 4, lintara::fixtures::EncodeUInt32(static_cast<std::uint32_t>(cut.size() + names.size())));
    return cut + names + imports;
}

void PackageSeeds(const fs::path& out) {
    PackageWriter plain;
    for (const char* name : {"Engine", "Core", "XGame", "MyTextures", "engine"}) plain.AddPackageImport(name);
    Write(out, "plain.u", plain.Bytes());

    PackageWriter old = plain;
    old.version = 63; // names that end in a zero byte
    Write(out, "old-names.u", old.Bytes());

    PackageWriter nested;
    const std::int32_t package = nested.Name("Package");
    const std::int32_t outer = nested.Name("Outer");
    nested.AddImport({nested.Name("Core"), package, -outer - 1, nested.Name("Inner")});
    nested.AddImport({0, nested.Name("Texture"), 0, nested.Name("Rock")});
    nested.AddImport({0, package, 1000, nested.Name("Far")});
    nested.AddImport({-5, package, 0, 2000});
    Write(out, "nested-and-out-of-range.u", nested.Bytes());

    PackageWriter odd;
    for (const char* name : {"Wild*Card?", "Sub\\Folder", "Sub/Folder", "\xC9" "clair", "\x8A" "koda", "..", ""})
        odd.AddPackageImport(name);
    Write(out, "odd-names.u", odd.Bytes());

    Write(out, "huge-counts.u", lintara::fixtures::HugeCountsPackage().Bytes());

    PackageWriter seek = plain;
    seek.nameOffset = 0x80000000u;
    Write(out, "name-offset-2g.u", seek.Bytes());
    seek = plain;
    seek.importOffset = 0xFFFFFFFFu;
    Write(out, "import-offset-4g.u", seek.Bytes());

    PackageWriter past = plain;
    past.nameOffset = 0x7FFFFFFFu;
    Write(out, "name-offset-past-the-end.u", past.Bytes());

    PackageWriter cut = plain;
    cut.Truncate(plain.ImportTableOffset() + 3);
    Write(out, "tables-past-the-end.u", cut.Bytes());

    PackageWriter zero = plain;
    zero.importCount = 0;
    Write(out, "zero-imports.u", zero.Bytes());
    PackageWriter wrongTag = plain;
    wrongTag.tag = 0xC1832A9E;
    Write(out, "wrong-tag.u", wrongTag.Bytes());
    Write(out, "shorter-than-the-header.u", plain.Bytes().substr(0, 20));

    PackageWriter longIndex;
    longIndex.AddName("Package");
    longIndex.AddRawImports("\x40\x80\x80\x80\xFF" "\x7F\xFF\xFF\xFF\x1F" "\x00\x00\x00\x80" "\x41\x02"s, 1);
    Write(out, "five-byte-indexes.u", longIndex.Bytes());
}

void CorpusSeeds(const fs::path& corpus, const fs::path& packages, const fs::path& names) {
    std::error_code error;
    int count = 0;
    for (auto it = fs::recursive_directory_iterator(corpus, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
        if (!it->is_regular_file()) continue;
        const std::string bytes = ReadWhole(it->path());
        if (bytes.size() < lintara::kPackageHeaderSize || Field(bytes, 0) != lintara::kPackageTag) continue;
        const std::string tag = std::to_string(++count) + "-" + it->path().filename().string();
        if (const std::string cut = CutDown(bytes); !cut.empty()) Write(packages, tag, cut);

        // The names it depends on, each with the file an installation would hold.
        lintara::DependencySet set;
        try {
            lintara::CollectDependencies(it->path().string(), set);
        } catch (const std::exception&) {
            continue;
        }
        std::size_t n = 0;
        for (const std::string& name : set) {
            if (++n > 8) break;
            std::string file = name;
            if (!file.empty()) file[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(file[0])));
            Write(names, tag + "-" + std::to_string(n), name + std::string(1, '\0') + file + ".u");
        }
    }
}

void SettingsFileSeeds(const fs::path& out) {
    const std::vector<std::pair<const char*, std::string>> files = {
        {"one-line", "ut_dir=C:\\Games\\UT2004\r\n"},
        {"posix", "ut_dir=/home/me/UT2004\r\n"},
        {"other-key-first", "other=1\r\nut_dir=D:\\UT2004\r\n"},
        {"last-wins", "ut_dir=A\r\nut_dir=B\r\n"},
        {"no-cr-lf", "ut_dir=C:\\Games\\UT2004"},
        {"lf-only", "ut_dir=C:\\Games\\UT2004\n"},
        {"section", "[Settings]\r\nut_dir=D:\\UT2004\r\n"},
        {"zero-byte", "ut_dir=A\r\n\0ut_dir=B\r\n"s},
        {"utf16", "\xff\xfeu\0t\0_\0d\0i\0r\0=\0D\0:\0\r\0\n\0"s},
        {"utf8-bom", "\xef\xbb\xbfut_dir=D:\\UT2004\r\n"},
        {"high-bytes", "ut_dir=D:\\Spiele\\\xdc" "ber\r\n"},
    };
    for (const auto& [name, bytes] : files) Write(out, name, bytes);
}

void StoreSeeds(const fs::path& out) {
    const std::vector<std::pair<const char*, std::string>> files = {
        {"written", "UTPath=/home/me/UT2004\n"},
        {"by-hand", "# my settings\n  utpath = \"/games/ut 2004 \"  \r\nTheme=dark\n"},
        {"quoted", "UTPath=\"a\\tb\\\\c\\\"d\"\nOther=1\n"},
        {"long", "UTPath=/" + std::string(300, 'x') + "\n"},
        {"with-value", "UTPath=/old\nTheme=dark\n\0 leading blank"s},
        {"no-line-end", "Theme=dark\nUTPath=/old"s},
        {"comments", "; a comment\n#UTPath=/not\n=empty name\nUTPath\n"},
    };
    for (const auto& [name, bytes] : files) Write(out, name, bytes);
}

void NameSeeds(const fs::path& out) {
    const std::vector<std::pair<const char*, std::string>> pairs = {
        {"plain", "Engine\0engine.u"s},
        {"no-extension", "Engine\0Engine"s},
        {"other-name", "Engine\0Engines.u"s},
        {"wildcards", "X*?g\0XGame.u"s},
        {"separator", "Sub\\Core\0Core.u"s},
        {"code-page", "\xC9" "clair\0\xC3\xA9" "clair.utx"s},
        {"invalid-utf8", "abc\0ab\xFF" "c.u"s},
    };
    for (const auto& [name, bytes] : pairs) Write(out, name, bytes);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_seeds OUT_FOLDER [CORPUS_FOLDER]\n");
        return 2;
    }
    const fs::path out = argv[1];
    PackageSeeds(out / "package");
    SettingsFileSeeds(out / "settings_file");
    StoreSeeds(out / "settings_store");
    NameSeeds(out / "name_match");
    if (argc > 2 && fs::is_directory(argv[2])) CorpusSeeds(argv[2], out / "package", out / "name_match");
    return 0;
}
