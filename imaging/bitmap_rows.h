// A picture as 24-bit rows, one row at a time: the bitmap file unpack writes
// and the hash that finds equal pictures, without a whole 24-bit copy of the
// picture beside it.
#pragma once

#include <QImage>
#include <QString>

#include <cstddef>

// Row y of picture as 24-bit RGB, exactly as a whole conversion would give it.
QImage RgbRow(const QImage& picture, int y);
// Equal for pictures whose 24-bit forms are equal.
std::size_t RgbHash(const QImage& picture);
// Whether the 24-bit forms of a and b are equal.
bool SameRgb(const QImage& a, const QImage& b);

// Writes the 24-bit bitmap file of picture, byte for byte what the toolkit's
// writer gives for its 24-bit copy, converting a row at a time. Returns the
// text of the failure ("Cannot create file ..." with its full stop removed as
// WriteBitmapFile gives it), or an empty string.
QString WriteRgbBitmapFile(const QImage& picture, const QString& path);
