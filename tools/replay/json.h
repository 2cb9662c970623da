#pragma once

// The JSON the replay tool and beltrix-calc speak: one value per line, read strictly so that a
// malformed request is answered as invalid rather than guessed at, and written so that any value
// comes out as valid JSON on a single line. nlohmann-json does the reading and writing; this
// header keeps it out of the code that builds requests and answers.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace beltrix::json {

class Value {
public:
    enum class Kind { Null, Bool, Number, String, Array, Object };
    using Array = std::vector<Value>;
    // Members stay in the order they were read or added; a request's keys are echoed back in
    // messages, and answers list their keys in a fixed order.
    using Object = std::vector<std::pair<std::string, Value>>;

    Value() = default;
    Value(std::nullptr_t) {}
    Value(bool value) : kind_(Kind::Bool), bool_(value) {}
    Value(double value) : kind_(Kind::Number), number_(value) {}
    Value(int value) : Value(static_cast<double>(value)) {}
    Value(std::string value) : kind_(Kind::String), string_(std::move(value)) {}
    Value(std::string_view value) : Value(std::string(value)) {}
    // Without this, a string literal would pick the bool constructor.
    Value(const char* value) : Value(std::string(value)) {}
    Value(Array value) : kind_(Kind::Array), array_(std::move(value)) {}
    Value(Object value) : kind_(Kind::Object), object_(std::move(value)) {}

    Kind kind() const { return kind_; }
    bool isNull() const { return kind_ == Kind::Null; }
    bool isBool() const { return kind_ == Kind::Bool; }
    bool isNumber() const { return kind_ == Kind::Number; }
    bool isString() const { return kind_ == Kind::String; }
    bool isArray() const { return kind_ == Kind::Array; }
    bool isObject() const { return kind_ == Kind::Object; }

    // Each accessor returns the stored value of its kind, and an empty or zero one for a value
    // of another kind.
    bool asBool() const { return bool_; }
    double asNumber() const { return number_; }
    const std::string& asString() const { return string_; }
    const Array& asArray() const { return array_; }
    const Object& asObject() const { return object_; }

    // The member with this key, or nullptr (also when this is not an object).
    const Value* find(std::string_view key) const;

    bool operator==(const Value& other) const;

private:
    Kind kind_ = Kind::Null;
    bool bool_ = false;
    double number_ = 0;
    std::string string_;
    Array array_;
    Object object_;
};

// Arrays and objects nested deeper than this are refused, so that no input can exhaust the stack.
inline constexpr std::size_t maxDepth = 64;

struct ParseResult {
    Value value;
    // Empty on success; otherwise why the text was refused, as
    // "bad JSON: unexpected character at offset 12".
    std::string error;

    bool ok() const { return error.empty(); }
};

// Reads exactly one JSON value surrounded by optional whitespace. Refused besides malformed
// JSON: anything after the value (a NUL byte and a byte order mark included), invalid UTF-8
// (surrogates encoded directly included), an escaped surrogate that is not part of a pair,
// duplicate keys in an object, nesting beyond maxDepth, and numbers whose magnitude a double
// cannot hold. The offset in the error is the byte where reading stopped, or the text's length
// when it ended too soon; a bad number and a duplicate key are placed at their start.
ParseResult parse(std::string_view text);

// One line of JSON with ", " and ": " separators. Numbers with an integral value are written
// without a decimal point; non-finite numbers, which JSON cannot express, as null. Control
// characters are escaped and other characters written as raw UTF-8; each stretch of bytes that
// is not valid UTF-8 becomes one U+FFFD so that the output is always valid JSON.
std::string write(const Value& value);

// A string as a quoted JSON string literal, as write() would render it.
std::string quote(std::string_view text);

} // namespace beltrix::json
