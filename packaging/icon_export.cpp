// beltrix-icon-export: writes the desktop icons (PNG, one file a size) from the Windows icon the
// program shows in its title bar, so the launcher and the window always carry the same picture.
//
// usage: beltrix-icon-export <icon.ico> <16x16.png> <32x32.png> <48x48.png>
//
// The 16 and 32 pixel icons are the .ico's own images of those sizes (the richest in colour when
// there are several); the .ico has no 48 pixel image, so that one is scaled from the 32.

#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QString>

#include <cstddef>
#include <cstdio>
#include <optional>
#include <set>

namespace {

std::size_t distinctColours(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            colours.insert(image.pixel(x, y));
        }
    }
    return colours.size();
}

std::optional<QImage> richestImageOfSize(const QString& icoPath, int size) {
    QImageReader reader(icoPath, "ico");
    std::optional<QImage> best;
    std::size_t bestColours = 0;
    for (int index = 0; index < reader.imageCount(); ++index) {
        if (!reader.jumpToImage(index)) {
            break;
        }
        QImage image = reader.read();
        if (image.isNull() || image.width() != size || image.height() != size) {
            continue;
        }
        image = image.convertToFormat(QImage::Format_ARGB32);
        // Qt hands every .ico image over as 32-bit ARGB, so the depth it was stored at is lost;
        // the number of distinct colours tells a 1-bit image from a 4-bit one of the same size.
        const std::size_t colours = distinctColours(image);
        if (!best || colours > bestColours) {
            best = image;
            bestColours = colours;
        }
    }
    return best;
}

bool writePng(const QImage& image, const QString& path, int size) {
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "beltrix-icon-export: cannot write %s\n", qPrintable(path));
        return false;
    }
    const QImage back(path, "PNG");
    if (back.width() != size || back.height() != size) {
        std::fprintf(stderr, "beltrix-icon-export: %s did not read back as %dx%d\n",
                     qPrintable(path), size, size);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 5) {
        std::fputs("usage: beltrix-icon-export <icon.ico> <16x16.png> <32x32.png> <48x48.png>\n",
                   stderr);
        return 2;
    }
    const QString& ico = args[1];
    if (QImageReader reader(ico, "ico"); !reader.canRead()) {
        std::fprintf(stderr, "beltrix-icon-export: cannot read %s: %s\n", qPrintable(ico),
                     qPrintable(reader.errorString()));
        return 1;
    }

    const std::optional<QImage> small = richestImageOfSize(ico, 16);
    const std::optional<QImage> large = richestImageOfSize(ico, 32);
    if (!small || !large) {
        std::fprintf(stderr, "beltrix-icon-export: %s lacks a %s image\n", qPrintable(ico),
                     small ? "32x32" : "16x16");
        return 1;
    }
    const QImage scaled = large->scaled(48, 48, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    const bool ok = writePng(*small, args[2], 16) && writePng(*large, args[3], 32) &&
                    writePng(scaled, args[4], 48);
    return ok ? 0 : 1;
}
