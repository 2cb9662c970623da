#include "tools/replay/json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

namespace beltrix::json {
namespace {

using namespace std::string_literals;

std::string nested(std::size_t depth) {
    return std::string(depth, '[') + std::string(depth, ']');
}

Value nestedValue(std::size_t depth) {
    Value value = Value::Array{};
    for (std::size_t i = 1; i < depth; ++i) {
        value = Value::Array{value};
    }
    return value;
}

struct Accepted {
    const char* name;
    std::string text;
    Value expected;
};

// Failures name the row rather than dump its bytes.
void PrintTo(const Accepted& row, std::ostream* out) {
    *out << row.name;
}

class ParseAccepts : public testing::TestWithParam<Accepted> {};

TEST_P(ParseAccepts, Value) {
    const ParseResult result = parse(GetParam().text);
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.value, GetParam().expected) << write(result.value);
}

INSTANTIATE_TEST_SUITE_P(
    Json, ParseAccepts,
    testing::Values(
        Accepted{"Literals", "[null, true, false]", Value::Array{nullptr, true, false}},
        Accepted{"Numbers", "[0, -0.5, 1e3, 1E-2, 123.456e+2, 2002, 18446744073709551615]",
                 Value::Array{0, -0.5, 1000, 0.01, 12345.6, 2002, 18446744073709551615.0}},
        Accepted{"EscapesDecoded", R"("a\"b\\c\/d\n\u0041\u00e9\uD83D\ude00")",
                 "a\"b\\c/d\nA\xC3\xA9\xF0\x9F\x98\x80"},
        Accepted{"EscapedNul", R"("a\u0000b")", "a\0b"s},
        Accepted{"KeysKeepTheirOrder", R"({"b": 1, "a": {"b": "x"}, "c": {}})",
                 Value::Object{{"b", 1}, {"a", Value::Object{{"b", "x"}}}, {"c", Value::Object{}}}},
        Accepted{"SameKeyInSeparateObjects", R"([{"k": 1}, {"k": 2}])",
                 Value::Array{Value::Object{{"k", 1}}, Value::Object{{"k", 2}}}},
        Accepted{"NestingAtTheBound", nested(maxDepth), nestedValue(maxDepth)}),
    [](const auto& info) { return std::string(info.param.name); });

struct Refused {
    const char* name;
    std::string text;
    std::string error;
};

void PrintTo(const Refused& row, std::ostream* out) {
    *out << row.name;
}

class ParseRefuses : public testing::TestWithParam<Refused> {};

TEST_P(ParseRefuses, WithReason) {
    const ParseResult result = parse(GetParam().text);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.error, GetParam().error);
}

// The offset is the byte at which reading stopped (the length of the text when it ran out); a
// number out of range and a duplicate key are refused where they start, nesting at the bracket
// one level too deep.
INSTANTIATE_TEST_SUITE_P(
    Json, ParseRefuses,
    testing::Values(
        Refused{"Nothing", "", "bad JSON: unexpected end of input at offset 0"},
        Refused{"UnclosedObject", R"({"a": 1)", "bad JSON: unexpected end of input at offset 7"},
        Refused{"TrailingGarbage", "{} x", "bad JSON: unexpected character at offset 3"},
        Refused{"NulAfterValue", "{}\0"s, "bad JSON: unexpected character at offset 2"},
        Refused{"NulBetweenTokens", "[1,\0 2]"s, "bad JSON: unexpected character at offset 3"},
        Refused{"ByteOrderMark", "\xEF\xBB\xBF[]", "bad JSON: unexpected character at offset 0"},
        Refused{"TrueAsAKey", "{true: 1}", "bad JSON: unexpected character at offset 4"},
        Refused{"TruncatedLiteral", "[tru]", "bad JSON: invalid literal at offset 4"},
        Refused{"NoExponentDigits", "1e+", "bad JSON: invalid number at offset 3"},
        Refused{"NumberBeyondDouble", "1e400", "bad JSON: number out of range at offset 0"},
        Refused{"NumberTooSmallForDouble", "[0, 1e-400]",
                "bad JSON: number out of range at offset 4"},
        Refused{"UnterminatedString", "[\"abc", "bad JSON: unterminated string at offset 5"},
        Refused{"RawControlCharacter", "\"a\tb\"",
                "bad JSON: control character in string at offset 2"},
        Refused{"UnknownEscape", R"("\x")", "bad JSON: invalid escape at offset 2"},
        Refused{"BadHexDigit", R"("\u12G4")", "bad JSON: invalid \\u escape at offset 5"},
        Refused{"LoneLowSurrogate", R"("\uDE00")", "bad JSON: lone surrogate in string at offset 6"},
        Refused{"HighSurrogateThenText", R"("\uD83Dx")",
                "bad JSON: lone surrogate in string at offset 7"},
        Refused{"LoneContinuationByte", "\"a\x80\"", "bad JSON: invalid UTF-8 at offset 2"},
        Refused{"OverlongTwoBytes", "\"\xC0\xAF\"", "bad JSON: invalid UTF-8 at offset 1"},
        Refused{"EncodedSurrogate", "\"\xED\xA0\x80\"", "bad JSON: invalid UTF-8 at offset 2"},
        Refused{"SequenceCutByQuote", "\"\xE2\x82\"", "bad JSON: invalid UTF-8 at offset 3"},
        Refused{"DuplicateKey", R"({"Text1": "a", "Text1": "b"})",
                "bad JSON: duplicate key \"Text1\" at offset 15"},
        Refused{"DuplicateKeySpelledWithEscape", R"({"a": 1, "\u0061": 2})",
                "bad JSON: duplicate key \"a\" at offset 9"},
        Refused{"DuplicateKeyWithEscapedQuote", R"({"a\"": 1, "a\"": 2})",
                "bad JSON: duplicate key \"a\\\"\" at offset 11"},
        Refused{"DuplicateKeyInInnerObject", R"({"x": {"k": 1, "k": 2}})",
                "bad JSON: duplicate key \"k\" at offset 15"},
        Refused{"NestingBeyondTheBound", nested(maxDepth + 1),
                "bad JSON: nesting deeper than 64 at offset 64"},
        Refused{"NestingFarBeyondTheBound", std::string(100000, '['),
                "bad JSON: nesting deeper than 64 at offset 64"},
        Refused{"ObjectNestingBeyondTheBound",
                [] {
                    std::string text;
                    for (std::size_t i = 0; i <= maxDepth; ++i) {
                        text += "{\"a\":";
                    }
                    return text;
                }(),
                "bad JSON: nesting deeper than 64 at offset 320"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Json, ParsesMegabyteStringsWhole) {
    const std::string plain(1 << 20, 'x');
    std::string escaped;
    for (int i = 0; i < (1 << 18); ++i) {
        escaped += "\\n\xC3\xA9";
    }
    const ParseResult result = parse("[\"" + plain + "\", \"" + escaped + "\"]");
    ASSERT_TRUE(result.ok()) << result.error;
    ASSERT_EQ(result.value.asArray().size(), 2u);
    EXPECT_EQ(result.value.asArray()[0].asString(), plain);
    const std::string& decoded = result.value.asArray()[1].asString();
    EXPECT_EQ(decoded.size(), 3u << 18);
    EXPECT_EQ(decoded.substr(decoded.size() - 6), "\n\xC3\xA9\n\xC3\xA9");
}

struct Written {
    const char* name;
    Value value;
    std::string expected;
};

void PrintTo(const Written& row, std::ostream* out) {
    *out << row.name;
}

class Writes : public testing::TestWithParam<Written> {};

TEST_P(Writes, Text) {
    EXPECT_EQ(write(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Json, Writes,
    testing::Values(
        Written{"IntegersWithoutDecimalPoint", Value::Array{73, -32768, 2002.0, 0},
                "[73, -32768, 2002, 0]"},
        Written{"Fractions", Value::Array{0.5, -1.25}, "[0.5, -1.25]"},
        Written{"NonFiniteAsNull", Value::Array{NAN, INFINITY}, "[null, null]"},
        Written{"Literals", Value::Array{nullptr, true, false}, "[null, true, false]"},
        Written{"Empties", Value::Array{Value::Array{}, Value::Object{}, ""}, R"([[], {}, ""])"},
        Written{"ObjectSeparatorsAndOrder", Value::Object{{"b", 1}, {"a", Value::Array{"x", 2}}},
                R"({"b": 1, "a": ["x", 2]})"},
        Written{"QuoteAndBackslash", "a\"b\\c", R"("a\"b\\c")"},
        Written{"NamedControlEscapes", "\b\f\n\r\t", R"("\b\f\n\r\t")"},
        Written{"OtherControlsAsUnicodeEscapes", "\0\x01\x1F"s, R"("\u0000\u0001\u001f")"},
        Written{"DelSlashAndNonAsciiAsTheyAre", "\x7F/\xC3\xA9\xF0\x9F\x98\x80",
                "\"\x7F/\xC3\xA9\xF0\x9F\x98\x80\""},
        // One U+FFFD for each stretch that cannot be read: a byte that starts nothing, or the
        // start of a sequence cut short (E2 82), or each byte of an encoded surrogate.
        Written{"InvalidUtf8AsReplacementCharacter",
                "a\xFF\xE2\x82"
                "b\xED\xA0\x80\xF0\x9F",
                "\"a\xEF\xBF\xBD\xEF\xBF\xBD"
                "b\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
        Written{"EscapedKeys", Value::Object{{"a\"\n", nullptr}}, R"({"a\"\n": null})"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Json, EveryCharacterSurvivesWriteThenParse) {
    std::string text;
    for (int c = 0; c < 0x80; ++c) {
        text += static_cast<char>(c);
    }
    text += "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    const Value value = Value::Object{{text, Value::Array{text, -7, 0.125}}};
    const std::string written = write(value);
    EXPECT_EQ(written.find_first_of("\n\r"), std::string::npos) << "an answer must be one line";
    const ParseResult reread = parse(written);
    ASSERT_TRUE(reread.ok()) << reread.error;
    EXPECT_EQ(reread.value, value);
}

TEST(Json, CanonicalTextSurvivesParseThenWrite) {
    const std::string text =
        R"({"events": [{"click": "Command9"}, {"write": "Text7", "text": "73"}], )"
        R"("fields": {"Text1": "\"\\\u0001\u00e9"}, "work": {"workA": 73, "workB": -1.5}})";
    const ParseResult result = parse(text);
    ASSERT_TRUE(result.ok()) << result.error;
    // \u00e9 is written back as the raw character, everything else exactly as it came.
    std::string expected = text;
    expected.replace(expected.find("\\u00e9"), 6, "\xC3\xA9");
    EXPECT_EQ(write(result.value), expected);
}

TEST(Json, FindLooksUpMembersByKey) {
    const Value object = Value::Object{{"a", 1}, {"b", "x"}};
    ASSERT_NE(object.find("b"), nullptr);
    EXPECT_EQ(*object.find("b"), Value("x"));
    EXPECT_EQ(object.find("c"), nullptr);
    EXPECT_EQ(Value("a").find("a"), nullptr);
}

} // namespace
} // namespace beltrix::json
