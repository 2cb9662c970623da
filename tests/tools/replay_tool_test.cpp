// Drives the built beltrix-replay executable through pipes, the way a test harness or a user at a
// terminal would.

#include "tools/replay/replay.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace beltrix::replay {
namespace {

class ReplayProcess {
public:
    explicit ReplayProcess(std::vector<std::string> arguments = {}) {
        // A tool that dies early must fail the test, not kill it through SIGPIPE.
        std::signal(SIGPIPE, SIG_IGN);
        int input[2];
        int output[2];
        int error[2];
        EXPECT_EQ(pipe2(input, O_CLOEXEC), 0);
        EXPECT_EQ(pipe2(output, O_CLOEXEC), 0);
        EXPECT_EQ(pipe2(error, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, error[1], STDERR_FILENO);
        arguments.insert(arguments.begin(), BELTRIX_REPLAY_EXE);
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        const int spawned =
            posix_spawn(&pid_, BELTRIX_REPLAY_EXE, &actions, nullptr, argv.data(), environ);
        EXPECT_EQ(spawned, 0) << "cannot start " << BELTRIX_REPLAY_EXE;
        posix_spawn_file_actions_destroy(&actions);
        close(input[0]);
        close(output[1]);
        close(error[1]);
        input_ = input[1];
        output_ = output[0];
        error_ = error[0];
    }

    ~ReplayProcess() {
        closeInput();
        close(output_);
        close(error_);
        if (pid_ > 0) {
            waitpid(pid_, nullptr, 0);
        }
    }

    void send(std::string_view text) {
        while (!text.empty()) {
            const ssize_t written = write(input_, text.data(), text.size());
            ASSERT_GT(written, 0) << "the tool stopped reading";
            text.remove_prefix(static_cast<std::size_t>(written));
        }
    }

    void closeInput() {
        if (input_ >= 0) {
            close(input_);
            input_ = -1;
        }
    }

    // The next answer line without its line break, or nothing at the end of the output.
    std::optional<std::string> readLine() {
        while (true) {
            const std::size_t end = pending_.find('\n');
            if (end != std::string::npos) {
                std::string line = pending_.substr(0, end);
                pending_.erase(0, end + 1);
                return line;
            }
            char buffer[65536];
            const ssize_t got = read(output_, buffer, sizeof buffer);
            if (got <= 0) {
                EXPECT_EQ(pending_, "") << "the last answer has no line break";
                return std::nullopt;
            }
            pending_.append(buffer, static_cast<std::size_t>(got));
        }
    }

    std::string readError() {
        std::string text;
        char buffer[4096];
        ssize_t got = 0;
        while ((got = read(error_, buffer, sizeof buffer)) > 0) {
            text.append(buffer, static_cast<std::size_t>(got));
        }
        return text;
    }

    // The exit status once the tool has ended, or -1 if it did not exit normally.
    int exitStatus() {
        closeInput();
        int status = 0;
        const pid_t ended = waitpid(pid_, &status, 0);
        pid_ = -1;
        return ended > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    int error_ = -1;
    std::string pending_;
};

// Each answer is read before the next request is written, so the test only gets through if
// the tool answers a line as soon as it has it.
TEST(ReplayTool, AnswersLineByLineAndExitsOneAfterAnInvalidLine) {
    const std::vector<std::string> requests = {
        R"({"fields": {"Text1": "2002", "Text6": "200"}, "clicks": ["Command9"]})",
        R"({"clicks": ["Command5"]})",
        "",
        "{\"fields\": {\"Text12\": \"12abc\"}, \"clicks\": [\"Command24\"]}\r",
        "{\"fields\": {\"Text2\": \"\xFF\"}}",
        "{}",
    };
    ReplayProcess tool;
    for (const std::string& request : requests) {
        tool.send(request + "\n");
        EXPECT_EQ(tool.readLine(), answerLine(request).line) << request;
    }
    tool.closeInput();
    EXPECT_EQ(tool.readLine(), std::nullopt);
    EXPECT_EQ(tool.exitStatus(), 1);
}

TEST(ReplayTool, ExitsZeroWhenEveryLineIsValid) {
    const std::vector<std::string> requests = {
        R"({"fields": {"Text1": "2002", "Text6": "896"}, "clicks": ["Command9", "Command17"]})",
        R"({"fields": {"Text2": ")" + std::string(1 << 20, '5') + R"("}})",
        "{}\r",
        // The last line may lack its line break.
        R"({"clicks": ["Command20"]})",
    };
    ReplayProcess tool;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const bool last = i + 1 == requests.size();
        tool.send(last ? requests[i] : requests[i] + "\n");
        if (last) {
            tool.closeInput();
        }
        const Answer expected = answerLine(requests[i]);
        ASSERT_FALSE(expected.invalid) << expected.line;
        EXPECT_EQ(tool.readLine(), expected.line);
    }
    EXPECT_EQ(tool.readLine(), std::nullopt);
    EXPECT_EQ(tool.exitStatus(), 0);
}

// replay_golden.txt holds request lines, each followed by the answer the tool has always given
// to it: requests from this file and from the README, texts with control characters, non-ASCII
// characters, stray bytes and escapes, duplicate keys, wrong types, numbers beyond a double,
// blank lines and deep nesting. Every answer must come back byte for byte.
TEST(ReplayTool, AnswersTheKeptRequestsByteForByte) {
    std::ifstream file(BELTRIX_REPLAY_GOLDEN, std::ios::binary);
    ASSERT_TRUE(file) << "cannot read " << BELTRIX_REPLAY_GOLDEN;
    std::vector<std::string> requests;
    std::vector<std::string> answers;
    std::string request;
    std::string answer;
    while (std::getline(file, request) && std::getline(file, answer)) {
        requests.push_back(request);
        answers.push_back(answer);
    }
    ASSERT_FALSE(requests.empty());

    ReplayProcess tool;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        tool.send(requests[i] + "\n");
        EXPECT_EQ(tool.readLine(), answers[i]) << "request on line " << 2 * i + 1;
    }
    tool.closeInput();
    EXPECT_EQ(tool.readLine(), std::nullopt);
}

TEST(ReplayTool, RefusesArgumentsWithUsageOnStandardError) {
    ReplayProcess tool({"--verbose"});
    EXPECT_EQ(tool.readLine(), std::nullopt);
    EXPECT_NE(tool.readError().find("usage: beltrix-replay"), std::string::npos);
    EXPECT_EQ(tool.exitStatus(), 2);
}

TEST(ReplayTool, HelpGoesToStandardOutput) {
    ReplayProcess tool({"--help"});
    const std::optional<std::string> first = tool.readLine();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->rfind("usage: beltrix-replay", 0), 0u);
    EXPECT_EQ(tool.readError(), "");
    EXPECT_EQ(tool.exitStatus(), 0);
}

} // namespace
} // namespace beltrix::replay
