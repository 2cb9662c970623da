#include "calc/failure.h"

#include <cstddef>

namespace beltrix {
namespace {

// Control characters and line or paragraph separators would break the message's layout.
bool breaksTheLine(std::string_view character) {
    unsigned char c = static_cast<unsigned char>(character[0]);
    return c < 0x20 || c == 0x7F ||
           (character.size() == 2 && c == 0xC2 &&
            static_cast<unsigned char>(character[1]) < 0xA0) || // U+0080 to U+009F
           character == "\u2028" ||
           character == "\u2029";
}

// The bytes of the character at i: as many as its lead byte announces when that many
// continuation bytes follow, otherwise the lead byte alone, so that a stray byte never takes a
// line break or a digit after it into the same character.
std::size_t characterLength(std::string_view text, std::size_t i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t length = c < 0xC0 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : 4;
    for (std::size_t k = 1; k < length; ++k) {
        if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return length;
}

// A pasted text can be a megabyte long or hold line breaks; the message quotes a short,
// single-line excerpt of it.
std::string excerpt(std::string_view text) {
    constexpr std::size_t maxCharacters = 40;
    std::string out;
    std::size_t characters = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (characters == maxCharacters) {
            out += "\u2026"; // …
            break;
        }
        std::string_view character = text.substr(i, characterLength(text, i));
        if (breaksTheLine(character)) {
            out += "\uFFFD";
        } else {
            out += character;
        }
        i += character.size();
        ++characters;
    }
    return out;
}

} // namespace

std::string failureMessage(const Failure& failure) {
    std::string message(fieldLabel(failure.field));
    if (failure.cause == Cause::NotANumber &&
        failure.text.find_first_not_of(' ') == std::string::npos) {
        return message + " is empty: enter a number.";
    }
    message += ": \"";
    message += excerpt(failure.text);
    message += "\" ";
    switch (failure.cause) {
    case Cause::NotANumber:
        message += "is not a number.";
        break;
    case Cause::OutOfRange:
        message += "gives a number outside -32768 to 32767.";
        break;
    case Cause::TooLarge:
        message += "is too large to calculate.";
        break;
    }
    return message;
}

} // namespace beltrix
