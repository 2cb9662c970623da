// beltrix-replay: answers replay requests read from standard input, one answer line per request
// line (see replay.h). Each answer is flushed at once, so the tool can be driven through a pipe
// one request at a time.

#include "tools/replay/replay.h"

#include <iostream>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view usage =
    "usage: beltrix-replay < requests\n"
    "Reads one JSON request per line from standard input and writes one JSON answer per line.\n"
    "Exits 1 if any request was invalid.\n";

} // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        if (argc == 2 && std::string_view(argv[1]) == "--help") {
            std::cout << usage;
            return 0;
        }
        std::cerr << usage;
        return 2;
    }

    // Lines are byte strings; the C++ streams stay in the classic locale and never translate.
    std::ios::sync_with_stdio(false);
    std::cin.tie(nullptr);

    bool anyInvalid = false;
    std::string line;
    while (std::getline(std::cin, line)) {
        const beltrix::replay::Answer answer = beltrix::replay::answerLine(line);
        anyInvalid = anyInvalid || answer.invalid;
        std::cout << answer.line << '\n' << std::flush;
        if (!std::cout) {
            std::cerr << "beltrix-replay: cannot write the answer\n";
            return 1;
        }
    }
    return anyInvalid ? 1 : 0;
}
