#pragma once

// Starting the programs under measurement as child processes, and reading their reports.

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace beltrix::bench {

std::int64_t monotonicNanos();

struct Child {
    pid_t pid = -1;
    int output = -1;            // the read end of the child's standard output, or -1
    std::int64_t startedAt = 0; // CLOCK_MONOTONIC just before the process was created
};

// Environment changes for a child: a variable set, or removed when the value is empty.
using Environment = std::map<std::string, std::string>;

// Starts the program with this process's environment changed as given. Its standard error goes
// to the log file (appended); its standard output to a pipe when `readOutput`, else nowhere.
Child start(const std::string& program, const std::vector<std::string>& arguments,
            const Environment& changes, const std::string& log, bool readOutput);

// Reads the child's "key value" lines until it ends, then collects it. Empty when it does not
// end within the limit (it is then killed) or ends unsuccessfully.
std::map<std::string, std::int64_t> readReport(Child& child, int limitMs);

// Ends a child that runs until told to stop, and collects it.
void stop(Child& child);

// The resident memory of a running process, in KiB, from /proc; -1 when unreadable.
std::int64_t residentKiB(pid_t pid);

} // namespace beltrix::bench
