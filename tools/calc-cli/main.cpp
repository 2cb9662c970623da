// beltrix-calc: the calculators of the BELTRIX window on the command line, for one request or a
// whole list read from standard input.

#include "beltrix/version.h"
#include "tools/calc-cli/cli.h"

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view usage = R"(usage: beltrix-calc [--csv | --json] CALCULATOR [REQUEST | -]
       beltrix-calc --help | --version

Calculators and their requests:
  dslam DSLAM_VLAN INNER_VLAN   tag block, slot and port on the DSLAM's card layout
  port48 vlan V                 48-port cards: slot and port of a VLAN
  port48 tag T                  ... of a tag block (VLAN - 127)
  port48 slot S P               tag block and VLAN of a slot and port
  port24 vlan V | tag T | slot S P
                                the same for 24-port cards, in the first or second frame

In the second frame of 24-port cards, the answer shows what the window shows: the tag block,
slot and port within the frame, the VLAN minus 127 counted over both frames, and the VLAN (or
inner VLAN) that the same tag block has in the first frame.

With no request, or "-", requests are read from standard input, one a line in the same words
("2002 200", "vlan 300", "slot 4 29"), and each line gets one answer line.

Options:
  --csv      comma-separated values with a header line
  --json     one JSON object a line
  --help     this text
  --version  the version

Examples:
  beltrix-calc dslam 2002 200        tag block 73, slot 2, port 25
  beltrix-calc port24 vlan 600       second frame: tag block 89, slot 4, port 17
  beltrix-calc --csv port48 < vlans.txt

Exit status: 0 when every request was answered, 1 when the window would refuse one (its message
goes to standard error, or into the error column of a list), 2 when the command is malformed.
)";

int malformed(std::string_view why) {
    std::cerr << "beltrix-calc: " << why << "\n\n" << usage;
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    using namespace beltrix::cli;
    std::ios::sync_with_stdio(false);

    Format format = Format::Text;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::size_t next = 0;
    for (; next < arguments.size() && arguments[next].starts_with("--"); ++next) {
        const std::string& option = arguments[next];
        if (option == "--help") {
            std::cout << usage;
            return 0;
        }
        if (option == "--version") {
            std::cout << "beltrix-calc " << beltrix::version << "\n";
            return 0;
        }
        if (option == "--csv") {
            format = Format::Csv;
        } else if (option == "--json") {
            format = Format::Json;
        } else {
            return malformed("unknown option " + option);
        }
    }
    if (next == arguments.size()) {
        return malformed("no calculator named");
    }
    const std::optional<Calculator> calculator = calculatorFromName(arguments[next]);
    if (!calculator) {
        return malformed("unknown calculator " + arguments[next]);
    }
    const std::vector<std::string> request(arguments.begin() + static_cast<long>(next) + 1,
                                           arguments.end());
    if (format == Format::Csv) {
        std::cout << csvHeader(*calculator) << '\n';
    }

    // One request from the command line.
    if (!request.empty() && request != std::vector<std::string>{"-"}) {
        const Parsed parsed = parseRequest(*calculator, request);
        if (!parsed.request) {
            return malformed(std::string(calculatorName(*calculator)) + ": " + parsed.why);
        }
        const Answer result = answer(*parsed.request);
        if (!result.error.empty()) {
            std::cerr << result.error << '\n';
            if (format == Format::Text) {
                return 1;
            }
        }
        std::cout << formatAnswer(result, format) << '\n';
        return result.error.empty() ? 0 : 1;
    }

    // A list from standard input, streamed a line at a time.
    bool refused = false;
    std::string line;
    while (std::getline(std::cin, line)) {
        const std::vector<std::string> lineWords = words(line);
        const Parsed parsed = parseRequest(*calculator, lineWords);
        Answer result;
        if (parsed.request) {
            result = answer(*parsed.request);
        } else {
            result.input = line;
            result.error = lineWords.empty() ? "empty request" : parsed.why;
            for (const std::string& name : columnsOf(*calculator)) {
                if (name != "input" && name != "notice" && name != "error") {
                    result.values.emplace_back(name, "");
                }
            }
        }
        refused = refused || !result.error.empty();
        std::cout << formatAnswer(result, format) << '\n';
    }
    std::cout.flush();
    return refused ? 1 : 0;
}
