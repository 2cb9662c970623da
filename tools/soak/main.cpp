// beltrix-soak: long use of the real window, to show that memory comes back. It opens the main
// window, then repeats rounds of opening all seventeen reference sheets and closing them again
// and of thousands of calculation clicks (message boxes answered at once), and prints the heap
// in use and the resident memory after start-up and after each stage.
//
// usage: beltrix-soak [rounds [clicks-per-round]]   (defaults 50 and 2000; offscreen by default)

#include "ui/form1.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <malloc.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

struct Memory {
    long heapKiB;     // bytes handed out by malloc and not yet freed
    long residentKiB; // pages of the process in RAM
};

Memory measure() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    malloc_trim(0);
    const struct mallinfo2 info = mallinfo2();
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return {static_cast<long>((info.uordblks + info.hblkhd) / 1024),
            resident * sysconf(_SC_PAGESIZE) / 1024};
}

void report(const char* stage, const Memory& m, const Memory& start) {
    std::printf("%-38s %10ld %+9ld %12ld %+9ld\n", stage, m.heapKiB, m.heapKiB - start.heapKiB,
                m.residentKiB, m.residentKiB - start.residentKiB);
    std::fflush(stdout);
}

// Answers every message box as soon as it shows, as an operator clicking OK would.
class DismissBoxes : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                QTimer::singleShot(0, box, [box] { box->done(QMessageBox::Ok); });
            }
        }
        return false;
    }
};

// Inputs that reach every branch: results, range messages, second frames and failures.
constexpr std::array<std::array<const char*, 6>, 8> inputs = {{
    // Text1, Text6, Text2, Text12, Text4, Text5
    {"2002", "200", "300", "173", "4", "29"},
    {"3500", "600", "527", "400", "17", "16"},
    {"3900", "464", "896", "769", "1", "49"},
    {"2024", "", "abc", "12abc", "", " "},
    {"40000", "1E400", "40000", "40000", "1E307", "1"},
    {"3505", "0", "100", "-5", "0", "5"},
    {"3910", "800", "511.5", "384.5", "16.5", "3"},
    {"2050", "174.5", "&H7D2", "1,000", "20", "0"},
}};
constexpr std::array<const char*, 6> inputFields = {"Text1",  "Text6", "Text2",
                                                    "Text12", "Text4", "Text5"};
constexpr std::array<const char*, 9> calculationButtons = {"Command9",  "Command17", "Command6",
                                                           "Command24", "Command16", "Command20",
                                                           "Command13", "Command18", "Command21"};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // The offscreen platform says so whenever a window asks for something it has no screen for.
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.startsWith(QLatin1String("This plugin does not support"))) {
                previous(type, context, message);
            }
        });
    const int rounds = argc > 1 ? std::stoi(argv[1]) : 50;
    const int clicks = argc > 2 ? std::stoi(argv[2]) : 2000;

    DismissBoxes dismiss;
    app.installEventFilter(&dismiss);

    beltrix::ui::Form1* form = beltrix::ui::openMainWindow();
    QCoreApplication::processEvents();
    const Memory start = measure();
    std::printf("%-38s %10s %9s %12s %9s\n", "stage", "heap KiB", "change", "resident KiB",
                "change");
    report("after start-up", start, start);

    auto openAndCloseSheets = [&] {
        for (const beltrix::ui::SheetSpec& sheet : beltrix::ui::sheetSpecs) {
            form->findChild<QPushButton*>(
                    QString::fromLatin1(beltrix::ui::buttonShowing(sheet.sheet)))
                ->click();
        }
        QCoreApplication::processEvents();
        for (std::size_t i = 0; i < beltrix::ui::sheetSpecs.size(); ++i) {
            form->sheets().window(i)->close();
        }
    };
    auto calculate = [&](int count) {
        for (int i = 0; i < count; ++i) {
            const auto& row = inputs[static_cast<std::size_t>(i) % inputs.size()];
            for (std::size_t f = 0; f < inputFields.size(); ++f) {
                form->findChild<QLineEdit*>(inputFields[f])->setText(row[f]);
            }
            const char* button =
                calculationButtons[static_cast<std::size_t>(i / 8) % calculationButtons.size()];
            form->findChild<QPushButton*>(button)->click();
        }
    };

    openAndCloseSheets();
    report("after the first round of sheets", measure(), start);
    calculate(clicks);
    report("after the first round of clicks", measure(), start);

    for (const beltrix::ui::SheetSpec& sheet : beltrix::ui::sheetSpecs) {
        form->findChild<QPushButton*>(QString::fromLatin1(beltrix::ui::buttonShowing(sheet.sheet)))
            ->click();
    }
    QCoreApplication::processEvents();
    report("with all seventeen sheets open", measure(), start);
    for (std::size_t i = 0; i < beltrix::ui::sheetSpecs.size(); ++i) {
        form->sheets().window(i)->close();
    }

    for (int round = 1; round < rounds; ++round) {
        openAndCloseSheets();
        calculate(clicks);
    }
    const std::string last = "after " + std::to_string(rounds) + " rounds, " +
                             std::to_string(static_cast<long>(rounds) * clicks) + " clicks";
    report(last.c_str(), measure(), start);
    form->close();
    return 0;
}
