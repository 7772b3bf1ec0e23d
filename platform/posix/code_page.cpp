#include "platform/code_page.h"

#include "platform/cp1252.h"

namespace lintara {

void LowerCaseAnsi(std::string& text) {
    for (char& c : text) c = static_cast<char>(cp1252::ToLower(static_cast<unsigned char>(c)));
}

std::string AnsiToFileName(std::string_view text) { return cp1252::ToUtf8(text); }

std::string AnsiToUtf8(std::string_view text) { return cp1252::ToUtf8(text); }

} // namespace lintara
