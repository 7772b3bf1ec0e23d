#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lintara::cli {

// Text for a text table, a tsv line or a message line, so that nothing in it can break the
// line or the columns. The input is taken as UTF-8: a backslash becomes \\ (on POSIX; on
// Windows, where it separates the folders of every path, it stays as it is), tab, newline and
// carriage return become \t, \n and \r, every other control character (U+0000 to U+001F, U+007F,
// U+0080 to U+009F) becomes \xHH with its number, and each byte that is not part of a valid UTF-8
// sequence becomes \xHH with its value. Everything else is kept.
std::string EscapeForLine(std::string_view utf8);

// The text as a JSON string, quotes included. Valid UTF-8 is kept, but for '"', '\\' and the
// control characters (U+0000 to U+001F, U+007F, U+0080 to U+009F), which are escaped (\", \\,
// \b, \f, \n, \r, \t, else \u00hh). Each byte that is not part of a valid UTF-8 sequence
// becomes the \u escape of the character that code page 1252 gives it, so the result is always
// valid JSON.
std::string JsonString(std::string_view utf8);

// How many columns the text takes on a terminal: one per character. Meant for the output of
// EscapeForLine, where every character is one column wide.
std::size_t DisplayWidth(std::string_view utf8);

} // namespace lintara::cli
