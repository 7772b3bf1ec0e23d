#include "platform/code_page.h"

#include "platform/win32/lower_case.h"

#include <windows.h>

namespace lintara {

namespace {

// How many bytes the character that starts at text[i] takes.
std::size_t CharacterLength(const std::string& text, std::size_t i, unsigned codePage, bool doubleByte) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    if (codePage == CP_UTF8) {
        length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    } else if (doubleByte && ::IsDBCSLeadByteEx(codePage, lead)) {
        length = 2;
    }
    return i + length <= text.size() ? length : 1;
}

} // namespace

void LowerCaseInCodePage(std::string& text, unsigned codePage) {
    if (codePage == CP_ACP) codePage = ::GetACP();
    CPINFO info{};
    const bool doubleByte = ::GetCPInfo(codePage, &info) && info.MaxCharSize > 1;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = CharacterLength(text, i, codePage, doubleByte);
        char* character = text.data() + i;
        i += length;
        if (length == 1 && static_cast<unsigned char>(*character) < 0x80) {
            // Every Windows code page holds ASCII as it is.
            if (*character >= 'A' && *character <= 'Z') *character = static_cast<char>(*character - 'A' + 'a');
            continue;
        }
        // The system's own lower case of the character, as CharLowerBuffA gives it, but only
        // where the character converts both ways without loss.
        WCHAR wide[2]{};
        const int units = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, character, static_cast<int>(length),
                                                wide, 2);
        if (units < 1) continue;
        ::CharLowerBuffW(wide, static_cast<DWORD>(units));
        char lowered[4]{};
        BOOL lossy = FALSE;
        const bool utf8 = codePage == CP_UTF8;
        const int bytes = ::WideCharToMultiByte(codePage, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide, units, lowered,
                                                sizeof lowered, nullptr, utf8 ? nullptr : &lossy);
        if (bytes == static_cast<int>(length) && !lossy)
            for (std::size_t k = 0; k < length; ++k) character[k] = lowered[k];
    }
}

void LowerCaseAnsi(std::string& text) { LowerCaseInCodePage(text, CP_ACP); }

// File names are given to the system's ANSI functions, which take the ANSI code page.
std::string AnsiToFileName(std::string_view text) { return std::string(text); }

std::string AnsiToUtf8(std::string_view text) {
    if (text.empty()) return {};
    const int units = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (units <= 0) return std::string(text);
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

} // namespace lintara
