// Reading and writing numbers: the readings an operator's text can take, the half-to-even
// rounding of every integer, and the fifteen-digit texts the calculations write back.

#include "calc/conversions.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>
#include <locale>
#include <optional>
#include <string>

namespace beltrix {
namespace {

struct TextCase {
    const char* name;
    std::string text;
    std::optional<double> value; // nullopt: the conversion fails
    Cause cause = Cause::NotANumber;
};

std::ostream& operator<<(std::ostream& out, const TextCase& c) {
    return out << c.name;
}

void expectReading(const TextCase& c, const Converted<double>& got) {
    if (c.value) {
        ASSERT_TRUE(got.ok()) << "failed on \"" << c.text << "\"";
        EXPECT_EQ(got.value, *c.value) << "reading \"" << c.text << "\"";
    } else {
        ASSERT_FALSE(got.ok()) << "read \"" << c.text << "\" as " << got.value;
        EXPECT_EQ(*got.failure, c.cause);
    }
}

class NumberFromTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(NumberFromTextTest, ReadsTheLeadingNumber) {
    expectReading(GetParam(), NumberFromText(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberFromTextTest,
    testing::Values(
        TextCase{"Empty", "", 0.0}, TextCase{"Letters", "abc", 0.0},
        TextCase{"SingleBlank", " ", 0.0}, TextCase{"Plain", "2002", 2002.0},
        TextCase{"BlanksAround", "  2002  ", 2002.0}, TextCase{"BlankInside", "20 02", 2002.0},
        TextCase{"TabsAndLineFeedsInside", "\t2\n00\t2", 2002.0},
        TextCase{"CarriageReturnEndsIt", "20\r02", 20.0},
        TextCase{"TrailingLetters", "2002abc", 2002.0}, TextCase{"CommaEndsIt", "1,5", 1.0},
        TextCase{"Negative", "-5", -5.0}, TextCase{"BlankAfterSign", "- 5", -5.0},
        TextCase{"Plus", "+7", 7.0}, TextCase{"TwoSigns", "--5", 0.0},
        TextCase{"Exponent", "1.5E2", 150.0}, TextCase{"ExponentD", "1.5d2", 150.0},
        TextCase{"NegativeExponent", "25e-1", 2.5}, TextCase{"ExponentWithoutDigits", "7E+", 7.0},
        TextCase{"SecondPointEndsIt", "3.7.2", 3.7}, TextCase{"LeadingPoint", ".5", 0.5},
        TextCase{"TrailingPoint", "5.", 5.0}, TextCase{"PointAlone", ".", 0.0},
        TextCase{"Hex", "&H7D2", 2002.0}, TextCase{"HexLowerCase", "&h7d2", 2002.0},
        TextCase{"HexFFFFIsMinusOne", "&HFFFF", -1.0}, TextCase{"Hex8000", "&H8000", -32768.0},
        TextCase{"Hex10000", "&H10000", 65536.0}, TextCase{"Hex32Bit", "&HFFFFFFFF", -1.0},
        TextCase{"HexLeadingZerosCountByValue", "&H0000FFFF", -1.0},
        TextCase{"HexStopsAtNonDigit", "&H1G", 1.0}, TextCase{"HexWithoutDigits", "&H", 0.0},
        TextCase{"Octal", "&O17", 15.0}, TextCase{"Octal177777", "&O177777", -1.0},
        TextCase{"OctalStopsAt8", "&O78", 7.0}, TextCase{"SignedHexIsNoNumber", "-&H10", 0.0},
        TextCase{"AmpersandAlone", "&12", 0.0}, TextCase{"NegativeZero", "-0", 0.0},
        TextCase{"FullWidthDigitIsNoDigit", "\xEF\xBC\x95", 0.0},
        TextCase{"NulEndsIt",
                 std::string("12\0"
                             "3",
                             4),
                 12.0},
        TextCase{"LongestDouble", "1.7976931348623157E308", std::numeric_limits<double>::max()},
        TextCase{"Underflow", "1E-400", 0.0},
        TextCase{"ManyZerosThenTiny", "0." + std::string(5000, '0') + "1", 0.0},
        TextCase{"BeyondDoubleRange", "1E400", std::nullopt, Cause::TooLarge},
        TextCase{"RoundsUpToInfinity", "1.7976931348623159E308", std::nullopt, Cause::TooLarge},
        TextCase{"HugeExponentDigits", "1E99999999999999999999", std::nullopt, Cause::TooLarge},
        TextCase{"HexBeyond32Bits", "&HFFFFFFFFF", std::nullopt, Cause::TooLarge},
        TextCase{"MegabyteOfDigits", std::string(1 << 20, '9'), std::nullopt, Cause::TooLarge},
        TextCase{"MegabyteOfDigitsAfterPoint", "0." + std::string(1 << 20, '3'), 1.0 / 3}),
    [](const auto& info) { return std::string(info.param.name); });

class StrictNumberFromTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(StrictNumberFromTextTest, ReadsTheWholeText) {
    expectReading(GetParam(), StrictNumberFromText(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StrictNumberFromTextTest,
    testing::Values(TextCase{"Plain", "2002", 2002.0}, TextCase{"BlanksAround", "  2002 ", 2002.0},
                    TextCase{"GroupSeparators", "1,000", 1000.0},
                    TextCase{"GroupsAndFraction", "1,000.5", 1000.5},
                    TextCase{"NegativeFraction", "-0.5", -0.5}, TextCase{"Plus", "+3", 3.0},
                    TextCase{"Exponent", "1.5e2", 150.0}, TextCase{"LeadingPoint", ".25", 0.25},
                    TextCase{"TrailingPoint", "5.", 5.0}, TextCase{"Hex", "&H7D2", 2002.0},
                    TextCase{"HexFFFF", "&hffff", -1.0}, TextCase{"Octal", "&o10", 8.0},
                    TextCase{"Empty", "", std::nullopt}, TextCase{"Blanks", "   ", std::nullopt},
                    TextCase{"TrailingLetters", "2002abc", std::nullopt},
                    TextCase{"BlankInside", "20 02", std::nullopt},
                    TextCase{"BlankAfterSign", "- 5", std::nullopt},
                    TextCase{"Tab", "\t5", std::nullopt},
                    TextCase{"LeadingComma", ",5", std::nullopt},
                    TextCase{"DoubleComma", "1,,000", std::nullopt},
                    TextCase{"TrailingComma", "1,", std::nullopt},
                    TextCase{"CommaBeforePoint", "1,.5", std::nullopt},
                    TextCase{"UnevenGroups", "1,0,00", 1000.0},
                    TextCase{"SecondPoint", "3.7.2", std::nullopt},
                    TextCase{"PointAlone", ".", std::nullopt},
                    TextCase{"ExponentWithoutDigits", "1E", std::nullopt},
                    TextCase{"ExponentLetterD", "1D2", std::nullopt},
                    TextCase{"HexWithoutDigits", "&H", std::nullopt},
                    TextCase{"HexTrailingGarbage", "&H1G", std::nullopt},
                    TextCase{"SignOnly", "-", std::nullopt},
                    TextCase{"NulInside",
                             std::string("1\0"
                                         "2",
                                         3),
                             std::nullopt},
                    TextCase{"BeyondDoubleRange", "1E400", std::nullopt, Cause::TooLarge},
                    TextCase{"HexBeyond32Bits", "&H100000000", std::nullopt, Cause::TooLarge}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IntegerFromNumber, RoundsHalfToEvenWithinSixteenBits) {
    struct Case {
        double number;
        std::optional<int> integer;
    } cases[] = {
        {47.5, 48},
        {46.5, 46},
        {0.5, 0},
        {-0.5, 0},
        {-1.5, -2},
        {2.5, 2},
        {0.6, 1},
        {-0.6, -1},
        {32767.4, 32767},
        {-32768.5, -32768},
        {32767.5, {}},
        {-32768.6, {}},
        {40000, {}},
        {-0.0, 0},
        {1e300, {}},
        {-1e300, {}},
        {0.49999999999999994, 0},
    };
    for (const Case& c : cases) {
        Converted<std::int16_t> got = IntegerFromNumber(c.number);
        if (c.integer) {
            ASSERT_TRUE(got.ok()) << c.number;
            EXPECT_EQ(got.value, *c.integer) << c.number;
        } else {
            ASSERT_FALSE(got.ok()) << c.number << " gave " << got.value;
            EXPECT_EQ(*got.failure, Cause::OutOfRange);
        }
    }
}

TEST(IntegerFromText, FailsWhereTheStrictReadingOrTheRangeFails) {
    EXPECT_EQ(IntegerFromText(" 48.5 ").value, 48);
    EXPECT_EQ(IntegerFromText("1,000").value, 1000);
    EXPECT_EQ(IntegerFromText(" ").failure, Cause::NotANumber);
    EXPECT_EQ(IntegerFromText("5x").failure, Cause::NotANumber);
    EXPECT_EQ(IntegerFromText("40000").failure, Cause::OutOfRange);
    EXPECT_EQ(IntegerFromText("1E400").failure, Cause::TooLarge);
}

TEST(TextFromNumber, WritesFifteenSignificantDigits) {
    struct Case {
        double number;
        const char* text;
    } cases[] = {
        {73, "73"},
        {0, "0"},
        {-0.0, "0"},
        {-27, "-27"},
        {200.4 - 127, "73.4"},
        {200.7 - 127, "73.7"},
        {128.1 - 127, "1.09999999999999"},
        {0.5, "0.5"},
        {-0.25, "-0.25"},
        {47.5, "47.5"},
        {0.1, "0.1"},
        {1e15, "1E+15"},
        {-1e15, "-1E+15"},
        {4.8e21, "4.8E+21"},
        {1e15 + 0.125 * 1024, "1.00000000000013E+15"},
        {123456789012345, "123456789012345"},
        {999999999999999, "999999999999999"},
        {123456789012345.6, "123456789012346"},
        {99999999999999.99, "100000000000000"},
        {127.1 - 127, "9.99999999999943E-02"},
        {0.05, "5E-02"},
        {1e-300, "1E-300"},
        {std::numeric_limits<double>::max(), "1.79769313486232E+308"},
        {1e100, "1E+100"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextFromNumber(c.number), c.text) << "writing " << c.number;
    }
}

TEST(TextFromNumber, ReadsBackAsTheNumberRoundedToFifteenDigits) {
    for (double x : {73.69999999999999, 1.0999999999999943, 0.0999999999999943,
                     -123.456789012345678, 2.0 / 3, 1e-5 / 3, 6.02214076e23, 1e15 + 0.5}) {
        char digits[40];
        auto written =
            std::to_chars(digits, digits + sizeof digits, x, std::chars_format::scientific, 14);
        double rounded = 0;
        std::from_chars(digits, written.ptr, rounded);

        Converted<double> back = NumberFromText(TextFromNumber(x));
        ASSERT_TRUE(back.ok());
        EXPECT_EQ(back.value, rounded) << TextFromNumber(x);
    }
}

TEST(TextFromInteger, WritesDecimalDigits) {
    EXPECT_EQ(TextFromInteger(-3), "-3");
    EXPECT_EQ(TextFromInteger(0), "0");
    EXPECT_EQ(TextFromInteger(48), "48");
    EXPECT_EQ(TextFromInteger(-32768), "-32768");
}

TEST(TruncateNumber, DropsTheFractionTowardZero) {
    EXPECT_EQ(TruncateNumber(1.9), 1);
    EXPECT_EQ(TruncateNumber(8.02), 8);
    EXPECT_EQ(TruncateNumber(-1.125), -1);
    EXPECT_EQ(TruncateNumber(-0.2), 0);
    EXPECT_EQ(TextFromNumber(TruncateNumber(-27 / 24.0) + 1), "0");
}

TEST(IntegerArithmetic, RemainderTakesTheSignOfTheDividend) {
    EXPECT_EQ(Remainder(-27, 24), -3);
    EXPECT_EQ(Remainder(48, 48), 0);
    EXPECT_EQ(Remainder(73, 48), 25);
    EXPECT_EQ(Remainder(-24, 24), 0);
    EXPECT_EQ(SubtractOne(1).value, 0);
    EXPECT_EQ(SubtractOne(-32767).value, -32768);
    EXPECT_EQ(SubtractOne(-32768).failure, Cause::OutOfRange);
}

// Operators' desktops may use "," as the decimal point; the fields always use ".".
TEST(Locale, CommaDecimalPointChangesNothing) {
    const char* candidates[] = {"de_DE.UTF-8", "de_DE.utf8",  "fr_FR.UTF-8",
                                "fr_FR.utf8",  "nl_NL.UTF-8", "ru_RU.UTF-8"};
    const char* found = nullptr;
    for (const char* name : candidates) {
        if (std::setlocale(LC_ALL, name) != nullptr && *std::localeconv()->decimal_point == ',') {
            found = name;
            break;
        }
    }
    if (found == nullptr) {
        std::setlocale(LC_ALL, "C");
        GTEST_SKIP() << "this machine has no locale with a comma as decimal point";
    }
    std::locale previous = std::locale::global(std::locale(found));

    EXPECT_EQ(NumberFromText("1.5").value, 1.5);
    EXPECT_EQ(NumberFromText("1,5").value, 1.0);
    EXPECT_EQ(StrictNumberFromText("1,000.25").value, 1000.25);
    EXPECT_EQ(StrictNumberFromText("2.5e1").value, 25.0);
    EXPECT_EQ(TextFromNumber(200.7 - 127), "73.7");
    EXPECT_EQ(TextFromNumber(127.1 - 127), "9.99999999999943E-02");
    EXPECT_EQ(TextFromNumber(4.8e21), "4.8E+21");
    EXPECT_EQ(TextFromNumber(123456789012345), "123456789012345");

    std::locale::global(previous);
    std::setlocale(LC_ALL, "C");
}

} // namespace
} // namespace beltrix
