// Runs a fuzz target's LLVMFuzzerTestOneInput on stored inputs, without libFuzzer, so that
// every compiler can replay the seed corpus and the kept findings as part of the test suite.
// Each argument is an input file or a folder of them; a folder that does not exist is skipped,
// since a target without findings has no folder of regressions yet. A broken property aborts
// the process inside the target, after the name of the input has been printed.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputsOf(const fs::path& argument) {
    std::error_code error;
    if (fs::is_regular_file(argument, error)) {
        return {argument};
    }
    std::vector<fs::path> inputs;
    if (!fs::is_directory(argument, error)) {
        std::printf("skipped (not there): %s\n", argument.c_str());
        return inputs;
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(argument)) {
        if (entry.is_regular_file()) {
            inputs.push_back(entry.path());
        }
    }
    std::sort(inputs.begin(), inputs.end()); // the same order on every machine
    return inputs;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const fs::path& input : inputsOf(argv[i])) {
            std::ifstream file(input, std::ios::binary);
            if (!file) {
                std::fprintf(stderr, "cannot read %s\n", input.c_str());
                return 1;
            }
            std::vector<char> bytes{std::istreambuf_iterator<char>(file),
                                    std::istreambuf_iterator<char>()};
            std::printf("%s\n", input.c_str());
            std::fflush(stdout);
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
            ++replayed;
        }
    }
    // A wrong path must not turn the replay into a test that passes on nothing.
    if (replayed == 0) {
        std::fprintf(stderr, "no inputs to replay\n");
        return 1;
    }
    std::printf("%zu inputs replayed, every property held\n", replayed);
    return 0;
}
