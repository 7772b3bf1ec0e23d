#include "analysis/package_reader.h"
#include "tests/analysis/package_writer.h"
#include "tests/analysis/temp_tree.h"
#include "tests/analysis/test_support.h"

#include <gtest/gtest.h>

#include <cctype>

namespace lintara {
namespace {

using fixtures::Bytes;
using fixtures::CursorOver;

struct NameCase {
    const char* what;
    std::uint32_t version;
    std::string bytes;     // the whole file
    std::string text;      // the name read from its start
    std::uint64_t consumed;
};

class NameReading : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameReading, ReadsTheTextInTheEncodingTheVersionChooses) {
    const NameCase& c = GetParam();
    CursorOver over(c.bytes);
    std::string text = "left over";
    ReadName(*over.cursor, text, c.version);
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(over.cursor->Position(), c.consumed);
}

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

INSTANTIATE_TEST_SUITE_P(
    Encodings, NameReading,
    ::testing::Values(
        NameCase{"zero-terminated at 63", 63, "Core" + Bytes({0, 'X'}), "Core", 5},
        NameCase{"length-prefixed at 64", 64, Bytes({5}) + "Core" + Bytes({0, 'X'}), "Core", 6},
        NameCase{"high bits do not choose (63)", 0x1003F, "Core" + Bytes({0, 5}), "Core", 5},
        NameCase{"high bits do not choose (64)", 0x10040, Bytes({5}) + "Core" + Bytes({0}), "Core", 6},
        NameCase{"low bits 0xFFFF are length-prefixed", 0xFFFF, Bytes({2, 'a', 0}), "a", 3},
        NameCase{"version 0 is zero-terminated", 0, Bytes({2, 'a', 0}), Bytes({2, 'a'}), 3},
        NameCase{"length 0 is the empty text", 128, Bytes({0, 'a', 0}), "", 1},
        NameCase{"zero inside: the rest is skipped", 128, Bytes({5, 'a', 'b', 0, 'c', 'd', 'X'}), "ab", 6},
        NameCase{"no zero: all the bytes", 128, Bytes({3, 'a', 'b', 'c', 'X'}), "abc", 4},
        NameCase{"length 0x41 is a length", 128, Bytes({0x41}) + Repeat('q', 65) + "X", Repeat('q', 65), 66},
        NameCase{"length 0xFF", 128, Bytes({0xFF}) + Repeat('r', 255), Repeat('r', 255), 256},
        NameCase{"bytes above 0x7F stand as they are", 128, Bytes({3, 0xC4, 0x81, 0}), Bytes({0xC4, 0x81}), 4},
        NameCase{"zero-terminated empty", 63, Bytes({0, 'a'}), "", 1},
        NameCase{"zero-terminated cut by the end", 63, "abc", "abc", 3},
        NameCase{"length-prefixed cut by the end", 128, Bytes({9, 'a', 'b'}), "ab", 10},
        NameCase{"zero-terminated at the end", 63, "", "", 0},
        NameCase{"length-prefixed at the end", 128, "", "", 1}),
    [](const auto& info) {
        std::string name;
        for (const char* p = info.param.what; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

TEST(NameReading, ReadsNamesOneAfterAnother) {
    // Two names and their flags, and the cursor right after each.
    CursorOver over(Bytes({5}) + "Core" + Bytes({0, 1, 0, 0, 0, 8}) + "Package" + Bytes({0, 2, 0, 0, 0}));
    std::string text;
    ReadName(*over.cursor, text, 128);
    EXPECT_EQ(text, "Core");
    EXPECT_EQ(ReadInt32(*over.cursor), 1);
    ReadName(*over.cursor, text, 128);
    EXPECT_EQ(text, "Package");
    EXPECT_EQ(ReadInt32(*over.cursor), 2);
    EXPECT_TRUE(over.cursor->AtEnd());
}

// The table keeps the file's bytes of each length-prefixed name as they stand, and its text ends
// at the first zero byte among them, wherever the buffer is cut.
TEST(NameTable, ATextEndsAtAZeroInsideTheName) {
    {
        fixtures::PackageWriter w;
        w.AddName("Package");
        for (int i = 0; i < 4000; ++i) {
            std::string name(static_cast<std::size_t>(10 + i % 90), static_cast<char>('a' + i % 26));
            if (i % 3 == 0) name[static_cast<std::size_t>(i % 7)] = '\0';
            w.AddName(name);
        }
        w.AddImport({0, 0, 0, 1});
        const std::string bytes = w.Bytes();
        fixtures::TempTree tree;
        const fixtures::ReadLog log = fixtures::ReadAll(tree.AddFile("zeros.u", bytes).string());
        EXPECT_EQ(log.names, fixtures::ModelRead(bytes).names);
        ASSERT_EQ(log.names.size(), 4001u);
        EXPECT_EQ(log.names[1], "");
        EXPECT_EQ(log.names[2], std::string(11, 'b'));
        EXPECT_EQ(log.names[4], "ddd");
    }
}

} // namespace
} // namespace lintara
