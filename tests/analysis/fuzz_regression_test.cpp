// Inputs that once failed a fuzz target, each with the result the package format gives it.
#include "analysis/dependency_extractor.h"
#include "tests/analysis/temp_tree.h"
#include "tests/analysis/test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace lintara {
namespace {

using fixtures::Bytes;

struct FoundByFuzzing {
    const char* name;
    std::string bytes;
    std::uint32_t nameCount;
    std::uint32_t importCount;
};

// Both are headers whose name table holds only empty texts, and whose import table lies past
// the end of the file: every name reads as the empty text and every import as all zeros.
const FoundByFuzzing kInputs[] = {
    {"an empty name whose length byte is the last byte of the file",
     Bytes({0xc1, 0x83, 0x2a, 0x9e, 0x80, 0x00, 0x1d, 0x00, 0x01, 0x00, 0x00, 0x00, 0x3f, 0x0b, 0xff, 0xff, 0x23, 0x00,
            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x07, 0xf9, 0x0a, 0x8a, 0x00, 0x04, 0x00, 0x07, 0x00, 0x0e, 0x6f, 0x6f}),
     0xffff0b3f, 0x07000400},
    {"a name that starts with a zero byte, inside the header",
     Bytes({0xc1, 0x83, 0x2a, 0x9e, 0x80, 0x00, 0x1d, 0x00, 0x01, 0x00, 0x58, 0x2f, 0x01, 0x20, 0x01, 0x00, 0x10, 0x00,
            0x00, 0x00, 0x00, 0x2f, 0x89, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x20, 0x01, 0x00, 0x10, 0x00, 0x58, 0x2f}),
     0x00012001, 0x00012001},
};

class FuzzRegression : public ::testing::TestWithParam<FoundByFuzzing> {};

TEST_P(FuzzRegression, ReadsAsTheFormatSays) {
    const FoundByFuzzing& input = GetParam();
    fixtures::TempTree tree;
    const std::string path = tree.AddFile("found.u", input.bytes).string();

    const fixtures::ReadLog log = fixtures::ReadAll(path);
    EXPECT_EQ(log.kind, ReadOutcome::Kind::Read);
    EXPECT_EQ(log.nameCount, input.nameCount);
    ASSERT_EQ(log.names.size(), fixtures::ReadLog::kNamesKept);
    for (const std::string& name : log.names) EXPECT_EQ(name, "");
    EXPECT_EQ(log.calls, (std::vector<fixtures::ImportCall>{{ImportEntry{}, input.importCount}}));

    DependencySet set{"left from before"};
    CollectDependencies(path, set);
    EXPECT_TRUE(set.empty());
}

INSTANTIATE_TEST_SUITE_P(Inputs, FuzzRegression, ::testing::ValuesIn(kInputs), [](const auto& info) {
    return "Input" + std::to_string(info.index);
});

} // namespace
} // namespace lintara
