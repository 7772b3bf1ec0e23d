#include "platform/code_page.h"
#include "platform/cp1252.h"

#include <gtest/gtest.h>

#include <map>

namespace lintara {
namespace {

// The upper-case letters of code page 1252 and their lower-case forms.
std::map<unsigned char, unsigned char> UpperCaseLetters() {
    std::map<unsigned char, unsigned char> letters;
    for (int c = 'A'; c <= 'Z'; ++c) letters[c] = static_cast<unsigned char>(c + 0x20);
    for (int c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7) letters[c] = static_cast<unsigned char>(c + 0x20); // 0xD7 is the multiplication sign
    letters[0x8A] = 0x9A;                                                // S with caron
    letters[0x8C] = 0x9C;                                                // OE
    letters[0x8E] = 0x9E;                                                // Z with caron
    letters[0x9F] = 0xFF;                                                // Y with diaeresis
    return letters;
}

TEST(LowerCaseAnsi, ChangesTheUpperCaseLettersOfCodePage1252AndNothingElse) {
    const auto letters = UpperCaseLetters();
    ASSERT_EQ(letters.size(), 26u + 30u + 4u);
    for (int byte = 0; byte < 256; ++byte) {
        std::string text(1, static_cast<char>(byte));
        LowerCaseAnsi(text);
        ASSERT_EQ(text.size(), 1u);
        const auto it = letters.find(static_cast<unsigned char>(byte));
        const unsigned char expected = it == letters.end() ? static_cast<unsigned char>(byte) : it->second;
        EXPECT_EQ(static_cast<unsigned char>(text[0]), expected) << "byte " << byte;
    }
}

TEST(LowerCaseAnsi, WorksOnWholeTexts) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"Rocks", "rocks"},
        {"AW-2004Particles", "aw-2004particles"},
        {"\xC4rger", "\xE4rger"},
        {"@[`{", "@[`{"},   // the neighbours of the ASCII letters
        {"\xDF\xD7\xF7", "\xDF\xD7\xF7"},
        {"", ""},
        {std::string("A\0B", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases) {
        std::string text = c.in;
        LowerCaseAnsi(text);
        EXPECT_EQ(text, c.out);
    }
}

TEST(AnsiToUtf8, ConvertsEveryByteOfCodePage1252) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"abc", "abc"},
        {"\xC4rger", "\xC3\x84rger"},
        {"\xE4", "\xC3\xA4"},
        {"\x80", "\xE2\x82\xAC"},        // euro sign
        {"\x8A", "\xC5\xA0"},            // S with caron
        {"\x9F", "\xC5\xB8"},            // Y with diaeresis
        {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"}, // undefined in 1252
        {"\xFF", "\xC3\xBF"},
        {"\xA0", "\xC2\xA0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AnsiToUtf8(c.in), c.out) << c.in;
#ifdef _WIN32
        EXPECT_EQ(AnsiToFileName(c.in), c.in) << c.in; // the ANSI file functions take the text as it is
#else
        EXPECT_EQ(AnsiToFileName(c.in), c.out) << c.in;
#endif
    }
}

TEST(AnsiToUtf8, MapsEachByteToItsCodePoint) {
    // Every byte converts to a valid UTF-8 sequence of its code point, and none collide.
    std::map<std::string, int> seen;
    for (int byte = 1; byte < 256; ++byte) {
        const std::string utf8 = AnsiToUtf8(std::string(1, static_cast<char>(byte)));
        EXPECT_TRUE(seen.emplace(utf8, byte).second) << "byte " << byte;
        EXPECT_EQ(utf8.size(), cp1252::ToCodePoint(static_cast<unsigned char>(byte)) < 0x80    ? 1u
                               : cp1252::ToCodePoint(static_cast<unsigned char>(byte)) < 0x800 ? 2u
                                                                                               : 3u);
    }
}

} // namespace
} // namespace lintara
