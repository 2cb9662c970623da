// beltrix-bench-probe: BELTRIX itself with a clock on it, then the readings beltrix-bench asks
// for. The program is started by the same function as the beltrix executable's main()
// (beltrix::ui::runApplication); the probe adds only an application event filter (PaintClock),
// installed as the QApplication is constructed, that notes the main window's first paint and then
// takes the readings from the event loop.
//
// usage: beltrix-bench-probe startup | memory | sheets <run>
//   startup the start-up alone (also for profiling it: perf record, strace)
//   memory  resident memory after start-up, with all seventeen sheets open, after closing them,
//           and after a second round of opening and closing
//   sheets  for each sheet, the click to its first paint and its picture decoded and drawn
//           alone; then calculation clicks through the window. <run> alternates which of a
//           sheet and its baseline goes first, so neither always finds the caches warm.
// Every reading is a "key value" line on standard output (bench/report.h).

#include "bench/paint_clock.h"
#include "bench/report.h"
#include "ui/application.h"
#include "ui/form1.h"
#include "ui/picture_box.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using beltrix::bench::monotonicNanos;
using beltrix::bench::PaintClock;
using beltrix::bench::report;
using Sheet = beltrix::ui::SheetSpec;
const auto& allSheets = beltrix::ui::sheetSpecs;

QString resourceOf(const Sheet& sheet) {
    return QStringLiteral(":/sheets/%1.png").arg(QLatin1String(sheet.name));
}

// Where the sheet shows its picture's top-left pixel: inside the box's 2-pixel border, or at
// the window's corner.
QPoint pictureOrigin(const Sheet& sheet) {
    return sheet.box ? sheet.box->topLeft() + QPoint(2, 2) : QPoint(0, 0);
}

// The baseline of a sheet: a window of the sheet's size that draws the same picture, decoded
// the same way, at the same place, and does nothing else.
class PictureAlone : public QWidget {
public:
    PictureAlone(QImage picture, QPoint origin) : picture_(std::move(picture)), origin_(origin) {
        setObjectName(QStringLiteral("PictureAlone"));
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(origin_, picture_); }

private:
    QImage picture_;
    QPoint origin_;
};

void placeLikeTheSheet(QWidget* window, const Sheet& sheet) {
    window->resize(sheet.clientSize);
    if (sheet.centred) {
        window->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, sheet.clientSize,
                                                window->screen()->availableGeometry()));
    }
}

std::int64_t median(std::vector<std::int64_t> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

QPushButton* button(beltrix::ui::Form1* form, std::string_view name) {
    return form->findChild<QPushButton*>(
        QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

void measureMemory(beltrix::ui::Form1* form, PaintClock& clock) {
    beltrix::bench::reportMemory("startup");
    for (int round = 1; round <= 2; ++round) {
        for (const Sheet& sheet : allSheets) {
            clock.expect(beltrix::bench::inWindowNamed(QLatin1String(sheet.name)));
            button(form, beltrix::ui::buttonShowing(sheet.sheet))->click();
            clock.wait();
        }
        beltrix::bench::settle(250);
        const std::string suffix = round == 1 ? "" : "_again";
        beltrix::bench::reportMemory("sheets_open" + suffix);
        for (std::size_t i = 0; i < allSheets.size(); ++i) {
            form->sheets().window(i)->close();
        }
        beltrix::bench::settle(250);
        beltrix::bench::reportMemory("sheets_closed" + suffix);
    }
}

void measureSheet(beltrix::ui::Form1* form, PaintClock& clock, std::size_t index, bool sheetFirst) {
    const Sheet& sheet = allSheets[index];
    const std::string key = "sheet." + std::string(sheet.name);

    auto openSheet = [&] {
        clock.expect(beltrix::bench::inWindowNamed(QLatin1String(sheet.name)));
        const std::int64_t start = monotonicNanos();
        button(form, beltrix::ui::buttonShowing(sheet.sheet))->click();
        report(key + ".open", clock.wait() - start);
        form->sheets().window(index)->close();
        beltrix::bench::settle(20);
    };
    auto openPictureAlone = [&] {
        clock.expect(beltrix::bench::inWindowNamed(QStringLiteral("PictureAlone")));
        const std::int64_t start = monotonicNanos();
        auto window =
            std::make_unique<PictureAlone>(QImage(resourceOf(sheet)), pictureOrigin(sheet));
        placeLikeTheSheet(window.get(), sheet);
        window->show();
        report(key + ".alone", clock.wait() - start);
        window.reset();
        beltrix::bench::settle(20);
    };
    if (sheetFirst) {
        openSheet();
        openPictureAlone();
    } else {
        openPictureAlone();
        openSheet();
    }

    // The parts, each on its own: decoding; decoding with the conversion to a pixmap, as the
    // sheet loads its picture; the conversion to a pixmap in the screen's format, which the
    // sheet does not make; and drawing the decoded picture onto an image of the window's size.
    std::int64_t start = monotonicNanos();
    const QImage picture(resourceOf(sheet));
    report(key + ".decode", monotonicNanos() - start);
    start = monotonicNanos();
    const QPixmap loaded = beltrix::ui::loadPicture(resourceOf(sheet));
    report(key + ".load", monotonicNanos() - start);
    start = monotonicNanos();
    const QPixmap screenFormat = QPixmap::fromImage(picture);
    report(key + ".screen_format", monotonicNanos() - start);
    QImage target(sheet.clientSize, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::white);
    start = monotonicNanos();
    {
        QPainter painter(&target);
        painter.drawImage(pictureOrigin(sheet), picture);
    }
    report(key + ".draw", monotonicNanos() - start);
}

struct ClickCase {
    const char* button;
    std::vector<std::pair<const char*, const char*>> inputs;
    const char* lastWritten; // the field the operation writes last
};

// A worked example of each calculator panel; none of them brings up a message box.
const std::array<ClickCase, 3> clickCases = {{
    {"Command9", {{"Text1", "2002"}, {"Text6", "200"}}, "Text13"},
    {"Command6", {{"Text2", "300"}}, "Text5"},
    {"Command21", {{"Text4", "8"}, {"Text5", "5"}}, "Text2"},
}};

void measureClicks(beltrix::ui::Form1* form, PaintClock& clock) {
    for (const ClickCase& c : clickCases) {
        QPushButton* calculate = form->findChild<QPushButton*>(QLatin1String(c.button));
        const QString last = QLatin1String(c.lastWritten);
        auto prepare = [&] {
            for (const auto& [name, text] : c.inputs) {
                form->findChild<QLineEdit*>(QLatin1String(name))->setText(QLatin1String(text));
            }
            // Emptied, so that the click changes it and it has to be painted again.
            form->findChild<QLineEdit*>(last)->clear();
        };

        // To the fields written: the click alone, its repaints left for later.
        std::vector<std::int64_t> written;
        for (int i = 0; i < 201; ++i) {
            prepare();
            const std::int64_t start = monotonicNanos();
            calculate->click();
            written.push_back(monotonicNanos() - start);
        }
        // To the fields on the screen: the repaint that the click's writes bring about.
        std::vector<std::int64_t> shown;
        for (int i = 0; i < 21; ++i) {
            prepare();
            beltrix::bench::settle(10); // the inputs' own repaint is not the click's
            clock.expect([last](QWidget* painted) { return painted->objectName() == last; });
            const std::int64_t start = monotonicNanos();
            calculate->click();
            shown.push_back(clock.wait(5000) - start);
        }
        const std::string key = std::string("click.") + c.button;
        report(key + ".written", median(written));
        report(key + ".shown", median(shown));
    }
}

std::string mode;
int run = 0;

// Runs once the main window has painted, from BELTRIX's own event loop.
void afterStartUp(std::int64_t paintedAt, PaintClock& clock) {
    report("startup.painted", paintedAt);
    beltrix::ui::Form1* form = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<beltrix::ui::Form1*>(window)) {
            form = found;
        }
    }
    if (form == nullptr) {
        QCoreApplication::exit(1);
        return;
    }
    if (mode == "memory") {
        beltrix::bench::settle(250);
        measureMemory(form, clock);
    } else if (mode == "sheets") {
        beltrix::bench::settle(250);
        for (std::size_t i = 0; i < allSheets.size(); ++i) {
            measureSheet(form, clock, i, (static_cast<int>(i) + run) % 2 == 0);
        }
        measureClicks(form, clock);
    }
    form->close(); // the last window: BELTRIX ends as when the user closes it
}

void installClock() {
    static PaintClock* clock = new PaintClock; // watches until the process ends
    clock->expect(beltrix::bench::inWindowNamed(QStringLiteral("Form1")),
                  [](QWidget*, std::int64_t paintedAt) { afterStartUp(paintedAt, *clock); });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installClock)

int main(int argc, char** argv) {
    mode = argc > 1 ? argv[1] : "";
    run = argc > 2 ? std::atoi(argv[2]) : 0;
    if (mode != "startup" && mode != "memory" && mode != "sheets") {
        std::fprintf(stderr, "usage: beltrix-bench-probe startup | memory | sheets <run>\n");
        return 2;
    }
    return beltrix::ui::runApplication(argc, argv);
}
