#include "tools/replay/replay.h"

#include "calc/failure.h"
#include "calc/notice.h"

#include <cstddef>
#include <utility>

namespace beltrix::replay {

namespace {

std::size_t indexOf(Field field) {
    return static_cast<std::size_t>(field);
}

// The window as the engine sees it, writing down each thing the engine does to it.
class RecordingHost : public FieldHost {
public:
    explicit RecordingHost(const std::array<std::string, allFields.size()>& texts)
        : texts_(texts) {}

    std::string text(Field field) const override { return texts_[indexOf(field)]; }

    void setText(Field field, const std::string& text) override {
        texts_[indexOf(field)] = text;
        record({{"write", fieldName(field)}, {"text", text}});
    }

    void showNotice(Notice notice) override {
        record({{"message", std::string(noticeText(notice))}});
    }

    void reportFailure(const Failure& failure) override {
        record({{"error", failureMessage(failure)}});
    }

    void recordClick(Button button) { record({{"click", buttonName(button)}}); }

    json::Value::Array takeEvents() { return std::move(events_); }

    json::Value fields() const {
        json::Value::Object fields;
        for (Field field : allFields) {
            fields.emplace_back(std::string(fieldName(field)), texts_[indexOf(field)]);
        }
        return fields;
    }

private:
    std::array<std::string, allFields.size()> texts_;
    json::Value::Array events_;

    void record(json::Value::Object event) { events_.emplace_back(std::move(event)); }
};

json::Value workObject(const WorkingIntegers& work) {
    return json::Value::Object{
        {"workA", work.workA},
        {"workB", work.workB},
        {"workC", work.workC},
        {"workD", work.workD},
    };
}

std::string readFields(const json::Value& fields, Request& request) {
    if (!fields.isObject()) {
        return "fields is not an object";
    }
    for (const auto& [name, text] : fields.asObject()) {
        const auto field = fieldFromName(name);
        if (!field) {
            return "unknown field " + json::quote(name);
        }
        if (!text.isString()) {
            return "text of " + name + " is not a string";
        }
        request.texts[indexOf(*field)] = text.asString();
    }
    return {};
}

std::string readClicks(const json::Value& clicks, Request& request) {
    if (!clicks.isArray()) {
        return "clicks is not an array";
    }
    const auto& names = clicks.asArray();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!names[i].isString()) {
            return "click " + std::to_string(i + 1) + " is not a string";
        }
        const auto button = buttonFromName(names[i].asString());
        if (!button) {
            return "unknown button " + json::quote(names[i].asString());
        }
        request.clicks.push_back(*button);
    }
    return {};
}

bool isBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

} // namespace

ParsedRequest parseRequest(std::string_view line) {
    ParsedRequest parsed;
    for (Field field : allFields) {
        parsed.request.texts[indexOf(field)] = std::string(initialText(field));
    }
    if (isBlankLine(line)) {
        parsed.invalid = "empty line";
        return parsed;
    }
    json::ParseResult document = json::parse(line);
    if (!document.ok()) {
        parsed.invalid = std::move(document.error);
        return parsed;
    }
    if (!document.value.isObject()) {
        parsed.invalid = "request is not a JSON object";
        return parsed;
    }
    for (const auto& [key, value] : document.value.asObject()) {
        if (key == "fields") {
            parsed.invalid = readFields(value, parsed.request);
        } else if (key == "clicks") {
            parsed.invalid = readClicks(value, parsed.request);
        } else {
            parsed.invalid = "unknown key " + json::quote(key);
        }
        if (!parsed.invalid.empty()) {
            return parsed;
        }
    }
    return parsed;
}

json::Value run(const Request& request) {
    RecordingHost host(request.texts);
    Calculator calculator(host);
    for (Button button : request.clicks) {
        host.recordClick(button);
        calculator.click(button);
    }
    return json::Value::Object{
        {"events", host.takeEvents()},
        {"fields", host.fields()},
        {"work", workObject(calculator.work())},
    };
}

Answer answerLine(std::string_view requestLine) {
    const ParsedRequest parsed = parseRequest(requestLine);
    if (!parsed.invalid.empty()) {
        return {json::write(json::Value::Object{{"invalid", parsed.invalid}}), true};
    }
    return {json::write(run(parsed.request)), false};
}

} // namespace beltrix::replay
