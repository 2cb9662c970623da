#include "tools/assetgen/icon.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QtEndian>

#include <array>
#include <cstdint>
#include <vector>

namespace beltrix::assetgen {

namespace {

// What each pixel of the symbol belongs to; each colour depth maps these to its own palette.
enum class Part : std::uint8_t {
    Clear,
    Outline,
    Shadow,
    TitleBar,
    TitleText,
    TitleButton,
    Client,
    ClientText,
};

struct Rect {
    int left, top, right, bottom; // inclusive
};

class PartMap {
public:
    explicit PartMap(int size) : size_(size), parts_(std::size_t(size * size), Part::Clear) {}

    int size() const { return size_; }
    Part at(int x, int y) const { return parts_[std::size_t(y * size_ + x)]; }

    void fill(Rect r, Part part) {
        for (int y = r.top; y <= r.bottom; ++y) {
            for (int x = r.left; x <= r.right; ++x) {
                parts_[std::size_t(y * size_ + x)] = part;
            }
        }
    }

    void frame(Rect r, Part part) {
        fill({r.left, r.top, r.right, r.top}, part);
        fill({r.left, r.bottom, r.right, r.bottom}, part);
        fill({r.left, r.top, r.left, r.bottom}, part);
        fill({r.right, r.top, r.right, r.bottom}, part);
    }

private:
    int size_;
    std::vector<Part> parts_;
};

// The window sits a little above the centre and casts a one-pixel shadow to the lower right;
// at 16 pixels every feature shrinks to the least that still reads as a window.
PartMap windowSymbol(int size) {
    PartMap map(size);
    if (size == 32) {
        const Rect window{1, 3, 29, 27};
        map.fill({window.left + 1, window.top + 1, window.right + 1, window.bottom + 1},
                 Part::Shadow);
        map.fill(window, Part::Client);
        map.frame(window, Part::Outline);
        map.fill({2, 4, 28, 9}, Part::TitleBar);
        map.fill({4, 6, 13, 7}, Part::TitleText);
        map.fill({24, 5, 27, 8}, Part::TitleButton);
        map.frame({24, 5, 27, 8}, Part::Outline);
        map.fill({19, 5, 22, 8}, Part::TitleButton);
        map.frame({19, 5, 22, 8}, Part::Outline);
        map.fill({2, 10, 28, 10}, Part::Outline);
        map.fill({5, 14, 24, 14}, Part::ClientText);
        map.fill({5, 17, 20, 17}, Part::ClientText);
        map.fill({5, 20, 22, 20}, Part::ClientText);
        map.fill({5, 23, 15, 23}, Part::ClientText);
    } else {
        const Rect window{0, 1, 14, 13};
        map.fill({window.left + 1, window.top + 1, window.right + 1, window.bottom + 1},
                 Part::Shadow);
        map.fill(window, Part::Client);
        map.frame(window, Part::Outline);
        map.fill({1, 2, 13, 4}, Part::TitleBar);
        map.fill({2, 3, 6, 3}, Part::TitleText);
        map.fill({11, 3, 12, 3}, Part::TitleButton);
        map.fill({1, 5, 13, 5}, Part::Outline);
        map.fill({3, 8, 11, 8}, Part::ClientText);
        map.fill({3, 10, 9, 10}, Part::ClientText);
    }
    return map;
}

// The classic 16-colour VGA palette, which is what a 4-bit icon is expected to use.
constexpr std::array<std::uint32_t, 16> vgaPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xc0c0c0,
    0x808080, 0xff0000, 0x00ff00, 0xffff00, 0x0000ff, 0xff00ff, 0x00ffff, 0xffffff,
};
constexpr std::array<std::uint32_t, 2> monoPalette = {0x000000, 0xffffff};

std::uint8_t vgaIndex(Part part) {
    switch (part) {
    case Part::Clear:
    case Part::Outline:
        return 0;
    case Part::Shadow:
    case Part::ClientText:
        return 8;
    case Part::TitleBar:
        return 4;
    case Part::TitleButton:
        return 7;
    case Part::TitleText:
    case Part::Client:
        return 15;
    }
    return 0;
}

// In two colours the shadow and the text lines turn black and the title bar keeps its
// white text and buttons, so the symbol still reads as a window.
std::uint8_t monoIndex(Part part) {
    switch (part) {
    case Part::Clear:
    case Part::Outline:
    case Part::Shadow:
    case Part::TitleBar:
    case Part::ClientText:
        return 0;
    case Part::TitleText:
    case Part::TitleButton:
    case Part::Client:
        return 1;
    }
    return 0;
}

void append16(QByteArray& out, std::uint16_t value) {
    const std::uint16_t le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), sizeof le);
}

void append32(QByteArray& out, std::uint32_t value) {
    const std::uint32_t le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), sizeof le);
}

int rowBytes(int width, int bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

// One icon image as the ICO format stores it: a BMP info header whose height counts the
// colour bitmap and the mask together, the palette, the colour bitmap, then the 1-bit mask in
// which a set bit lets the desktop show through. Rows run bottom-up.
QByteArray encodeImage(const PartMap& map, int bitsPerPixel) {
    const int size = map.size();
    const bool mono = bitsPerPixel == 1;
    const int colours = 1 << bitsPerPixel;
    const int colourRow = rowBytes(size, bitsPerPixel);
    const int maskRow = rowBytes(size, 1);

    QByteArray out;
    append32(out, 40);
    append32(out, std::uint32_t(size));
    append32(out, std::uint32_t(size * 2));
    append16(out, 1);
    append16(out, std::uint16_t(bitsPerPixel));
    append32(out, 0); // uncompressed
    append32(out, std::uint32_t((colourRow + maskRow) * size));
    // No resolution, and a palette of the full 2 or 16 entries.
    append32(out, 0);
    append32(out, 0);
    append32(out, 0);
    append32(out, 0);

    for (int i = 0; i < colours; ++i) {
        const std::uint32_t rgb = mono ? monoPalette[std::size_t(i)] : vgaPalette[std::size_t(i)];
        out.append(char(rgb & 0xff));
        out.append(char((rgb >> 8) & 0xff));
        out.append(char((rgb >> 16) & 0xff));
        out.append(char(0));
    }

    const int pixelsPerByte = 8 / bitsPerPixel;
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(colourRow, 0);
        for (int x = 0; x < size; ++x) {
            const Part part = map.at(x, y);
            const int index = mono ? monoIndex(part) : vgaIndex(part);
            const int shift = 8 - bitsPerPixel * (x % pixelsPerByte + 1);
            row[x / pixelsPerByte] = char(row[x / pixelsPerByte] | (index << shift));
        }
        out.append(row);
    }
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(maskRow, 0);
        for (int x = 0; x < size; ++x) {
            if (map.at(x, y) == Part::Clear) {
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        out.append(row);
    }
    return out;
}

QColor vgaColour(std::uint8_t index) {
    return QColor::fromRgb(vgaPalette[index]);
}

} // namespace

// Laid out on the 32 x 32 image's grid, so that both show the same window with the same parts
// in the same colours; only the lines stay thin, and the title buttons get their bevel and
// their marks.
QImage windowSymbolImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);

    const qreal unit = size / 32.0;
    const qreal line = size / 64.0;
    // A rectangle by its edges on the 32 x 32 grid.
    const auto box = [unit](qreal left, qreal top, qreal right, qreal bottom) {
        return QRectF(left * unit, top * unit, (right - left) * unit, (bottom - top) * unit);
    };
    const QColor black = vgaColour(0);
    const QColor navy = vgaColour(4);
    const QColor silver = vgaColour(7);
    const QColor grey = vgaColour(8);
    const QColor white = vgaColour(15);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    const QRectF window = box(1, 3, 30, 28);
    painter.fillRect(window.translated(unit, unit), grey);
    painter.fillRect(window, white);
    painter.fillRect(box(1, 3, 30, 10), navy);
    painter.fillRect(QRectF(window.left(), 10 * unit, window.width(), line), black);

    // A pen's line is centred on the path, so outlines are drawn half a line inside.
    const auto outline = [&painter, line, black](const QRectF& r) {
        painter.setPen(QPen(black, line, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(line / 2, line / 2, -line / 2, -line / 2));
        painter.setPen(Qt::NoPen);
    };
    const auto textLine = [&painter](const QRectF& r, const QColor& colour) {
        painter.setBrush(colour);
        painter.drawRoundedRect(r, r.height() / 2, r.height() / 2);
    };
    outline(window);

    textLine(box(4, 6, 14, 8), white);

    // Raised buttons: light along the top and left, shadowed along the bottom and right.
    const auto button = [&](const QRectF& r) {
        painter.fillRect(r, silver);
        const QRectF inner = r.adjusted(line, line, -line, -line);
        painter.fillRect(QRectF(inner.left(), inner.bottom() - line, inner.width(), line), grey);
        painter.fillRect(QRectF(inner.right() - line, inner.top(), line, inner.height()), grey);
        painter.fillRect(QRectF(inner.left(), inner.top(), inner.width(), line), white);
        painter.fillRect(QRectF(inner.left(), inner.top(), line, inner.height()), white);
        outline(r);
        return inner.adjusted(line, line, -line, -line);
    };
    const QRectF minimise = button(box(19, 5, 23, 9));
    painter.fillRect(QRectF(minimise.left(), minimise.bottom() - line, minimise.width(), line),
                     black);
    const QRectF close = button(box(24, 5, 28, 9));
    painter.setPen(QPen(black, line * 1.5, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(close.topLeft(), close.bottomRight());
    painter.drawLine(close.topRight(), close.bottomLeft());
    painter.setPen(Qt::NoPen);

    textLine(box(5, 14, 25, 15), grey);
    textLine(box(5, 17, 21, 18), grey);
    textLine(box(5, 20, 23, 21), grey);
    textLine(box(5, 23, 16, 24), grey);

    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QByteArray windowSymbolIco() {
    struct Entry {
        int size;
        int bitsPerPixel;
    };
    constexpr std::array<Entry, 3> entries = {{{32, 1}, {32, 4}, {16, 4}}};
    constexpr int directorySize = 6;
    constexpr int entrySize = 16;

    std::vector<QByteArray> images;
    for (const Entry& e : entries) {
        images.push_back(encodeImage(windowSymbol(e.size), e.bitsPerPixel));
    }

    QByteArray out;
    append16(out, 0);
    append16(out, 1); // icon, not cursor
    append16(out, std::uint16_t(entries.size()));
    std::uint32_t offset = directorySize + entrySize * std::uint32_t(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        out.append(char(entries[i].size));
        out.append(char(entries[i].size));
        out.append(char(1 << entries[i].bitsPerPixel));
        out.append(char(0));
        append16(out, 1);
        append16(out, std::uint16_t(entries[i].bitsPerPixel));
        append32(out, std::uint32_t(images[i].size()));
        append32(out, offset);
        offset += std::uint32_t(images[i].size());
    }
    for (const QByteArray& image : images) {
        out.append(image);
    }
    return out;
}

} // namespace beltrix::assetgen
