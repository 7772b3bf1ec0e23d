#include "tests/cli/json_reader.h"

namespace lintara::testjson {

const Value* Value::Find(std::string_view key) const {
    for (const auto& [name, value] : members)
        if (name == key) return &value;
    return nullptr;
}

namespace {

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    std::optional<Value> Document() {
        Value value;
        if (!ParseValue(value, 0)) return std::nullopt;
        SkipSpace();
        if (at_ != text_.size()) return Fail("text after the value");
        return value;
    }

    std::string error;

private:
    std::nullopt_t Fail(const std::string& what) {
        if (error.empty()) error = what + " at byte " + std::to_string(at_);
        return std::nullopt;
    }
    bool Failed(const std::string& what) {
        Fail(what);
        return false;
    }

    void SkipSpace() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }
    bool Take(char c) {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool TakeWord(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }

    bool ParseValue(Value& value, int depth) {
        if (depth > 100) return Failed("nesting too deep");
        SkipSpace();
        if (at_ >= text_.size()) return Failed("value expected");
        const char c = text_[at_];
        if (c == '{') return ParseObject(value, depth);
        if (c == '[') return ParseArray(value, depth);
        if (c == '"') {
            value.kind = Value::Kind::String;
            return ParseString(value.string);
        }
        if (TakeWord("null")) {
            value.kind = Value::Kind::Null;
            return true;
        }
        if (TakeWord("true") || TakeWord("false")) {
            value.kind = Value::Kind::Bool;
            value.boolean = text_.substr(at_ - 4, 4) == "true";
            return true;
        }
        return ParseNumber(value);
    }

    bool ParseObject(Value& value, int depth) {
        value.kind = Value::Kind::Object;
        ++at_;
        SkipSpace();
        if (Take('}')) return true;
        for (;;) {
            SkipSpace();
            std::string key;
            if (at_ >= text_.size() || text_[at_] != '"') return Failed("member name expected");
            if (!ParseString(key)) return false;
            SkipSpace();
            if (!Take(':')) return Failed("':' expected");
            Value member;
            if (!ParseValue(member, depth + 1)) return false;
            value.members.emplace_back(std::move(key), std::move(member));
            SkipSpace();
            if (Take('}')) return true;
            if (!Take(',')) return Failed("',' or '}' expected");
        }
    }

    bool ParseArray(Value& value, int depth) {
        value.kind = Value::Kind::Array;
        ++at_;
        SkipSpace();
        if (Take(']')) return true;
        for (;;) {
            Value element;
            if (!ParseValue(element, depth + 1)) return false;
            value.array.push_back(std::move(element));
            SkipSpace();
            if (Take(']')) return true;
            if (!Take(',')) return Failed("',' or ']' expected");
        }
    }

    bool ParseNumber(Value& value) {
        const std::size_t start = at_;
        const auto digits = [this] {
            const std::size_t from = at_;
            while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
            return at_ > from;
        };
        Take('-');
        if (Take('0')) {
        } else if (!digits()) {
            return Failed("value expected");
        }
        if (Take('.') && !digits()) return Failed("digit expected");
        if (Take('e') || Take('E')) {
            if (!Take('+')) Take('-');
            if (!digits()) return Failed("digit expected");
        }
        value.kind = Value::Kind::Number;
        value.number = std::string(text_.substr(start, at_ - start));
        return true;
    }

    static void AppendUtf8(std::string& out, char32_t c) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }

    bool ParseHex4(char32_t& c) {
        c = 0;
        for (int i = 0; i < 4; ++i, ++at_) {
            if (at_ >= text_.size()) return Failed("cut-off \\u escape");
            const char h = text_[at_];
            c <<= 4;
            if (h >= '0' && h <= '9') c |= static_cast<char32_t>(h - '0');
            else if (h >= 'a' && h <= 'f') c |= static_cast<char32_t>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F') c |= static_cast<char32_t>(h - 'A' + 10);
            else return Failed("bad \\u escape");
        }
        return true;
    }

    // One UTF-8 character of the raw text, checked.
    bool TakeUtf8(std::string& out) {
        const auto lead = static_cast<unsigned char>(text_[at_]);
        std::size_t length = 0;
        char32_t least = 0;
        if (lead >= 0xC2 && lead <= 0xDF) length = 2, least = 0x80;
        else if (lead >= 0xE0 && lead <= 0xEF) length = 3, least = 0x800;
        else if (lead >= 0xF0 && lead <= 0xF4) length = 4, least = 0x10000;
        else return Failed("invalid UTF-8");
        if (text_.size() - at_ < length) return Failed("cut-off UTF-8");
        char32_t c = lead & (0x7F >> length);
        for (std::size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(text_[at_ + i]);
            if ((next & 0xC0) != 0x80) return Failed("invalid UTF-8");
            c = c << 6 | (next & 0x3F);
        }
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return Failed("invalid UTF-8");
        out.append(text_.substr(at_, length));
        at_ += length;
        return true;
    }

    bool ParseString(std::string& out) {
        ++at_; // the opening quote
        for (;;) {
            if (at_ >= text_.size()) return Failed("unterminated string");
            const auto c = static_cast<unsigned char>(text_[at_]);
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c < 0x20) return Failed("raw control character in a string");
            if (c >= 0x80) {
                if (!TakeUtf8(out)) return false;
                continue;
            }
            ++at_;
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (at_ >= text_.size()) return Failed("unterminated string");
            const char e = text_[at_++];
            switch (e) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                char32_t code = 0;
                if (!ParseHex4(code)) return false;
                if (code >= 0xDC00 && code <= 0xDFFF) return Failed("lone low surrogate");
                if (code >= 0xD800 && code <= 0xDBFF) {
                    char32_t low = 0;
                    if (!TakeWord("\\u") || !ParseHex4(low) || low < 0xDC00 || low > 0xDFFF)
                        return Failed("lone high surrogate");
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                }
                AppendUtf8(out, code);
                break;
            }
            default: return Failed("bad escape");
            }
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

} // namespace

std::optional<Value> Parse(std::string_view text, std::string* error) {
    Parser parser(text);
    std::optional<Value> value = parser.Document();
    if (!value && error) *error = parser.error;
    return value;
}

} // namespace lintara::testjson
