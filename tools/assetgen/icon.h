#pragma once

// The application icon: a small window with a title bar, in the three images that every
// window of the program carries (32 x 32 in 2 colours, 32 x 32 and 16 x 16 in 16 colours).
// Qt writes icons only in 32-bit colour, so the palette images are encoded here.

#include <QByteArray>

namespace beltrix::assetgen {

QByteArray windowSymbolIco();

} // namespace beltrix::assetgen
