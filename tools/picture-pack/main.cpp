// beltrix-picture-pack: packs every image of a picture file (PNG, ICO, ...) as plain pixel rows
// (ui/packed_picture.h), for the program to show without decoding. Run by the build.
//
// usage: beltrix-picture-pack <picture> <packed output>

#include "ui/packed_picture.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageReader>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: beltrix-picture-pack <picture> <packed output>\n");
        return 2;
    }
    // Image format plugins (ICO among them) are found through the application object.
    QCoreApplication app(argc, argv);
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);

    QImageReader reader(input);
    QList<QImage> images;
    // A single picture (PNG) may count as no images; an icon counts each of its sizes.
    const int count = reader.imageCount();
    for (int index = 0; index < qMax(1, count); ++index) {
        if (count > 1 && !reader.jumpToImage(index)) {
            std::fprintf(stderr, "beltrix-picture-pack: cannot find image %d of %s\n", index,
                         qPrintable(input));
            return 1;
        }
        const QImage image = reader.read();
        if (image.isNull()) {
            std::fprintf(stderr, "beltrix-picture-pack: cannot read image %d of %s: %s\n", index,
                         qPrintable(input), qPrintable(reader.errorString()));
            return 1;
        }
        images << image;
    }

    const QByteArray packed = beltrix::ui::packPictures(images);
    // What was written must read back as the same pixels.
    const QList<QImage> back = beltrix::ui::unpackPictures(packed);
    bool same = back.size() == images.size();
    for (qsizetype i = 0; same && i < images.size(); ++i) {
        same = back[i] == images[i].convertToFormat(back[i].format());
    }
    if (!same) {
        std::fprintf(stderr, "beltrix-picture-pack: %s does not pack faithfully\n",
                     qPrintable(input));
        return 1;
    }

    QFile file(output);
    if (!file.open(QIODevice::WriteOnly) || file.write(packed) != packed.size() || !file.flush()) {
        std::fprintf(stderr, "beltrix-picture-pack: cannot write %s\n", qPrintable(output));
        return 1;
    }
    return 0;
}
