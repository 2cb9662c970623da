#pragma once

// The conversions between field texts and numbers, and the 16-bit integer arithmetic of the
// calculations. Numbers are IEEE doubles; integers are 16-bit signed. Texts are read and
// written with "." as the decimal point whatever the process locale: nothing here goes through
// the C or C++ locale.

#include "calc/failure.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace beltrix {

// The outcome of a conversion that can fail: a value, or the cause of the failure.
template <typename T> struct Converted {
    T value{};
    std::optional<Cause> failure;

    bool ok() const { return !failure; }
    static Converted success(T v) { return {v, std::nullopt}; }
    static Converted failed(Cause c) { return {T{}, c}; }
};

// Reads the longest leading part of the text that forms a number and ignores the rest; text
// with no number at its start reads as 0. Blanks, tabs and line feeds are skipped wherever they
// stand. Accepts a sign, digits with one ".", an exponent (E, e, D or d), or "&H"/"&O" integers.
// Fails (TooLarge) only on a magnitude beyond the double range or an "&H"/"&O" value beyond
// 32 bits.
Converted<double> NumberFromText(std::string_view text);

// Reads the whole text, apart from blanks around it, as a number: a sign, digits with ","
// group separators, one ".", an exponent (E or e), or an "&H"/"&O" integer. Anything else fails
// (NotANumber), and so does a magnitude beyond the double range (TooLarge).
Converted<double> StrictNumberFromText(std::string_view text);

// Rounds half to even; fails (OutOfRange) when the result lies outside -32768 to 32767.
Converted<std::int16_t> IntegerFromNumber(double number);

// StrictNumberFromText, then IntegerFromNumber.
Converted<std::int16_t> IntegerFromText(std::string_view text);

// Drops the fraction toward zero.
double TruncateNumber(double number);

// Up to 15 significant digits: integral numbers below 1E15 as plain digits, others rounded to
// 15 digits, positional from 0.1 up to 1E15 and in exponent form (1E+15, 9.9E-02) outside.
// The number must be finite.
std::string TextFromNumber(double number);

std::string TextFromInteger(std::int16_t integer);

// The remainder of truncating division; it carries the sign of the dividend.
std::int16_t Remainder(std::int16_t dividend, std::int16_t divisor);

// integer - 1, failing (OutOfRange) below -32768.
Converted<std::int16_t> SubtractOne(std::int16_t integer);

} // namespace beltrix
