// beltrix-bench: how fast BELTRIX starts, opens its sheets and calculates, and how much memory it
// holds, each figure set against a baseline measured in the same run.
//
// usage: beltrix-bench [--runs N] [--platform offscreen|xvfb|both] [--log FILE]
//
// Every figure is the median of N runs (default 15) with its spread. The programs measured are
// started as child processes, BELTRIX and its baseline alternately: the real beltrix executable,
// watched from outside on a virtual X display (Xvfb with openbox); beltrix-bench-probe, which is
// BELTRIX's own start-up path with a clock inside and also opens the sheets, clicks and reads
// memory; and beltrix-bench-floor, a bare Qt window of the same size. The engine's own click
// time is measured in this process. Nothing here judges the figures: the table says which goals
// the run met, and the exit status is 0 whenever every measurement could be taken.

#include "bench/child.h"
#include "bench/statistics.h"
#include "bench/x_display.h"
#include "calc/calculator.h"
#include "calc/field_model.h"

#include <QtGlobal>

#include <sys/utsname.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace beltrix::bench {
namespace {

constexpr unsigned long windowColour = 0xC0C0FF; // RGB 192, 192, 255: BELTRIX's and the floor's
constexpr int watchX = 700; // a point of the client area that no control covers in either window
constexpr int watchY = 150;
constexpr int windowWidth = 1016;
constexpr int windowHeight = 591;
constexpr int childLimitMs = 120'000;

using Samples = std::map<std::string, std::vector<double>>;

struct Options {
    int runs = 15;
    bool offscreen = true;
    bool xvfb = true;
    std::string log;
};

// ---- the engine alone ---------------------------------------------------------------------

class PlainHost : public FieldHost {
public:
    std::string text(Field field) const override { return texts_[index(field)]; }
    void setText(Field field, const std::string& text) override { texts_[index(field)] = text; }
    void showMessage(const std::string&) override {}
    void reportFailure(const Failure&) override {}

private:
    static std::size_t index(Field field) { return static_cast<std::size_t>(field); }
    std::array<std::string, allFields.size()> texts_;
};

struct ClickCase {
    Button button;
    const char* name;
    std::vector<std::pair<Field, const char*>> inputs;
    Field lastWritten;
};

// The probe clicks the same worked examples through the window.
const std::array<ClickCase, 3> clickCases = {{
    {Button::Command9, "Command9", {{Field::Text1, "2002"}, {Field::Text6, "200"}}, Field::Text13},
    {Button::Command6, "Command6", {{Field::Text2, "300"}}, Field::Text5},
    {Button::Command21, "Command21", {{Field::Text4, "8"}, {Field::Text5, "5"}}, Field::Text2},
}};

void measureEngine(Samples& samples) {
    for (const ClickCase& c : clickCases) {
        PlainHost host;
        for (Field field : allFields) {
            host.setText(field, std::string(initialText(field)));
        }
        Calculator calculator(host);
        std::vector<double> times;
        for (int i = 0; i < 201; ++i) {
            for (const auto& [field, text] : c.inputs) {
                host.setText(field, text);
            }
            host.setText(c.lastWritten, "");
            const std::int64_t start = monotonicNanos();
            calculator.click(c.button);
            times.push_back(static_cast<double>(monotonicNanos() - start));
        }
        samples[std::string("engine.click.") + c.name].push_back(summarise(times).median);
    }
}

// ---- the programs ---------------------------------------------------------------------------

struct Platform {
    std::string name; // "offscreen" or "xvfb"
    Environment environment;
#ifdef BELTRIX_BENCH_X11
    WindowWatch* watch = nullptr; // on a display only
#endif
};

bool failed = false;

void complain(const std::string& what, const Options& options) {
    std::fprintf(stderr, "beltrix-bench: %s (the programs' messages are in %s)\n", what.c_str(),
                 options.log.c_str());
    failed = true;
}

// Runs a program that reports itself and records its start-up (from the moment it was started)
// and every other reading under the prefix.
void runReporting(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& prefix, const Platform& platform, const Options& options,
                  Samples* samples) {
    Child child = start(program, arguments, platform.environment, options.log, true);
    const std::int64_t startedAt = child.startedAt;
    const auto values = readReport(child, childLimitMs);
    if (values.empty() || values.count("startup.painted") == 0 ||
        values.at("startup.painted") < 0) {
        complain(program + " gave no report on " + platform.name, options);
        return;
    }
    if (samples == nullptr) {
        return; // a warm-up
    }
    for (const auto& [key, value] : values) {
        const double reading =
            key == "startup.painted" ? static_cast<double>(value - startedAt) : value;
        (*samples)[platform.name + "." + prefix + "." + key].push_back(reading);
    }
}

#ifdef BELTRIX_BENCH_X11
// Starts a program that knows nothing of the benchmark and watches its window from outside.
void runWatched(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& prefix, const Platform& platform, const Options& options,
                Samples* samples) {
    platform.watch->reset();
    Child child = start(program, arguments, platform.environment, options.log, false);
    const std::int64_t seen = platform.watch->waitForPaint(
        child.pid, windowWidth, windowHeight, watchX, watchY, windowColour, childLimitMs);
    // Memory is read once the program has had the time to settle, as the probe does.
    usleep(250'000);
    const std::int64_t resident = residentKiB(child.pid);
    stop(child);
    usleep(100'000); // the window manager unframes the window before the next one comes
    if (seen < 0 || resident < 0) {
        complain(program + " was not seen painting on the virtual display", options);
        return;
    }
    if (samples != nullptr) {
        (*samples)[platform.name + "." + prefix + ".startup.painted"].push_back(
            static_cast<double>(seen - child.startedAt));
        (*samples)[platform.name + "." + prefix + ".startup.rss"].push_back(
            static_cast<double>(resident));
    }
}
#endif

void measurePlatform(const Platform& platform, const Options& options, Samples& samples) {
    const std::string probe = BELTRIX_PROBE_EXECUTABLE;
    const std::string floor = BELTRIX_FLOOR_EXECUTABLE;
    const std::string beltrix = BELTRIX_EXECUTABLE;

    // One of each first, not counted, so that no run finds the files colder than the next.
    runReporting(probe, {"memory"}, "probe", platform, options, nullptr);
    runReporting(floor, {"--report"}, "floor", platform, options, nullptr);
#ifdef BELTRIX_BENCH_X11
    if (platform.watch != nullptr) {
        runWatched(beltrix, {}, "beltrix", platform, options, nullptr);
        runWatched(floor, {}, "floor_watched", platform, options, nullptr);
    }
#endif

    for (int run = 0; run < options.runs; ++run) {
        std::fprintf(stderr, "\r%s: run %d of %d ", platform.name.c_str(), run + 1, options.runs);
        std::fflush(stderr);
        const bool beltrixFirst = run % 2 == 0;
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn == 0) == beltrixFirst) {
                runReporting(probe, {"memory"}, "probe", platform, options, &samples);
            } else {
                runReporting(floor, {"--report"}, "floor", platform, options, &samples);
            }
        }
#ifdef BELTRIX_BENCH_X11
        if (platform.watch != nullptr) {
            for (int turn = 0; turn < 2; ++turn) {
                if ((turn == 0) == beltrixFirst) {
                    runWatched(beltrix, {}, "beltrix", platform, options, &samples);
                } else {
                    runWatched(floor, {}, "floor_watched", platform, options, &samples);
                }
            }
        }
#endif
        runReporting(probe, {"sheets", std::to_string(run)}, "sheets", platform, options,
                     &samples);
    }
    std::fprintf(stderr, "\r%-40s\r", "");
}

// ---- the table ------------------------------------------------------------------------------

enum class Unit { Milliseconds, Microseconds, Megabytes };

std::string format(double value, Unit unit) {
    char text[32];
    switch (unit) {
    case Unit::Milliseconds:
        std::snprintf(text, sizeof text, "%.1f ms", value / 1e6);
        break;
    case Unit::Microseconds:
        std::snprintf(text, sizeof text, "%.1f us", value / 1e3);
        break;
    case Unit::Megabytes:
        std::snprintf(text, sizeof text, "%.1f MB", value * 1024 / 1e6);
        break;
    }
    return text;
}

std::string spread(const Summary& s, Unit unit) {
    std::string low = format(s.min, unit);
    std::string high = format(s.max, unit);
    return low.substr(0, low.find(' ')) + "-" + high;
}

struct Row {
    std::string figure;
    std::string value;
    std::string valueSpread;
    std::string baseline;
    std::string baseValue;
    std::string baseSpread;
    std::string comparison;
    std::string goal;
    std::string verdict;
};

std::vector<Row> rows;
int goalsMissed = 0;
int goalsMet = 0;

const std::vector<double>* find(const Samples& samples, const std::string& key) {
    const auto found = samples.find(key);
    return found == samples.end() || found->second.empty() ? nullptr : &found->second;
}

// A figure against its baseline as a ratio of the medians, with the goal's limit when it has one.
void ratioRow(const Samples& samples, const std::string& figure, const std::string& key,
              const std::string& baseline, const std::string& baseKey, Unit unit,
              std::optional<double> limit) {
    const auto* values = find(samples, key);
    const auto* bases = find(samples, baseKey);
    if (values == nullptr || bases == nullptr) {
        return;
    }
    const Summary v = summarise(*values);
    const Summary b = summarise(*bases);
    const double ratio = v.median / b.median;
    char comparison[32];
    std::snprintf(comparison, sizeof comparison, "x%.2f", ratio);
    Row row{figure, format(v.median, unit), spread(v, unit), baseline, format(b.median, unit),
            spread(b, unit), comparison, "", ""};
    if (limit) {
        char goal[16];
        std::snprintf(goal, sizeof goal, "<= x%.1f", *limit);
        row.goal = goal;
        const bool met = ratio <= *limit;
        row.verdict = met ? "met" : "MISSED";
        ++(met ? goalsMet : goalsMissed);
    }
    rows.push_back(row);
}

// A memory reading against another as a difference of the medians.
void differenceRow(const Samples& samples, const std::string& figure, const std::string& key,
                   const std::string& baseline, const std::string& baseKey,
                   std::optional<double> limitMB) {
    const auto* values = find(samples, key);
    const auto* bases = find(samples, baseKey);
    if (values == nullptr || bases == nullptr) {
        return;
    }
    const Summary v = summarise(*values);
    const Summary b = summarise(*bases);
    const double differenceMB = (v.median - b.median) * 1024 / 1e6;
    char comparison[32];
    std::snprintf(comparison, sizeof comparison, "%+.1f MB", differenceMB);
    Row row{figure,
            format(v.median, Unit::Megabytes),
            spread(v, Unit::Megabytes),
            baseline,
            format(b.median, Unit::Megabytes),
            spread(b, Unit::Megabytes),
            comparison,
            "",
            ""};
    if (limitMB) {
        char goal[16];
        std::snprintf(goal, sizeof goal, "<= +%.0f MB", *limitMB);
        row.goal = goal;
        const bool met = differenceMB <= *limitMB;
        row.verdict = met ? "met" : "MISSED";
        ++(met ? goalsMet : goalsMissed);
    }
    rows.push_back(row);
}

void section(const std::string& title) {
    rows.push_back(Row{title, "", "", "", "", "", "", "", ""});
}

void buildTable(const Samples& samples, const std::vector<std::string>& platforms) {
    for (const std::string& p : platforms) {
        const std::string on = p == "xvfb" ? " (Xvfb)" : " (offscreen)";
        section("Start-up: process start to first paint" + on);
        ratioRow(samples, "beltrix, seen on the display", p + ".beltrix.startup.painted",
                 "floor, seen on the display", p + ".floor_watched.startup.painted",
                 Unit::Milliseconds, 1.2);
        ratioRow(samples, "beltrix (probe)", p + ".probe.startup.painted", "floor (probe)",
                 p + ".floor.startup.painted", Unit::Milliseconds, 1.2);

        section("Resident memory" + on);
        differenceRow(samples, "beltrix after start-up, from outside", p + ".beltrix.startup.rss",
                      "floor, from outside", p + ".floor_watched.startup.rss", std::nullopt);
        differenceRow(samples, "after start-up (probe)", p + ".probe.startup.rss",
                      "floor after start-up", p + ".floor.startup.rss", std::nullopt);
        differenceRow(samples, "all 17 sheets open", p + ".probe.sheets_open.rss",
                      "after start-up", p + ".probe.startup.rss", std::nullopt);
        differenceRow(samples, "all 17 sheets closed again", p + ".probe.sheets_closed.rss",
                      "after start-up", p + ".probe.startup.rss", 2.0);
        differenceRow(samples, "second round: open", p + ".probe.sheets_open_again.rss",
                      "after start-up", p + ".probe.startup.rss", std::nullopt);
        differenceRow(samples, "second round: closed", p + ".probe.sheets_closed_again.rss",
                      "after start-up", p + ".probe.startup.rss", 2.0);

        section("Opening a sheet: click to first paint" + on);
        for (const auto& [key, values] : samples) {
            const std::string prefix = p + ".sheets.sheet.";
            const std::string suffix = ".open";
            if (key.rfind(prefix, 0) != 0 || key.size() < suffix.size() ||
                key.compare(key.size() - suffix.size(), suffix.size(), suffix) != 0) {
                continue;
            }
            const std::string sheet =
                key.substr(prefix.size(), key.size() - prefix.size() - suffix.size());
            ratioRow(samples, sheet, key, "its picture alone in a window",
                     prefix + sheet + ".alone", Unit::Milliseconds, 1.5);
        }

        section("A calculation click" + on);
        for (const ClickCase& c : clickCases) {
            const std::string name = c.name;
            ratioRow(samples, name + " through the window, to fields written",
                     p + ".sheets.click." + name + ".written", "the engine alone",
                     "engine.click." + name, Unit::Microseconds, std::nullopt);
            ratioRow(samples, name + " through the window, to fields painted",
                     p + ".sheets.click." + name + ".shown", "the engine alone",
                     "engine.click." + name, Unit::Microseconds, std::nullopt);
        }
    }
}

void printTable() {
    std::array<std::size_t, 9> widths{};
    for (const Row& row : rows) {
        if (row.value.empty()) {
            continue;
        }
        const std::array<const std::string*, 9> cells = {
            &row.figure,     &row.value,      &row.valueSpread, &row.baseline, &row.baseValue,
            &row.baseSpread, &row.comparison, &row.goal,        &row.verdict};
        for (std::size_t i = 0; i < cells.size(); ++i) {
            widths[i] = std::max(widths[i], cells[i]->size());
        }
    }
    const Row header{"figure",   "median", "min-max", "baseline", "median",
                     "min-max", "ratio",  "goal",    ""};
    auto print = [&](const Row& row) {
        std::printf("  %-*s  %*s  %-*s  %-*s  %*s  %-*s  %*s  %-*s  %s\n",
                    static_cast<int>(widths[0]), row.figure.c_str(), static_cast<int>(widths[1]),
                    row.value.c_str(), static_cast<int>(widths[2]), row.valueSpread.c_str(),
                    static_cast<int>(widths[3]), row.baseline.c_str(),
                    static_cast<int>(widths[4]), row.baseValue.c_str(),
                    static_cast<int>(widths[5]), row.baseSpread.c_str(),
                    static_cast<int>(widths[6]), row.comparison.c_str(),
                    static_cast<int>(widths[7]), row.goal.c_str(), row.verdict.c_str());
    };
    for (std::size_t i = 0; i < widths.size(); ++i) {
        const std::array<const std::string*, 9> cells = {
            &header.figure,     &header.value,      &header.valueSpread,
            &header.baseline,   &header.baseValue,  &header.baseSpread,
            &header.comparison, &header.goal,       &header.verdict};
        widths[i] = std::max(widths[i], cells[i]->size());
    }
    print(header);
    for (const Row& row : rows) {
        if (row.value.empty()) {
            std::printf("%s\n", row.figure.c_str());
        } else {
            print(row);
        }
    }
}

std::string machine() {
    std::string os = "unknown system";
    std::ifstream release("/etc/os-release");
    std::string line;
    while (std::getline(release, line)) {
        if (line.rfind("PRETTY_NAME=", 0) == 0) {
            os = line.substr(13, line.size() - 14);
        }
    }
    utsname uts{};
    uname(&uts);
    const long cores = sysconf(_SC_NPROCESSORS_ONLN);
    const long memoryGiB = sysconf(_SC_PHYS_PAGES) * (sysconf(_SC_PAGESIZE) / 1024) / 1024 / 1024;
    return std::to_string(cores) + " cores, " + std::to_string(memoryGiB) + " GiB, " + os +
           ", Linux " + uts.release + ", Qt " + qVersion();
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--runs" && hasValue) {
            options.runs = std::atoi(argv[++i]);
            if (options.runs < 1) {
                return false;
            }
        } else if (argument == "--platform" && hasValue) {
            const std::string platform = argv[++i];
            options.offscreen = platform == "offscreen" || platform == "both";
            options.xvfb = platform == "xvfb" || platform == "both";
            if (!options.offscreen && !options.xvfb) {
                return false;
            }
        } else if (argument == "--log" && hasValue) {
            options.log = argv[++i];
        } else {
            return false;
        }
    }
    return true;
}

} // namespace
} // namespace beltrix::bench

int main(int argc, char** argv) {
    using namespace beltrix::bench;
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: beltrix-bench [--runs N] [--platform offscreen|xvfb|both] "
                             "[--log FILE]\n");
        return 2;
    }
    if (options.log.empty()) {
        options.log = "/tmp/beltrix-bench-" + std::to_string(getpid()) + ".log";
    }

    Samples samples;
    for (int run = 0; run < options.runs; ++run) {
        measureEngine(samples);
    }

    std::vector<std::string> platforms;
    if (options.offscreen) {
        Platform offscreen{"offscreen", {{"QT_QPA_PLATFORM", "offscreen"}, {"DISPLAY", ""},
                                         {"WAYLAND_DISPLAY", ""}}};
        measurePlatform(offscreen, options, samples);
        platforms.push_back(offscreen.name);
    }
    if (options.xvfb) {
        VirtualDisplay display;
        std::string error;
        if (!display.start(options.log, error)) {
            complain(error, options);
        } else {
            Platform xvfb{"xvfb", {{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", display.name()},
                                   {"WAYLAND_DISPLAY", ""}}};
#ifdef BELTRIX_BENCH_X11
            WindowWatch watch(display.name());
            if (watch.connected()) {
                xvfb.watch = &watch;
            }
#endif
            measurePlatform(xvfb, options, samples);
            platforms.push_back(xvfb.name);
        }
    }

    char date[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M", std::localtime(&now));
    std::printf("BELTRIX benchmark, %s; %s\n", date, machine().c_str());
    std::printf("Medians of %d runs, with the lowest and highest run; ratio = median / baseline "
                "median; MB = 10^6 bytes.\n",
                options.runs);
    buildTable(samples, platforms);
    printTable();
    std::printf("Goals met: %d, missed: %d.\n", goalsMet, goalsMissed);
    return failed ? 1 : 0;
}
