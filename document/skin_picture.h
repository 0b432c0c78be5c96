// Pictures as the skin file stores them: 16-bit 5-5-5 pixels, rows padded
// to a multiple of 4 bytes, the bottom row first.
#pragma once

#include "skin_file.h"

#include <unordered_map>

// Bytes of one stored row.
constexpr quint64 StoredRowBytes(quint32 width) {
    return quint64(width + 1) / 2 * 4;
}

// Decodes the stored pictures of one file. Equal pictures are decoded into
// one shared image, so that a file of many alike slots (the placeholder, a
// dot) holds one copy; a slot's first edit detaches its own.
class TStoredPictures {
  public:
    // rows: StoredRowBytes(width) x height bytes, needed only during the
    // call (the file is read a picture at a time); width and height above 0.
    // A null image when the memory cannot be had.
    QImage Decode(const uchar* rows, quint32 width, quint32 height);

  private:
    struct TSeen {
        quint32 Width;
        QImage Image;
    };
    std::unordered_multimap<size_t, TSeen> Seen;
};

// Writes the rows of a picture with pixels to the sink, a row at a time.
void WriteStoredRows(const QImage& picture, TByteSink& sink);
