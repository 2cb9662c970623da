#include "tools/replay/json.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <unordered_set>

namespace beltrix::json {

namespace {

// The length of the well-formed UTF-8 sequence starting at pos, or 0 if there is none. Overlong
// forms, encoded surrogates and code points beyond U+10FFFF are not well-formed.
std::size_t utf8SequenceLength(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) -> unsigned {
        return pos + i < text.size() ? static_cast<unsigned char>(text[pos + i]) : 0x100;
    };
    const auto continuation = [&](std::size_t i, unsigned low = 0x80, unsigned high = 0xBF) {
        return byte(i) >= low && byte(i) <= high;
    };
    const unsigned lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return continuation(1) ? 2 : 0;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned high = lead == 0xED ? 0x9F : 0xBF;
        return continuation(1, low, high) && continuation(2) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned high = lead == 0xF4 ? 0x8F : 0xBF;
        return continuation(1, low, high) && continuation(2) && continuation(3) ? 4 : 0;
    }
    return 0;
}

void appendUtf8(std::string& out, std::uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Bytes a string literal can hold as they are; the scanners copy runs of them in one go so that
// megabyte strings cost no more than a copy.
bool isPlain(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte < 0x80 && c != '"' && c != '\\';
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    ParseResult run() {
        ParseResult result;
        skipWhitespace();
        if (parseValue(result.value, 0)) {
            skipWhitespace();
            if (pos_ != text_.size()) {
                fail("unexpected character", pos_);
            }
        }
        if (!error_.empty()) {
            result.value = Value();
            result.error = std::move(error_);
        }
        return result;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::string error_;

    bool fail(std::string_view what, std::size_t offset) {
        error_ = "bad JSON: ";
        error_ += what;
        error_ += " at offset ";
        error_ += std::to_string(offset);
        return false;
    }

    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return text_[pos_]; }

    bool failUnexpected() {
        return fail(atEnd() ? "unexpected end of input" : "unexpected character", pos_);
    }

    void skipWhitespace() {
        while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')) {
            ++pos_;
        }
    }

    bool parseValue(Value& out, std::size_t depth) {
        if (atEnd()) {
            return failUnexpected();
        }
        switch (peek()) {
        case '{':
            return parseObject(out, depth + 1);
        case '[':
            return parseArray(out, depth + 1);
        case '"': {
            std::string text;
            if (!parseString(text)) {
                return false;
            }
            out = Value(std::move(text));
            return true;
        }
        case 't':
            return parseLiteral("true", Value(true), out);
        case 'f':
            return parseLiteral("false", Value(false), out);
        case 'n':
            return parseLiteral("null", Value(), out);
        default:
            if (peek() == '-' || isDigit(peek())) {
                return parseNumber(out);
            }
            return failUnexpected();
        }
    }

    bool parseLiteral(std::string_view word, Value value, Value& out) {
        if (text_.substr(pos_, word.size()) != word) {
            return fail("invalid literal", pos_);
        }
        pos_ += word.size();
        out = std::move(value);
        return true;
    }

    void skipDigits() {
        while (!atEnd() && isDigit(peek())) {
            ++pos_;
        }
    }

    bool parseNumber(Value& out) {
        const std::size_t start = pos_;
        if (peek() == '-') {
            ++pos_;
        }
        if (atEnd() || !isDigit(peek())) {
            return fail("invalid number", start);
        }
        // A leading zero stands alone: "012" is not a number.
        if (peek() == '0') {
            ++pos_;
        } else {
            skipDigits();
        }
        if (!atEnd() && peek() == '.') {
            ++pos_;
            if (atEnd() || !isDigit(peek())) {
                return fail("invalid number", start);
            }
            skipDigits();
        }
        if (!atEnd() && (peek() == 'e' || peek() == 'E')) {
            ++pos_;
            if (!atEnd() && (peek() == '+' || peek() == '-')) {
                ++pos_;
            }
            if (atEnd() || !isDigit(peek())) {
                return fail("invalid number", start);
            }
            skipDigits();
        }
        double number = 0;
        const auto [end, ec] = std::from_chars(text_.data() + start, text_.data() + pos_, number);
        if (ec != std::errc() || end != text_.data() + pos_) {
            return fail("number out of range", start);
        }
        out = Value(number);
        return true;
    }

    bool parseHex4(std::uint32_t& out) {
        if (text_.size() - pos_ < 4) {
            return fail("invalid \\u escape", pos_);
        }
        out = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            const char c = text_[pos_ + i];
            unsigned digit = 0;
            if (isDigit(c)) {
                digit = static_cast<unsigned>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                digit = static_cast<unsigned>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                digit = static_cast<unsigned>(c - 'A' + 10);
            } else {
                return fail("invalid \\u escape", pos_);
            }
            out = out * 16 + digit;
        }
        pos_ += 4;
        return true;
    }

    // pos_ is just past the backslash.
    bool parseEscape(std::string& out) {
        const std::size_t start = pos_ - 1;
        if (atEnd()) {
            return failUnexpected();
        }
        const char c = text_[pos_++];
        switch (c) {
        case '"':
        case '\\':
        case '/':
            out += c;
            return true;
        case 'b':
            out += '\b';
            return true;
        case 'f':
            out += '\f';
            return true;
        case 'n':
            out += '\n';
            return true;
        case 'r':
            out += '\r';
            return true;
        case 't':
            out += '\t';
            return true;
        case 'u':
            break;
        default:
            return fail("invalid escape", start);
        }
        std::uint32_t codePoint = 0;
        if (!parseHex4(codePoint)) {
            return false;
        }
        if (codePoint >= 0xDC00 && codePoint <= 0xDFFF) {
            return fail("lone surrogate in string", start);
        }
        if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
            if (text_.substr(pos_, 2) != "\\u") {
                return fail("lone surrogate in string", start);
            }
            pos_ += 2;
            std::uint32_t low = 0;
            if (!parseHex4(low)) {
                return false;
            }
            if (low < 0xDC00 || low > 0xDFFF) {
                return fail("lone surrogate in string", start);
            }
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (low - 0xDC00);
        }
        appendUtf8(out, codePoint);
        return true;
    }

    // pos_ is at the opening quote.
    bool parseString(std::string& out) {
        const std::size_t start = pos_++;
        while (true) {
            const std::size_t runStart = pos_;
            while (!atEnd() && isPlain(peek())) {
                ++pos_;
            }
            out.append(text_.substr(runStart, pos_ - runStart));
            if (atEnd()) {
                return fail("unterminated string", start);
            }
            const char c = peek();
            if (c == '"') {
                ++pos_;
                return true;
            }
            if (c == '\\') {
                ++pos_;
                if (!parseEscape(out)) {
                    return false;
                }
            } else if (static_cast<unsigned char>(c) < 0x20) {
                return fail("control character in string", pos_);
            } else {
                const std::size_t length = utf8SequenceLength(text_, pos_);
                if (length == 0) {
                    return fail("invalid UTF-8", pos_);
                }
                out.append(text_.substr(pos_, length));
                pos_ += length;
            }
        }
    }

    bool enter(std::size_t depth) {
        if (depth > maxDepth) {
            return fail("nesting deeper than " + std::to_string(maxDepth), pos_);
        }
        ++pos_;
        skipWhitespace();
        return true;
    }

    bool parseArray(Value& out, std::size_t depth) {
        if (!enter(depth)) {
            return false;
        }
        Value::Array items;
        if (!atEnd() && peek() == ']') {
            ++pos_;
            out = Value(std::move(items));
            return true;
        }
        while (true) {
            Value item;
            if (!parseValue(item, depth)) {
                return false;
            }
            items.push_back(std::move(item));
            skipWhitespace();
            if (atEnd()) {
                return failUnexpected();
            }
            if (peek() == ']') {
                ++pos_;
                out = Value(std::move(items));
                return true;
            }
            if (peek() != ',') {
                return failUnexpected();
            }
            ++pos_;
            skipWhitespace();
        }
    }

    bool parseObject(Value& out, std::size_t depth) {
        if (!enter(depth)) {
            return false;
        }
        Value::Object members;
        std::unordered_set<std::string> keys;
        if (!atEnd() && peek() == '}') {
            ++pos_;
            out = Value(std::move(members));
            return true;
        }
        while (true) {
            if (atEnd() || peek() != '"') {
                return failUnexpected();
            }
            const std::size_t keyStart = pos_;
            std::string key;
            if (!parseString(key)) {
                return false;
            }
            if (!keys.insert(key).second) {
                return fail("duplicate key " + quote(key), keyStart);
            }
            skipWhitespace();
            if (atEnd() || peek() != ':') {
                return failUnexpected();
            }
            ++pos_;
            skipWhitespace();
            Value value;
            if (!parseValue(value, depth)) {
                return false;
            }
            members.emplace_back(std::move(key), std::move(value));
            skipWhitespace();
            if (atEnd()) {
                return failUnexpected();
            }
            if (peek() == '}') {
                ++pos_;
                out = Value(std::move(members));
                return true;
            }
            if (peek() != ',') {
                return failUnexpected();
            }
            ++pos_;
            skipWhitespace();
        }
    }
};

void writeString(std::string& out, std::string_view text) {
    static constexpr char hex[] = "0123456789abcdef";
    out += '"';
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t runStart = pos;
        while (pos < text.size() && isPlain(text[pos])) {
            ++pos;
        }
        out.append(text.substr(runStart, pos - runStart));
        if (pos == text.size()) {
            break;
        }
        const char c = text[pos];
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\b') {
            out += "\\b";
        } else if (c == '\f') {
            out += "\\f";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20) {
            out += "\\u00";
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        } else {
            const std::size_t length = utf8SequenceLength(text, pos);
            if (length == 0) {
                out += "\xEF\xBF\xBD";
                ++pos;
            } else {
                out.append(text.substr(pos, length));
                pos += length;
            }
            continue;
        }
        ++pos;
    }
    out += '"';
}

void writeNumber(std::string& out, double number) {
    if (!std::isfinite(number)) {
        out += "null";
        return;
    }
    char buffer[32];
    // Below 2^53 every integral double is exact, so it can go through an integer.
    const bool integral = number == std::trunc(number) && std::fabs(number) < 9007199254740992.0;
    const auto [end, ec] =
        integral ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(number))
                 : std::to_chars(buffer, buffer + sizeof buffer, number);
    out.append(buffer, ec == std::errc() ? end : buffer);
}

void writeValue(std::string& out, const Value& value) {
    switch (value.kind()) {
    case Value::Kind::Null:
        out += "null";
        break;
    case Value::Kind::Bool:
        out += value.asBool() ? "true" : "false";
        break;
    case Value::Kind::Number:
        writeNumber(out, value.asNumber());
        break;
    case Value::Kind::String:
        writeString(out, value.asString());
        break;
    case Value::Kind::Array: {
        out += '[';
        const char* separator = "";
        for (const Value& item : value.asArray()) {
            out += separator;
            writeValue(out, item);
            separator = ", ";
        }
        out += ']';
        break;
    }
    case Value::Kind::Object: {
        out += '{';
        const char* separator = "";
        for (const auto& [key, member] : value.asObject()) {
            out += separator;
            writeString(out, key);
            out += ": ";
            writeValue(out, member);
            separator = ", ";
        }
        out += '}';
        break;
    }
    }
}

} // namespace

const Value* Value::find(std::string_view key) const {
    for (const auto& [name, member] : object_) {
        if (name == key) {
            return &member;
        }
    }
    return nullptr;
}

bool Value::operator==(const Value& other) const {
    if (kind_ != other.kind_) {
        return false;
    }
    switch (kind_) {
    case Kind::Null:
        return true;
    case Kind::Bool:
        return bool_ == other.bool_;
    case Kind::Number:
        return number_ == other.number_;
    case Kind::String:
        return string_ == other.string_;
    case Kind::Array:
        return array_ == other.array_;
    case Kind::Object:
        return object_ == other.object_;
    }
    return false;
}

ParseResult parse(std::string_view text) {
    return Parser(text).run();
}

std::string write(const Value& value) {
    std::string out;
    writeValue(out, value);
    return out;
}

std::string quote(std::string_view text) {
    std::string out;
    writeString(out, text);
    return out;
}

} // namespace beltrix::json
