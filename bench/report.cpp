#include "bench/report.h"

#include <malloc.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace beltrix::bench {

void report(const std::string& key, std::int64_t value) {
    std::printf("%s %lld\n", key.c_str(), static_cast<long long>(value));
    std::fflush(stdout);
}

Memory memoryNow() {
    Memory memory;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        long long value = 0;
        if (std::sscanf(line.c_str(), "VmRSS: %lld", &value) == 1) {
            memory.residentKiB = value;
        } else if (std::sscanf(line.c_str(), "RssAnon: %lld", &value) == 1) {
            memory.anonymousKiB = value;
        }
    }
    const struct mallinfo2 info = mallinfo2();
    memory.heapInUseKiB = static_cast<std::int64_t>((info.uordblks + info.hblkhd) / 1024);
    return memory;
}

void reportMemory(const std::string& key) {
    const Memory memory = memoryNow();
    report(key + ".rss", memory.residentKiB);
    report(key + ".anon", memory.anonymousKiB);
    report(key + ".heap", memory.heapInUseKiB);
}

} // namespace beltrix::bench
