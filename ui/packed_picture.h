#pragma once

// The pictures the main window shows as it starts (the banners and the window icon) are compiled
// in already decoded, so that showing them costs a copy and no decoding: a packed picture holds
// every image of one picture file as plain pixel rows. beltrix-picture-pack writes them when the
// program is built, from the pictures in assets/.

#include <QByteArray>
#include <QImage>
#include <QList>

namespace beltrix::ui {

// The images of one picture file, packed. Images keep their size and pixels; they are stored as
// 32-bit RGB when opaque and premultiplied ARGB otherwise, the formats the screen draws directly.
QByteArray packPictures(const QList<QImage>& images);

// The images of a packed picture, in the order they were packed; empty when the data is not a
// packed picture.
QList<QImage> unpackPictures(const QByteArray& packed);

// The packed picture that the program's resources hold under this name (for example
// ":/banners/Picture1"); empty when there is none. Stored uncompressed, as the build stores them,
// the images are read in place, without a copy.
QList<QImage> packedPictures(const QString& resource);

} // namespace beltrix::ui
