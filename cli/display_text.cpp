#include "cli/display_text.h"

#include "platform/cp1252.h"

#include <optional>

namespace lintara::cli {

namespace {

// Decodes the UTF-8 sequence at text[at]. Empty, with `at` unchanged, when the bytes there are
// not a valid sequence: a stray continuation byte, a cut-off sequence, an overlong form, a
// surrogate or a code point above U+10FFFF.
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    std::size_t length = 0;
    char32_t c = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07, least = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - at < length) return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(at + i);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        c = c << 6 | (next & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    at += length;
    return c;
}

bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

void AppendHex(std::string& out, unsigned value, int digits, const char* alphabet) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += alphabet[(value >> shift) & 0xF];
}

} // namespace

std::string EscapeForLine(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t start = at;
        const std::optional<char32_t> c = DecodeUtf8(utf8, at);
        if (!c) {
            out += "\\x";
            AppendHex(out, static_cast<unsigned char>(utf8[at++]), 2, "0123456789ABCDEF");
            continue;
        }
        switch (*c) {
#ifndef _WIN32
        // On Windows the backslash separates the folders of every path and stays as it is.
        case '\\': out += "\\\\"; break;
#endif
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default:
            if (IsControl(*c)) {
                out += "\\x";
                AppendHex(out, static_cast<unsigned>(*c), 2, "0123456789ABCDEF");
            } else {
                out.append(utf8.substr(start, at - start));
            }
        }
    }
    return out;
}

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    out.reserve(utf8.size() + 2);
    const auto appendEscape = [&out](char32_t c) {
        out += "\\u";
        AppendHex(out, static_cast<unsigned>(c), 4, "0123456789abcdef");
    };
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t start = at;
        const std::optional<char32_t> c = DecodeUtf8(utf8, at);
        if (!c) {
            appendEscape(cp1252::ToCodePoint(static_cast<unsigned char>(utf8[at++])));
            continue;
        }
        switch (*c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (IsControl(*c)) {
                appendEscape(*c);
            } else {
                out.append(utf8.substr(start, at - start));
            }
        }
    }
    out += '"';
    return out;
}

std::size_t DisplayWidth(std::string_view utf8) {
    std::size_t width = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++width;
    return width;
}

} // namespace lintara::cli
