#pragma once

#include <string>

namespace lintara {

// Lower-cases 8-bit text of the given Windows code page in place, one character at a time: a
// lead byte of a double-byte code page and the byte after it are one character, and a trail
// byte is never taken for a letter of its own. A character changes only when its lower-case
// form is one character of the same length in the code page; every other byte stays as it is,
// so the length never changes. LowerCaseAnsi is this for the system's ANSI code page.
void LowerCaseInCodePage(std::string& text, unsigned codePage);

} // namespace lintara
