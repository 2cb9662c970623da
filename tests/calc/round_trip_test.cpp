// Converting and reversing must meet: every place an operator can name one way comes back the
// same when named the other way. And the DSLAM VLAN table, swept whole.

#include "calc/calculator.h"
#include "tests/calc/recording_host.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace beltrix {
namespace {

using test::RecordingHost;
using enum Field;

class RoundTrip : public ::testing::Test {
protected:
    std::string click(Button button) {
        calculator.click(button);
        EXPECT_TRUE(host.failures.empty()) << failureMessage(host.failures.front());
        return host.texts[Text2];
    }
    RecordingHost host;
    Calculator calculator{host};
};

TEST_F(RoundTrip, Ports48VlanToSlotAndBack) {
    for (int vlan = 128; vlan <= 895; ++vlan) {
        host.texts[Text2] = std::to_string(vlan);
        click(Button::Command6);
        std::string tagBlock = host.texts[Text12];
        ASSERT_EQ(tagBlock, std::to_string(vlan - 127));
        click(Button::Command16);
        EXPECT_EQ(host.texts[Text12], tagBlock) << vlan;
        EXPECT_EQ(host.texts[Text2], std::to_string(vlan)) << vlan;
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(RoundTrip, Ports48SlotAndPortToVlanAndBack) {
    for (int slot = 1; slot <= 16; ++slot) {
        for (int port = 1; port <= 48; ++port) {
            host.texts[Text4] = std::to_string(slot);
            host.texts[Text5] = std::to_string(port);
            click(Button::Command16);
            host.texts[Text4] = host.texts[Text5] = "~";
            click(Button::Command6);
            EXPECT_EQ(host.texts[Text4], std::to_string(slot));
            EXPECT_EQ(host.texts[Text5], std::to_string(port));
            host.texts[Text4] = host.texts[Text5] = "~";
            click(Button::Command24);
            EXPECT_EQ(host.texts[Text4], std::to_string(slot));
            EXPECT_EQ(host.texts[Text5], std::to_string(port));
        }
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(RoundTrip, Ports24FirstFrameVlanAndTagBlockToSlotAndBack) {
    for (int vlan = 128; vlan <= 511; ++vlan) {
        const std::string tagBlock = std::to_string(vlan - 127);
        host.texts[Text2] = std::to_string(vlan);
        click(Button::Command13);
        click(Button::Command21);
        EXPECT_EQ(host.texts[Text2], std::to_string(vlan));
        EXPECT_EQ(host.texts[Text12], tagBlock);
        EXPECT_EQ(host.texts[Text3], tagBlock);

        host.texts[Text12] = tagBlock;
        click(Button::Command18);
        click(Button::Command21);
        EXPECT_EQ(host.texts[Text12], tagBlock);
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(RoundTrip, Ports24SlotAndPortToVlanAndBack) {
    for (int slot = 1; slot <= 16; ++slot) {
        for (int port = 1; port <= 24; ++port) {
            host.texts[Text4] = std::to_string(slot);
            host.texts[Text5] = std::to_string(port);
            click(Button::Command21);
            const std::string tagBlock = host.texts[Text12];
            host.texts[Text4] = host.texts[Text5] = "~";
            click(Button::Command13);
            EXPECT_EQ(host.texts[Text4], std::to_string(slot));
            EXPECT_EQ(host.texts[Text5], std::to_string(port));
            host.texts[Text4] = host.texts[Text5] = "~";
            host.texts[Text12] = tagBlock;
            click(Button::Command18);
            EXPECT_EQ(host.texts[Text4], std::to_string(slot));
            EXPECT_EQ(host.texts[Text5], std::to_string(port));
        }
    }
    EXPECT_TRUE(host.messages.empty());
}

// A second-frame place entered as slot + 16 reverses to exactly what the VLAN conversion showed.
TEST_F(RoundTrip, Ports24SecondFrameSlotPlus16MatchesTheVlanConversion) {
    for (int vlan = 512; vlan <= 895; ++vlan) {
        host.texts[Text2] = std::to_string(vlan);
        click(Button::Command13);
        const test::Texts converted = host.texts;
        host.texts[Text4] = std::to_string(std::stoi(converted.at(Text4)) + 16);
        host.texts[Text2] = host.texts[Text12] = host.texts[Text3] = "~";
        click(Button::Command21);
        for (Field f : {Text2, Text12, Text3, Text4}) {
            EXPECT_EQ(host.texts[f], converted.at(f)) << "VLAN " << vlan << ", " << fieldName(f);
        }
    }
}

// Every DSLAM VLAN from 1900 to 4000 with inner VLAN 200 (tag block 73): 48-port DSLAMs give
// slot 2 port 25, 24-port DSLAMs slot 4 port 1, control-card DSLAMs slot 1 port 24, and the
// rest are refused without touching a field.
TEST(DslamVlanTable, SelectsTheCardLayout) {
    std::set<int> ports48, ports24 = {3500, 3505, 3522, 3523, 3605, 3780, 3789}, control;
    for (int v = 2002; v <= 2023; ++v) {
        ports48.insert(v);
    }
    ports48.insert({2025, 2027});
    for (int v = 2050; v <= 2078; ++v) {
        ports48.insert(v);
    }
    for (int v = 3900; v <= 3915; ++v) {
        if (v < 3907 || v > 3909) {
            control.insert(v);
        }
    }
    for (int dslam = 1900; dslam <= 4000; ++dslam) {
        RecordingHost host({{Text1, std::to_string(dslam)}, {Text6, "200"}});
        Calculator calculator(host);
        calculator.click(Button::Command9);
        std::string place = host.texts[Text11] + "/" + host.texts[Text13];
        if (ports48.count(dslam)) {
            EXPECT_EQ(place, "2/25") << dslam;
        } else if (ports24.count(dslam)) {
            EXPECT_EQ(place, "4/1") << dslam;
        } else if (control.count(dslam)) {
            EXPECT_EQ(place, "1/24") << dslam;
        } else {
            EXPECT_EQ(host.events,
                      std::vector<std::string>{test::message(Notice::UnknownDslamVlan)})
                << dslam;
        }
    }
}

} // namespace
} // namespace beltrix
