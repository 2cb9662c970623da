#include "calc/operation.h"

#include <cmath>

namespace beltrix {

void Operation::empty(std::initializer_list<Field> fields) {
    for (Field field : fields) {
        write(field, "");
    }
}

void Operation::fail(Field field, Cause cause) {
    throw StepFailure{Failure{field, cause, text(field)}};
}

double Operation::checked(Converted<double> converted, Field field) {
    if (!converted.ok()) {
        fail(field, *converted.failure);
    }
    return converted.value;
}

double Operation::number(Field field) {
    return checked(NumberFromText(text(field)), field);
}

double Operation::strictNumber(Field field) {
    return checked(StrictNumberFromText(text(field)), field);
}

std::int16_t Operation::integerFromText(Field field) {
    Converted<std::int16_t> converted = IntegerFromText(text(field));
    if (!converted.ok()) {
        fail(field, *converted.failure);
    }
    return converted.value;
}

std::int16_t Operation::integer(double value, Field source) {
    Converted<std::int16_t> converted = IntegerFromNumber(value);
    if (!converted.ok()) {
        fail(source, *converted.failure);
    }
    return converted.value;
}

std::int16_t Operation::minusOne(std::int16_t integer, Field source) {
    Converted<std::int16_t> converted = SubtractOne(integer);
    if (!converted.ok()) {
        fail(source, *converted.failure);
    }
    return converted.value;
}

double Operation::finite(double result, Field source) {
    if (!std::isfinite(result)) {
        fail(source, Cause::TooLarge);
    }
    return result;
}

} // namespace beltrix
