// A strict JSON reader for the tests: what a program writes as JSON must parse whole, and the
// test looks at the values by key.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::testing {

struct Json {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;                 // a string's value (UTF-8)
    std::vector<Json> items;          // an array's
    std::map<std::string, Json> members;  // an object's

    bool has(const std::string& key) const { return kind == Kind::Object && members.count(key) > 0; }
    const Json& operator[](const std::string& key) const;  // Null when there is no such member
};

// The value `text` holds, with nothing but white space around it; nothing (and `error` set,
// with the offset) when it is not JSON.
std::optional<Json> parseJson(std::string_view text, std::string& error);

}  // namespace velmora::testing
