#pragma once

#include <string>
#include <string_view>

namespace lintara::cp1252 {

// Code page 1252, the Western European ANSI code page, in which package texts are written.

// The lower-case form of a byte: A to Z and 1252's upper-case letters (0xC0 to 0xDE except 0xD7,
// and 0x8A, 0x8C, 0x8E, 0x9F) become their lower-case letters; every other byte stays.
unsigned char ToLower(unsigned char byte);

// The Unicode code point of a byte. The five bytes that 1252 leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the control characters of the same number.
char32_t ToCodePoint(unsigned char byte);

std::string ToUtf8(std::string_view text);

} // namespace lintara::cp1252
