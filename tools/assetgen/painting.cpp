#include "tools/assetgen/painting.h"

#include <QFont>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace beltrix::assetgen {

namespace {

constexpr int sideMargin = 10;
constexpr int bottomMargin = 6;
constexpr int titleHeight = 28;
constexpr int noteHeight = 17;
constexpr int gapBelowNotes = 4;
constexpr int headingHeight = 22;
constexpr int rowHeight = 18;
constexpr int cellPadding = 5;

const QColor titleBand(0xd6, 0xe0, 0xec);
const QColor headingBand(0xec, 0xf0, 0xf5);
const QColor innerRule(0x8c, 0x8c, 0x8c);
const QColor outerRule(0x3a, 0x3a, 0x3a);
const QColor ink(0x10, 0x10, 0x10);

const QColor navy(0x14, 0x32, 0x4f);
const QColor steel(0x2f, 0x6f, 0xa5);
const QColor amber(0xe0, 0xa4, 0x3a);
const QColor paleBlue(0xd2, 0xe2, 0xf2);

QFont sansFont(int pixels, bool bold = false) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void drawCell(QPainter& painter, const QRect& cell, const QString& text, Qt::Alignment alignment) {
    const QRect inside = cell.adjusted(cellPadding, 0, -cellPadding, 0);
    const QString fitted = painter.fontMetrics().elidedText(text, Qt::ElideRight, inside.width());
    painter.drawText(inside, int(alignment | Qt::AlignVCenter), fitted);
}

} // namespace

int rowsThatFit(int height, int topInset, int noteLines) {
    const int used = topInset + titleHeight + noteLines * noteHeight + gapBelowNotes +
                     headingHeight + bottomMargin;
    return std::max(0, (height - used) / rowHeight);
}

void drawTable(QImage& picture, int topInset, const Table& table) {
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::Antialiasing, false);

    const int left = sideMargin;
    const int width = picture.width() - 2 * sideMargin;
    int y = topInset;

    const QRect titleRect(left, y, width, titleHeight);
    painter.fillRect(titleRect, titleBand);
    painter.setPen(outerRule);
    painter.drawRect(titleRect.adjusted(0, 0, -1, -1));
    painter.setPen(ink);
    painter.setFont(sansFont(15, true));
    painter.drawText(titleRect, Qt::AlignCenter, table.title);
    y += titleHeight;

    painter.setFont(sansFont(11));
    for (const QString& note : table.notes) {
        painter.drawText(QRect(left + 2, y, width - 4, noteHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, note);
        y += noteHeight;
    }
    y += gapBelowNotes;

    int totalWeight = 0;
    for (const Column& c : table.columns) {
        totalWeight += c.weight;
    }
    // Column edges are rounded from the running sum so that the last column meets the frame.
    std::vector<int> edges{left};
    int runningWeight = 0;
    for (const Column& c : table.columns) {
        runningWeight += c.weight;
        edges.push_back(left + width * runningWeight / totalWeight);
    }

    const int rowsShown = std::min(
        int(table.rows.size()), rowsThatFit(picture.height(), topInset, int(table.notes.size())));
    const int headingTop = y;
    const int bodyTop = headingTop + headingHeight;
    const int bottom = bodyTop + rowsShown * rowHeight;

    painter.fillRect(QRect(left, headingTop, width, headingHeight), headingBand);
    painter.setFont(sansFont(12, true));
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        const QRect cell(edges[i], headingTop, edges[i + 1] - edges[i], headingHeight);
        drawCell(painter, cell, table.columns[i].heading, table.columns[i].alignment);
    }

    painter.setFont(sansFont(12));
    for (int r = 0; r < rowsShown; ++r) {
        const QStringList& row = table.rows[std::size_t(r)];
        const int top = bodyTop + r * rowHeight;
        for (std::size_t i = 0; i < table.columns.size() && int(i) < row.size(); ++i) {
            const QRect cell(edges[i], top, edges[i + 1] - edges[i], rowHeight);
            drawCell(painter, cell, row[qsizetype(i)], table.columns[i].alignment);
        }
    }

    painter.setPen(innerRule);
    for (int r = 1; r < rowsShown; ++r) {
        const int line = bodyTop + r * rowHeight;
        painter.drawLine(left, line, left + width - 1, line);
    }
    for (std::size_t i = 1; i + 1 < edges.size(); ++i) {
        painter.drawLine(edges[i], headingTop, edges[i], bottom);
    }
    painter.setPen(outerRule);
    painter.drawLine(left, bodyTop, left + width - 1, bodyTop);
    painter.drawRect(QRect(left, headingTop, width - 1, bottom - headingTop));
}

QImage toSheetPalette(const QImage& drawn, int colours) {
    const auto blend = [](QColor from, QColor to, int step, int steps) {
        const auto mix = [&](int a, int b) { return a + (b - a) * step / (steps - 1); };
        return qRgb(mix(from.red(), to.red()), mix(from.green(), to.green()),
                    mix(from.blue(), to.blue()));
    };
    // Half the palette goes to the shades over white, where nearly all the type stands.
    const int rules = 2;
    const int overWhite = (colours - rules) / 2;
    const int overBand = (colours - rules - overWhite) / 2;
    const int overHeading = colours - rules - overWhite - overBand;

    QList<QRgb> palette;
    for (int i = 0; i < overWhite; ++i) {
        palette.append(blend(ink, Qt::white, i, overWhite));
    }
    for (int i = 1; i <= overBand; ++i) {
        palette.append(blend(ink, titleBand, i, overBand + 1));
    }
    for (int i = 1; i <= overHeading; ++i) {
        palette.append(blend(ink, headingBand, i, overHeading + 1));
    }
    palette.append(innerRule.rgb());
    palette.append(outerRule.rgb());
    return drawn.convertToFormat(QImage::Format_Indexed8, palette);
}

void drawBanner(QImage& picture, const Banner& banner) {
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    const int width = picture.width();
    const int band = banner.bandHeight;
    // The amber rule marks the band's lower edge; the picture boxes of the main window cut
    // the banners just below it.
    const int ruleTop = std::min(band, 45) - 4;

    QLinearGradient sky(0, 0, width, 0);
    sky.setColorAt(0, navy);
    sky.setColorAt(1, steel);
    painter.fillRect(QRect(0, 0, width, band), sky);
    painter.fillRect(QRect(0, ruleTop, width, 2), amber);
    painter.fillRect(QRect(0, ruleTop + 2, width, band - ruleTop - 2), navy.darker(130));

    int textLeft = 12;
    if (banner.motif == Motif::PortLamps) {
        // A 4 x 3 panel of lamps, some lit, as on the front of a line card.
        const int lamp = 6;
        const int pitch = 9;
        const int top = (ruleTop - 3 * pitch + (pitch - lamp)) / 2;
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 4; ++col) {
                const bool lit = (row * 4 + col) * 5 % 7 < 3;
                const QRect r(12 + col * pitch, top + row * pitch, lamp, lamp);
                painter.fillRect(r, lit ? amber : navy.lighter(160));
                painter.setPen(QColor(0x0a, 0x1c, 0x2e));
                painter.drawRect(r.adjusted(0, 0, -1, -1));
            }
        }
        textLeft = 12 + 4 * pitch + 12;
    }

    if (banner.motif == Motif::Shelf) {
        const int slotWidth = 12;
        const int slotPitch = 14;
        const int slotCount = 16;
        const int shelfLeft = width - 24 - slotCount * slotPitch;
        const int top = 7;
        const int bottom = ruleTop - 5;
        painter.setPen(QColor(0x0a, 0x1c, 0x2e));
        painter.fillRect(QRect(shelfLeft - 4, top - 3, slotCount * slotPitch + 6, bottom - top + 6),
                         navy.darker(140));
        for (int slot = 0; slot < slotCount; ++slot) {
            const bool control = slot == 7 || slot == 8;
            const QRect card(shelfLeft + slot * slotPitch, top, slotWidth, bottom - top);
            painter.fillRect(card, control ? QColor(0x6f, 0x86, 0x9c) : QColor(0xb8, 0xc6, 0xd4));
            painter.drawRect(card.adjusted(0, 0, -1, -1));
            for (int lamp = 0; lamp < 4; ++lamp) {
                const bool lit = control ? lamp == 0 : (slot * 3 + lamp) % 5 != 0;
                const QRect dot(card.left() + 4, card.top() + 4 + lamp * 6, 4, 3);
                painter.fillRect(dot, lit ? (control ? QColor(0x7c, 0xd1, 0x6b) : amber)
                                          : QColor(0x56, 0x66, 0x76));
            }
        }
    }

    painter.setPen(Qt::white);
    painter.setFont(sansFont(banner.headlinePixels, true));
    const QFontMetrics headlineMetrics(painter.font());
    if (banner.tagline.isEmpty()) {
        painter.drawText(QRect(textLeft, 0, width - textLeft, ruleTop),
                         Qt::AlignLeft | Qt::AlignVCenter, banner.headline);
    } else if (banner.taglineBeside) {
        painter.drawText(QRect(textLeft, 0, width - textLeft, ruleTop),
                         Qt::AlignLeft | Qt::AlignVCenter, banner.headline);
        const int taglineLeft = textLeft + headlineMetrics.horizontalAdvance(banner.headline);
        painter.setPen(paleBlue);
        painter.setFont(sansFont(11, true));
        painter.drawText(QRect(taglineLeft, 0, width - 12 - taglineLeft, ruleTop),
                         Qt::AlignRight | Qt::AlignVCenter, banner.tagline);
    } else {
        const QFont taglineFont = sansFont(11);
        const QFontMetrics taglineMetrics(taglineFont);
        const int gap = 2;
        const int top = (ruleTop - headlineMetrics.height() - gap - taglineMetrics.height()) / 2;
        painter.drawText(QRect(textLeft, top, width - textLeft, headlineMetrics.height()),
                         Qt::AlignLeft | Qt::AlignTop, banner.headline);
        painter.setPen(paleBlue);
        painter.setFont(taglineFont);
        painter.drawText(QRect(textLeft, top + headlineMetrics.height() + gap, width - textLeft,
                               taglineMetrics.height()),
                         Qt::AlignLeft | Qt::AlignTop, banner.tagline);
    }
}

} // namespace beltrix::assetgen
