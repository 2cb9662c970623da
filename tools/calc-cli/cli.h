#pragma once

// beltrix-calc's requests and answers. A request names a calculator and its inputs in the same
// words an operator types ("dslam 2002 200", "port48 vlan 300", "port24 slot 17 16"); its answer
// comes from clicking the window's own button on the engine with those inputs in a newly opened
// window's fields, and reads the fields the click wrote. So the command line and the window
// cannot disagree.

#include "calc/calculator.h"
#include "calc/field_model.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace beltrix::cli {

enum class Calculator { Dslam, Port48, Port24 };

std::optional<Calculator> calculatorFromName(std::string_view name);
std::string_view calculatorName(Calculator calculator);

// The names of an answer's values, in order, for a calculator: the CSV header.
const std::vector<std::string>& columnsOf(Calculator calculator);

struct Request {
    Calculator calculator;
    std::string input; // the request's words, joined by one blank
    Button button;
    std::vector<std::pair<Field, std::string>> texts; // typed into these fields
};

struct Parsed {
    std::optional<Request> request;
    std::string why; // what is wrong with the words, when there is no request
};

// The words after the calculator's name: "DSLAM_VLAN INNER_VLAN" for dslam; "vlan V", "tag T"
// or "slot S P" for port48 and port24.
Parsed parseRequest(Calculator calculator, const std::vector<std::string>& words);

struct Answer {
    std::string input;
    std::vector<std::pair<std::string, std::string>> values; // named as columnsOf() says
    std::string notice; // what the window announces and goes on ("Port Particulars ...")
    std::string error;  // the window's rejection or failure message; empty when answered
};

Answer answer(const Request& request);

// Splits a line at blanks and tabs.
std::vector<std::string> words(std::string_view line);

enum class Format { Text, Csv, Json };

// One line, without the line break. The CSV header is csvHeader().
std::string formatAnswer(const Answer& answer, Format format);
std::string csvHeader(Calculator calculator);

} // namespace beltrix::cli
