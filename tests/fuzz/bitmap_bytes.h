// Windows bitmap files built byte by byte, for the depths, headers and
// compressions that QImage reads but does not write, and for hostile headers.
#pragma once

#include <QByteArray>
#include <QList>

#include <functional>

struct TBmp {
    int HeaderSize = 40;        // 12 (OS/2 core), 40, 108 or 124
    int Width = 13, Height = 7; // a negative height runs top-down
    int Bpp = 24;
    int Compression = 0; // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
    QList<quint32> Palette;
    QList<quint32> Masks; // red, green, blue, alpha
    QByteArray Pixels;
};

QByteArray BmpFile(const TBmp& bmp);

// Rows bottom-up, each padded to four bytes; value(x, y) gives the bits of one pixel.
QByteArray PackRows(int w, int h, int bpp, const std::function<quint32(int, int)>& value);

// n colours that differ in every channel.
QList<quint32> Palette(int n);

// An RLE8 (or RLE4) stream of runs of two pixels, end of line after each row.
QByteArray Rle(int w, int h, bool four);
