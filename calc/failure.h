#pragma once

// A conversion or arithmetic step that could not go on, named for the user by the field whose
// text it came from.

#include "calc/field_model.h"

#include <string>

namespace beltrix {

enum class Cause {
    NotANumber, // the whole text is not a number
    OutOfRange, // the value, rounded, lies outside -32768 to 32767
    TooLarge,   // a magnitude beyond what the calculation can hold
};

struct Failure {
    Field field;
    Cause cause;
    std::string text; // the field's text when the step failed

    bool operator==(const Failure&) const = default;
};

// The sentence the user is shown, as: TAG BLOCK NO: "12abc" is not a number.
std::string failureMessage(const Failure& failure);

} // namespace beltrix
