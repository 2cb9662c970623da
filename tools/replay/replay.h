#pragma once

// The replay protocol: one request line in, one answer line out. A request sets up the ten
// fields of a freshly opened window and clicks buttons in order; the answer tells everything the
// engine did to the window, in the order it did it, and how the window and the working integers
// were left. Every line starts from scratch, so answers depend on nothing but their request.
//
// Request: {"fields": {"Text1": "2002", ...}, "clicks": ["Command9", ...]}, both keys optional.
// Answer:  {"events": [...], "fields": {all ten}, "work": {"workA": 73, ...}}, where an event is
//          {"click": "Command9"}, {"write": "Text7", "text": "73"}, {"message": "..."} or
//          {"error": "..."}, and each message box counts as dismissed at once.
// A request that cannot be run is answered {"invalid": "<why>"} and runs nothing.

#include "calc/calculator.h"
#include "calc/field_model.h"
#include "tools/replay/json.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace beltrix::replay {

struct Request {
    std::array<std::string, allFields.size()> texts; // indexed by Field
    std::vector<Button> clicks;
};

struct ParsedRequest {
    Request request;
    std::string invalid; // empty when the request can be run; otherwise why not
};

// Fields the request does not name get their initial texts.
ParsedRequest parseRequest(std::string_view line);

// The answer object for a request that can be run.
json::Value run(const Request& request);

struct Answer {
    std::string line; // without a line break
    bool invalid = false;
};

Answer answerLine(std::string_view requestLine);

} // namespace beltrix::replay
