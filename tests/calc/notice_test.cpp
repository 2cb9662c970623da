// The notices' texts, exactly as the message box shows them. They are written out once for the
// tests, in notice_texts.txt; everything else names the notices.

#include "calc/notice.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace beltrix {
namespace {

TEST(Notice, TextIsExact) {
    std::ifstream file(BELTRIX_NOTICE_TEXTS);
    ASSERT_TRUE(file) << BELTRIX_NOTICE_TEXTS;
    std::vector<std::pair<std::string, std::string>> expected; // name, text
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const auto open = line.find('"');
        const auto close = line.rfind('"');
        ASSERT_TRUE(open != std::string::npos && close > open) << line;
        expected.emplace_back(line.substr(0, line.find(' ')),
                              line.substr(open + 1, close - open - 1));
    }
    const Notice all[] = {Notice::EnterValidPort,    Notice::EnterValidPortCapital,
                          Notice::PortInSecondFrame, Notice::SlotPortInSecondFrame,
                          Notice::ControlCardSlots,  Notice::UnknownDslamVlan};
    ASSERT_EQ(expected.size(), std::size(all));
    std::set<std::string_view> texts;
    for (std::size_t i = 0; i < std::size(all); ++i) {
        EXPECT_EQ(noticeText(all[i]), expected[i].second) << expected[i].first;
        texts.insert(noticeText(all[i]));
    }
    EXPECT_EQ(texts.size(), std::size(all)) << "two notices share a text";
}

} // namespace
} // namespace beltrix
