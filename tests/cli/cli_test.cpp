// beltrix-calc against the engine's own operations: for every whole number in the ranges that
// matter, the command's answer holds the texts the window's button writes for the same input;
// and the command's batches, exit codes and output formats.

#include "beltrix/version.h"
#include "calc/calculator.h"
#include "calc/failure.h"
#include "calc/notice.h"
#include "tools/calc-cli/cli.h"
#include "tools/replay/json.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace beltrix {
namespace {

// A newly opened window's fields, clicked once.
class Fields : public FieldHost {
public:
    Fields() {
        for (Field f : allFields) {
            texts[f] = std::string(initialText(f));
        }
    }
    std::string text(Field f) const override { return texts.at(f); }
    void setText(Field f, const std::string& t) override { texts[f] = t; }
    void showNotice(Notice n) override { messages.push_back(std::string(noticeText(n))); }
    void reportFailure(const Failure& failure) override { failed = failureMessage(failure); }
    std::map<Field, std::string> texts;
    std::vector<std::string> messages;
    std::string failed;
};

struct Outcome {
    std::string out;
    std::string err;
    int status;
};

// Runs the built command with the given arguments and standard input.
Outcome runCommand(const std::string& arguments, const std::string& input) {
    char inPath[] = "/tmp/beltrix-calc-in-XXXXXX";
    char errPath[] = "/tmp/beltrix-calc-err-XXXXXX";
    close(mkstemp(inPath));
    close(mkstemp(errPath));
    std::ofstream(inPath) << input;
    const std::string command =
        std::string(BELTRIX_CALC_EXE) + " " + arguments + " < " + inPath + " 2> " + errPath;
    Outcome run;
    FILE* pipe = popen(command.c_str(), "r");
    std::array<char, 65536> buffer;
    std::size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        run.out.append(buffer.data(), n);
    }
    run.status = WEXITSTATUS(pclose(pipe));
    std::stringstream err;
    err << std::ifstream(errPath).rdbuf();
    run.err = err.str();
    unlink(inPath);
    unlink(errPath);
    return run;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> found;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        found.push_back(line);
    }
    return found;
}

struct Case {
    std::string request; // the words after the calculator
    Button button;       // the window's button for it
    std::vector<std::pair<Field, std::string>> typed;
};

// Every answer of a JSON batch against the fields the window's button writes.
void expectAgreement(const char* calculator, const std::vector<Case>& cases,
                     const std::vector<std::pair<std::string, Field>>& columns) {
    std::string input;
    for (const Case& c : cases) {
        input += c.request + "\n";
    }
    const Outcome run = runCommand(std::string("--json ") + calculator, input);
    const std::vector<std::string> answers = lines(run.out);
    ASSERT_EQ(answers.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const json::ParseResult parsed = json::parse(answers[i]);
        ASSERT_TRUE(parsed.ok()) << answers[i];
        Fields window;
        for (const auto& [field, text] : cases[i].typed) {
            window.setText(field, text);
        }
        Calculator engine(window);
        engine.click(cases[i].button);

        const json::Value* error = parsed.value.find("error");
        ASSERT_NE(error, nullptr);
        const bool refused =
            !window.failed.empty() ||
            std::any_of(window.messages.begin(), window.messages.end(), [](const std::string& m) {
                return m.starts_with("Enter") || m.starts_with("PLEASE");
            });
        EXPECT_EQ(error->isString(), refused) << cases[i].request << ": " << answers[i];
        if (refused) {
            continue;
        }
        for (const auto& [name, field] : columns) {
            const json::Value* value = parsed.value.find(name);
            ASSERT_NE(value, nullptr) << name;
            const std::string expected = window.texts[field];
            EXPECT_EQ(value->isString() ? value->asString() : std::string(), expected)
                << cases[i].request << ", " << name;
        }
    }
}

TEST(Agreement, DslamAnswersAreTheVlanBasedCalculatorsFields) {
    std::vector<Case> cases;
    for (int dslam : {2002, 2027, 2078, 3500, 3789, 3900, 3915, 2024}) {
        for (int inner = -5; inner <= 1000; ++inner) {
            cases.push_back(
                {std::to_string(dslam) + " " + std::to_string(inner),
                 Button::Command9,
                 {{Field::Text1, std::to_string(dslam)}, {Field::Text6, std::to_string(inner)}}});
        }
    }
    expectAgreement("dslam", cases,
                    {{"tag_block", Field::Text7},
                     {"slot", Field::Text11},
                     {"port", Field::Text13},
                     {"inner_vlan", Field::Text6}});
}

std::vector<Case> portCases(Button vlan, Button tag, Button slot, int maxPort) {
    std::vector<Case> cases;
    for (int v = 0; v <= 1000; ++v) {
        cases.push_back({"vlan " + std::to_string(v), vlan, {{Field::Text2, std::to_string(v)}}});
    }
    for (int t = -5; t <= 800; ++t) {
        cases.push_back({"tag " + std::to_string(t), tag, {{Field::Text12, std::to_string(t)}}});
    }
    for (int s = -1; s <= 34; ++s) {
        for (int p = -1; p <= maxPort + 2; ++p) {
            cases.push_back(
                {"slot " + std::to_string(s) + " " + std::to_string(p),
                 slot,
                 {{Field::Text4, std::to_string(s)}, {Field::Text5, std::to_string(p)}}});
        }
    }
    return cases;
}

TEST(Agreement, Port48AnswersAreThe48PortRowsFields) {
    expectAgreement("port48", portCases(Button::Command6, Button::Command24, Button::Command16, 48),
                    {{"vlan", Field::Text2},
                     {"tag_block", Field::Text12},
                     {"slot", Field::Text4},
                     {"port", Field::Text5}});
}

TEST(Agreement, Port24AnswersAreThe24PortFramesFields) {
    expectAgreement("port24",
                    portCases(Button::Command13, Button::Command18, Button::Command21, 24),
                    {{"vlan", Field::Text2},
                     {"tag_block", Field::Text12},
                     {"vlan_minus_127", Field::Text3},
                     {"slot", Field::Text4},
                     {"port", Field::Text5}});
}

TEST(SingleRequest, AnswersOnStandardOutput) {
    const Outcome run = runCommand("dslam 2002 200", "");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("tag block 73"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("slot 2"), std::string::npos);
    EXPECT_NE(run.out.find("port 25"), std::string::npos);
    EXPECT_TRUE(run.err.empty());
}

TEST(SingleRequest, ExitCodesAndMessages) {
    struct Row {
        const char* arguments;
        int status;
        std::string stderrHas;
    } rows[] = {
        {"port48 vlan 896", 1, std::string(noticeText(Notice::EnterValidPort))},
        {"port48 slot 1 49", 1, std::string(noticeText(Notice::EnterValidPortCapital))},
        {"dslam 2024 200", 1, std::string(noticeText(Notice::UnknownDslamVlan))},
        {"port48 tag 12abc", 1, "TAG BLOCK NO: \"12abc\" is not a number."},
        {"port24 vlan 511.5", 1, "lies between the first and the second frame"},
        {"port24 vlan 600", 0, ""},
        {"dslam 2002", 2, "usage:"},
        {"port48 vlans 300", 2, "usage:"},
        {"port96 vlan 300", 2, "unknown calculator"},
        {"--xml dslam 2002 200", 2, "unknown option"},
        {"", 2, "no calculator"},
    };
    for (const Row& row : rows) {
        const Outcome run = runCommand(row.arguments, "");
        EXPECT_EQ(run.status, row.status) << row.arguments;
        EXPECT_NE(run.err.find(row.stderrHas), std::string::npos)
            << row.arguments << ": " << run.err;
    }
    EXPECT_EQ(runCommand("--version", "").out,
              "beltrix-calc " + std::string(beltrix::version) + "\n");
    const Outcome help = runCommand("--help", "");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Examples:"), std::string::npos);
}

TEST(Batch, EveryLineGetsOneAnswerAndBadLinesDoNotStopTheRest) {
    const Outcome run = runCommand("port24", "vlan 300\nvln 300\n\nslot 5 25\ntag 400\n");
    EXPECT_EQ(run.status, 1);
    const std::vector<std::string> answers = lines(run.out);
    ASSERT_EQ(answers.size(), 5u);
    EXPECT_NE(answers[0].find("tag block 173"), std::string::npos) << answers[0];
    EXPECT_NE(answers[1].find("error: expected vlan V"), std::string::npos) << answers[1];
    EXPECT_NE(answers[2].find("error: empty request"), std::string::npos) << answers[2];
    EXPECT_NE(answers[3].find("error: " + std::string(noticeText(Notice::EnterValidPortCapital))),
              std::string::npos)
        << answers[3];
    EXPECT_NE(answers[4].find(std::string(noticeText(Notice::PortInSecondFrame))),
              std::string::npos);
    EXPECT_EQ(runCommand("port24 -", "vlan 300\ntag 1\n").status, 0);
}

// Answers to inputs of different lengths line up in columns.
TEST(Batch, TextAnswersLineUp) {
    const Outcome run = runCommand("dslam", "2002 200\n3900 128\n2002 200.4\n");
    const std::vector<std::string> answers = lines(run.out);
    ASSERT_EQ(answers.size(), 3u);
    for (const std::string& answer : answers) {
        EXPECT_EQ(answer.find("tag block"), answers[0].find("tag block")) << answer;
        EXPECT_EQ(answer.find("slot"), answers[0].find("slot")) << answer;
    }
}

// A reader of RFC 4180 rows, as a spreadsheet reads them.
std::vector<std::string> csvRow(const std::string& line) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            cells.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    return cells;
}

TEST(Formats, CsvHasAHeaderAndOneRowOfEqualWidthPerLine) {
    const Outcome run = runCommand("--csv port48", "vlan 300\ntag 1,000\nslot \"4 29\nvlan 896\n");
    const std::vector<std::string> rows = lines(run.out);
    ASSERT_EQ(rows.size(), 5u);
    const std::vector<std::string> header = csvRow(rows[0]);
    EXPECT_EQ(header, (std::vector<std::string>{"input", "vlan", "tag_block", "slot", "port",
                                                "notice", "error"}));
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_EQ(csvRow(rows[i]).size(), header.size()) << rows[i];
    }
    EXPECT_EQ(csvRow(rows[1])[3], "4");
    EXPECT_EQ(csvRow(rows[2])[0], "tag 1,000");
    EXPECT_EQ(csvRow(rows[2])[2], "1,000");
    EXPECT_EQ(csvRow(rows[3])[0], "slot \"4 29");
    EXPECT_EQ(csvRow(rows[4])[6], std::string(noticeText(Notice::EnterValidPort)));
}

TEST(Formats, JsonIsOneObjectALineWithNamedValues) {
    const Outcome run = runCommand("--json dslam", "3500 600\n3900 464\n2002 x\n");
    const std::vector<std::string> rows = lines(run.out);
    ASSERT_EQ(rows.size(), 3u);
    const json::ParseResult second = json::parse(rows[0]);
    ASSERT_TRUE(second.ok()) << rows[0];
    EXPECT_EQ(second.value.find("frame")->asString(), "2");
    EXPECT_EQ(second.value.find("vlan_minus_127")->asString(), "473");
    EXPECT_EQ(second.value.find("notice")->asString(),
              std::string(noticeText(Notice::PortInSecondFrame)));
    EXPECT_TRUE(second.value.find("error")->isNull());
    const json::ParseResult control = json::parse(rows[1]);
    ASSERT_TRUE(control.ok());
    EXPECT_EQ(control.value.find("slot")->asString(), "9");
    const json::ParseResult refused = json::parse(rows[2]);
    ASSERT_TRUE(refused.ok());
    EXPECT_EQ(refused.value.find("error")->asString(),
              std::string(noticeText(Notice::EnterValidPort)));
    EXPECT_TRUE(refused.value.find("slot")->isNull());
}

} // namespace
} // namespace beltrix
