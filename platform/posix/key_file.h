#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lintara::key_file {

// The text of a key file of the POSIX settings store: one `Name=value` line per value, meant to
// be read and edited by hand.
//
// - Lines end in LF; a CR at the end of a line is part of the line end, so CR LF lines read
//   the same.
// - The name is what comes before the first "=", without the blanks (spaces, tabs) around it;
//   letter case is ignored in names, as in the registry. The value is what comes after that
//   "=", without the blanks around it.
// - A value that begins and ends with a double quote is quoted: between the quotes, \\, \",
//   \n, \r and \t stand for a backslash, a quote, LF, CR and tab; any other backslash stands
//   for itself. An unquoted value is taken as it is, backslashes included.
// - Blank lines, lines that begin with "#" or ";", and lines without "=" hold no value.
// - When several lines carry the same name, the last one counts.

// The value of the named line; empty when no line carries the name.
std::optional<std::string> FindValue(std::string_view text, std::string_view name);

// The text with the named value set to `value`: the last line that carries the name is replaced
// and keeps its line end, or a line is added at the end. Every other line stays byte for byte.
std::string WithValue(std::string_view text, std::string_view name, std::string_view value);

// The value as it is written after the "=": unchanged when it reads back as itself, quoted when
// it holds a line end or tab, begins or ends with a blank, or begins with a quote.
std::string Encode(std::string_view value);

// The value that the text after the "=" stands for.
std::string Decode(std::string_view written);

} // namespace lintara::key_file
