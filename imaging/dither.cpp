#include "dither.h"

#include <cmath>
#include <limits>
#include <vector>

// The result is defined by x87 extended arithmetic (64-bit mantissa): near
// ties, double precision picks the other level.
static_assert(std::numeric_limits<long double>::digits == 64,
              "dithering needs the 80-bit x87 long double");

// Exactness: every value below goes through the same extended operations,
// in the same order, as the textbook version with a whole-picture buffer:
// start c / 255, then per neighbour value + error x weight, k = v x 31
// rounded half to even, q = k / 31, error v - q. What makes it fast:
// - start values, k / 31 and the output level of k come from tables that
//   were filled with those very operations;
// - the rounding is one fistp in the default rounding mode (nearest, ties to
//   even), which is exactly nearbyintl, instead of a library call;
// - the buffer is one row: a pixel only ever passes error to its right and
//   to the row below, so the row below is gathered in three running sums and
//   written back behind the pixel being processed.

namespace {

using Ext = long double;

constexpr Ext Right = 0.4375L, BelowLeft = 0.1875L, Below = 0.3125L, BelowRight = 0.0625L;

// k = v x 31 rounded stays within -1..32 (a pixel never gathers more than
// half a step of error); the tables leave room on both sides.
constexpr int KMin = -8, KMax = 40;

Ext QuantOf(long long k) {
    return Ext(k) / 31;
}
int LevelOf(Ext q) {
    const Ext scaled = q * 255;
    if (scaled <= 0) return 0;
    if (scaled >= 255) return 255;
    return int(scaled); // truncation toward zero
}

struct TDitherTables {
    Ext Start[256];
    Ext Quant[KMax - KMin + 1];
    quint8 Level[KMax - KMin + 1];
    TDitherTables() {
        for (int c = 0; c < 256; ++c)
            Start[c] = Ext(c) / 255;
        for (int k = KMin; k <= KMax; ++k) {
            Quant[k - KMin] = QuantOf(k);
            Level[k - KMin] = quint8(LevelOf(Quant[k - KMin]));
        }
    }
};
const TDitherTables Tables;

// nearbyintl: rounds in the current mode, which is round to nearest, ties to even.
inline long long RoundToNearest(Ext t) {
#if defined(__x86_64__) || defined(__i386__)
    long long k;
    asm("fistpll %0" : "=m"(k) : "t"(t) : "st");
    return k;
#else
    return std::llrint(t);
#endif
}

// Quantises v: returns q = k / 31 and stores the output level of k.
inline Ext Quantise(Ext v, int& level) {
    const long long k = RoundToNearest(v * 31);
    if (k >= KMin && k <= KMax) {
        level = Tables.Level[k - KMin];
        return Tables.Quant[k - KMin];
    }
    const Ext q = QuantOf(k);
    level = LevelOf(q);
    return q;
}

inline int Channel(QRgb p, int c) {
    return c == 0 ? qRed(p) : c == 1 ? qGreen(p) : qBlue(p);
}

// Diffuses one row in place. gathered holds, per pixel and channel, what the
// row has received from the row above; on return it holds what the row below
// has received from this one. below is null for the last row.
void DiffuseRow(QRgb* line, const QRgb* below, Ext* gathered, int width) {
    Ext fromLeft[3] = {0, 0, 0};
    Ext done[3] = {0, 0, 0}, current[3] = {0, 0, 0}; // the row below, at x - 1 and x
    if (below)
        for (int c = 0; c < 3; ++c)
            current[c] = Tables.Start[Channel(below[0], c)];
    for (int x = 0; x < width; ++x) {
        const bool hasRight = x + 1 < width;
        int level[3];
        for (int c = 0; c < 3; ++c) {
            // x + 0 is exact, so the first pixel needs no special case.
            const Ext v = gathered[3 * x + c] + fromLeft[c];
            const Ext error = v - Quantise(v, level[c]);
            fromLeft[c] = error * Right;
            if (!below) continue;
            if (x > 0) gathered[3 * (x - 1) + c] = done[c] + error * BelowLeft;
            done[c] = current[c] + error * Below;
            if (hasRight) current[c] = Tables.Start[Channel(below[x + 1], c)] + error * BelowRight;
        }
        line[x] = qRgb(level[0], level[1], level[2]);
    }
    if (below)
        for (int c = 0; c < 3; ++c)
            gathered[3 * (width - 1) + c] = done[c];
}

// Qt's own widening of 5- and 6-bit channels (the top bits repeated), so
// that a 16-bit picture dithers as it is shown and as it converts.
inline int Widen(quint32 v, int bits) {
    return int(bits == 5 ? (v << 3) | (v >> 2) : (v << 2) | (v >> 4));
}

void WidenRow(const QImage& picture, int y, QRgb* out) {
    const auto* in = reinterpret_cast<const quint16*>(picture.constScanLine(y));
    const bool is555 = picture.format() == QImage::Format_RGB555;
    for (int x = 0, w = picture.width(); x < w; ++x) {
        const quint32 p = in[x];
        out[x] = is555 ? qRgb(Widen((p >> 10) & 31, 5), Widen((p >> 5) & 31, 5), Widen(p & 31, 5))
                       : qRgb(Widen(p >> 11, 5), Widen((p >> 5) & 63, 6), Widen(p & 31, 5));
    }
}

// The top bits of each level; for an output level the top five are k.
void PackRow(const QRgb* levels, QImage& picture, int y) {
    auto* out = reinterpret_cast<quint16*>(picture.scanLine(y));
    const bool is555 = picture.format() == QImage::Format_RGB555;
    for (int x = 0, w = picture.width(); x < w; ++x) {
        const quint32 r = quint32(qRed(levels[x])), g = quint32(qGreen(levels[x])),
                      b = quint32(qBlue(levels[x]));
        out[x] = quint16(is555 ? (r >> 3) << 10 | (g >> 3) << 5 | b >> 3
                               : (r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
    }
}

} // namespace

void DitherPicture(QImage& picture) {
    if (picture.isNull()) return;
    const QImage::Format format = picture.format();
    const bool packed = format == QImage::Format_RGB555 || format == QImage::Format_RGB16;
    if (!packed && format != QImage::Format_RGB32) {
        // A palette cannot be relied on to hold the dithered colours, so such
        // pictures (and 24-bit and alpha ones) become 32-bit.
        QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
        if (rgb.isNull()) return; // no memory for the copy: left as it was
        picture = std::move(rgb);
    }
    const int width = picture.width(), height = picture.height();
    std::vector<Ext> gathered(std::size_t(width) * 3);
    // 16-bit rows are widened a row at a time into these and packed back:
    // every output level fits, since its top five bits are its level number.
    std::vector<QRgb> wide(packed ? std::size_t(width) * 2 : 0);
    auto source = [&](int y) -> const QRgb* {
        if (!packed) return reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        QRgb* row = wide.data() + std::size_t(width) * std::size_t(y & 1);
        WidenRow(picture, y, row);
        return row;
    };
    const QRgb* first = source(0);
    for (int x = 0; x < width; ++x)
        for (int c = 0; c < 3; ++c)
            gathered[3 * std::size_t(x) + c] = Tables.Start[Channel(first[x], c)];
    for (int y = 0; y < height; ++y) {
        const QRgb* below = y + 1 < height ? source(y + 1) : nullptr;
        if (!packed) {
            DiffuseRow(reinterpret_cast<QRgb*>(picture.scanLine(y)), below, gathered.data(), width);
            continue;
        }
        // Row y's widened pixels are spent (they went into gathered): its
        // buffer takes the levels.
        QRgb* out = wide.data() + std::size_t(width) * std::size_t(y & 1);
        DiffuseRow(out, below, gathered.data(), width);
        PackRow(out, picture, y);
    }
}

void DitherAllPictures(TSkinDocument& doc) {
    for (TiImage& r : doc.Images)
        DitherPicture(r.Picture.Image);
    for (TiButton& r : doc.Buttons)
        for (TPicture& p : r.Pictures)
            DitherPicture(p.Image);
    for (TiWheel& r : doc.Wheels)
        for (TPicture& p : r.Pictures)
            DitherPicture(p.Image);
    for (TiTrackbar& r : doc.Trackbars)
        for (TPicture& p : r.Pictures)
            DitherPicture(p.Image);
}
