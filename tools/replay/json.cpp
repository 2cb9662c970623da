#include "tools/replay/json.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <string>
#include <unordered_set>
#include <vector>

namespace beltrix::json {

namespace {

// A pointer into the text that also counts the bytes the library has taken, so that a value can
// be refused at the offset where it stands. The library reads through it one byte at a time.
class CountingIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    CountingIterator(const char* at, std::size_t* taken) : at_(at), taken_(taken) {}

    const char& operator*() const { return *at_; }
    CountingIterator& operator++() {
        ++at_;
        ++*taken_;
        return *this;
    }
    CountingIterator operator++(int) {
        CountingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const CountingIterator& other) const { return at_ == other.at_; }

private:
    const char* at_;
    std::size_t* taken_;
};

// The library's account of a malformed text, in the words this tool has always used: the first
// entry whose phrase the library's message holds gives the reason.
struct ErrorWording {
    const char* libraryPhrase;
    const char* what;
};

constexpr ErrorWording errorWordings[] = {
    {"ill-formed UTF-8 byte", "invalid UTF-8"},
    {"control character", "control character in string"},
    {"surrogate U+", "lone surrogate in string"},
    {"must be followed by 4 hex digits", "invalid \\u escape"},
    {"forbidden character after backslash", "invalid escape"},
    {"missing closing quote", "unterminated string"},
    {"invalid number", "invalid number"},
};

// Builds a Value from the library's reading, refusing what the library would let through:
// duplicate keys, nesting beyond maxDepth and numbers a double cannot hold.
class Builder {
public:
    using Library = nlohmann::json;

    Builder(std::string_view text, const std::size_t& taken) : text_(text), taken_(taken) {}

    Value value;
    std::string error;

    bool null() { return add(Value()); }
    bool boolean(bool b) { return add(Value(b)); }
    bool number_integer(Library::number_integer_t n) { return add(Value(static_cast<double>(n))); }
    bool number_unsigned(Library::number_unsigned_t n) {
        return add(Value(static_cast<double>(n)));
    }
    bool number_float(Library::number_float_t, const Library::string_t& written) {
        // The library takes what strtod makes of the text; out of range means refused here, as
        // for a number too small to be told from zero.
        double number = 0;
        const auto [end, ec] =
            std::from_chars(written.data(), written.data() + written.size(), number);
        if (ec != std::errc() || end != written.data() + written.size()) {
            return fail("number out of range", numberStart(written));
        }
        return add(Value(number));
    }
    bool string(Library::string_t& s) { return add(Value(std::move(s))); }
    bool binary(Library::binary_t&) { return false; } // JSON text has no binary values

    bool start_object(std::size_t) { return open(true); }
    bool start_array(std::size_t) { return open(false); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }

    bool key(Library::string_t& name) {
        Level& level = levels_.back();
        if (!level.keys.insert(name).second) {
            return fail("duplicate key " + quote(name), keyStart());
        }
        level.key = std::move(name);
        return true;
    }

    // The offset in a reason is the byte at which the library gave up, or the length of the text
    // when it ran out of it; a number out of range is refused at its start.
    bool parse_error(std::size_t position, const std::string& lastToken,
                     const nlohmann::detail::exception& exception) {
        // What the library says, without the bytes it quotes from the text.
        std::string_view message = exception.what();
        message = message.substr(0, message.find("; last read: "));
        const std::size_t stopped = position - 1;
        if (message.find("number overflow") != std::string_view::npos) {
            return fail("number out of range", position - lastToken.size());
        }
        if (message.find("unexpected end of input") != std::string_view::npos) {
            // The library also takes a NUL byte between tokens for the end.
            return fail(stopped < text_.size() ? "unexpected character" : "unexpected end of input",
                        stopped);
        }
        for (const ErrorWording& wording : errorWordings) {
            if (message.find(wording.libraryPhrase) != std::string_view::npos) {
                return fail(wording.what, stopped);
            }
        }
        // The library calls any byte it cannot start a token with an invalid literal; here that is
        // only a true, false or null that breaks off.
        const bool literal = message.find("invalid literal") != std::string_view::npos &&
                             breaksOffALiteral(stopped);
        return fail(literal ? "invalid literal" : "unexpected character", stopped);
    }

    // A NUL byte after the value ends the library's input early.
    bool endedEarly() const { return taken_ > 0 && text_[taken_ - 1] == '\0'; }

private:
    struct Level {
        bool isObject = false;
        Value::Array items;
        Value::Object members;
        std::string key;
        std::unordered_set<std::string> keys;
    };

    static constexpr std::string_view literals[] = {"true", "false", "null"};

    std::string_view text_;
    const std::size_t& taken_; // bytes the library has read so far
    std::vector<Level> levels_;

    bool fail(std::string_view what, std::size_t offset) {
        error = "bad JSON: ";
        error += what;
        error += " at offset ";
        error += std::to_string(offset);
        return false;
    }

    bool add(Value item) {
        if (levels_.empty()) {
            value = std::move(item);
        } else if (levels_.back().isObject) {
            levels_.back().members.emplace_back(std::move(levels_.back().key), std::move(item));
        } else {
            levels_.back().items.push_back(std::move(item));
        }
        return true;
    }

    bool open(bool isObject) {
        if (levels_.size() == maxDepth) {
            // The library has just read the bracket.
            return fail("nesting deeper than " + std::to_string(maxDepth), taken_ - 1);
        }
        levels_.push_back({});
        levels_.back().isObject = isObject;
        return true;
    }

    bool close() {
        Level level = std::move(levels_.back());
        levels_.pop_back();
        return level.isObject ? add(Value(std::move(level.members)))
                              : add(Value(std::move(level.items)));
    }

    // Whether the letters just before `stopped` begin true, false or null without finishing it.
    bool breaksOffALiteral(std::size_t stopped) const {
        std::size_t start = stopped;
        while (start > 0 && text_[start - 1] >= 'a' && text_[start - 1] <= 'z') {
            --start;
        }
        const std::string_view letters = text_.substr(start, stopped - start);
        return !letters.empty() && std::any_of(std::begin(literals), std::end(literals),
                                               [&](std::string_view word) {
                                                   return letters.size() < word.size() &&
                                                          word.starts_with(letters);
                                               });
    }

    // A number is known only once the library has read the byte after it, if there is one.
    std::size_t numberStart(const std::string& written) const {
        const bool readPast = text_.substr(taken_ - written.size(), written.size()) != written;
        return taken_ - written.size() - (readPast ? 1 : 0);
    }

    // A key is known once the library has read its closing quote; its opening quote is the
    // nearest quote before that is not escaped by an odd run of backslashes.
    std::size_t keyStart() const {
        std::size_t quote = taken_ - 1;
        while (true) {
            quote = text_.rfind('"', quote - 1);
            std::size_t backslashes = 0;
            while (text_[quote - 1 - backslashes] == '\\') {
                ++backslashes;
            }
            if (backslashes % 2 == 0) {
                return quote;
            }
        }
    }
};

// Integral numbers are written without a decimal point, as the library writes integers;
// non-finite ones, which JSON cannot express, as null.
nlohmann::ordered_json toLibrary(const Value& value) {
    switch (value.kind()) {
    case Value::Kind::Null:
        return nullptr;
    case Value::Kind::Bool:
        return value.asBool();
    case Value::Kind::Number: {
        const double number = value.asNumber();
        if (!std::isfinite(number)) {
            return nullptr;
        }
        // Below 2^53 every integral double is exact, so it can go through an integer.
        if (number == std::trunc(number) && std::fabs(number) < 9007199254740992.0) {
            return static_cast<std::int64_t>(number);
        }
        return number;
    }
    case Value::Kind::String:
        return value.asString();
    case Value::Kind::Array: {
        nlohmann::ordered_json items = nlohmann::ordered_json::array();
        for (const Value& item : value.asArray()) {
            items.push_back(toLibrary(item));
        }
        return items;
    }
    case Value::Kind::Object: {
        nlohmann::ordered_json members = nlohmann::ordered_json::object();
        for (const auto& [key, member] : value.asObject()) {
            members[key] = toLibrary(member);
        }
        return members;
    }
    }
    return nullptr;
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
    ParseResult result;
    // The library skips a byte order mark; inside a line it is a stray character.
    if (text.starts_with('\xEF')) {
        result.error = "bad JSON: unexpected character at offset 0";
        return result;
    }
    std::size_t taken = 0;
    Builder builder(text, taken);
    const CountingIterator begin(text.data(), &taken);
    const CountingIterator end(text.data() + text.size(), &taken);
    if (nlohmann::json::sax_parse(begin, end, &builder)) {
        if (builder.endedEarly()) {
            result.error = "bad JSON: unexpected character at offset " + std::to_string(taken - 1);
            return result;
        }
        result.value = std::move(builder.value);
    } else {
        result.error = std::move(builder.error);
    }
    return result;
}

std::string write(const Value& value) {
    // Indented by zero, the library puts each member on a line of its own after ": ". Strings
    // never hold a raw line break (the library escapes it), so every line break is layout: one
    // after a comma becomes a blank, the others go.
    const std::string lines =
        toLibrary(value).dump(0, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    std::string out;
    out.reserve(lines.size());
    for (const char c : lines) {
        if (c != '\n') {
            out += c;
        } else if (!out.empty() && out.back() == ',') {
            out += ' ';
        }
    }
    return out;
}

std::string quote(std::string_view text) {
    return write(Value(text));
}

} // namespace beltrix::json
