// Picture files built byte by byte where Qt has no writer (GIF), where a
// writer cannot say what a hostile file says (a PNG header claiming more
// than its data, chunks of any kind), or where it writes one page only
// (TIFF); and JPEGs of a chosen size or number of scans, through libjpeg.
#pragma once

#include <QByteArray>
#include <QImage>
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
// A 16-bit TIFF of width x height pixels, grey (1 sample a pixel) or RGB
// (3), rows from the top.
QByteArray Tiff16(int width, int height, int samplesPerPixel, const QList<quint16>& samples);

struct TPngChunk {
    QByteArray Type; // four letters
    QByteArray Data;
};

// A PNG of the given header fields (depth, colour type, interlace method)
// whose rows, each starting with its filter byte, are deflated into one
// IDAT; before goes between the header and the IDAT, after between the
// IDAT and the end.
QByteArray PngFile(int width, int height, int depth, int colourType, const QByteArray& rows,
                   const QList<TPngChunk>& before = {}, const QList<TPngChunk>& after = {},
                   int interlace = 0);

// A baseline JPEG of the picture (RGB, or grey for a Grayscale8 picture).
QByteArray JpegFile(const QImage& picture, int quality);
// A progressive grey JPEG of width x height in `scans` scans. Up to 127 the
// scans are a valid progression (the DC, then every AC coefficient's first
// and refining scans); beyond, the last scan repeats.
QByteArray ProgressiveJpeg(int width, int height, int scans);

// A lossless animated WebP of the frames, all of the first one's size.
QByteArray AnimatedWebp(const QList<QImage>& frames);
