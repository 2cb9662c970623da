#include "bench/child.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

extern char** environ;

namespace beltrix::bench {

std::int64_t monotonicNanos() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

Child start(const std::string& program, const std::vector<std::string>& arguments,
            const Environment& changes, const std::string& log, bool readOutput) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable(*entry);
        if (changes.count(variable.substr(0, variable.find('='))) == 0) {
            environment.push_back(variable);
        }
    }
    for (const auto& [name, value] : changes) {
        if (!value.empty()) {
            environment.push_back(name + "=" + value);
        }
    }
    std::vector<char*> envp;
    for (std::string& variable : environment) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> args{program};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : args) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    int pipeFds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (readOutput && pipe2(pipeFds, O_CLOEXEC) == 0) {
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);

    Child child;
    child.startedAt = monotonicNanos();
    if (posix_spawn(&child.pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) !=
        0) {
        child.pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    if (pipeFds[1] >= 0) {
        close(pipeFds[1]);
    }
    child.output = pipeFds[0];
    if (child.pid < 0 && child.output >= 0) {
        close(child.output);
        child.output = -1;
    }
    return child;
}

std::map<std::string, std::int64_t> readReport(Child& child, int limitMs) {
    std::map<std::string, std::int64_t> values;
    if (child.pid < 0) {
        return values;
    }
    std::string text;
    const std::int64_t deadline = monotonicNanos() + std::int64_t{limitMs} * 1'000'000;
    bool ended = false;
    while (child.output >= 0) {
        const auto left = static_cast<int>((deadline - monotonicNanos()) / 1'000'000);
        pollfd fd{child.output, POLLIN, 0};
        if (left <= 0 || poll(&fd, 1, left) <= 0) {
            break;
        }
        char buffer[4096];
        const ssize_t got = read(child.output, buffer, sizeof buffer);
        if (got <= 0) {
            ended = true;
            break;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    if (child.output >= 0) {
        close(child.output);
        child.output = -1;
    }
    if (!ended) {
        kill(child.pid, SIGKILL);
    }
    int status = 0;
    waitpid(child.pid, &status, 0);
    child.pid = -1;
    if (!ended || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return {};
    }
    std::istringstream lines(text);
    std::string key;
    long long value = 0;
    while (lines >> key >> value) {
        values[key] = value;
    }
    return values;
}

void stop(Child& child) {
    if (child.pid < 0) {
        return;
    }
    kill(child.pid, SIGTERM);
    int status = 0;
    waitpid(child.pid, &status, 0);
    child.pid = -1;
}

std::int64_t residentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        long long value = 0;
        if (std::sscanf(line.c_str(), "VmRSS: %lld", &value) == 1) {
            return value;
        }
    }
    return -1;
}

} // namespace beltrix::bench
