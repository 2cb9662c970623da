#pragma once

// A FieldHost for the engine's tests: it keeps the ten field texts and records, in order, every
// write, message and failure as one line of text, with the fields as they stood at each message.

#include "calc/calculator.h"
#include "calc/failure.h"
#include "calc/field_model.h"
#include "calc/notice.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace beltrix::test {

using Texts = std::map<Field, std::string>;

class RecordingHost : public FieldHost {
public:
    // Every field starts with `start`, then `given` is typed over it.
    explicit RecordingHost(const std::vector<std::pair<Field, std::string>>& given = {},
                           const std::string& start = "~") {
        for (Field field : allFields) {
            texts[field] = start;
        }
        for (const auto& [field, text] : given) {
            texts[field] = text;
        }
    }

    std::string text(Field field) const override { return texts.at(field); }
    void setText(Field field, const std::string& text) override {
        texts[field] = text;
        events.push_back(std::string(fieldName(field)) + "=" + text);
    }
    void showNotice(Notice notice) override {
        const std::string text(noticeText(notice));
        events.push_back("message: " + text);
        messages.push_back(text);
        notices.push_back(notice);
        atMessage.push_back(texts);
    }
    void reportFailure(const Failure& failure) override {
        events.push_back("failure: " + failureMessage(failure));
        failures.push_back(failure);
    }

    Texts texts;
    std::vector<std::string> events;
    std::vector<std::string> messages;
    std::vector<Notice> notices;
    std::vector<Texts> atMessage;
    std::vector<Failure> failures;
};

// An event of a notice shown, as RecordingHost records it.
inline std::string message(Notice notice) {
    return "message: " + std::string(noticeText(notice));
}

} // namespace beltrix::test
