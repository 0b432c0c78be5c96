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

// A bitmap is read exactly as DecodeBitmap reads it, with its messages
// ("Bitmap image is not valid.", "Stream read error." for a short file);
// anything that is none of the formats below goes there too. A PNG, JPEG,
// GIF (its first image), WebP (its first frame) or TIFF (its first image)
// file is decoded by its format's own library, alpha kept, as it is read;
// one that ends early, fails a check or (JPEG) raises any warning or holds
// more than 100 scans is "The picture file is damaged or incomplete.".
// Every format has the one picture limit (PictureLimitPixels), beyond which
// is PictureTooLargeText(); "Out of memory." is an allocation that failed.
TBitmapReadResult DecodePicture(QByteArrayView bytes);
// The same with the slot's rule applied to each row as it is decoded.
TBitmapReadResult DecodeSlotPicture(QByteArrayView bytes, bool keyed);
TBitmapReadResult ReadPictureFile(const QString& path);
// The same from a descriptor open for reading, which stays open; path names
// the file in messages ("Cannot open file "%s". %s." when a read fails).
// Any file is read only as far as its picture needs.
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

// What Open puts into a slot: the file read, the slot's rule applied to
// each row as it arrives.
TBitmapReadResult ReadSlotPicture(const QString& path, bool keyed);

// The picture as a PNG file would hold it: in a keyed slot the key pixels
// become fully transparent; an opaque slot's picture stays as it is.
QImage PictureForPng(const QImage& picture, bool keyed);

// Save: a PNG when the name ends in ".png" (any case), a bitmap otherwise,
// through the file layer. Returns the message to show or an empty string.
QString WritePictureFile(const QImage& picture, bool keyed, const QString& path);
