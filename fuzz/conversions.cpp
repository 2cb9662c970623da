// Properties of the number conversions that must hold for every text and every number. The
// whole input is a field text; numbers come from its readings, from its bytes taken as a double's
// bit pattern, and from a 16-bit integer plus a fraction, so that the rounding boundaries get
// as much attention as the huge and tiny magnitudes.
//
// The engine reads and writes numbers with std::from_chars and std::to_chars; the references
// here use the C library's strtod and printf instead, so that a fault shared by the engine and
// its reference would need two libraries to agree on it.

#include "calc/conversions.h"
#include "fuzz/fuzz_support.h"

#include <cfenv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace beltrix::fuzz {
namespace {

std::string describe(const Converted<double>& c) {
    if (c.ok()) {
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "%.17g", c.value);
        return buffer;
    }
    switch (*c.failure) {
    case Cause::NotANumber:
        return "failure NotANumber";
    case Cause::OutOfRange:
        return "failure OutOfRange";
    case Cause::TooLarge:
        return "failure TooLarge";
    }
    return "failure ?";
}

std::string describe(double x) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", x);
    return buffer;
}

bool isDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

int radixOfLetter(char c) {
    switch (c) {
    case 'H':
    case 'h':
        return 16;
    case 'O':
    case 'o':
        return 8;
    default:
        return 0;
    }
}

bool isRadixDigit(char c, int radix) {
    if (radix == 8) {
        return c >= '0' && c <= '7';
    }
    return isDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// What a reading should give: a value, or a magnitude that no double holds.
struct Expected {
    bool tooLarge = false;
    double value = 0;
};

// `normal` is in strtod's syntax; strtod rounds correctly and gives infinity beyond the range.
Expected decimalValue(const std::string& normal) {
    char* end = nullptr;
    double value = std::strtod(normal.c_str(), &end);
    require(end == normal.c_str() + normal.size(),
            [&] { return "the reference reading stopped inside " + quoted(normal); });
    if (std::isinf(value)) {
        return {true, 0};
    }
    return {false, value};
}

// &H and &O values by how many significant digits they have, rather than by accumulating them:
// 32 bits hold 8 hexadecimal digits, or 11 octal digits of which the first is at most 3.
Expected radixValue(std::string_view digits, int radix) {
    std::size_t first = digits.find_first_not_of('0');
    if (first == std::string_view::npos) {
        return {false, 0};
    }
    std::string significant(digits.substr(first));
    bool fits = radix == 16 ? significant.size() <= 8
                            : significant.size() < 11 ||
                                  (significant.size() == 11 && significant[0] <= '3');
    if (!fits) {
        return {true, 0};
    }
    auto bits = static_cast<std::uint32_t>(std::strtoul(significant.c_str(), nullptr, radix));
    if (bits <= 0xFFFF) {
        return {false, static_cast<double>(static_cast<std::int16_t>(bits))};
    }
    return {false, static_cast<double>(static_cast<std::int32_t>(bits))};
}

// The leading number of a text as NumberFromText documents it.
Expected leadingNumber(std::string_view text) {
    std::string s;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') {
            s += c;
        }
    }
    if (s.size() >= 2 && s[0] == '&' && radixOfLetter(s[1]) != 0) {
        int radix = radixOfLetter(s[1]);
        std::size_t end = 2;
        while (end < s.size() && isRadixDigit(s[end], radix)) {
            ++end;
        }
        return radixValue(std::string_view(s).substr(2, end - 2), radix);
    }

    std::size_t i = 0;
    std::string normal;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        normal += s[i++];
    }
    std::size_t integerStart = i;
    while (i < s.size() && isDecimalDigit(s[i])) {
        ++i;
    }
    std::size_t integerLength = i - integerStart;
    std::size_t fractionStart = i;
    std::size_t fractionLength = 0;
    if (i < s.size() && s[i] == '.') {
        fractionStart = ++i;
        while (i < s.size() && isDecimalDigit(s[i])) {
            ++i;
        }
        fractionLength = i - fractionStart;
    }
    if (integerLength == 0 && fractionLength == 0) {
        return {false, 0};
    }
    normal += integerLength == 0 ? "0" : s.substr(integerStart, integerLength);
    normal += '.';
    normal += fractionLength == 0 ? "0" : s.substr(fractionStart, fractionLength);
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            exponent += s[j++];
        }
        std::size_t digitsStart = j;
        while (j < s.size() && isDecimalDigit(s[j])) {
            ++j;
        }
        if (j > digitsStart) { // an exponent letter without digits is not part of the number
            normal += exponent;
            normal += s.substr(digitsStart, j - digitsStart);
        }
    }
    return decimalValue(normal);
}

// The whole text as StrictNumberFromText documents it; nullopt where it is no number.
std::optional<Expected> wholeNumber(std::string_view text) {
    std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view s = text.substr(begin, text.find_last_not_of(' ') + 1 - begin);

    if (s.size() >= 2 && s[0] == '&' && radixOfLetter(s[1]) != 0) {
        int radix = radixOfLetter(s[1]);
        std::string_view digits = s.substr(2);
        if (digits.empty()) {
            return std::nullopt;
        }
        for (char c : digits) {
            if (!isRadixDigit(c, radix)) {
                return std::nullopt;
            }
        }
        return radixValue(digits, radix);
    }

    std::size_t i = 0;
    std::string normal;
    if (s[i] == '+' || s[i] == '-') {
        normal += s[i++];
    }
    // The integer part is a run of digits and commas in which every comma stands between two
    // digits.
    std::size_t runStart = i;
    while (i < s.size() && (isDecimalDigit(s[i]) || s[i] == ',')) {
        ++i;
    }
    std::string_view run = s.substr(runStart, i - runStart);
    if (!run.empty() &&
        (run.front() == ',' || run.back() == ',' || run.find(",,") != std::string_view::npos)) {
        return std::nullopt;
    }
    std::string integerDigits;
    for (char c : run) {
        if (c != ',') {
            integerDigits += c;
        }
    }
    std::string fractionDigits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDecimalDigit(s[i])) {
            fractionDigits += s[i++];
        }
    }
    if (integerDigits.empty() && fractionDigits.empty()) {
        return std::nullopt;
    }
    normal += integerDigits.empty() ? "0" : integerDigits;
    normal += '.';
    normal += fractionDigits.empty() ? "0" : fractionDigits;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        normal += 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            normal += s[i++];
        }
        if (i == s.size() || !isDecimalDigit(s[i])) {
            return std::nullopt;
        }
        while (i < s.size() && isDecimalDigit(s[i])) {
            normal += s[i++];
        }
    }
    if (i != s.size()) {
        return std::nullopt;
    }
    return decimalValue(normal);
}

bool failedWith(const Converted<double>& c, Cause cause) {
    return !c.ok() && *c.failure == cause;
}

void checkTextReadings(std::string_view text) {
    auto input = [&] { return "text " + quoted(text); };

    Converted<double> number = NumberFromText(text);
    Expected leading = leadingNumber(text);
    if (leading.tooLarge) {
        require(failedWith(number, Cause::TooLarge), [&] {
            return "NumberFromText reads the leading number of " + input() +
                   ", beyond the double range, as " + describe(number);
        });
    } else {
        require(number.ok(), [&] {
            return "NumberFromText fails on " + input() + " whose leading number is " +
                   describe(leading.value) + ": " + describe(number);
        });
        require(number.value == leading.value, [&] {
            return "NumberFromText reads " + input() + " as " + describe(number) + ", not " +
                   describe(leading.value);
        });
    }

    Converted<double> strict = StrictNumberFromText(text);
    std::optional<Expected> whole = wholeNumber(text);
    if (!whole) {
        require(failedWith(strict, Cause::NotANumber), [&] {
            return "StrictNumberFromText accepts " + input() + ", which is no number, as " +
                   describe(strict);
        });
    } else if (whole->tooLarge) {
        require(failedWith(strict, Cause::TooLarge), [&] {
            return "StrictNumberFromText reads " + input() + ", beyond the double range, as " +
                   describe(strict);
        });
    } else {
        require(strict.ok() && strict.value == whole->value, [&] {
            return "StrictNumberFromText reads " + input() + " as " + describe(strict) + ", not " +
                   describe(whole->value);
        });
    }

    // Where the strict reading takes a plain decimal text, the leading-number reading of the
    // same text must give the same: the two readings differ only in what they refuse.
    bool plainDecimal =
        text.find(',') == std::string_view::npos && text.find('&') == std::string_view::npos;
    if (plainDecimal && strict.ok()) {
        require(number.ok() && number.value == strict.value, [&] {
            return "StrictNumberFromText reads " + input() + " as " + describe(strict) +
                   " but NumberFromText as " + describe(number);
        });
    }
    if (plainDecimal && failedWith(strict, Cause::TooLarge)) {
        require(failedWith(number, Cause::TooLarge), [&] {
            return "StrictNumberFromText finds " + input() +
                   " too large but NumberFromText reads " + describe(number);
        });
    }

    Converted<std::int16_t> integer = IntegerFromText(text);
    if (strict.ok()) {
        Converted<std::int16_t> direct = IntegerFromNumber(strict.value);
        require(integer.ok() == direct.ok() && integer.value == direct.value &&
                    integer.failure == direct.failure,
                [&] {
                    return "IntegerFromText of " + input() +
                           " differs from IntegerFromNumber of its strict reading " +
                           describe(strict.value);
                });
    } else {
        require(!integer.ok() && integer.failure == strict.failure, [&] {
            return "IntegerFromText of " + input() +
                   " does not fail as its strict reading does: " + describe(strict);
        });
    }
}

void checkIntegerFromNumber(double x) {
    Converted<std::int16_t> got = IntegerFromNumber(x);
    auto input = [&] { return "IntegerFromNumber(" + describe(x) + ")"; };
    if (!std::isfinite(x)) {
        require(!got.ok() && *got.failure == Cause::OutOfRange,
                [&] { return input() + " does not fail"; });
        return;
    }
    double rounded = std::nearbyint(x); // ties to even under FE_TONEAREST
    if (rounded < -32768.0 || rounded > 32767.0) {
        require(!got.ok() && *got.failure == Cause::OutOfRange, [&] {
            return input() + " gives " + std::to_string(got.value) + " for " + describe(rounded) +
                   ", outside -32768 to 32767";
        });
    } else {
        require(got.ok(),
                [&] { return input() + " fails, though it rounds to " + describe(rounded); });
        require(got.value == rounded, [&] {
            return input() + " gives " + std::to_string(got.value) + ", not " + describe(rounded);
        });
    }
}

void checkTruncateNumber(double x) {
    if (!std::isfinite(x)) {
        return;
    }
    double t = TruncateNumber(x);
    bool holds = t == std::floor(t) && std::fabs(t) <= std::fabs(x) && std::fabs(x - t) < 1.0 &&
                 (t == 0 || std::signbit(t) == std::signbit(x));
    require(holds, [&] { return "TruncateNumber(" + describe(x) + ") gives " + describe(t); });
}

// The text that TextFromNumber should write, built from printf's fifteen significant digits.
std::string expectedText(double x, const char* scientific) {
    if (x == std::trunc(x) && std::fabs(x) < 1e15) {
        return std::to_string(static_cast<long long>(x));
    }
    std::string_view sci(scientific);
    bool negative = sci.front() == '-';
    if (negative) {
        sci.remove_prefix(1);
    }
    std::size_t e = sci.find('e');
    std::string digits(1, sci[0]);
    digits += sci.substr(2, e - 2);
    int exponent = std::atoi(std::string(sci.substr(e + 1)).c_str());
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    std::string out = negative ? "-" : "";
    if (exponent >= 15 || exponent < -1) {
        out += digits[0];
        if (digits.size() > 1) {
            out += "." + digits.substr(1);
        }
        char tail[16];
        std::snprintf(tail, sizeof tail, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        return out + tail;
    }
    if (exponent == -1) {
        return out + "0." + digits;
    }
    auto integerLength = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerLength) {
        return out + digits + std::string(integerLength - digits.size(), '0');
    }
    return out + digits.substr(0, integerLength) + "." + digits.substr(integerLength);
}

void checkTextFromNumber(double x) {
    if (!std::isfinite(x)) {
        return; // the engine never writes a number that is not finite
    }
    char scientific[48];
    std::snprintf(scientific, sizeof scientific, "%.14e", x);
    // The number rounded to 15 significant digits: what reading the written text must give.
    // Near the top of the double range that rounding lies beyond it (1.79769313486232E+308).
    Expected rounded = decimalValue(scientific);

    std::string text = TextFromNumber(x);
    auto input = [&] { return "TextFromNumber(" + describe(x) + ") = " + quoted(text); };
    std::string expected = expectedText(x, scientific);
    require(text == expected, [&] { return input() + ", expected " + quoted(expected); });

    Converted<double> back = NumberFromText(text);
    Converted<double> strictBack = StrictNumberFromText(text);
    if (rounded.tooLarge) {
        require(failedWith(back, Cause::TooLarge) && failedWith(strictBack, Cause::TooLarge), [&] {
            return input() + " lies beyond the double range but reads back as " + describe(back) +
                   " and strictly as " + describe(strictBack);
        });
        return;
    }
    require(back.ok() && back.value == rounded.value, [&] {
        return input() + " reads back as " + describe(back) + ", not the 15-digit rounding " +
               describe(rounded.value);
    });
    require(strictBack.ok() && strictBack.value == rounded.value, [&] {
        return input() + " reads back strictly as " + describe(strictBack) +
               ", not the 15-digit rounding " + describe(rounded.value);
    });
}

void checkInteger(std::int16_t i) {
    auto input = [&] { return "integer " + std::to_string(i); };
    std::string text = TextFromInteger(i);
    require(text == std::to_string(i),
            [&] { return "TextFromInteger of " + input() + " is " + quoted(text); });
    Converted<std::int16_t> back = IntegerFromText(text);
    require(back.ok() && back.value == i,
            [&] { return "IntegerFromText does not read back the TextFromInteger of " + input(); });

    Converted<std::int16_t> less = SubtractOne(i);
    if (i == std::numeric_limits<std::int16_t>::min()) {
        require(!less.ok() && *less.failure == Cause::OutOfRange,
                [&] { return "SubtractOne of " + input() + " does not fail"; });
    } else {
        require(less.ok() && less.value == i - 1,
                [&] { return "SubtractOne of " + input() + " is wrong"; });
    }

    for (std::int16_t divisor : {std::int16_t{24}, std::int16_t{48}}) {
        // Truncating division: the remainder has the sign of the dividend.
        double quotient = std::trunc(static_cast<double>(i) / divisor);
        double expected = i - quotient * divisor;
        std::int16_t got = Remainder(i, divisor);
        require(got == expected, [&] {
            return "Remainder of " + input() + " by " + std::to_string(divisor) + " is " +
                   std::to_string(got) + ", not " + describe(expected);
        });
    }
}

void checkNumber(double x) {
    checkIntegerFromNumber(x);
    checkTruncateNumber(x);
    checkTextFromNumber(x);
}

double doubleFromBytes(const std::uint8_t* bytes) {
    double x = 0;
    std::memcpy(&x, bytes, sizeof x);
    return x;
}

std::int16_t integerFromBytes(const std::uint8_t* bytes) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)));
}

} // namespace
} // namespace beltrix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace beltrix;
    using namespace beltrix::fuzz;
    requireClassicLocale();
    require(std::fegetround() == FE_TONEAREST,
            [&] { return "the floating-point rounding mode has changed"; });

    std::string_view text(reinterpret_cast<const char*>(data), size);
    checkTextReadings(text);

    std::vector<double> numbers;
    Converted<double> number = NumberFromText(text);
    if (number.ok()) {
        numbers.push_back(number.value);
    }
    Converted<double> strict = StrictNumberFromText(text);
    if (strict.ok()) {
        numbers.push_back(strict.value);
    }
    if (size >= sizeof(double)) {
        numbers.push_back(doubleFromBytes(data));
        numbers.push_back(doubleFromBytes(data + size - sizeof(double)));
    }
    if (size >= 3) {
        // The rounding boundaries of the 16-bit range lie at whole numbers and halves.
        numbers.push_back(integerFromBytes(data) + data[2] / 256.0);
    }
    std::size_t found = numbers.size();
    for (std::size_t k = 0; k < found; ++k) {
        double x = numbers[k];
        numbers.push_back(std::nextafter(x, std::numeric_limits<double>::infinity()));
        numbers.push_back(std::nextafter(x, -std::numeric_limits<double>::infinity()));
    }
    for (double x : numbers) {
        checkNumber(x);
    }

    if (size >= 2) {
        checkInteger(integerFromBytes(data));
    }
    Converted<std::int16_t> integer = IntegerFromText(text);
    if (integer.ok()) {
        checkInteger(integer.value);
    }
    return 0;
}
