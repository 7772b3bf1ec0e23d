#include "platform/posix/key_file.h"

namespace lintara::key_file {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

// One line of the text: its bytes without the line end, and where it lies.
struct Line {
    std::string_view content;
    std::size_t begin = 0;
    std::size_t end = 0; // where the line end (CR LF, LF or nothing) begins
};

// The name that a line carries; empty when it holds no value.
std::optional<std::string_view> NameOf(std::string_view line) {
    const std::string_view start = Trimmed(line);
    if (start.empty() || start.front() == '#' || start.front() == ';') return std::nullopt;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return Trimmed(line.substr(0, equals));
}

// The last line that carries the name.
std::optional<Line> FindLine(std::string_view text, std::string_view name) {
    std::optional<Line> found;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t next = text.find('\n', begin);
        std::size_t end = next == std::string_view::npos ? text.size() : next;
        next = next == std::string_view::npos ? text.size() : next + 1;
        if (end > begin && text[end - 1] == '\r') --end;
        const std::string_view content = text.substr(begin, end - begin);
        if (const auto lineName = NameOf(content); lineName && SameName(*lineName, name))
            found = Line{content, begin, end};
        begin = next;
    }
    return found;
}

} // namespace

std::string Encode(std::string_view value) {
    bool quote = !value.empty() &&
                 (IsBlank(value.front()) || IsBlank(value.back()) || value.front() == '"');
    for (const char c : value)
        if (c == '\n' || c == '\r' || c == '\t') quote = true;
    if (!quote) return std::string(value);
    std::string written = "\"";
    for (const char c : value) {
        switch (c) {
        case '\\': written += "\\\\"; break;
        case '"': written += "\\\""; break;
        case '\n': written += "\\n"; break;
        case '\r': written += "\\r"; break;
        case '\t': written += "\\t"; break;
        default: written += c; break;
        }
    }
    written += '"';
    return written;
}

std::string Decode(std::string_view written) {
    written = Trimmed(written);
    if (written.size() < 2 || written.front() != '"' || written.back() != '"') return std::string(written);
    written = written.substr(1, written.size() - 2);
    std::string value;
    for (std::size_t i = 0; i < written.size(); ++i) {
        const char c = written[i];
        if (c != '\\' || i + 1 == written.size()) {
            value += c;
            continue;
        }
        switch (written[i + 1]) {
        case '\\': value += '\\'; break;
        case '"': value += '"'; break;
        case 'n': value += '\n'; break;
        case 'r': value += '\r'; break;
        case 't': value += '\t'; break;
        default: value += c; continue; // the backslash stands for itself
        }
        ++i;
    }
    return value;
}

std::optional<std::string> FindValue(std::string_view text, std::string_view name) {
    const auto line = FindLine(text, name);
    if (!line) return std::nullopt;
    return Decode(line->content.substr(line->content.find('=') + 1));
}

std::string WithValue(std::string_view text, std::string_view name, std::string_view value) {
    const std::string line = std::string(name) + "=" + Encode(value);
    if (const auto found = FindLine(text, name))
        return std::string(text.substr(0, found->begin)) + line + std::string(text.substr(found->end));
    std::string result(text);
    if (!result.empty() && result.back() != '\n') result += '\n';
    return result + line + "\n";
}

} // namespace lintara::key_file
