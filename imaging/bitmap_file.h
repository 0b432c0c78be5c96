// Windows bitmap files read into and written from picture slots, with the
// editor's messages for every failure.
#pragma once

#include "whole_file.h"

#include <QByteArrayView>
#include <QImage>
#include <QString>

struct TBitmapReadResult {
    QImage Image;  // valid only when Error is empty
    QString Error; // the message to show, full stop included
};

// The most pixels a picture read from a file may have, whatever its format:
// 1 GiB at 4 bytes a pixel. Beyond it is PictureTooLargeText().
inline constexpr qint64 DefaultPictureLimitPixels = qint64(1) << 28;

// "The picture is too large: at most 268,435,456 pixels (for example 16384 x 16384)."
QString PictureTooLargeText();

// Lowers (or restores) the limit, for the fuzzers, which spend their time on
// shapes rather than on sizes. Qt's own limit is kept at least as high.
void SetPictureLimitPixels(qint64 pixels);
qint64 PictureLimitPixels();

// Reads every uncompressed depth (1, 4, 8, 16, 24, 32 bits) and RLE4/RLE8.
// The picture keeps the file's depth: Mono, Indexed8, RGB555 or RGB16 for
// 5-5-5 and 5-6-5 files, RGB32 otherwise (alpha dropped). Errors:
// "Cannot open file "%s". %s.", "Bitmap image is not valid." (not a bitmap,
// damaged headers, an empty file, bit-field masks that are not one run of
// bits within the pixel), "Stream read error." (the file ends before the rows
// its headers announce, checked before their size), "Out of memory." (memory
// that cannot be had), PictureTooLargeText() (beyond the picture limit),
// "The picture is too large for a skin file (at most 65535 x 65535 pixels)."
TBitmapReadResult ReadBitmapFile(const QString& path);
// The same from a descriptor open for reading, which stays open; path names
// the file in messages.
TBitmapReadResult ReadBitmapDescriptor(int fd, const QString& path);
TBitmapReadResult DecodeBitmap(QByteArrayView bytes);
// From a pipe or a device whose first bytes (head) were taken already: only
// as many more as the headers say the picture needs, judged as they arrive,
// so a stream of anything but a bitmap ends after its first kilobyte.
TFileRead ReadBitmapStream(int fd, QByteArray head = {});

// Writes the picture in the format it holds (16-bit pictures as 16-bit files,
// 32-bit ones as 24-bit) through the file layer, so a failed save leaves the
// old file as it was; returns the message to show ("Cannot create file "%s".
// %s.", %s the file layer's text) or an empty string.
QString WriteBitmapFile(const QImage& picture, const QString& path);
