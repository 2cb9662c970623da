#pragma once

// What the fuzz targets share. A broken property stops the process at once with one line that
// names the property and shows the input, so that libFuzzer keeps the input as a crash and the
// replay runner of the regression suite fails on it with a readable reason.

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace beltrix::fuzz {

[[noreturn]] inline void violated(const std::string& what) {
    std::fprintf(stderr, "\nBELTRIX fuzz property violated: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

// The message is built only when the property fails: the checks run millions of times.
template <typename Message> void require(bool holds, Message&& message) {
    if (!holds) {
        violated(message());
    }
}

// The bytes as a double-quoted C string, so that blanks, line feeds and stray bytes of an input
// stay visible in a message.
inline std::string quoted(std::string_view bytes) {
    constexpr std::size_t shown = 300; // inputs run to 4 KB; the start is what a reader needs
    std::string out = "\"";
    for (std::size_t i = 0; i < bytes.size() && i < shown; ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            out += escape;
        }
    }
    out += '"';
    if (bytes.size() > shown) {
        out += "... (" + std::to_string(bytes.size()) + " bytes)";
    }
    return out;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF. Counts the code points
// through `codePoints` when it is given.
inline bool isValidUtf8(std::string_view text, std::size_t* codePoints = nullptr) {
    std::size_t count = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        unsigned long value = 0;
        unsigned long lowest = 0;
        if (c < 0x80) {
            length = 1;
            value = c;
        } else if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            value = c & 0x1Fu;
            lowest = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            value = c & 0x0Fu;
            lowest = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            value = c & 0x07u;
            lowest = 0x10000;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0u) != 0x80u) {
                return false;
            }
            value = (value << 6) | (next & 0x3Fu);
        }
        if (value < lowest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            return false;
        }
        i += length;
        ++count;
    }
    if (codePoints != nullptr) {
        *codePoints = count;
    }
    return true;
}

// The references that the targets compare the engine with read and print numbers through the C
// library, which follows the C locale. A program starts in the "C" locale and these targets
// never change it; this guards against that changing unnoticed.
inline void requireClassicLocale() {
    require(std::strcmp(std::localeconv()->decimal_point, ".") == 0, [] {
        return std::string("the C library's decimal point is not \".\", so the reference "
                           "readings are wrong");
    });
}

} // namespace beltrix::fuzz
