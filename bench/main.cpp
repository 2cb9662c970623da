// beltrix-bench: how fast BELTRIX starts, opens its sheets and calculates, and how much memory it
// holds, each figure set against a baseline measured in the same run.
//
// usage: beltrix-bench [--runs N] [--platform offscreen|xvfb|both] [--details] [--log FILE]
//   --runs      how many runs each figure is the median of (default 15)
//   --platform  offscreen (Qt's offscreen platform), xvfb (a virtual X display with a window
//               manager, started and ended here) or both (the default)
//   --details   also the parts of opening each sheet: decoding its picture, loading it as the
//               sheet does, converting it to the screen's format, drawing it into an image
//   --log       where the measured programs' own messages go; by default a file in /tmp that is
//               removed again unless something failed
//
// The programs are started as child processes, BELTRIX and its baseline back to back in turn:
// the real beltrix executable, watched from outside on the virtual display; beltrix-bench-probe,
// which is BELTRIX's own main() with a clock inside and also opens the sheets, clicks and reads
// memory; and beltrix-bench-floor, a bare Qt window of the same size. The engine's own click
// time is measured in this process. A ratio is the median of the ratios within each run, where
// the two figures were taken together, so that the machine's slower and faster moments cancel.
// Nothing here judges the figures beyond the table's goal column: the exit status is 0 whenever
// every measurement could be taken.

#include "bench/child.h"
#include "bench/statistics.h"
#include "bench/x_display.h"
#include "calc/calculator.h"
#include "calc/field_model.h"

#include <QtGlobal>

#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
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
// Start-up is the cheapest figure to take and the most disturbed by the rest of the machine, so
// each run starts the programs this many times over.
constexpr int startUpsPerRun = 3;

using Samples = std::map<std::string, std::vector<double>>;
using Readings = std::map<std::string, double>;

struct Options {
    int runs = 15;
    bool offscreen = true;
    bool xvfb = true;
    bool details = false;
    std::string log;
};

// ---- the engine alone ---------------------------------------------------------------------

class PlainHost : public FieldHost {
public:
    std::string text(Field field) const override { return texts_[index(field)]; }
    void setText(Field field, const std::string& text) override { texts_[index(field)] = text; }
    void showNotice(beltrix::Notice) override {}
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

// Runs a program that reports itself. Its first paint becomes the time from the moment it was
// started; empty when it gave no report.
Readings runReporting(const std::string& program, const std::vector<std::string>& arguments,
                      const Platform& platform, const Options& options) {
    Child child = start(program, arguments, platform.environment, options.log, true);
    const std::int64_t startedAt = child.startedAt;
    const auto values = readReport(child, childLimitMs);
    const auto painted = values.find("startup.painted");
    if (painted == values.end() || painted->second < 0) {
        complain(program + " gave no report on " + platform.name, options);
        return {};
    }
    Readings readings;
    for (const auto& [key, value] : values) {
        readings[key] = static_cast<double>(key == "startup.painted" ? value - startedAt : value);
    }
    return readings;
}

#ifdef BELTRIX_BENCH_X11
// Starts a program that knows nothing of the benchmark and watches its window from outside: the
// time to its first paint, and its resident memory once settled.
Readings runWatched(const std::string& program, const Platform& platform, const Options& options) {
    platform.watch->reset();
    Child child = start(program, {}, platform.environment, options.log, false);
    const std::int64_t seen = platform.watch->waitForPaint(
        child.pid, windowWidth, windowHeight, watchX, watchY, windowColour, childLimitMs);
    usleep(250'000); // as long as the probe settles before it reads memory
    const std::int64_t resident = residentKiB(child.pid);
    stop(child);
    usleep(100'000); // the window manager unframes the window before the next one comes
    if (seen < 0 || resident < 0) {
        complain(program + " was not seen painting on the virtual display", options);
        return {};
    }
    return {{"startup.painted", static_cast<double>(seen - child.startedAt)},
            {"startup.rss", static_cast<double>(resident)}};
}
#endif

void record(Samples& samples, const std::string& prefix, const Readings& readings) {
    for (const auto& [key, value] : readings) {
        samples[prefix + "." + key].push_back(value);
    }
}

// A ratio of two figures taken together, kept only when both were.
void recordRatio(Samples& samples, const std::string& key, const Readings& a,
                 const std::string& aKey, const Readings& b, const std::string& bKey) {
    const auto x = a.find(aKey);
    const auto y = b.find(bKey);
    if (x != a.end() && y != b.end() && y->second > 0) {
        samples[key].push_back(x->second / y->second);
    }
}

// Runs the pair in the turn's order and records both and their ratio.
template <typename RunA, typename RunB>
void pair(Samples& samples, const std::string& p, int turn, const std::string& a, RunA runA,
          const std::string& b, RunB runB) {
    Readings ofA;
    Readings ofB;
    if (turn % 2 == 0) {
        ofA = runA();
        ofB = runB();
    } else {
        ofB = runB();
        ofA = runA();
    }
    record(samples, p + "." + a, ofA);
    record(samples, p + "." + b, ofB);
    recordRatio(samples, p + ".ratio." + a + ".startup", ofA, "startup.painted", ofB,
                "startup.painted");
}

void measurePlatform(const Platform& platform, const Options& options, Samples& samples) {
    const std::string probe = BELTRIX_PROBE_EXECUTABLE;
    const std::string floor = BELTRIX_FLOOR_EXECUTABLE;
    const std::string& p = platform.name;
    auto floorReport = [&] { return runReporting(floor, {"--report"}, platform, options); };
#ifdef BELTRIX_BENCH_X11
    const std::string beltrix = BELTRIX_EXECUTABLE;
    auto beltrixWatched = [&] { return runWatched(beltrix, platform, options); };
    auto floorWatched = [&] { return runWatched(floor, platform, options); };
#endif

    // One of each first, not counted, so that no run finds the files colder than the next.
    runReporting(probe, {"startup"}, platform, options);
    floorReport();
#ifdef BELTRIX_BENCH_X11
    if (platform.watch != nullptr) {
        beltrixWatched();
        floorWatched();
    }
#endif

    for (int run = 0; run < options.runs; ++run) {
        std::fprintf(stderr, "\r%s: run %d of %d ", p.c_str(), run + 1, options.runs);
        std::fflush(stderr);
        for (int i = 0; i < startUpsPerRun; ++i) {
            const int turn = run * startUpsPerRun + i;
            // The first start of a run goes on to read memory; the others end at the paint.
            const std::string mode = i == 0 ? "memory" : "startup";
            pair(
                samples, p, turn, "probe",
                [&] { return runReporting(probe, {mode}, platform, options); }, "floor",
                floorReport);
#ifdef BELTRIX_BENCH_X11
            if (platform.watch != nullptr) {
                pair(samples, p, turn, "beltrix", beltrixWatched, "floor_watched", floorWatched);
            }
#endif
        }

        const Readings sheets =
            runReporting(probe, {"sheets", std::to_string(run)}, platform, options);
        record(samples, p + ".sheets", sheets);
        for (const auto& [key, value] : sheets) {
            const std::string suffix = ".open";
            if (key.size() > suffix.size() &&
                key.compare(key.size() - suffix.size(), suffix.size(), suffix) == 0) {
                const std::string sheet = key.substr(0, key.size() - suffix.size());
                recordRatio(samples, p + ".ratio." + sheet, sheets, key, sheets, sheet + ".alone");
            }
        }
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

// The interquartile range: the middle half of the runs lies within it.
std::string spread(const Summary& s, Unit unit) {
    const std::string low = format(s.q1, unit);
    return low.substr(0, low.find(' ')) + "-" + format(s.q3, unit);
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

void judge(Row& row, bool met, const std::string& goal) {
    row.goal = goal;
    row.verdict = met ? "met" : "MISSED";
    ++(met ? goalsMet : goalsMissed);
}

// The columns every comparison shares: the figure and its baseline, each as median and spread.
Row comparedRow(const std::string& figure, const Summary& v, const std::string& baseline,
                const Summary& b, Unit unit, const std::string& comparison) {
    return Row{figure,
               format(v.median, unit),
               spread(v, unit),
               baseline,
               format(b.median, unit),
               spread(b, unit),
               comparison,
               "",
               ""};
}

// A figure against its baseline. The ratio is the median of the ratios taken within each run
// when there are such (`pairedKey`), else the ratio of the two medians.
void ratioRow(const Samples& samples, const std::string& figure, const std::string& key,
              const std::string& baseline, const std::string& baseKey, const std::string& pairedKey,
              Unit unit, std::optional<double> limit) {
    const auto* values = find(samples, key);
    const auto* bases = find(samples, baseKey);
    if (values == nullptr || bases == nullptr) {
        return;
    }
    const Summary v = summarise(*values);
    const Summary b = summarise(*bases);
    double ratio = v.median / b.median;
    char comparison[48];
    std::snprintf(comparison, sizeof comparison, "x%.2f", ratio);
    if (const auto* paired = find(samples, pairedKey)) {
        const Summary r = summarise(*paired);
        ratio = r.median;
        std::snprintf(comparison, sizeof comparison, "x%.2f (%.2f-%.2f)", r.median, r.q1, r.q3);
    }
    Row row = comparedRow(figure, v, baseline, b, unit, comparison);
    if (limit) {
        char goal[32];
        std::snprintf(goal, sizeof goal, "<= x%g", *limit);
        judge(row, ratio <= *limit, goal);
    }
    rows.push_back(row);
}

// A memory reading against another as the difference of the medians.
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
    Row row = comparedRow(figure, v, baseline, b, Unit::Megabytes, comparison);
    if (limitMB) {
        char goal[16];
        std::snprintf(goal, sizeof goal, "<= +%.0f MB", *limitMB);
        judge(row, differenceMB <= *limitMB, goal);
    }
    rows.push_back(row);
}

void section(const std::string& title) {
    rows.push_back(Row{title, "", "", "", "", "", "", "", ""});
}

// The sheets measured on the platform, as "Form2" ... "Form19", in the order of their numbers.
std::vector<std::string> sheetsIn(const Samples& samples, const std::string& platform) {
    const std::string prefix = platform + ".sheets.sheet.";
    const std::string suffix = ".open";
    std::vector<std::string> sheets;
    for (const auto& entry : samples) {
        const std::string& key = entry.first;
        if (key.rfind(prefix, 0) == 0 && key.size() > prefix.size() + suffix.size() &&
            key.compare(key.size() - suffix.size(), suffix.size(), suffix) == 0) {
            sheets.push_back(key.substr(prefix.size(), key.size() - prefix.size() - suffix.size()));
        }
    }
    auto number = [](const std::string& name) {
        return std::atoi(name.c_str() + name.find_first_of("0123456789"));
    };
    std::sort(sheets.begin(), sheets.end(),
              [&](const std::string& a, const std::string& b) { return number(a) < number(b); });
    return sheets;
}

// Start-up to the first paint within this ratio of the floor.
constexpr double startupGoal = 1.15;

void buildTable(const Samples& samples, const std::vector<std::string>& platforms, bool details) {
    for (const std::string& p : platforms) {
        const std::string on = p == "xvfb" ? " (Xvfb)" : " (offscreen)";
        section("Start-up: process start to first paint" + on);
        ratioRow(samples, "beltrix, seen on the display", p + ".beltrix.startup.painted",
                 "floor, seen on the display", p + ".floor_watched.startup.painted",
                 p + ".ratio.beltrix.startup", Unit::Milliseconds, startupGoal);
        ratioRow(samples, "beltrix (probe)", p + ".probe.startup.painted", "floor (probe)",
                 p + ".floor.startup.painted", p + ".ratio.probe.startup", Unit::Milliseconds,
                 startupGoal);

        section("Resident memory" + on);
        differenceRow(samples, "beltrix after start-up, from outside", p + ".beltrix.startup.rss",
                      "floor, from outside", p + ".floor_watched.startup.rss", std::nullopt);
        differenceRow(samples, "after start-up (probe)", p + ".probe.startup.rss",
                      "floor after start-up", p + ".floor.startup.rss", std::nullopt);
        differenceRow(samples, "all 17 sheets open", p + ".probe.sheets_open.rss", "after start-up",
                      p + ".probe.startup.rss", std::nullopt);
        differenceRow(samples, "all 17 sheets closed again", p + ".probe.sheets_closed.rss",
                      "after start-up", p + ".probe.startup.rss", 2.0);
        differenceRow(samples, "second round: open", p + ".probe.sheets_open_again.rss",
                      "after start-up", p + ".probe.startup.rss", std::nullopt);
        differenceRow(samples, "second round: closed", p + ".probe.sheets_closed_again.rss",
                      "after start-up", p + ".probe.startup.rss", 2.0);

        section("Opening a sheet: click to first paint" + on);
        for (const std::string& sheet : sheetsIn(samples, p)) {
            const std::string key = p + ".sheets.sheet." + sheet;
            ratioRow(samples, sheet, key + ".open", "its picture alone in a window", key + ".alone",
                     p + ".ratio.sheet." + sheet, Unit::Milliseconds, 1.5);
        }
        if (details) {
            section("Parts of opening a sheet" + on);
            for (const std::string& sheet : sheetsIn(samples, p)) {
                const std::string key = p + ".sheets.sheet." + sheet;
                ratioRow(samples, sheet + ": picture loaded as the sheet does", key + ".load",
                         "decoding alone", key + ".decode", "", Unit::Milliseconds, std::nullopt);
                ratioRow(samples, sheet + ": converted to the screen's format",
                         key + ".screen_format", "decoding alone", key + ".decode", "",
                         Unit::Milliseconds, std::nullopt);
                ratioRow(samples, sheet + ": drawn into a window-sized image", key + ".draw",
                         "decoding alone", key + ".decode", "", Unit::Milliseconds, std::nullopt);
            }
        }

        section("A calculation click" + on);
        for (const ClickCase& c : clickCases) {
            const std::string name = c.name;
            ratioRow(samples, name + " through the window, to fields written",
                     p + ".sheets.click." + name + ".written", "the engine alone",
                     "engine.click." + name, "", Unit::Microseconds, std::nullopt);
            ratioRow(samples, name + " through the window, to fields painted",
                     p + ".sheets.click." + name + ".shown", "the engine alone",
                     "engine.click." + name, "", Unit::Microseconds, std::nullopt);
        }
    }
}

void printTable() {
    constexpr std::size_t columns = 9;
    auto cells = [](const Row& row) {
        return std::array<const std::string*, columns>{
            &row.figure,     &row.value,      &row.valueSpread, &row.baseline, &row.baseValue,
            &row.baseSpread, &row.comparison, &row.goal,        &row.verdict};
    };
    const Row header{"figure", "median", "IQR", "baseline", "median", "IQR", "ratio", "goal", ""};
    std::array<std::size_t, columns> widths{};
    for (std::size_t i = 0; i < columns; ++i) {
        widths[i] = cells(header)[i]->size();
    }
    for (const Row& row : rows) {
        if (!row.value.empty()) {
            for (std::size_t i = 0; i < columns; ++i) {
                widths[i] = std::max(widths[i], cells(row)[i]->size());
            }
        }
    }
    auto print = [&](const Row& row) {
        const auto c = cells(row);
        auto w = [&](std::size_t i) { return static_cast<int>(widths[i]); };
        std::printf("  %-*s  %*s  %-*s  %-*s  %*s  %-*s  %-*s  %-*s  %s\n", w(0), c[0]->c_str(),
                    w(1), c[1]->c_str(), w(2), c[2]->c_str(), w(3), c[3]->c_str(), w(4),
                    c[4]->c_str(), w(5), c[5]->c_str(), w(6), c[6]->c_str(), w(7), c[7]->c_str(),
                    c[8]->c_str());
    };
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
        } else if (argument == "--details") {
            options.details = true;
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
                             "[--details] [--log FILE]\n");
        return 2;
    }
    const bool ownLog = options.log.empty();
    if (ownLog) {
        options.log = "/tmp/beltrix-bench-" + std::to_string(getpid()) + ".log";
    }

    Samples samples;
    for (int run = 0; run < options.runs; ++run) {
        measureEngine(samples);
    }

    std::vector<std::string> platforms;
    if (options.offscreen) {
        Platform offscreen{
            "offscreen",
            {{"QT_QPA_PLATFORM", "offscreen"}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}};
        measurePlatform(offscreen, options, samples);
        platforms.push_back(offscreen.name);
    }
    if (options.xvfb) {
        VirtualDisplay display;
        std::string error;
        if (!display.start(options.log, error)) {
            complain(error, options);
        } else {
            Platform xvfb{
                "xvfb",
                {{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", display.name()}, {"WAYLAND_DISPLAY", ""}}};
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
    std::printf("Medians of %d runs (start-up: %d starts a run) with their interquartile range; "
                "ratio: the median of the\nratios within each run, with its interquartile range "
                "(or, without one, the ratio of the medians); MB = 10^6 bytes.\n",
                options.runs, startUpsPerRun);
    buildTable(samples, platforms, options.details);
    printTable();
    std::printf("Goals met: %d, missed: %d.\n", goalsMet, goalsMissed);
    if (failed) {
        return 1;
    }
    if (ownLog) {
        std::remove(options.log.c_str()); // nothing went wrong, so nothing in it is needed
    }
    return 0;
}
