// Properties of the nine calculation buttons that must hold for any field texts and any clicks.
// An input reads "clicks|Text1|Text6|Text7|Text11|Text13|Text2|Text12|Text4|Text5|Text3": each
// byte before the first "|" is one click, "0" to "8" naming the buttons in the order of
// beltrix::Button (any other byte counts modulo 9; at most four clicks, and an empty list is one
// click of Command9); the ten field texts follow, the last one taking the rest of the input, and
// a field that is not given holds the text the window opens with.
//
// Every click runs on a host that records each write, message and failure. The host itself
// stops the run at an event after a failure; the rest is checked once the click has returned,
// against what each button may do by the rules of its panel (calc/*.cpp).

#include "calc/calculator.h"
#include "calc/conversions.h"
#include "calc/failure.h"
#include "calc/field_model.h"
#include "calc/notice.h"
#include "fuzz/fuzz_support.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace beltrix::fuzz {
namespace {

constexpr std::array<Button, 9> buttonsInOrder = {
    Button::Command9,  Button::Command17, Button::Command6,  Button::Command24, Button::Command16,
    Button::Command20, Button::Command13, Button::Command18, Button::Command21,
};

constexpr std::size_t maxClicks = 4;

using Texts = std::array<std::string, allFields.size()>;

std::size_t slotOf(Field field) {
    return static_cast<std::size_t>(std::find(allFields.begin(), allFields.end(), field) -
                                    allFields.begin());
}

struct Event {
    enum class Kind { Write, Message, Failure };
    Kind kind;
    Field field = Field::Text1; // of a write or a failure
    std::string text;           // the text written, the message, or the failure's field text
    Cause cause = Cause::NotANumber;

    bool operator==(const Event&) const = default;
};

std::string describe(const Event& event) {
    switch (event.kind) {
    case Event::Kind::Write:
        return "write " + std::string(fieldName(event.field)) + " = " + quoted(event.text);
    case Event::Kind::Message:
        return "message " + quoted(event.text);
    case Event::Kind::Failure:
        return "failure " + failureMessage(Failure{event.field, event.cause, event.text});
    }
    return "?";
}

std::string describe(const std::vector<Event>& events) {
    std::string out;
    for (const Event& event : events) {
        out += "\n    " + describe(event);
    }
    return out;
}

std::string describe(const Texts& texts) {
    std::string out;
    for (Field field : allFields) {
        out += "\n    " + std::string(fieldName(field)) + " = " + quoted(texts[slotOf(field)]);
    }
    return out;
}

// One click as the fuzz input gave it, for the messages of broken properties.
struct ClickContext {
    std::size_t number = 0; // 1-based
    Button button = Button::Command9;
    Texts before;

    std::string describe() const {
        return "click " + std::to_string(number) + " (" + std::string(buttonName(button)) + ") on" +
               fuzz::describe(before);
    }
};

class RecordingHost final : public FieldHost {
public:
    explicit RecordingHost(Texts texts) : texts_(std::move(texts)) {}

    // Starts the record of a new click; the texts stay as the last click left them.
    void beginClick(const ClickContext& context) {
        context_ = &context;
        events_.clear();
        failed_ = false;
    }

    std::string text(Field field) const override { return texts_[slotOf(field)]; }

    void setText(Field field, const std::string& text) override {
        requireNoFailureYet([&] { return "a write into " + std::string(fieldName(field)); });
        texts_[slotOf(field)] = text;
        events_.push_back({Event::Kind::Write, field, text});
    }

    void showNotice(Notice notice) override {
        const std::string text(noticeText(notice));
        requireNoFailureYet([&] { return "a message " + quoted(text); });
        events_.push_back({Event::Kind::Message, Field::Text1, text});
    }

    void reportFailure(const Failure& failure) override {
        requireNoFailureYet([] { return std::string("a second failure"); });
        // The failure names the text the user sees in the field when the click stops.
        require(failure.text == texts_[slotOf(failure.field)], [&] {
            return context_->describe() + "\n  reports a failure of " +
                   std::string(fieldName(failure.field)) + " quoting " + quoted(failure.text) +
                   ", while the field holds " + quoted(texts_[slotOf(failure.field)]);
        });
        events_.push_back({Event::Kind::Failure, failure.field, failure.text, failure.cause});
        failed_ = true;
    }

    const Texts& texts() const { return texts_; }
    const std::vector<Event>& events() const { return events_; }

private:
    template <typename What> void requireNoFailureYet(What&& what) const {
        require(!failed_, [&] {
            return context_->describe() + "\n  goes on after its failure with " + what() +
                   "; events so far:" + fuzz::describe(events_);
        });
    }

    Texts texts_;
    const ClickContext* context_ = nullptr;
    std::vector<Event> events_;
    bool failed_ = false;
};

// Every message the engine has; anything else in a message box would be a stray text.
const std::array<std::string_view, 6> allMessages = {
    noticeText(Notice::UnknownDslamVlan),      noticeText(Notice::EnterValidPort),
    noticeText(Notice::EnterValidPortCapital), noticeText(Notice::ControlCardSlots),
    noticeText(Notice::PortInSecondFrame),     noticeText(Notice::SlotPortInSecondFrame),
};

// A message that ends the click's calculation: only the emptying of these fields, in this order,
// may follow it.
struct Rejection {
    std::string_view message;
    std::vector<Field> emptied;
    bool shownFirst = false; // before anything else happens in the click
};

// What a button may do, from the rules of its panel.
struct ButtonRules {
    Button button;
    std::vector<Field> written;     // may receive a number
    std::vector<Field> emptiedOnly; // may only be emptied
    std::vector<Field> read;        // a failure names one of these
    std::vector<std::string_view> notices;
    std::vector<Rejection> rejections;
    std::vector<Field> clears; // a CLEAR button empties exactly these and does nothing else
};

using enum Field;

const std::vector<ButtonRules>& allRules() {
    static const std::vector<ButtonRules> rules = {
        {Button::Command9,
         {Text7, Text11, Text13, Text3, Text6},
         {Text1},
         {Text1, Text6, Text7},
         {noticeText(Notice::ControlCardSlots), noticeText(Notice::PortInSecondFrame)},
         {{noticeText(Notice::UnknownDslamVlan), {}, true},
          {noticeText(Notice::EnterValidPort), {Text1, Text6, Text7, Text11, Text13}, false},
          {noticeText(Notice::EnterValidPortCapital),
           {Text1, Text3, Text6, Text7, Text11, Text13},
           true}},
         {}},
        {Button::Command17, {}, {}, {}, {}, {}, {Text1, Text3, Text6, Text7, Text11, Text13}},
        {Button::Command6,
         {Text12, Text4, Text5},
         {Text2, Text3},
         {Text2, Text12},
         {},
         {{noticeText(Notice::EnterValidPort), {Text2, Text3, Text12, Text4, Text5}, false}},
         {}},
        {Button::Command24,
         {Text2, Text4, Text5},
         {Text3, Text12},
         {Text12},
         {},
         {{noticeText(Notice::EnterValidPort), {Text2, Text3, Text12, Text4, Text5}, false}},
         {}},
        {Button::Command16,
         {Text12, Text2},
         {Text4, Text5},
         {Text5, Text4, Text12},
         {},
         {{noticeText(Notice::EnterValidPortCapital), {Text2, Text12, Text4, Text5}, true}},
         {}},
        {Button::Command20, {}, {}, {}, {}, {}, {Text2, Text3, Text12, Text4, Text5}},
        {Button::Command13,
         {Text12, Text3, Text4, Text5, Text2},
         {},
         {Text2},
         {noticeText(Notice::PortInSecondFrame)},
         {},
         {}},
        {Button::Command18,
         {Text2, Text12, Text3, Text4, Text5},
         {},
         {Text12, Text2},
         {noticeText(Notice::PortInSecondFrame)},
         {},
         {}},
        {Button::Command21,
         {Text12, Text3, Text2, Text4},
         {Text5},
         {Text5, Text4, Text12},
         {noticeText(Notice::SlotPortInSecondFrame)},
         {{noticeText(Notice::EnterValidPortCapital), {Text2, Text12, Text4, Text5, Text3}, false}},
         {}},
    };
    return rules;
}

const ButtonRules& rulesOf(Button button) {
    const auto& rules = allRules();
    auto found = std::find_if(rules.begin(), rules.end(),
                              [button](const ButtonRules& r) { return r.button == button; });
    require(found != rules.end(), [&] {
        return "no rules for " + std::string(buttonName(button)) + " in the fuzz target";
    });
    return *found;
}

template <typename T, typename U> bool contains(const std::vector<T>& list, const U& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// The engine writes nothing but the texts of its own numbers (and copies of them), which must
// read back as the number they show. The one exception is the 15-digit rounding of a number at
// the top of the double range, which lies beyond that range; reading it back fails.
void checkWrittenNumber(const ClickContext& context, const Event& write) {
    const std::string& text = write.text;
    Converted<double> value = StrictNumberFromText(text);
    bool topOfRange = text == "1.79769313486232E+308" || text == "-1.79769313486232E+308";
    if (topOfRange) {
        require(!value.ok() && *value.failure == Cause::TooLarge, [&] {
            return context.describe() + "\n  writes " + quoted(text) + " into " +
                   std::string(fieldName(write.field)) + ", which reads back";
        });
        return;
    }
    require(value.ok() && TextFromNumber(value.value) == text, [&] {
        return context.describe() + "\n  writes " + quoted(text) + " into " +
               std::string(fieldName(write.field)) + ", which is not a number as the engine " +
               "writes one";
    });
}

// Characters that would break a message box's single line: C0 and C1 controls, DEL, and the
// line and paragraph separators.
bool breaksTheLine(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        unsigned char next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c < 0x20 || c == 0x7F || (c == 0xC2 && next >= 0x80 && next < 0xA0) ||
            text.substr(i, 3) == "\u2028" || text.substr(i, 3) == "\u2029") {
            return true;
        }
    }
    return false;
}

// The message box shows the sentence on one line; a valid text must give a valid sentence of
// bounded length whatever the field held (a pasted text can be megabytes long).
template <typename Where> void checkFailureMessage(const Failure& failure, Where&& where) {
    if (!isValidUtf8(failure.text)) {
        return;
    }
    std::string message = failureMessage(failure);
    std::size_t codePoints = 0;
    require(isValidUtf8(message, &codePoints), [&] {
        return where() + "\n  gives a message that is not valid UTF-8: " + quoted(message);
    });
    // The longest label and sentence, with a quote of 40 characters of up to 4 bytes each, take
    // about 220 bytes; a longer message would no longer fit the box.
    constexpr std::size_t maxBytes = 240;
    constexpr std::size_t maxCodePoints = 120;
    require(message.size() <= maxBytes && codePoints <= maxCodePoints, [&] {
        return where() + "\n  gives a message of " + std::to_string(message.size()) + " bytes, " +
               std::to_string(codePoints) + " characters";
    });
    require(!breaksTheLine(message), [&] {
        return where() +
               "\n  gives a message with a control character or line separator: " + quoted(message);
    });
    require(message.starts_with(fieldLabel(failure.field)),
            [&] { return where() + "\n  gives a message that does not name the field"; });
    // A short, plain text is quoted as it stands, so that the user recognises it.
    std::size_t textCodePoints = 0;
    isValidUtf8(failure.text, &textCodePoints);
    bool plain = !breaksTheLine(failure.text);
    bool blank = failure.text.find_first_not_of(' ') == std::string::npos;
    if (plain && !blank && textCodePoints <= 20) {
        require(message.find("\"" + failure.text + "\"") != std::string::npos, [&] {
            return where() + "\n  gives a message that does not quote the text: " + quoted(message);
        });
    }
}

void checkFailure(const ClickContext& context, const ButtonRules& rules, const Event& failure) {
    auto where = [&] { return context.describe() + "\n  fails: " + describe(failure); };
    require(contains(rules.read, failure.field), [&] {
        return where() + "\n  naming " + std::string(fieldName(failure.field)) +
               ", which this button does not read";
    });
    if (failure.cause == Cause::NotANumber) {
        Converted<double> strict = StrictNumberFromText(failure.text);
        require(!strict.ok() && *strict.failure == Cause::NotANumber,
                [&] { return where() + "\n  although the text reads as a number"; });
    }

    checkFailureMessage(Failure{failure.field, failure.cause, failure.text}, where);
}

void checkClick(const ClickContext& context, const std::vector<Event>& events) {
    const ButtonRules& rules = rulesOf(context.button);
    auto where = [&] { return context.describe() + "\n  gives:" + describe(events); };

    if (!rules.clears.empty()) {
        std::vector<Event> expected;
        for (Field field : rules.clears) {
            expected.push_back({Event::Kind::Write, field, ""});
        }
        require(events == expected,
                [&] { return where() + "\n  but a CLEAR button only empties its fields"; });
        return;
    }

    std::vector<std::string_view> shown;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const Event& event = events[i];
        switch (event.kind) {
        case Event::Kind::Write:
            if (contains(rules.emptiedOnly, event.field)) {
                require(event.text.empty(), [&] {
                    return where() + "\n  but this button only ever empties " +
                           std::string(fieldName(event.field));
                });
            } else {
                require(contains(rules.written, event.field), [&] {
                    return where() + "\n  but this button never writes " +
                           std::string(fieldName(event.field));
                });
                if (!event.text.empty()) {
                    checkWrittenNumber(context, event);
                }
            }
            break;
        case Event::Kind::Message: {
            require(std::find(allMessages.begin(), allMessages.end(), event.text) !=
                        allMessages.end(),
                    [&] { return where() + "\n  but " + quoted(event.text) + " is no message"; });
            require(!contains(shown, event.text),
                    [&] { return where() + "\n  but shows a message twice"; });
            shown.push_back(event.text);
            auto rejection =
                std::find_if(rules.rejections.begin(), rules.rejections.end(),
                             [&](const Rejection& r) { return r.message == event.text; });
            if (rejection == rules.rejections.end()) {
                require(contains(rules.notices, event.text), [&] {
                    return where() + "\n  but this button never shows " + quoted(event.text);
                });
                break;
            }
            require(!rejection->shownFirst || i == 0,
                    [&] { return where() + "\n  but nothing comes before " + quoted(event.text); });
            std::vector<Event> rest(events.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                    events.end());
            std::vector<Event> expected;
            for (Field field : rejection->emptied) {
                expected.push_back({Event::Kind::Write, field, ""});
            }
            require(rest == expected, [&] {
                return where() + "\n  but after " + quoted(event.text) +
                       " comes only the emptying of its fields:" + describe(expected);
            });
            return;
        }
        case Event::Kind::Failure:
            checkFailure(context, rules, event);
            break;
        }
    }
}

struct Scenario {
    std::vector<Button> clicks;
    Texts texts;
};

Scenario decode(std::string_view input) {
    Scenario scenario;
    for (Field field : allFields) {
        scenario.texts[slotOf(field)] = std::string(initialText(field));
    }
    std::size_t bar = input.find('|');
    std::string_view clicks = input.substr(0, bar);
    for (std::size_t i = 0; i < clicks.size() && i < maxClicks; ++i) {
        auto digit = static_cast<unsigned char>(clicks[i] - '0');
        scenario.clicks.push_back(buttonsInOrder[digit % buttonsInOrder.size()]);
    }
    if (scenario.clicks.empty()) {
        scenario.clicks.push_back(Button::Command9);
    }
    std::size_t slot = 0;
    while (bar != std::string_view::npos && slot < allFields.size()) {
        std::size_t start = bar + 1;
        bar = slot + 1 < allFields.size() ? input.find('|', start) : std::string_view::npos;
        scenario.texts[slot] = std::string(input.substr(start, bar - start));
        ++slot;
    }
    return scenario;
}

void click(Calculator& calculator, RecordingHost& host, const ClickContext& context) {
    host.beginClick(context);
    try {
        calculator.click(context.button);
    } catch (...) {
        violated(context.describe() + "\n  lets an exception escape the click; events so far:" +
                 describe(host.events()));
    }
}

} // namespace
} // namespace beltrix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace beltrix;
    using namespace beltrix::fuzz;
    Scenario scenario = decode(std::string_view(reinterpret_cast<const char*>(data), size));

    // Any text can end up in a failure, not only those that a click happens to stop at.
    for (Field field : allFields) {
        for (Cause cause : {Cause::NotANumber, Cause::OutOfRange, Cause::TooLarge}) {
            Failure failure{field, cause, scenario.texts[slotOf(field)]};
            checkFailureMessage(failure, [&] {
                return "the failure message for " + std::string(fieldName(field)) + " holding " +
                       quoted(failure.text);
            });
        }
    }

    // One host and one calculator for all clicks, as in the window: each click starts from the
    // texts and the working integers that the earlier ones left.
    RecordingHost host(scenario.texts);
    Calculator calculator(host);
    ClickContext context;
    for (std::size_t i = 0; i < scenario.clicks.size(); ++i) {
        context.number = i + 1;
        context.button = scenario.clicks[i];
        context.before = host.texts();
        click(calculator, host, context);
        checkClick(context, host.events());

        // The fields are the only state that passes from one click to the next: the same click
        // on the same texts in a newly opened window does the same.
        RecordingHost freshHost(context.before);
        Calculator freshCalculator(freshHost);
        click(freshCalculator, freshHost, context);
        require(freshHost.events() == host.events() && freshHost.texts() == host.texts(), [&] {
            return context.describe() + "\n  depends on the earlier clicks: it gives" +
                   describe(host.events()) + "\n  and in a new window" +
                   describe(freshHost.events());
        });
    }
    return 0;
}
