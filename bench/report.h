#pragma once

// How the benchmark's Qt programs hand their readings to beltrix-bench: one "key value" line
// each on standard output.

#include <cstdint>
#include <string>

namespace beltrix::bench {

void report(const std::string& key, std::int64_t value);

struct Memory {
    std::int64_t residentKiB = 0;  // VmRSS: pages of the process in RAM
    std::int64_t anonymousKiB = 0; // RssAnon: the heap and other private memory among them
    std::int64_t heapInUseKiB = 0; // handed out by malloc and not yet freed
};

Memory memoryNow();

// Reports the three readings under "<key>.rss", "<key>.anon" and "<key>.heap".
void reportMemory(const std::string& key);

} // namespace beltrix::bench
