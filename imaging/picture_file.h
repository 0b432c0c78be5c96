// Picture files of the formats designers draw in (PNG, JPEG, GIF, WebP,
// TIFF) beside Windows bitmaps, recognised by their content, and the one
// rule that turns an alpha channel into what a slot can hold: the key colour
// in a keyed slot, a composition over black in an opaque one.
#pragma once

#include "bitmap_file.h"
#include "skin_document.h"

#include <QByteArrayView>
#include <QImage>
#include <QString>

// The most bytes a compressed picture may decode to, conversions included:
// what a few bytes of RLE give a bitmap (65535 x 2048 pixels of 8 bits).
// Beyond it, and beyond the bitmaps' picture limit, is "Out of memory.".
inline constexpr qint64 CompressedPictureLimitBytes = qint64(128) << 20;

// A bitmap is read exactly as DecodeBitmap reads it; a PNG, JPEG, GIF
// (first frame), WebP or TIFF file by Qt's reader for that format alone,
// alpha kept; anything else goes to the bitmap reader, whose messages stand
// ("Bitmap image is not valid.", "Stream read error." for a short file). A
// file of these formats that does not decode is "Bitmap image is not valid.".
TBitmapReadResult DecodePicture(QByteArrayView bytes);
TBitmapReadResult ReadPictureFile(const QString& path);
// The same from a descriptor open for reading, which stays open; path names
// the file in messages. A pipe or a device is read only as far as needed.
TBitmapReadResult ReadPictureDescriptor(int fd, const QString& path);

// The rule for a picture with an alpha channel: in a keyed slot every pixel
// whose alpha is below half becomes TransparentKey and every other one its
// own colour, opaque; in an opaque slot every pixel is composed over black.
// A picture without alpha comes back as it is. Converts in place when the
// caller hands over the only copy. Throws std::bad_alloc.
QImage ApplyAlphaRule(QImage picture, bool keyed);

// The rule of each slot's own transparency on every picture of the skin;
// slots sharing a picture share its result. Throws std::bad_alloc.
void ApplyAlphaRuleToSlots(TSkinDocument& doc);

// What Open puts into a slot: the file read and the slot's rule applied.
TBitmapReadResult ReadSlotPicture(const QString& path, bool keyed);

// The picture as a PNG file would hold it: in a keyed slot the key pixels
// become fully transparent; an opaque slot's picture stays as it is.
QImage PictureForPng(const QImage& picture, bool keyed);

// Save: a PNG when the name ends in ".png" (any case), a bitmap otherwise,
// through the file layer. Returns the message to show or an empty string.
QString WritePictureFile(const QImage& picture, bool keyed, const QString& path);
