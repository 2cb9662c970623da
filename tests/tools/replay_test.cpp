#include "tools/replay/replay.h"

#include "calc/failure.h"
#include "calc/notice.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <ostream>
#include <string>

namespace beltrix::replay {
namespace {

json::Value answerOf(const std::string& line) {
    const Answer answer = answerLine(line);
    EXPECT_FALSE(answer.invalid) << answer.line;
    const json::ParseResult parsed = json::parse(answer.line);
    EXPECT_TRUE(parsed.ok()) << parsed.error << " in " << answer.line;
    return parsed.value;
}

json::Value eventsOf(const std::string& line) {
    return *answerOf(line).find("events");
}

json::Value click(const char* button) {
    return json::Value::Object{{"click", button}};
}
json::Value write(const char* field, const char* text) {
    return json::Value::Object{{"write", field}, {"text", text}};
}

TEST(Replay, AnswersTheDslamVlanExampleExactly) {
    const Answer answer =
        answerLine(R"({"fields": {"Text1": "2002", "Text6": "200"}, "clicks": ["Command9"]})");
    EXPECT_FALSE(answer.invalid);
    EXPECT_EQ(answer.line,
              R"({"events": [{"click": "Command9"}, {"write": "Text7", "text": "73"}, )"
              R"({"write": "Text11", "text": "2"}, {"write": "Text13", "text": "25"}], )"
              R"("fields": {"Text1": "2002", "Text6": "200", "Text7": "73", "Text11": "2", )"
              R"("Text13": "25", "Text2": " ", "Text12": "", "Text4": " ", "Text5": " ", )"
              R"("Text3": ""}, "work": {"workA": 73, "workB": 25, "workC": 2002, "workD": 0}})");
}

// The answer to a request that names no field and clicks nothing.
const std::string openedWindow =
    R"({"events": [], "fields": {"Text1": "", "Text6": "", "Text7": "", "Text11": "", )"
    R"("Text13": "", "Text2": " ", "Text12": "", "Text4": " ", "Text5": " ", "Text3": ""}, )"
    R"("work": {"workA": 0, "workB": 0, "workC": 0, "workD": 0}})";

TEST(Replay, RequestWithoutClicksLeavesTheOpenedWindow) {
    EXPECT_EQ(answerLine("{}").line, openedWindow);
    EXPECT_EQ(answerLine(R"({"fields": {}, "clicks": []})").line, openedWindow);
    // A trailing carriage return, as from CRLF input, is whitespace.
    EXPECT_EQ(answerLine("{}\r").line, openedWindow);
}

TEST(Replay, EveryLineStartsAFreshWindow) {
    answerLine(R"({"fields": {"Text1": "2002", "Text6": "200", "Text12": "12abc"}, )"
               R"("clicks": ["Command9", "Command24"]})");
    EXPECT_EQ(answerLine("{}").line, openedWindow);
}

TEST(Replay, NamedFieldsReplaceTheirInitialTextsAndComeBackUntouched) {
    const std::string text = "\"\\\xC3\xA9\x01";
    const json::Value fields =
        *answerOf(json::write(json::Value::Object{
                      {"fields", json::Value::Object{{"Text4", text}, {"Text12", "9"}}}}))
             .find("fields");
    for (Field field : allFields) {
        const json::Value* written = fields.find(fieldName(field));
        ASSERT_NE(written, nullptr) << fieldName(field);
        const std::string expected = field == Field::Text4    ? text
                                     : field == Field::Text12 ? "9"
                                                              : std::string(initialText(field));
        EXPECT_EQ(written->asString(), expected) << fieldName(field);
    }
}

TEST(Replay, MegabyteTextComesBackWhole) {
    const std::string text(1 << 20, '7');
    const json::Value answer = answerOf(R"({"fields": {"Text2": ")" + text + R"("}})");
    EXPECT_EQ(answer.find("fields")->find("Text2")->asString(), text);
}

TEST(Replay, RangeMessageComesBetweenTheWritesAroundIt) {
    const json::Value expected = json::Value::Array{
        click("Command9"),
        write("Text7", "769"),
        json::Value::Object{{"message", std::string(noticeText(Notice::EnterValidPort))}},
        write("Text1", ""),
        write("Text6", ""),
        write("Text7", ""),
        write("Text11", ""),
        write("Text13", ""),
    };
    EXPECT_EQ(eventsOf(R"({"fields": {"Text1": "2002", "Text6": "896"}, "clicks": ["Command9"]})"),
              expected);
}

TEST(Replay, FailureIsTheLastEventOfItsClick) {
    const json::Value::Array events =
        eventsOf(R"({"fields": {"Text12": "12abc"}, "clicks": ["Command24", "Command17"]})")
            .asArray();
    const json::Value failure =
        json::Value::Object{{"error", failureMessage({Field::Text12, Cause::NotANumber, "12abc"})}};
    const json::Value::Array expectedTail = {failure,
                                             click("Command17"),
                                             write("Text1", ""),
                                             write("Text3", ""),
                                             write("Text6", ""),
                                             write("Text7", ""),
                                             write("Text11", ""),
                                             write("Text13", "")};
    ASSERT_GT(events.size(), expectedTail.size());
    EXPECT_EQ(events.front(), click("Command24"));
    EXPECT_EQ(json::Value::Array(events.end() - static_cast<std::ptrdiff_t>(expectedTail.size()),
                                 events.end()),
              expectedTail);
}

// Working integers and fields stay with the window from one click to the next: the clear
// empties what the calculation wrote, and the calculation's working integers are still there
// afterwards unless the clear itself sets them.
TEST(Replay, ClicksShareFieldsAndWorkingIntegers) {
    const json::Value answer = answerOf(
        R"({"fields": {"Text1": "2002", "Text6": "200"}, "clicks": ["Command9", "Command17"]})");
    const json::Value expectedEvents = json::Value::Array{
        click("Command9"),  write("Text7", "73"), write("Text11", "2"), write("Text13", "25"),
        click("Command17"), write("Text1", ""),   write("Text3", ""),   write("Text6", ""),
        write("Text7", ""), write("Text11", ""),  write("Text13", ""),
    };
    EXPECT_EQ(*answer.find("events"), expectedEvents);
    for (Field field : allFields) {
        EXPECT_EQ(answer.find("fields")->find(fieldName(field))->asString(), initialText(field))
            << fieldName(field);
    }

    // The same clicks on the engine directly, with one window for both.
    class Window : public FieldHost {
    public:
        std::array<std::string, allFields.size()> texts;
        std::string text(Field field) const override { return texts[index(field)]; }
        void setText(Field field, const std::string& text) override { texts[index(field)] = text; }
        void showNotice(Notice) override {}
        void reportFailure(const Failure&) override {}
        static std::size_t index(Field field) { return static_cast<std::size_t>(field); }
    } window;
    for (Field field : allFields) {
        window.texts[Window::index(field)] = initialText(field);
    }
    window.texts[Window::index(Field::Text1)] = "2002";
    window.texts[Window::index(Field::Text6)] = "200";
    Calculator calculator(window);
    calculator.click(Button::Command9);
    calculator.click(Button::Command17);
    const WorkingIntegers& work = calculator.work();
    EXPECT_EQ(*answer.find("work"), (json::Value::Object{{"workA", work.workA},
                                                         {"workB", work.workB},
                                                         {"workC", work.workC},
                                                         {"workD", work.workD}}));
}

struct InvalidCase {
    const char* name;
    std::string line;
    std::string reason;
};

// Failures name the row rather than dump its bytes.
void PrintTo(const InvalidCase& row, std::ostream* out) {
    *out << row.name;
}

class ReplayRefuses : public testing::TestWithParam<InvalidCase> {};

TEST_P(ReplayRefuses, WithReason) {
    const Answer answer = answerLine(GetParam().line);
    EXPECT_TRUE(answer.invalid);
    EXPECT_EQ(answer.line, json::write(json::Value::Object{{"invalid", GetParam().reason}}));
}

INSTANTIATE_TEST_SUITE_P(
    Replay, ReplayRefuses,
    testing::Values(
        InvalidCase{"EmptyLine", "", "empty line"},
        InvalidCase{"BlankCrlfLine", " \r", "empty line"},
        InvalidCase{"BadJson", R"({"clicks": [)", "bad JSON: unexpected end of input at offset 12"},
        InvalidCase{"TwoRequestsOnOneLine", "{} {}", "bad JSON: unexpected character at offset 3"},
        InvalidCase{"InvalidUtf8", "{\"fields\": {\"Text1\": \"\xC0\xB2\"}}",
                    "bad JSON: invalid UTF-8 at offset 22"},
        InvalidCase{"LoneSurrogate", R"({"fields": {"Text1": "\uDE00"}})",
                    "bad JSON: lone surrogate in string at offset 27"},
        InvalidCase{"ByteOrderMark", "\xEF\xBB\xBF{}",
                    "bad JSON: unexpected character at offset 0"},
        InvalidCase{"NulAfterTheRequest", std::string("{}\0", 3),
                    "bad JSON: unexpected character at offset 2"},
        InvalidCase{"DuplicateField", R"({"fields": {"Text1": "1", "Text1": "2"}})",
                    "bad JSON: duplicate key \"Text1\" at offset 26"},
        InvalidCase{"DuplicateTopLevelKey", R"({"clicks": [], "clicks": []})",
                    "bad JSON: duplicate key \"clicks\" at offset 15"},
        InvalidCase{"ArrayRequest", R"(["Command9"])", "request is not a JSON object"},
        InvalidCase{"StringRequest", R"("Command9")", "request is not a JSON object"},
        InvalidCase{"UnknownKey", R"({"fields": {}, "click": ["Command9"]})",
                    "unknown key \"click\""},
        InvalidCase{"UnknownKeyQuotedInReason", R"({"a\"b": 1})", R"(unknown key "a\"b")"},
        InvalidCase{"FieldsNotAnObject", R"({"fields": [["Text1", "2002"]]})",
                    "fields is not an object"},
        InvalidCase{"UnknownField", R"({"fields": {"Text1": "2002", "Text99": "1"}})",
                    "unknown field \"Text99\""},
        InvalidCase{"FieldLabelInsteadOfName", R"({"fields": {"DSLAM VLAN": "2002"}})",
                    "unknown field \"DSLAM VLAN\""},
        InvalidCase{"NumberAsText", R"({"fields": {"Text1": 2002}})",
                    "text of Text1 is not a string"},
        InvalidCase{"NullAsText", R"({"fields": {"Text6": null}})",
                    "text of Text6 is not a string"},
        InvalidCase{"ClicksNotAnArray", R"({"clicks": "Command9"})", "clicks is not an array"},
        InvalidCase{"ClickNotAString", R"({"clicks": ["Command9", 9]})", "click 2 is not a string"},
        InvalidCase{"UnknownButtonAfterAValidOne", R"({"clicks": ["Command9", "Command5"]})",
                    "unknown button \"Command5\""},
        InvalidCase{"BadFieldAfterClicks", R"({"clicks": ["Command9"], "fields": {"Text0": ""}})",
                    "unknown field \"Text0\""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace beltrix::replay
