#include "cli/display_text.h"

#include "platform/code_page.h"
#include "tests/cli/json_reader.h"

#include <gtest/gtest.h>

namespace lintara::cli {
namespace {

struct Case {
    std::string input; // UTF-8, or bytes that are not
    std::string line;  // EscapeForLine
    std::string json;  // JsonString
    std::string parsed; // what a JSON reader makes of `json`
};

// Names reach these functions converted from code page 1252; paths as the command line gave them.
const Case kCases[] = {
    {"core", "core", "\"core\"", "core"},
    {"", "", "\"\"", ""},
    {AnsiToUtf8("\xC4rger"), "\xC3\x84rger", "\"\xC3\x84rger\"", "\xC3\x84rger"},
    {AnsiToUtf8("x\x81y"), "x\\x81y", "\"x\\u0081y\"", "x\xC2\x81y"},            // undefined in 1252
    {AnsiToUtf8("\x8D\x8F\x90\x9D"), "\\x8D\\x8F\\x90\\x9D", "\"\\u008d\\u008f\\u0090\\u009d\"",
     "\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
    {AnsiToUtf8("\x80\x9F"), "\xE2\x82\xAC\xC5\xB8", "\"\xE2\x82\xAC\xC5\xB8\"", "\xE2\x82\xAC\xC5\xB8"}, // defined ones
    {"a\tb\nc\rd", "a\\tb\\nc\\rd", "\"a\\tb\\nc\\rd\"", "a\tb\nc\rd"},
    {"\x01\x1F\x7F\b\f", "\\x01\\x1F\\x7F\\x08\\x0C", "\"\\u0001\\u001f\\u007f\\b\\f\"", "\x01\x1F\x7F\b\f"},
#ifdef _WIN32
    {"back\\slash", "back\\slash", "\"back\\\\slash\"", "back\\slash"}, // a folder separator on Windows
#else
    {"back\\slash", "back\\\\slash", "\"back\\\\slash\"", "back\\slash"},
#endif
    {"say \"hi\"", "say \"hi\"", "\"say \\\"hi\\\"\"", "say \"hi\""},
    {"/tmp/\xF0\x9F\x98\x80.u", "/tmp/\xF0\x9F\x98\x80.u", "\"/tmp/\xF0\x9F\x98\x80.u\"", "/tmp/\xF0\x9F\x98\x80.u"},
    // Bytes that are not UTF-8: shown as bytes in lines, read as code page 1252 in json.
    {"/tmp/\xC4.u", "/tmp/\\xC4.u", "\"/tmp/\\u00c4.u\"", "/tmp/\xC3\x84.u"},                  // a lone lead byte
    {"\x80\x81\xFF", "\\x80\\x81\\xFF", "\"\\u20ac\\u0081\\u00ff\"", "\xE2\x82\xAC\xC2\x81\xC3\xBF"},
    {"\xC0\xAF", "\\xC0\\xAF", "\"\\u00c0\\u00af\"", "\xC3\x80\xC2\xAF"},                       // overlong "/"
    {"\xED\xA0\x80", "\\xED\\xA0\\x80", "\"\\u00ed\\u00a0\\u20ac\"", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"}, // a surrogate
    {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80", "\"\\u00f4\\u0090\\u20ac\\u20ac\"",
     "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"}, // above U+10FFFF
    {"\xE2\x82", "\\xE2\\x82", "\"\\u00e2\\u201a\"", "\xC3\xA2\xE2\x80\x9A"},                  // cut off
};

TEST(EscapeForLine, KeepsTextAndShowsWhatWouldBreakALine) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(::testing::PrintToString(c.input));
        EXPECT_EQ(EscapeForLine(c.input), c.line);
    }
}

TEST(EscapeForLine, LeavesNoByteThatEndsALineOrAColumnOrIsInvalid) {
    std::string everyByte;
    for (int b = 1; b < 256; ++b) everyByte += static_cast<char>(b);
    for (const std::string& input : {everyByte, AnsiToUtf8(everyByte)}) {
        const std::string line = EscapeForLine(input);
        EXPECT_EQ(line.find_first_of("\t\n\r"), std::string::npos);
        for (char c : line) EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20 || c == 0x7F);
        // What remains is valid UTF-8: a JSON reader takes it inside a string once the
        // backslashes are doubled.
        std::string quoted = "\"";
        for (char c : line) quoted += c == '\\' ? std::string("\\\\") : c == '"' ? std::string("\\\"") : std::string(1, c);
        EXPECT_TRUE(testjson::Parse(quoted + "\"").has_value());
    }
}

TEST(JsonString, EscapesAsJsonRequiresAndIsAlwaysValid) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(::testing::PrintToString(c.input));
        const std::string json = JsonString(c.input);
        EXPECT_EQ(json, c.json);
        std::string error;
        const auto value = testjson::Parse(json, &error);
        ASSERT_TRUE(value.has_value()) << error;
        EXPECT_EQ(value->string, c.parsed);
    }
}

TEST(JsonString, EveryByteGivesValidJson) {
    for (int b = 0; b < 256; ++b) {
        const std::string input(1, static_cast<char>(b));
        std::string error;
        EXPECT_TRUE(testjson::Parse(JsonString(input), &error).has_value()) << b << ": " << error;
    }
}

TEST(DisplayWidth, CountsCharactersNotBytes) {
    EXPECT_EQ(DisplayWidth(""), 0u);
    EXPECT_EQ(DisplayWidth("core"), 4u);
    EXPECT_EQ(DisplayWidth(AnsiToUtf8("\xC4rger\x80")), 6u);
    EXPECT_EQ(DisplayWidth(EscapeForLine(AnsiToUtf8("x\x81"))), 5u); // x\x81
}

// The reader that these tests trust must itself refuse what is not JSON.
TEST(JsonReader, RefusesWhatIsNotJson) {
    const char* bad[] = {
        "",          "[",           "[1,]",           "{\"a\":1,}",       "{a:1}",         "\"\x01\"",
        "\"\t\"",    "\"\xC4\"",    "\"\\x41\"",      "\"\\ud800\"",      "\"\\udc00\"",   "[1] 2",
        "01",        "1.",          "nul",            "\"abc",            "'a'",           "[\"\xED\xA0\x80\"]",
    };
    for (const char* text : bad) EXPECT_FALSE(testjson::Parse(text).has_value()) << ::testing::PrintToString(text);
}

TEST(JsonReader, ReadsWhatIsJson) {
    const auto value = testjson::Parse(" [ {\"a\": null, \"b\": [true, false, -1.5e3], \"c\": \"\\u00c4\\ud83d\\ude00\\/\"} ] ");
    ASSERT_TRUE(value.has_value());
    ASSERT_EQ(value->array.size(), 1u);
    const testjson::Value& object = value->array[0];
    EXPECT_EQ(object.Find("a")->kind, testjson::Value::Kind::Null);
    ASSERT_EQ(object.Find("b")->array.size(), 3u);
    EXPECT_TRUE(object.Find("b")->array[0].boolean);
    EXPECT_FALSE(object.Find("b")->array[1].boolean);
    EXPECT_EQ(object.Find("b")->array[2].number, "-1.5e3");
    EXPECT_EQ(object.Find("c")->string, "\xC3\x84\xF0\x9F\x98\x80/");
    EXPECT_EQ(object.Find("d"), nullptr);
}

} // namespace
} // namespace lintara::cli
