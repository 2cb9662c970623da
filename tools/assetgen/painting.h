#pragma once

// Drawing of the banner pictures and of the reference sheets. The sheets imitate the scanned
// office lists they stand for: small black type on white, a light title band, thin rules.

#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

namespace beltrix::assetgen {

struct Column {
    QString heading;
    int weight; // share of the table width
    Qt::Alignment alignment;
};

struct Table {
    QString title;
    QStringList notes; // lines between the title band and the column headings
    std::vector<Column> columns;
    std::vector<QStringList> rows;
};

// How many rows fill a picture of the given height below a title and the given number of
// note lines; the table content is made after this, so that every sheet ends at its bottom.
int rowsThatFit(int height, int topInset, int noteLines);

// Draws onto a white picture; rows beyond what fits are cut off.
void drawTable(QImage& picture, int topInset, const Table& table);

// The same sheet in 8-bit colour for the one sheet kept that way: the ink, the bands and the
// rules, with the shades that smoothing the type produces between the ink and each background.
QImage toSheetPalette(const QImage& drawn, int colours);

enum class Motif {
    None,
    PortLamps, // a small panel of port lamps
    Shelf,     // a DSLAM shelf with sixteen slots, the control cards in slots 7 and 8
};

struct Banner {
    int bandHeight; // rows below the band stay white
    QString headline;
    int headlinePixels;
    QString tagline;
    bool taglineBeside; // to the right of the headline rather than under it
    Motif motif;
};

void drawBanner(QImage& picture, const Banner& banner);

} // namespace beltrix::assetgen
