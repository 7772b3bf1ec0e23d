#include "analysis/package_reader.h"
#include "tests/analysis/package_writer.h"
#include "tests/analysis/test_support.h"

#include <gtest/gtest.h>

#include <climits>

namespace lintara {
namespace {

using fixtures::Bytes;
using fixtures::CursorOver;

struct CompactCase {
    std::string bytes;
    std::int32_t value;
    std::uint64_t consumed; // bytes that belong to the index
};

class CompactIndexDecoding : public ::testing::TestWithParam<CompactCase> {};

TEST_P(CompactIndexDecoding, DecodesTheValueAndConsumesItsBytes) {
    const CompactCase& c = GetParam();
    CursorOver over(c.bytes + Bytes({0x77}));
    EXPECT_EQ(ReadCompactIndex(*over.cursor), c.value);
    EXPECT_EQ(over.cursor->Position(), c.consumed);
    EXPECT_EQ(over.cursor->ReadByte(), c.bytes.size() > c.consumed ? std::uint8_t(c.bytes[c.consumed]) : 0x77);
}

INSTANTIATE_TEST_SUITE_P(FormatExamples, CompactIndexDecoding,
                         ::testing::Values(CompactCase{Bytes({0x05}), 5, 1},                                //
                                           CompactCase{Bytes({0x85}), -5, 1},                               //
                                           CompactCase{Bytes({0x3F}), 63, 1},                               //
                                           CompactCase{Bytes({0x80}), 0, 1},                                //
                                           CompactCase{Bytes({0x40, 0x01}), 64, 2},                         //
                                           CompactCase{Bytes({0xC0, 0x01}), -64, 2},                        //
                                           CompactCase{Bytes({0x41, 0x02}), 129, 2},                        //
                                           CompactCase{Bytes({0x7F, 0xFF, 0xFF, 0xFF, 0x1F}), -1, 5},        //
                                           CompactCase{Bytes({0x40, 0x80, 0x80, 0x80, 0x10}), INT_MIN, 5},  //
                                           CompactCase{Bytes({0x40, 0x80, 0x80, 0x80, 0xFF}), -134217728, 5},
                                           CompactCase{Bytes({0x40, 0x80, 0x80, 0x80, 0x01, 0x99}), 134217728, 5}));

// A continue flag on the last byte of the file: the bytes after it read as 0, which ends the index.
struct CutCase {
    std::string bytes;
    std::int32_t value;
};

class CompactIndexAtEndOfFile : public ::testing::TestWithParam<CutCase> {};

TEST_P(CompactIndexAtEndOfFile, MissingBytesReadAsZero) {
    CursorOver over(GetParam().bytes);
    EXPECT_EQ(ReadCompactIndex(*over.cursor), GetParam().value);
    EXPECT_EQ(over.cursor->Position(), GetParam().bytes.size() + 1);
}

INSTANTIATE_TEST_SUITE_P(CutOff, CompactIndexAtEndOfFile,
                         ::testing::Values(CutCase{"", 0},                                    //
                                           CutCase{Bytes({0x40}), 0},                          //
                                           CutCase{Bytes({0xC1}), -1},                         //
                                           CutCase{Bytes({0x7F, 0xFF}), 0x1FFF},               //
                                           CutCase{Bytes({0x41, 0x82, 0x83}), 1 | 2 << 6 | 3 << 13},
                                           CutCase{Bytes({0xC0, 0x80, 0x80, 0x80}), 0}));

TEST(CompactIndexEncoding, RoundTripsThroughTheReader) {
    const struct {
        std::int32_t value;
        std::size_t length;
    } cases[] = {{0, 1},        {1, 1},       {-1, 1},       {63, 1},         {-63, 1},      {64, 2},
                 {-64, 2},      {8191, 2},    {8192, 3},     {1048575, 3},    {1048576, 4},  {134217727, 4},
                 {134217728, 5}, {INT_MAX, 5}, {INT_MIN, 5}, {-134217728, 5}};
    for (const auto& c : cases) {
        const std::string bytes = fixtures::EncodeCompactIndex(c.value);
        EXPECT_EQ(bytes.size(), c.length) << c.value;
        CursorOver over(bytes);
        EXPECT_EQ(ReadCompactIndex(*over.cursor), c.value);
        EXPECT_EQ(over.cursor->Position(), c.length) << c.value;
    }
}

TEST(Int32Reading, IsLittleEndianAndCompletedWithZerosAtTheEnd) {
    CursorOver whole(Bytes({0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(ReadInt32(*whole.cursor), 0x12345678);
    EXPECT_EQ(ReadInt32(*whole.cursor), -1);

    CursorOver cut(Bytes({0x01, 0x02, 0xFF}));
    EXPECT_EQ(ReadInt32(*cut.cursor), 0x00FF0201);
    EXPECT_EQ(cut.cursor->Position(), 4u);
    EXPECT_EQ(ReadInt32(*cut.cursor), 0);
}

} // namespace
} // namespace lintara
