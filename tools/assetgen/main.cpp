// beltrix-assetgen: draws the application icon, the banners of the main window and the
// reference sheets into an assets directory. The pictures are kept in the repository; run this
// by hand after changing how they are drawn, then look at the result before committing it.

#include "tools/assetgen/content.h"
#include "tools/assetgen/icon.h"
#include "tools/assetgen/painting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>

#include <cstdio>
#include <map>

namespace {

using namespace beltrix::assetgen;

enum class Storage {
    Ico,
    Png,
    // The sheets hold nothing but ink, two light bands and rules, so an 8-bit palette keeps
    // them as they were drawn at a third of the size.
    Palette,
};

constexpr int paletteColours = 92;

struct Picture {
    const char* path; // under the assets directory
    int width;
    int height;
    Content content;
    const char* subject;
    const char* letters;
    int topInset;
    Storage storage;
};

// Form3 sits in a picture box that starts above its window, hiding the picture's top 14
// rows, so its title starts lower than the others'.
const Picture pictures[] = {
    {"icon/Form1.ico", 32, 32, Content::WindowIcon, "", "", 0, Storage::Ico},
    // For desktops only: the windows show the .ico, and the program does not carry these.
    {"icon/Form1-64.png", 64, 64, Content::WindowIcon, "", "", 0, Storage::Png},
    {"icon/Form1-128.png", 128, 128, Content::WindowIcon, "", "", 0, Storage::Png},
    {"icon/Form1-256.png", 256, 256, Content::WindowIcon, "", "", 0, Storage::Png},
    {"banners/Picture1.png", 400, 49, Content::TitleBanner, "", "", 0, Storage::Png},
    {"banners/Picture2.png", 329, 51, Content::NetworkBanner, "", "", 0, Storage::Png},
    {"banners/Picture3.png", 715, 124, Content::CalculatorBanner, "", "", 0, Storage::Png},
    {"sheets/Form11.png", 537, 2264, Content::Landline, "", "A-M", 10, Storage::Palette},
    {"sheets/Form12.png", 505, 1344, Content::Landline, "", "M-S", 10, Storage::Palette},
    {"sheets/Form13.png", 505, 630, Content::Landline, "", "S-Z", 10, Storage::Palette},
    {"sheets/Form2.png", 598, 659, Content::Mobile, "", "A-J", 10, Storage::Palette},
    {"sheets/Form8.png", 598, 865, Content::Mobile, "", "J-M", 10, Storage::Palette},
    {"sheets/Form9.png", 598, 740, Content::Mobile, "", "N-R", 10, Storage::Palette},
    {"sheets/Form10.png", 779, 577, Content::Mobile, "", "S-Z", 10, Storage::Palette},
    {"sheets/Form14.png", 1069, 589, Content::LeasedCircuits, "", "A-C", 10, Storage::Palette},
    {"sheets/Form15.png", 1070, 593, Content::LeasedCircuits, "", "C-H", 10, Storage::Palette},
    {"sheets/Form16.png", 1069, 600, Content::LeasedCircuits, "", "H-M", 10, Storage::Palette},
    {"sheets/Form17.png", 1070, 1160, Content::LeasedCircuits, "", "M-S", 10, Storage::Palette},
    {"sheets/Form18.png", 1070, 480, Content::LeasedCircuits, "", "S-Z", 10, Storage::Palette},
    {"sheets/Form3.png", 853, 736, Content::NodeDslams, "VELORA-P2", "", 24, Storage::Palette},
    {"sheets/Form19.png", 853, 496, Content::NodeDslams, "RASK-P2", "", 10, Storage::Palette},
    {"sheets/Form4.png", 571, 514, Content::ServiceDslams, "MP DSLAMS \u2014 MULTI-PLAY SERVICE",
     "", 10, Storage::Palette},
    {"sheets/Form5.png", 681, 626, Content::ProjectDslams,
     "3M DSLAMS \u2014 THIRD MILLION LINES PROJECT", "", 10, Storage::Palette},
    {"sheets/Form6.png", 960, 720, Content::RingSwitches, "", "", 10, Storage::Palette},
};

struct Drawn {
    QImage image;
    int rows = 0; // of a sheet's table
};

Drawn draw(const Picture& p, int firstNumber) {
    if (p.content == Content::WindowIcon) {
        return {windowSymbolImage(p.width)};
    }
    QImage image(p.width, p.height, QImage::Format_RGB32);
    if (p.content == Content::TitleBanner || p.content == Content::NetworkBanner ||
        p.content == Content::CalculatorBanner) {
        drawBanner(image, bannerFor(p.content));
        return {image};
    }
    const SheetOrder order{p.content,
                           QString::fromUtf8(p.subject),
                           QString::fromLatin1(p.letters),
                           firstNumber,
                           p.height,
                           p.topInset,
                           QString::fromLatin1(p.path)};
    const Table table = makeSheet(order);
    drawTable(image, p.topInset, table);
    if (p.storage == Storage::Palette) {
        image = toSheetPalette(image, paletteColours);
    }
    return {image, int(table.rows.size())};
}

bool writeIcon(const QString& file) {
    QFile out(file);
    return out.open(QIODevice::WriteOnly) && out.write(windowSymbolIco()) >= 0 && out.flush();
}

// Reads the file back the way the program will, so that a picture that Qt would not load,
// or would load at another size, stops the run here rather than in a sheet window.
QString checkReadBack(const Picture& p, const QString& file) {
    QImageReader reader(file);
    if (p.storage == Storage::Ico) {
        if (reader.imageCount() != 3) {
            return QStringLiteral("expected 3 icon images, found %1").arg(reader.imageCount());
        }
        const QSize expected[] = {{32, 32}, {32, 32}, {16, 16}};
        for (int i = 0; i < 3; ++i) {
            reader.jumpToImage(i);
            const QImage image = reader.read();
            if (image.size() != expected[i]) {
                return QStringLiteral("icon image %1 reads as %2 x %3")
                    .arg(i)
                    .arg(image.width())
                    .arg(image.height());
            }
        }
        return {};
    }
    const QImage image = reader.read();
    if (image.size() != QSize(p.width, p.height)) {
        return QStringLiteral("reads as %1 x %2: %3")
            .arg(image.width())
            .arg(image.height())
            .arg(reader.errorString());
    }
    // A desktop icon shows the desktop around the window's edges and under its shadow.
    if (p.content == Content::WindowIcon && !image.hasAlphaChannel()) {
        return QStringLiteral("lost its transparency");
    }
    if (p.storage == Storage::Palette &&
        (image.format() != QImage::Format_Indexed8 || image.colorCount() > paletteColours)) {
        return QStringLiteral("lost its palette: format %1, %2 colours")
            .arg(int(image.format()))
            .arg(image.colorCount());
    }
    return {};
}

} // namespace

int main(int argc, char** argv) {
    // Drawing needs fonts but no display, so the tool runs the same on a build server.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);

    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2 || arguments[1].startsWith(QLatin1Char('-'))) {
        std::fputs("usage: beltrix-assetgen <assets-dir>\n"
                   "Writes the icon, the banners and the sheet pictures under <assets-dir>.\n",
                   stderr);
        return 2;
    }
    const QDir assets(arguments[1]);

    // The parts of a list split over several sheets carry on each other's serial numbers.
    std::map<Content, int> numbered;
    bool failed = false;
    for (const Picture& p : pictures) {
        const QString file = assets.filePath(QString::fromLatin1(p.path));
        const bool continued = *p.letters != '\0';
        const int firstNumber = continued ? numbered[p.content] + 1 : 1;
        bool written = QDir().mkpath(QFileInfo(file).path());
        if (written && p.storage == Storage::Ico) {
            written = writeIcon(file);
        } else if (written) {
            const Drawn drawn = draw(p, firstNumber);
            written = drawn.image.save(file, "PNG");
            if (continued) {
                numbered[p.content] = firstNumber - 1 + drawn.rows;
            }
        }
        if (!written) {
            std::fprintf(stderr, "beltrix-assetgen: cannot write %s\n", qPrintable(file));
            return 1;
        }
        const QString problem = checkReadBack(p, file);
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "beltrix-assetgen: %s %s\n", qPrintable(file),
                         qPrintable(problem));
            failed = true;
            continue;
        }
        std::printf("%-24s %5d x %-5d %8lld bytes\n", p.path, p.width, p.height,
                    QFileInfo(file).size());
    }
    return failed ? 1 : 0;
}
