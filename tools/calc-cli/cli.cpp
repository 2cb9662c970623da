#include "tools/calc-cli/cli.h"

#include "calc/notice.h"

#include "calc/failure.h"
#include "tools/replay/json.h"

#include <array>

namespace beltrix::cli {
namespace {

// The window as the command sees it: a newly opened window's fields, with every message kept.
class Window : public FieldHost {
public:
    Window() {
        for (Field field : allFields) {
            texts_[index(field)] = std::string(initialText(field));
        }
    }
    std::string text(Field field) const override { return texts_[index(field)]; }
    void setText(Field field, const std::string& text) override {
        texts_[index(field)] = text;
        ++writes;
    }
    void showNotice(Notice notice) override { notices.push_back(notice); }
    void reportFailure(const Failure& failure) override { this->failure = failureMessage(failure); }

    int writes = 0;
    std::vector<Notice> notices;
    std::string failure;

private:
    static std::size_t index(Field field) { return static_cast<std::size_t>(field); }
    std::array<std::string, allFields.size()> texts_;
};

// A notice that refuses the request: its answer is an error, not values.
bool isRejection(Notice notice) {
    switch (notice) {
    case Notice::UnknownDslamVlan:
    case Notice::EnterValidPort:
    case Notice::EnterValidPortCapital:
        return true;
    case Notice::PortInSecondFrame:
    case Notice::SlotPortInSecondFrame:
    case Notice::ControlCardSlots:
        return false;
    }
    return false;
}

bool isSecondFrame(Notice notice) {
    return notice == Notice::PortInSecondFrame || notice == Notice::SlotPortInSecondFrame;
}

struct Column {
    std::string name;
    Field field;
};

const std::vector<Column>& fieldColumns(Calculator calculator) {
    static const std::vector<Column> dslam = {
        {"dslam_vlan", Field::Text1}, {"inner_vlan", Field::Text6},
        {"tag_block", Field::Text7},  {"slot", Field::Text11},
        {"port", Field::Text13},      {"vlan_minus_127", Field::Text3},
    };
    static const std::vector<Column> port48 = {
        {"vlan", Field::Text2},
        {"tag_block", Field::Text12},
        {"slot", Field::Text4},
        {"port", Field::Text5},
    };
    static const std::vector<Column> port24 = {
        {"vlan", Field::Text2}, {"tag_block", Field::Text12}, {"vlan_minus_127", Field::Text3},
        {"slot", Field::Text4}, {"port", Field::Text5},
    };
    switch (calculator) {
    case Calculator::Dslam:
        return dslam;
    case Calculator::Port48:
        return port48;
    case Calculator::Port24:
        break;
    }
    return port24;
}

std::string csvCell(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

// Control characters of a typed input would break a text line; they are shown as U+FFFD.
std::string printable(const std::string& text) {
    std::string out;
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        out += u < 0x20 || u == 0x7F ? std::string("\uFFFD") : std::string(1, c);
    }
    return out;
}

} // namespace

std::optional<Calculator> calculatorFromName(std::string_view name) {
    if (name == "dslam") {
        return Calculator::Dslam;
    }
    if (name == "port48") {
        return Calculator::Port48;
    }
    if (name == "port24") {
        return Calculator::Port24;
    }
    return std::nullopt;
}

std::string_view calculatorName(Calculator calculator) {
    switch (calculator) {
    case Calculator::Dslam:
        return "dslam";
    case Calculator::Port48:
        return "port48";
    case Calculator::Port24:
        break;
    }
    return "port24";
}

const std::vector<std::string>& columnsOf(Calculator calculator) {
    static const auto build = [](Calculator c, bool frame) {
        std::vector<std::string> names{"input"};
        for (const Column& column : fieldColumns(c)) {
            names.push_back(column.name);
        }
        if (frame) {
            names.push_back("frame");
        }
        names.insert(names.end(), {"notice", "error"});
        return names;
    };
    static const std::vector<std::string> dslam = build(Calculator::Dslam, true);
    static const std::vector<std::string> port48 = build(Calculator::Port48, false);
    static const std::vector<std::string> port24 = build(Calculator::Port24, true);
    switch (calculator) {
    case Calculator::Dslam:
        return dslam;
    case Calculator::Port48:
        return port48;
    case Calculator::Port24:
        break;
    }
    return port24;
}

std::vector<std::string> words(std::string_view line) {
    std::vector<std::string> found;
    std::size_t i = 0;
    while (i < line.size()) {
        i = line.find_first_not_of(" \t\r", i);
        if (i == std::string_view::npos) {
            break;
        }
        std::size_t end = line.find_first_of(" \t\r", i);
        found.emplace_back(line.substr(i, end == std::string_view::npos ? end : end - i));
        i = end;
    }
    return found;
}

Parsed parseRequest(Calculator calculator, const std::vector<std::string>& w) {
    std::string input;
    for (const std::string& word : w) {
        input += (input.empty() ? "" : " ") + word;
    }
    auto request = [&](Button button, std::vector<std::pair<Field, std::string>> texts) {
        return Parsed{Request{calculator, input, button, std::move(texts)}, {}};
    };
    if (calculator == Calculator::Dslam) {
        if (w.size() != 2) {
            return {std::nullopt, "expected DSLAM_VLAN INNER_VLAN"};
        }
        return request(Button::Command9, {{Field::Text1, w[0]}, {Field::Text6, w[1]}});
    }
    const bool ports48 = calculator == Calculator::Port48;
    if (w.size() == 2 && w[0] == "vlan") {
        return request(ports48 ? Button::Command6 : Button::Command13, {{Field::Text2, w[1]}});
    }
    if (w.size() == 2 && w[0] == "tag") {
        return request(ports48 ? Button::Command24 : Button::Command18, {{Field::Text12, w[1]}});
    }
    if (w.size() == 3 && w[0] == "slot") {
        return request(ports48 ? Button::Command16 : Button::Command21,
                       {{Field::Text4, w[1]}, {Field::Text5, w[2]}});
    }
    return {std::nullopt, "expected vlan V, tag T or slot S P"};
}

Answer answer(const Request& request) {
    Window window;
    for (const auto& [field, text] : request.texts) {
        window.setText(field, text);
    }
    window.writes = 0;
    beltrix::Calculator calculator(window);
    calculator.click(request.button);

    Answer result;
    result.input = request.input;
    bool secondFrame = false;
    for (Notice notice : window.notices) {
        if (isRejection(notice)) {
            result.error = noticeText(notice);
        } else {
            secondFrame = secondFrame || isSecondFrame(notice);
            result.notice = noticeText(notice);
        }
    }
    if (!window.failure.empty()) {
        result.error = window.failure;
    } else if (window.writes == 0 && window.notices.empty()) {
        // Only a VLAN such as 511.5 does this: it reads below 512 but above 511, and the
        // window does nothing with it.
        result.error = "VLAN: \"" + printable(request.texts.front().second) +
                       "\" lies between the first and the second frame.";
    }
    if (!result.error.empty()) {
        result.notice.clear();
    }
    for (const Column& column : fieldColumns(request.calculator)) {
        result.values.emplace_back(column.name, result.error.empty() ? window.text(column.field)
                                                                     : std::string());
    }
    if (request.calculator != Calculator::Port48) {
        std::string frame;
        if (result.error.empty() && (secondFrame || request.calculator == Calculator::Port24)) {
            frame = secondFrame ? "2" : "1";
        }
        result.values.emplace_back("frame", frame);
    }
    return result;
}

std::string csvHeader(Calculator calculator) {
    std::string header;
    for (const std::string& name : columnsOf(calculator)) {
        header += (header.empty() ? "" : ",") + name;
    }
    return header;
}

std::string formatAnswer(const Answer& a, Format format) {
    switch (format) {
    case Format::Csv: {
        std::string line = csvCell(a.input);
        for (const auto& [name, value] : a.values) {
            line += "," + csvCell(value);
        }
        return line + "," + csvCell(a.notice) + "," + csvCell(a.error);
    }
    case Format::Json: {
        json::Value::Object object{{"input", a.input}};
        for (const auto& [name, value] : a.values) {
            object.emplace_back(name, value.empty() ? json::Value(nullptr) : json::Value(value));
        }
        object.emplace_back("notice", a.notice.empty() ? json::Value(nullptr) : a.notice);
        object.emplace_back("error", a.error.empty() ? json::Value(nullptr) : a.error);
        return json::write(object);
    }
    case Format::Text:
        break;
    }
    // Columns padded to a fixed width, so that a batch's answers line up.
    auto pad = [](std::string text, std::size_t width) {
        if (text.size() < width) {
            text.append(width - text.size(), ' ');
        }
        return text;
    };
    std::string line = pad(printable(a.input), 20);
    if (!a.error.empty()) {
        return line + " error: " + a.error;
    }
    const std::vector<std::string> typed = words(a.input);
    for (const auto& [name, value] : a.values) {
        // The inputs stand at the start of the line; a second frame rewrites the inner VLAN.
        const bool echo = name == "dslam_vlan" ||
                          (name == "inner_vlan" && typed.size() == 2 && value == typed[1]);
        if (value.empty() || echo) {
            continue;
        }
        std::string label = name == "inner_vlan" ? "first frame inner vlan" : name;
        for (char& c : label) {
            c = c == '_' ? ' ' : c;
        }
        line += " " + label + " " + pad(printable(value), 8);
    }
    if (!a.notice.empty()) {
        line += " (" + a.notice + ")";
    }
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    return line;
}

} // namespace beltrix::cli
