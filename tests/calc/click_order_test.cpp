// What the operator sees and when: the exact sequence of writes and messages of a click, the
// fields on screen while each message waits, and where a click stops when an input cannot be
// converted.

#include "calc/calculator.h"
#include "tests/calc/recording_host.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace beltrix {
namespace {

using test::RecordingHost;
using Fields = std::vector<std::pair<Field, std::string>>;
using Events = std::vector<std::string>;
using enum Field;

struct Sequence {
    const char* name;
    Button button;
    Fields typed;
    Events events;
};

std::ostream& operator<<(std::ostream& out, const Sequence& s) {
    return out << s.name;
}

class ClickSequence : public ::testing::TestWithParam<Sequence> {};

TEST_P(ClickSequence, HappensInThisOrder) {
    const Sequence& s = GetParam();
    RecordingHost host(s.typed);
    Calculator calculator(host);
    calculator.click(s.button);
    EXPECT_EQ(host.events, s.events);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ClickSequence,
    ::testing::Values(
        // The tag block is on screen while the range message waits; the emptying follows it.
        Sequence{"Rejected48PortTagBlock",
                 Button::Command9,
                 {{Text1, "2002"}, {Text6, "896"}},
                 {"Text7=769", test::message(Notice::EnterValidPort),
                  "Text1=", "Text6=", "Text7=", "Text11=", "Text13="}},
        Sequence{"ControlCardNoticeBeforeSlot",
                 Button::Command9,
                 {{Text1, "3900"}, {Text6, "464"}},
                 {"Text7=337", test::message(Notice::ControlCardSlots), "Text11=9", "Text13=0"}},
        // In the 24-port second frame the notice comes before any write.
        Sequence{"SecondFrameNoticeFirst",
                 Button::Command9,
                 {{Text1, "3500"}, {Text6, "600"}},
                 {test::message(Notice::PortInSecondFrame), "Text7=473", "Text3=473", "Text7=89",
                  "Text6=216", "Text11=4", "Text13=17"}},
        Sequence{"Rejected24PortInner",
                 Button::Command9,
                 {{Text1, "3500"}, {Text6, "0"}},
                 {test::message(Notice::EnterValidPortCapital),
                  "Text1=", "Text3=", "Text6=", "Text7=", "Text11=", "Text13="}},
        Sequence{"UnknownDslamWritesNothing",
                 Button::Command9,
                 {{Text1, "2024"}, {Text6, "200"}},
                 {test::message(Notice::UnknownDslamVlan)}},
        Sequence{"ClearVlanBased",
                 Button::Command17,
                 {},
                 {"Text1=", "Text3=", "Text6=", "Text7=", "Text11=", "Text13="}},
        Sequence{"Rejected48PortVlan",
                 Button::Command6,
                 {{Text2, "896"}},
                 {"Text12=769", test::message(Notice::EnterValidPort),
                  "Text2=", "Text3=", "Text12=", "Text4=", "Text5="}},
        Sequence{"Rejected48PortTag",
                 Button::Command24,
                 {{Text12, "769"}},
                 {"Text2=896", test::message(Notice::EnterValidPort),
                  "Text2=", "Text3=", "Text12=", "Text4=", "Text5="}},
        Sequence{"Reverse48",
                 Button::Command16,
                 {{Text4, "4"}, {Text5, "29"}},
                 {"Text12=173", "Text2=300"}},
        Sequence{"Rejected48PortPortKeepsText3",
                 Button::Command16,
                 {{Text4, "1"}, {Text5, "49"}},
                 {test::message(Notice::EnterValidPortCapital),
                  "Text2=", "Text12=", "Text4=", "Text5="}},
        Sequence{"ClearPortCalculator",
                 Button::Command20,
                 {},
                 {"Text2=", "Text3=", "Text12=", "Text4=", "Text5="}},
        Sequence{"Convert24FirstFrame",
                 Button::Command13,
                 {{Text2, "300"}},
                 {"Text12=173", "Text3=173", "Text4=8", "Text5=5"}},
        Sequence{"Convert24VlanNoticeFirst",
                 Button::Command13,
                 {{Text2, "527"}},
                 {test::message(Notice::PortInSecondFrame), "Text3=400", "Text12=16", "Text2=143",
                  "Text4=1", "Text5=16"}},
        // The tag block's VLAN is written before the notice.
        Sequence{"Convert24TagVlanBeforeNotice",
                 Button::Command18,
                 {{Text12, "400"}},
                 {"Text2=527", test::message(Notice::PortInSecondFrame), "Text3=400", "Text12=16",
                  "Text4=1", "Text5=16"}},
        Sequence{"Reverse24FirstFrame",
                 Button::Command21,
                 {{Text4, "8"}, {Text5, "5"}},
                 {"Text12=173", "Text3=173", "Text2=300"}},
        Sequence{"Reverse24SecondFrame",
                 Button::Command21,
                 {{Text4, "17"}, {Text5, "16"}},
                 {test::message(Notice::SlotPortInSecondFrame), "Text3=400", "Text4=1", "Text12=16",
                  "Text2=143"}},
        Sequence{"Reverse24SecondFrameBadPort",
                 Button::Command21,
                 {{Text4, "20"}, {Text5, "0"}},
                 {test::message(Notice::SlotPortInSecondFrame), "Text3=456",
                  test::message(Notice::EnterValidPortCapital),
                  "Text2=", "Text12=", "Text4=", "Text5=", "Text3="}}),
    [](const auto& info) { return std::string(info.param.name); });

// A step that cannot convert its input stops the click there: what was written stays, nothing
// after it runs, and the operator is told which field and why.
INSTANTIATE_TEST_SUITE_P(
    Failures, ClickSequence,
    ::testing::Values(
        Sequence{"DslamVlanOutOfRange",
                 Button::Command9,
                 {{Text1, "40000"}, {Text6, "200"}},
                 {"failure: DSLAM VLAN: \"40000\" gives a number outside -32768 to 32767."}},
        Sequence{"DslamVlanBeyondDoubles",
                 Button::Command9,
                 {{Text1, "1E400"}, {Text6, "200"}},
                 {"failure: DSLAM VLAN: \"1E400\" is too large to calculate."}},
        Sequence{"TagBlockShownThenOutOfRange",
                 Button::Command9,
                 {{Text1, "2002"}, {Text6, "40000"}},
                 {"Text7=39873",
                  "failure: TAG BLOCK NO: \"39873\" gives a number outside -32768 to 32767."}},
        Sequence{"ControlCardInnerBeyondDoubles",
                 Button::Command9,
                 {{Text1, "3900"}, {Text6, "1e309"}},
                 {"failure: INNER VLAN: \"1e309\" is too large to calculate."}},
        Sequence{"Inner24PortOutOfRange",
                 Button::Command9,
                 {{Text1, "3500"}, {Text6, "40000"}},
                 {"failure: INNER VLAN: \"40000\" gives a number outside -32768 to 32767."}},
        Sequence{"SecondFrameRewriteOfInnerVlan",
                 Button::Command9,
                 {{Text1, "3500"}, {Text6, "600abc"}},
                 {test::message(Notice::PortInSecondFrame), "Text7=473", "Text3=473", "Text7=89",
                  "failure: INNER VLAN: \"600abc\" is not a number."}},
        Sequence{"TagBlockFromHugeVlan",
                 Button::Command6,
                 {{Text2, "99999"}},
                 {"Text12=99872",
                  "failure: TAG BLOCK NO: \"99872\" gives a number outside -32768 to 32767."}},
        Sequence{"TagBlockNotANumber",
                 Button::Command24,
                 {{Text12, "12abc"}},
                 {"failure: TAG BLOCK NO: \"12abc\" is not a number."}},
        Sequence{"TagBlockEmpty",
                 Button::Command24,
                 {{Text12, ""}},
                 {"failure: TAG BLOCK NO is empty: enter a number."}},
        Sequence{"TagBlockOutOfRange",
                 Button::Command24,
                 {{Text12, "40000"}},
                 {"Text2=40127",
                  "failure: TAG BLOCK NO: \"40000\" gives a number outside -32768 to 32767."}},
        Sequence{"ReversePortBlank",
                 Button::Command16,
                 {{Text4, "1"}, {Text5, " "}},
                 {"failure: PORT is empty: enter a number."}},
        Sequence{"ReversePortOutOfRange",
                 Button::Command16,
                 {{Text4, "1"}, {Text5, "40000"}},
                 {"failure: PORT: \"40000\" gives a number outside -32768 to 32767."}},
        Sequence{"ReverseSlotOverflows",
                 Button::Command16,
                 {{Text4, "1E307"}, {Text5, "1"}},
                 {"failure: SLOT: \"1E307\" is too large to calculate."}},
        Sequence{"ReverseSlotBeyondDoubles",
                 Button::Command16,
                 {{Text4, "-1E400"}, {Text5, "1"}},
                 {"failure: SLOT: \"-1E400\" is too large to calculate."}},
        Sequence{"Convert24VlanEmpty",
                 Button::Command13,
                 {{Text2, ""}},
                 {"failure: VLAN is empty: enter a number."}},
        Sequence{"Convert24VlanLettersInSecondFrame",
                 Button::Command13,
                 {{Text2, "600abc"}},
                 {test::message(Notice::PortInSecondFrame), "Text3=473", "Text12=89",
                  "failure: VLAN: \"600abc\" is not a number."}},
        Sequence{"Convert24VlanOutOfRangeAfterNotice",
                 Button::Command13,
                 {{Text2, "40000"}},
                 {test::message(Notice::PortInSecondFrame),
                  "failure: VLAN: \"40000\" gives a number outside -32768 to 32767."}},
        Sequence{"Convert24VlanNegativeOutOfRange",
                 Button::Command13,
                 {{Text2, "-32700"}},
                 {"failure: VLAN: \"-32700\" gives a number outside -32768 to 32767."}},
        Sequence{"Convert24TagOutOfRange",
                 Button::Command18,
                 {{Text12, "40000"}},
                 {"Text2=40127", test::message(Notice::PortInSecondFrame), "Text3=40000",
                  "failure: VLAN: \"40127\" gives a number outside -32768 to 32767."}},
        Sequence{"Reverse24PortReadFirst",
                 Button::Command21,
                 {{Text4, ""}, {Text5, "x"}},
                 {"failure: PORT: \"x\" is not a number."}},
        Sequence{"Reverse24SlotEmpty",
                 Button::Command21,
                 {{Text4, ""}, {Text5, "3"}},
                 {"failure: SLOT is empty: enter a number."}},
        Sequence{
            "LongTextIsShortenedInTheMessage",
            Button::Command24,
            {{Text12, std::string(100, '7') + "x"}},
            {"failure: TAG BLOCK NO: \"" + std::string(40, '7') + "\u2026\" is not a number."}},
        Sequence{"ControlCharactersShownAsReplacement",
                 Button::Command24,
                 {{Text12, std::string("1\n\0"
                                       "2",
                                       4)}},
                 {"failure: TAG BLOCK NO: \"1\uFFFD\uFFFD2\" is not a number."}},
        Sequence{"LineSeparatorsShownAsReplacement",
                 Button::Command24,
                 {{Text12, "1\u2028\u0085\u20292"}},
                 {"failure: TAG BLOCK NO: \"1\uFFFD\uFFFD\uFFFD2\" is not a number."}},
        // A lead byte without its continuation bytes is a character of its own: the line break,
        // and the cut at 40 characters, still come where they belong.
        Sequence{"StrayLeadByteTakesNothingAfterIt",
                 Button::Command24,
                 {{Text12, "\xE2\n12\xF0\x9F" + std::string(40, '7')}},
                 {"failure: TAG BLOCK NO: \"\xE2\uFFFD12\xF0\x9F" + std::string(34, '7') +
                  "\u2026\" is not a number."}}),
    [](const auto& info) { return std::string(info.param.name); });

// The fields are on screen as written so far while each message waits for the operator.
TEST(MessageOnScreen, ShowsTheFieldsWrittenBeforeIt) {
    RecordingHost host({{Text1, "2002"}, {Text6, "896"}, {Text11, "2"}, {Text13, "25"}});
    Calculator calculator(host);
    calculator.click(Button::Command9);
    ASSERT_EQ(host.atMessage.size(), 1u);
    EXPECT_EQ(host.atMessage[0].at(Text7), "769");
    EXPECT_EQ(host.atMessage[0].at(Text11), "2");
    EXPECT_EQ(host.atMessage[0].at(Text1), "2002");

    RecordingHost tag({{Text12, "400"}});
    Calculator second(tag);
    second.click(Button::Command18);
    ASSERT_EQ(tag.atMessage.size(), 1u);
    EXPECT_EQ(tag.atMessage[0].at(Text2), "527");
    EXPECT_EQ(tag.atMessage[0].at(Text12), "400");
}

TEST(WorkingIntegers, HoldWhatTheLastClickSet) {
    RecordingHost host({{Text1, "2002"}, {Text6, "200"}});
    Calculator calculator(host);
    calculator.click(Button::Command9);
    EXPECT_EQ(calculator.work().workC, 2002);
    EXPECT_EQ(calculator.work().workA, 73);
    EXPECT_EQ(calculator.work().workB, 25);

    host.texts[Text4] = "17";
    host.texts[Text5] = "16";
    calculator.click(Button::Command21);
    EXPECT_EQ(calculator.work().workD, 17);
    EXPECT_EQ(calculator.work().workB, 16);

    calculator.click(Button::Command20); // CLEAR leaves them alone
    calculator.click(Button::Command17);
    EXPECT_EQ(calculator.work().workD, 17);
    EXPECT_EQ(calculator.work().workC, 2002);
}

// After a second-frame result the inner VLAN field holds its first-frame twin: a second click
// gives the same place without the notice, and leaves Text3 alone.
TEST(SecondFrame, ClickingAgainGivesTheFirstFrameTwin) {
    RecordingHost host({{Text1, "3500"}, {Text6, "600"}});
    Calculator calculator(host);
    calculator.click(Button::Command9);
    ASSERT_EQ(host.messages.size(), 1u);
    host.messages.clear();
    calculator.click(Button::Command9);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.texts[Text7], "89");
    EXPECT_EQ(host.texts[Text11], "4");
    EXPECT_EQ(host.texts[Text13], "17");
    EXPECT_EQ(host.texts[Text3], "473");
}

} // namespace
} // namespace beltrix
