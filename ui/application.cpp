#include "ui/application.h"

#include "beltrix/version.h"
#include "ui/form1.h"
#include "ui/packed_picture.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace beltrix::ui {
namespace {

const char* const programName = "beltrix";

void printLine(std::FILE* stream, const QString& line) {
    const QByteArray bytes = line.toLocal8Bit();
    std::fprintf(stream, "%s\n", bytes.constData());
    std::fflush(stream);
}

// --help and --version answer without a window, so they must be read before QApplication, which
// needs a display. Qt's own options (-style, -platform, ...) are left for QApplication, and
// everything else on the command line is ignored.
struct CommandLine {
    bool help = false;
    bool version = false;
    QString helpText;
};

CommandLine readCommandLine(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    if (arguments.isEmpty()) {
        arguments << QString::fromLatin1(programName);
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "BELTRIX converts between the VLAN, the tag block and the slot and port of a subscriber "
        "line, and shows the reference sheets.\nQt's own options, such as -style and -platform, "
        "are also accepted; any other argument is ignored."));
    // Qt's options are single-dash words: -style must not read as -s -t -y -l -e.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Display this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Output version information and exit."));
    parser.addOption(help);
    parser.addOption(version);
    parser.parse(arguments); // unknown options are not errors here: they are Qt's or ignored

    CommandLine line;
    line.help = parser.isSet(help);
    line.version = parser.isSet(version);
    if (line.help) {
        line.helpText = parser.helpText();
        // Without a QCoreApplication the parser cannot know the program's name.
        line.helpText.replace(QStringLiteral("<executable_name>"),
                              QString::fromLatin1(programName));
    }
    return line;
}

// Qt ends a program whose window system cannot be reached with an abort and a long message that
// suggests reinstalling. BELTRIX says instead, in one line, why no window can open, and exits
// with status 1. While QApplication connects, the platform plugin's warnings (such as "could not
// connect to display :1") and whatever the display libraries print on their own (such as
// "Authorization required, ...") are held back; they name the cause if the connection fails, and
// are passed on as they were if it succeeds.
class StartUpWatch {
public:
    StartUpWatch() {
        current_ = this;
        previousHandler_ = qInstallMessageHandler(&StartUpWatch::handle);
#if defined(Q_OS_UNIX)
        std::fflush(stderr);
        held_ = std::tmpfile();
        savedStderr_ = held_ != nullptr ? ::dup(STDERR_FILENO) : -1;
        if (savedStderr_ >= 0) {
            ::dup2(::fileno(held_), STDERR_FILENO);
        }
#endif
    }

    // The platform is up: everything held back goes out as it came.
    ~StartUpWatch() {
        const QString heldOutput = release();
        qInstallMessageHandler(previousHandler_);
        current_ = nullptr;
        for (const QString& message : std::as_const(platformMessages_)) {
            printLine(stderr, message);
        }
        if (!heldOutput.isEmpty()) {
            std::fputs(heldOutput.toLocal8Bit().constData(), stderr);
        }
    }

    StartUpWatch(const StartUpWatch&) = delete;
    StartUpWatch& operator=(const StartUpWatch&) = delete;

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        StartUpWatch& watch = *current_;
        const QLatin1String category(context.category ? context.category : "");
        if (type == QtFatalMsg) {
            watch.fail(message);
        }
        if (category.startsWith(QLatin1String("qt.qpa")) && type >= QtWarningMsg) {
            watch.platformMessages_ << QStringLiteral("%1: %2").arg(category, message.trimmed());
            return;
        }
        printLine(stderr, qFormatLogMessage(type, context, message));
    }

    [[noreturn]] void fail(const QString& fatalMessage) {
        const QString heldOutput = release();
        // The platform's first warning is the nearest to the cause; Qt's own fatal message only
        // says that no platform could be started.
        QString cause = platformMessages_.isEmpty()
                            ? fatalMessage.section(QLatin1Char('\n'), 0, 0)
                            : platformMessages_.first().section(QLatin1String(": "), 1);
        const QString detail = heldOutput.trimmed().section(QLatin1Char('\n'), 0, 0).trimmed();
        if (!detail.isEmpty()) {
            cause += QStringLiteral(" (%1)").arg(detail);
        }
        printLine(
            stderr,
            QStringLiteral("%1: cannot open a window: %2").arg(QLatin1String(programName), cause));
        std::_Exit(1); // no abort and no core file: nothing went wrong inside the program
    }

    // Puts standard error back and returns what was written to it meanwhile.
    QString release() {
        QByteArray output;
#if defined(Q_OS_UNIX)
        if (savedStderr_ >= 0) {
            std::fflush(stderr);
            ::dup2(savedStderr_, STDERR_FILENO);
            ::close(savedStderr_);
            savedStderr_ = -1;
        }
        if (held_ != nullptr) {
            std::rewind(held_);
            char buffer[4096];
            std::size_t n = 0;
            while ((n = std::fread(buffer, 1, sizeof buffer, held_)) > 0) {
                output.append(buffer, static_cast<qsizetype>(n));
            }
            std::fclose(held_);
            held_ = nullptr;
        }
#endif
        return QString::fromLocal8Bit(output);
    }

    static inline StartUpWatch* current_ = nullptr;
    QtMessageHandler previousHandler_ = nullptr;
    QStringList platformMessages_;
    std::FILE* held_ = nullptr;
    int savedStderr_ = -1;
};

// Without any display to connect to, say so before Qt tries. A platform named explicitly (the
// environment's QT_QPA_PLATFORM or -platform) is Qt's to try.
bool noDisplayAtAll(int argc, char** argv) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        return false;
    }
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "-platform" || argument == "--platform" || argument == "-display" ||
            argument.startsWith("-platform=") || argument.startsWith("--platform=")) {
            return false;
        }
    }
    return qEnvironmentVariableIsEmpty("DISPLAY") &&
           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           qEnvironmentVariableIsEmpty("WAYLAND_SOCKET");
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return false;
#endif
}

} // namespace

QIcon applicationIcon() {
    QIcon icon;
    for (const QImage& image : packedPictures(QStringLiteral(":/icon/Form1"))) {
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

int runApplication(int argc, char** argv) {
    // Desktops know the window by this name (the desktop entry's StartupWMClass).
    QCoreApplication::setApplicationName(QStringLiteral("BELTRIX"));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(beltrix::version));

    // Most starts have no arguments at all; they need no parsing.
    const CommandLine line = argc > 1 ? readCommandLine(argc, argv) : CommandLine{};
    if (line.help) {
        std::fputs(line.helpText.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (line.version) {
        printLine(stdout, QStringLiteral("%1 %2").arg(QLatin1String(programName),
                                                      QString::fromUtf8(beltrix::version)));
        return 0;
    }
    if (noDisplayAtAll(argc, argv)) {
        printLine(stderr, QStringLiteral("%1: cannot open a window: no display (DISPLAY and "
                                         "WAYLAND_DISPLAY are not set)")
                              .arg(QLatin1String(programName)));
        return 1;
    }

#if defined(__GLIBC__)
    // A sheet's picture is a block of a megabyte or so that lives as long as its window. Left to
    // itself, glibc raises its mmap threshold to the size of the first such block freed and
    // serves later ones from the heap, which keeps their pages after the sheets close; at the
    // default threshold, fixed, each picture goes back to the system with its sheet.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif

    std::optional<StartUpWatch> watch(std::in_place);
    QApplication app(argc, argv);
    watch.reset();

    // Lets desktops match the window to its desktop entry (on Wayland in particular).
    QGuiApplication::setDesktopFileName(QString::fromUtf8(beltrix::applicationId));
    QApplication::setWindowIcon(applicationIcon());
    openMainWindow();
    return QApplication::exec();
}

} // namespace beltrix::ui
