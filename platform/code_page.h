#pragma once

#include <string>
#include <string_view>

namespace lintara {

// Package texts are 8-bit, in the system's ANSI code page: code page 1252 on POSIX, the system's
// own on Windows.

// Lower-cases the text in place, one character at a time (a double-byte character as one). The
// length never changes.
void LowerCaseAnsi(std::string& text);

// The text converted to the encoding of file names on this platform: UTF-8 on POSIX, unchanged on
// Windows.
std::string AnsiToFileName(std::string_view text);

// The text converted to UTF-8 for display. The five bytes that code page 1252 leaves undefined
// become the control characters of the same number.
std::string AnsiToUtf8(std::string_view text);

} // namespace lintara
