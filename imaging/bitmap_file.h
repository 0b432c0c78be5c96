// Windows bitmap files read into and written from picture slots, with the
// editor's messages for every failure.
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

struct TBitmapReadResult {
    QImage Image;  // valid only when Error is empty
    QString Error; // the message to show, full stop included
};

// Reads every uncompressed depth (1, 4, 8, 16, 24, 32 bits) and RLE4/RLE8.
// The picture keeps the file's depth: Mono, Indexed8, RGB555 or RGB16 for
// 5-5-5 and 5-6-5 files, RGB32 otherwise (alpha dropped). Errors:
// "Cannot open file "%s". %s.", "Bitmap image is not valid." (not a bitmap,
// damaged headers, an empty file), "Stream read error." (the file ends before
// what its headers announce), "Out of memory." (beyond Qt's allocation limit),
// "The picture is too large for a skin file (at most 65535 x 65535 pixels)."
TBitmapReadResult ReadBitmapFile(const QString& path);
TBitmapReadResult DecodeBitmap(QByteArrayView bytes);

// Writes the picture in the format it holds (16-bit pictures as 16-bit files,
// 32-bit ones as 24-bit) through the file layer, so a failed save leaves the
// old file as it was; returns the message to show ("Cannot create file "%s".
// %s.", %s the file layer's text) or an empty string.
QString WriteBitmapFile(const QImage& picture, const QString& path);
