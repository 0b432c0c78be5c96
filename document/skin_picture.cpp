#include "skin_picture.h"

#include <QtEndian>

#include <cstring>
#include <new>

namespace {

quint32 StoredPixel(const uchar* at) {
    const quint32 v = qFromLittleEndian<quint16>(at);
    const quint32 r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
    return 0xFF000000u | (quint32(Widen5(int(r))) << 16) | (quint32(Widen5(int(g))) << 8) |
           quint32(Widen5(int(b)));
}

// Whether the stored rows decode to the picture's pixels: widening 5 bits
// to 8 loses nothing, so a pixel's top 5 bits give its stored value back.
bool DecodesTo(const uchar* rows, quint64 rowBytes, const QImage& img) {
    const int w = img.width(), h = img.height();
    for (int y = 0; y < h; ++y) {
        const uchar* src = rows + quint64(h - 1 - y) * rowBytes;
        const auto* line = reinterpret_cast<const quint32*>(img.constScanLine(y));
        quint32 differ = 0;
        for (int x = 0; x < w; ++x) {
            const quint32 p = line[x];
            const quint32 v = ((p >> 9) & 0x7C00) | ((p >> 6) & 0x03E0) | ((p >> 3) & 0x001F);
            differ |= (qFromLittleEndian<quint16>(src + 2 * x) & 0x7FFFu) ^ v;
        }
        if (differ) return false;
    }
    return true;
}

} // namespace

QImage TStoredPictures::Decode(const uchar* rows, quint32 width, quint32 height) {
    const quint64 rowBytes = StoredRowBytes(width);
    const size_t hash = qHashBits(rows, size_t(rowBytes * height), qHashMulti(0, width, height));
    // A few candidates per hash bound the comparisons a crafted file can ask
    // for. They are compared by their pixels: the rows are gone once read.
    const auto [first, last] = Seen.equal_range(hash);
    int tries = 0;
    for (auto it = first; it != last && tries < 4; ++it, ++tries)
        if (it->second.Width == width && quint32(it->second.Image.height()) == height &&
            DecodesTo(rows, rowBytes, it->second.Image))
            return it->second.Image;

    QImage img(int(width), int(height), QImage::Format_RGB32);
    if (img.isNull()) return img;
    const int w = int(width), h = int(height);
    for (int y = 0; y < h; ++y) {
        const uchar* src = rows + quint64(h - 1 - y) * rowBytes;
        auto* dst = reinterpret_cast<quint32*>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            dst[x] = StoredPixel(src + 2 * x);
    }
    Seen.emplace(hash, TSeen{width, img});
    return img;
}

void WriteStoredRows(const QImage& source, TByteSink& sink) {
    const int w = source.width(), h = source.height();
    const quint64 rowBytes = StoredRowBytes(quint32(w));
    // Other formats are converted a band of rows at a time, so that a large
    // picture never needs a second whole copy in memory.
    const bool direct =
        source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32;
    constexpr int Band = 64;
    for (int bottom = h; bottom > 0; bottom -= Band) {
        const int top = std::max(0, bottom - Band);
        QImage band;
        if (!direct) {
            band = source.copy(0, top, w, bottom - top).convertToFormat(QImage::Format_RGB32);
            if (band.isNull()) throw std::bad_alloc();
        }
        for (int y = bottom - 1; y >= top; --y) {
            const auto* src = reinterpret_cast<const quint32*>(
                direct ? source.constScanLine(y) : band.constScanLine(y - top));
            uchar* dst = sink.Extend(qsizetype(rowBytes));
            for (int x = 0; x < w; ++x) {
                const quint32 p = src[x];
                const quint32 v = ((p >> 9) & 0x7C00) | ((p >> 6) & 0x03E0) | ((p >> 3) & 0x001F);
                qToLittleEndian<quint16>(quint16(v), dst + 2 * x);
            }
            std::memset(dst + 2 * w, 0, std::size_t(rowBytes) - 2 * std::size_t(w));
        }
    }
}
