#include "ui/packed_picture.h"

#include <QResource>

#include <cstdint>
#include <cstring>

namespace beltrix::ui {
namespace {

// The layout of the data: the magic, then per image a header and its pixel rows, each row
// exactly width * 4 bytes. Numbers are in the byte order of the machine that builds and runs the
// program, which are the same.
constexpr char magic[8] = {'B', 'E', 'L', 'T', 'P', 'I', 'C', '1'};

struct ImageHeader {
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t format; // a QImage::Format
};

QImage::Format packedFormat(const QImage& image) {
    return image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
}

// Images far beyond anything the program carries are a sign of damaged data.
constexpr std::uint32_t largestSide = 16384;

} // namespace

QByteArray packPictures(const QList<QImage>& images) {
    QByteArray packed(magic, sizeof magic);
    for (const QImage& original : images) {
        const QImage image = original.convertToFormat(packedFormat(original));
        const ImageHeader header{static_cast<std::uint32_t>(image.width()),
                                 static_cast<std::uint32_t>(image.height()),
                                 static_cast<std::uint32_t>(image.format())};
        packed.append(reinterpret_cast<const char*>(&header), sizeof header);
        const qsizetype rowBytes = qsizetype{image.width()} * 4;
        for (int y = 0; y < image.height(); ++y) {
            packed.append(reinterpret_cast<const char*>(image.constScanLine(y)), rowBytes);
        }
    }
    return packed;
}

QList<QImage> unpackPictures(const QByteArray& packed) {
    if (packed.size() < qsizetype{sizeof magic} ||
        std::memcmp(packed.constData(), magic, sizeof magic) != 0) {
        return {};
    }
    QList<QImage> images;
    qsizetype at = sizeof magic;
    while (at < packed.size()) {
        ImageHeader header{};
        if (packed.size() - at < qsizetype{sizeof header}) {
            return {};
        }
        std::memcpy(&header, packed.constData() + at, sizeof header);
        at += sizeof header;
        const auto format = static_cast<QImage::Format>(header.format);
        if (header.width == 0 || header.height == 0 || header.width > largestSide ||
            header.height > largestSide ||
            (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied)) {
            return {};
        }
        const qsizetype rowBytes = qsizetype{header.width} * 4;
        if (packed.size() - at < rowBytes * header.height) {
            return {};
        }
        QImage image(static_cast<int>(header.width), static_cast<int>(header.height), format);
        for (int y = 0; y < image.height(); ++y) {
            std::memcpy(image.scanLine(y), packed.constData() + at, static_cast<std::size_t>(rowBytes));
            at += rowBytes;
        }
        images << image;
    }
    return images;
}

QList<QImage> packedPictures(const QString& resource) {
    const QResource file(resource);
    if (!file.isValid()) {
        return {};
    }
    // Stored uncompressed, the data stands in the program itself; uncompressedData() copies only
    // where it has to inflate.
    return unpackPictures(file.uncompressedData());
}

} // namespace beltrix::ui
