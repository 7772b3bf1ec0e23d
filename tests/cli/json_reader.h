#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lintara::testjson {

// A parsed JSON value. Objects keep their members in document order.
struct Value {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    std::string number; // the number's text as written
    std::string string; // UTF-8, escapes resolved
    std::vector<Value> array;
    std::vector<std::pair<std::string, Value>> members;

    // The member with this key; null when there is none.
    const Value* Find(std::string_view key) const;
};

// Parses the whole text as one JSON value under the strict grammar of RFC 8259: the text must be
// valid UTF-8, strings must not hold raw control characters, escapes and surrogate pairs must be
// well formed, and nothing but white space may follow the value. Empty on any fault, with a
// description and the byte offset in *error.
std::optional<Value> Parse(std::string_view text, std::string* error = nullptr);

} // namespace lintara::testjson
