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
        unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : 4;
        std::string_view character = text.substr(i, length);
        if (breaksTheLine(character)) {
            out += "\uFFFD";
        } else {
            out += character;
        }
        i += length;
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
