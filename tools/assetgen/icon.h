#pragma once

// The application icon: a small window with a title bar, in the three images that every
// window of the program carries (32 x 32 in 2 colours, 32 x 32 and 16 x 16 in 16 colours).
// Qt writes icons only in 32-bit colour, so the palette images are encoded here.
//
// Desktops also want the icon larger than any window shows it; windowSymbolImage paints the
// same symbol at such a size, with thin lines and the details that 32 pixels have no room for.

#include <QByteArray>
#include <QImage>

namespace beltrix::assetgen {

QByteArray windowSymbolIco();

// The symbol painted at size x size pixels, on a transparent background; meant for 64 pixels
// and up.
QImage windowSymbolImage(int size);

} // namespace beltrix::assetgen
