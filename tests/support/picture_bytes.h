// Picture files built byte by byte where Qt has no writer (GIF), where a
// writer cannot say what a hostile file says (a PNG header claiming more
// than its data), or where it writes one page only (TIFF).
#pragma once

#include <QByteArray>
#include <QList>
#include <QRgb>

// A GIF of frames, each width x height indices into palette (at most 256
// colours); transparentIndex -1 for none.
QByteArray GifFile(int width, int height, const QList<QRgb>& palette, int transparentIndex,
                   const QList<QByteArray>& frames);

// An 8-bit RGBA PNG whose header says width x height and whose pixel data
// is rows of zeros: a few kilobytes that decode to width x height x 4 bytes.
// With rows 0 the data holds a single row, however many the header claims.
QByteArray ZeroPng(int width, int height, int rows);

// An uncompressed 8-bit grey TIFF of `pages` pages, each width x height,
// all sharing one strip of pixel data.
QByteArray GreyTiffPages(int width, int height, int pages);
