#include "calc/conversions.h"

#include <cassert>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace beltrix {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Decimal digits of an integer, without the locale.
std::string digitsOf(long long value) {
    char buffer[24];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    assert(ec == std::errc());
    return std::string(buffer, end);
}

int digitValue(char c, int radix) {
    int v = -1;
    if (c >= '0' && c <= '9') {
        v = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        v = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        v = c - 'A' + 10;
    }
    return v < radix ? v : -1;
}

// The parts of a decimal number as read from a text: digits before and after the point and
// the exponent, which saturates far beyond anything a double can hold.
struct Decimal {
    bool negative = false;
    std::string_view integerDigits;
    std::string_view fractionDigits;
    long long exponent = 0;
};

constexpr long long exponentLimit = 1'000'000'000'000LL;

void addExponentDigit(long long& exponent, char digit) {
    if (exponent < exponentLimit) {
        exponent = exponent * 10 + (digit - '0');
    }
}

// The value of a decimal number, correctly rounded.
Converted<double> valueOf(const Decimal& d) {
    // Where the first significant digit stands decides between overflow and underflow when
    // the value leaves the double range.
    std::string_view digits = d.integerDigits;
    long long order = 0;
    std::size_t first = digits.find_first_not_of('0');
    if (first != std::string_view::npos) {
        order = static_cast<long long>(digits.size() - first);
    } else {
        first = d.fractionDigits.find_first_not_of('0');
        if (first == std::string_view::npos) {
            return Converted<double>::success(d.negative ? -0.0 : 0.0);
        }
        order = -static_cast<long long>(first);
    }
    order += d.exponent;
    if (order > 400) {
        return Converted<double>::failed(Cause::TooLarge);
    }
    if (order < -400) {
        return Converted<double>::success(d.negative ? -0.0 : 0.0);
    }

    std::string normal;
    normal.reserve(d.integerDigits.size() + d.fractionDigits.size() + 24);
    if (d.negative) {
        normal += '-';
    }
    normal += d.integerDigits.empty() ? std::string_view("0") : d.integerDigits;
    if (!d.fractionDigits.empty()) {
        normal += '.';
        normal += d.fractionDigits;
    }
    normal += 'e';
    normal += digitsOf(d.exponent);

    double value = 0;
    auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value,
                                     std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        if (order > 0) {
            return Converted<double>::failed(Cause::TooLarge);
        }
        return Converted<double>::success(d.negative ? -0.0 : 0.0);
    }
    if (ec != std::errc() || end != normal.data() + normal.size() || !std::isfinite(value)) {
        return Converted<double>::failed(order > 0 ? Cause::TooLarge : Cause::NotANumber);
    }
    return Converted<double>::success(value);
}

// "&H" and "&O" integers: up to FFFF they are 16-bit two's complement, up to FFFFFFFF 32-bit.
// `text` starts after the "&H" or "&O"; reading stops at the first character that is not a
// digit of the radix. Returns the number of characters used through `used`.
Converted<double> radixValue(std::string_view text, int radix, std::size_t& used) {
    unsigned long long value = 0;
    bool tooLarge = false;
    used = 0;
    while (used < text.size()) {
        int digit = digitValue(text[used], radix);
        if (digit < 0) {
            break;
        }
        value = value * static_cast<unsigned>(radix) + static_cast<unsigned>(digit);
        if (value > 0xFFFF'FFFFULL) {
            tooLarge = true;
            value = 0xFFFF'FFFFULL + 1; // keeps the sum from wrapping on long runs of digits
        }
        ++used;
    }
    if (tooLarge) {
        return Converted<double>::failed(Cause::TooLarge);
    }
    long long signedValue = static_cast<long long>(value);
    if (value <= 0xFFFF) {
        if (value >= 0x8000) {
            signedValue -= 0x1'0000LL;
        }
    } else if (value >= 0x8000'0000ULL) {
        signedValue -= 0x1'0000'0000LL;
    }
    return Converted<double>::success(static_cast<double>(signedValue));
}

int radixOf(char letter) {
    if (letter == 'H' || letter == 'h') {
        return 16;
    }
    if (letter == 'O' || letter == 'o') {
        return 8;
    }
    return 0;
}

bool isSkippedBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

} // namespace

Converted<double> NumberFromText(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text) {
        if (!isSkippedBlank(c)) {
            s += c;
        }
    }

    std::size_t i = 0;
    if (s.size() >= 2 && s[0] == '&' && radixOf(s[1]) != 0) {
        std::size_t used = 0;
        return radixValue(std::string_view(s).substr(2), radixOf(s[1]), used);
    }

    Decimal d;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        d.negative = s[i] == '-';
        ++i;
    }
    std::size_t start = i;
    while (i < s.size() && isDigit(s[i])) {
        ++i;
    }
    d.integerDigits = std::string_view(s).substr(start, i - start);
    if (i < s.size() && s[i] == '.') {
        start = ++i;
        while (i < s.size() && isDigit(s[i])) {
            ++i;
        }
        d.fractionDigits = std::string_view(s).substr(start, i - start);
    }
    if (d.integerDigits.empty() && d.fractionDigits.empty()) {
        return Converted<double>::success(0.0);
    }
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            negativeExponent = s[j] == '-';
            ++j;
        }
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j])) {
                addExponentDigit(d.exponent, s[j]);
                ++j;
            }
            if (negativeExponent) {
                d.exponent = -d.exponent;
            }
        }
    }
    return valueOf(d);
}

Converted<double> StrictNumberFromText(std::string_view text) {
    const auto notANumber = Converted<double>::failed(Cause::NotANumber);
    std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) {
        return notANumber;
    }
    std::string_view s = text.substr(begin, text.find_last_not_of(' ') + 1 - begin);

    if (s.size() >= 2 && s[0] == '&' && radixOf(s[1]) != 0) {
        std::size_t used = 0;
        Converted<double> value = radixValue(s.substr(2), radixOf(s[1]), used);
        if (used == 0 || used != s.size() - 2) {
            return notANumber;
        }
        return value;
    }

    std::size_t i = 0;
    Decimal d;
    if (s[i] == '+' || s[i] == '-') {
        d.negative = s[i] == '-';
        ++i;
    }
    // Digit-group separators stand between digits of the integer part; they are dropped.
    std::string integerDigits;
    while (i < s.size() && isDigit(s[i])) {
        integerDigits += s[i];
        ++i;
        if (i + 1 < s.size() && s[i] == ',' && isDigit(s[i + 1])) {
            ++i;
        }
    }
    d.integerDigits = integerDigits;
    if (i < s.size() && s[i] == '.') {
        std::size_t start = ++i;
        while (i < s.size() && isDigit(s[i])) {
            ++i;
        }
        d.fractionDigits = s.substr(start, i - start);
    }
    if (d.integerDigits.empty() && d.fractionDigits.empty()) {
        return notANumber;
    }
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            negativeExponent = s[i] == '-';
            ++i;
        }
        if (i == s.size() || !isDigit(s[i])) {
            return notANumber;
        }
        while (i < s.size() && isDigit(s[i])) {
            addExponentDigit(d.exponent, s[i]);
            ++i;
        }
        if (negativeExponent) {
            d.exponent = -d.exponent;
        }
    }
    if (i != s.size()) {
        return notANumber;
    }
    return valueOf(d);
}

Converted<std::int16_t> IntegerFromNumber(double number) {
    if (!std::isfinite(number)) {
        return Converted<std::int16_t>::failed(Cause::OutOfRange);
    }
    double lower = std::floor(number);
    double fraction = number - lower; // exact: below 2^52 the fraction is representable
    double rounded = lower;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0)) {
        rounded = lower + 1;
    }
    if (rounded < -32768.0 || rounded > 32767.0) {
        return Converted<std::int16_t>::failed(Cause::OutOfRange);
    }
    return Converted<std::int16_t>::success(static_cast<std::int16_t>(rounded));
}

Converted<std::int16_t> IntegerFromText(std::string_view text) {
    Converted<double> number = StrictNumberFromText(text);
    if (!number.ok()) {
        return Converted<std::int16_t>::failed(*number.failure);
    }
    return IntegerFromNumber(number.value);
}

double TruncateNumber(double number) {
    return std::trunc(number);
}

std::string TextFromNumber(double number) {
    assert(std::isfinite(number));
    if (number == std::trunc(number) && std::fabs(number) < 1e15) {
        return digitsOf(static_cast<long long>(number)); // -0 is written as 0
    }

    // Fifteen significant digits, correctly rounded, as d.dddddddddddddde[+-]x.
    char buffer[40];
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::scientific, 14);
    assert(ec == std::errc());
    std::string_view sci(buffer, static_cast<std::size_t>(end - buffer));

    bool negative = sci.front() == '-';
    if (negative) {
        sci.remove_prefix(1);
    }
    std::size_t e = sci.find('e');
    std::string digits;
    digits += sci[0];
    digits += sci.substr(2, e - 2);
    std::string_view exponentText = sci.substr(e + 1);
    if (exponentText.front() == '+') {
        exponentText.remove_prefix(1); // from_chars takes no plus sign
    }
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }

    std::string out = negative ? "-" : "";
    if (exponent >= 15 || exponent < -1) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out += digits.substr(1);
        }
        out += exponent < 0 ? "E-" : "E+";
        std::string magnitude = digitsOf(std::abs(exponent));
        if (magnitude.size() < 2) {
            out += '0';
        }
        out += magnitude;
    } else if (exponent == -1) {
        out += "0.";
        out += digits;
    } else {
        std::size_t integerLength = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerLength) {
            out += digits;
            out.append(integerLength - digits.size(), '0');
        } else {
            out += digits.substr(0, integerLength);
            out += '.';
            out += digits.substr(integerLength);
        }
    }
    return out;
}

std::string TextFromInteger(std::int16_t integer) {
    return digitsOf(integer);
}

std::int16_t Remainder(std::int16_t dividend, std::int16_t divisor) {
    return static_cast<std::int16_t>(dividend % divisor);
}

Converted<std::int16_t> SubtractOne(std::int16_t integer) {
    if (integer == INT16_MIN) {
        return Converted<std::int16_t>::failed(Cause::OutOfRange);
    }
    return Converted<std::int16_t>::success(static_cast<std::int16_t>(integer - 1));
}

} // namespace beltrix
