#pragma once

// The working context of one click: the field texts through the host, the working integers,
// and the conversions of calc/conversions.h turned into steps that stop the click when they
// fail. The panels (calc/panels.h) are written in these terms, step by step.

#include "calc/conversions.h"
#include "calc/failure.h"
#include "calc/field_model.h"
#include "calc/notice.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace beltrix {

// Thrown by a failing step; Calculator::click catches it and reports it to the host.
struct StepFailure {
    Failure failure;
};

class Operation {
public:
    Operation(FieldHost& host, WorkingIntegers& work) : work(work), host_(host) {}

    WorkingIntegers& work;

    std::string text(Field field) const { return host_.text(field); }
    void write(Field field, const std::string& text) { host_.setText(field, text); }
    // Writes the empty text into each field, in the order given.
    void empty(std::initializer_list<Field> fields);
    void notify(Notice notice) { host_.showNotice(notice); }

    // NumberFromText and StrictNumberFromText of the field's current text.
    double number(Field field);
    double strictNumber(Field field);
    // IntegerFromText of the field's current text.
    std::int16_t integerFromText(Field field);

    // IntegerFromNumber of a value computed from `source`, which a failure names.
    std::int16_t integer(double value, Field source);
    // integer - 1, checked.
    std::int16_t minusOne(std::int16_t integer, Field source);
    // Checks the result of number arithmetic on values read from `source`.
    double finite(double result, Field source);

private:
    [[noreturn]] void fail(Field field, Cause cause);
    double checked(Converted<double> converted, Field field);

    FieldHost& host_;
};

} // namespace beltrix
