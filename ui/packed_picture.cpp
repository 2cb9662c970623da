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

namespace {

// Reads the images from the data. Where the data lives as long as the program (a resource stored
// uncompressed), images whose rows stand on 4-byte boundaries are made over it, without a copy.
QList<QImage> unpack(const char* data, qsizetype size, bool dataOutlivesImages) {
    if (size < qsizetype{sizeof magic} || std::memcmp(data, magic, sizeof magic) != 0) {
        return {};
    }
    QList<QImage> images;
    qsizetype at = sizeof magic;
    while (at < size) {
        ImageHeader header{};
        if (size - at < qsizetype{sizeof header}) {
            return {};
        }
        std::memcpy(&header, data + at, sizeof header);
        at += sizeof header;
        const auto format = static_cast<QImage::Format>(header.format);
        if (header.width == 0 || header.height == 0 || header.width > largestSide ||
            header.height > largestSide ||
            (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied)) {
            return {};
        }
        const int width = static_cast<int>(header.width);
        const int height = static_cast<int>(header.height);
        const qsizetype rowBytes = qsizetype{width} * 4;
        if (size - at < rowBytes * height) {
            return {};
        }
        const auto* rows = reinterpret_cast<const uchar*>(data + at);
        const bool aligned = reinterpret_cast<std::uintptr_t>(rows) % 4 == 0;
        if (dataOutlivesImages && aligned) {
            images << QImage(rows, width, height, rowBytes, format);
        } else {
            QImage image(width, height, format);
            for (int y = 0; y < height; ++y) {
                std::memcpy(image.scanLine(y), rows + y * rowBytes,
                            static_cast<std::size_t>(rowBytes));
            }
            images << image;
        }
        at += rowBytes * height;
    }
    return images;
}

} // namespace

QList<QImage> unpackPictures(const QByteArray& packed) {
    return unpack(packed.constData(), packed.size(), false);
}

QList<QImage> packedPictures(const QString& resource) {
    const QResource file(resource);
    if (!file.isValid()) {
        return {};
    }
    if (file.compressionAlgorithm() == QResource::NoCompression) {
        return unpack(reinterpret_cast<const char*>(file.data()), file.size(), true);
    }
    return unpackPictures(file.uncompressedData());
}

} // namespace beltrix::ui
