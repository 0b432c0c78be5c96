#include "dither.h"

#include "item_pictures.h"

#include <QHash>

#include <cmath>
#include <limits>
#include <new>
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
// - nothing but the errors of the row above is kept: a pixel gathers its
//   value when its turn comes, from its start value and the shares of the
//   three pixels above it (in the order in which they were passed on) and
//   then the share from its left;
// - those errors are stored as two doubles that add up to them exactly: an
//   80-bit store costs several times a 64-bit one, and the x87 registers are
//   too few to keep more than the three shares from the left.

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

// An extended value as the exact sum of two doubles. The high part has the
// top 53 bits, so the rest is a multiple of the value's last bit and at
// most half the high part's last bit: 12 bits at most, always a double.
// (The values here stay far above the smallest normal double.)
struct TPair {
    double Hi, Lo;
};
inline Ext Join(const TPair& p) {
    return Ext(p.Hi) + Ext(p.Lo); // the exact sum is an extended value
}
inline TPair Split(Ext v) {
    const double hi = double(v);
    return {hi, double(v - Ext(hi))};
}

// Split(v) written straight into place: the high part is stored, read back
// as the subtrahend and the rest stored beside it.
inline void Store(TPair& p, Ext v) {
#if defined(__x86_64__) || defined(__i386__)
    asm("fstl %0\n\tfsubl %0\n\tfstpl %1" : "=m"(p.Hi), "=m"(p.Lo) : "t"(v) : "st");
#else
    p = Split(v);
#endif
}

struct TDitherTables {
    TPair Start[256];
    TPair Quant[KMax - KMin + 1];
    quint8 Level[KMax - KMin + 1];
    TDitherTables() {
        for (int c = 0; c < 256; ++c)
            Start[c] = Split(Ext(c) / 255);
        for (int k = KMin; k <= KMax; ++k) {
            Quant[k - KMin] = Split(QuantOf(k));
            Level[k - KMin] = quint8(LevelOf(QuantOf(k)));
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
        return Join(Tables.Quant[k - KMin]);
    }
    const Ext q = QuantOf(k);
    level = LevelOf(q);
    return q;
}

// One channel of one pixel. above points at the error of the pixel above,
// with those of its left and right neighbours 3 entries away on either side.
inline int Step(int channel, const TPair* above, TPair& error, Ext& fromLeft) {
    Ext v = Join(Tables.Start[channel]);
    v = v + Join(above[-3]) * BelowRight;
    v = v + Join(above[0]) * Below;
    v = v + Join(above[3]) * BelowLeft;
    v = v + fromLeft;
    int level;
    const Ext e = v - Quantise(v, level);
    fromLeft = e * Right;
    Store(error, e);
    return level;
}

// Diffuses one row in place: its pixels become output levels. above holds
// the errors of the row above and errors receives the row's own, three
// entries per pixel, each with one zero pixel on either side. A zero share
// adds nothing (v + 0 is v), so the first row, the first and last column
// and the last row need no cases of their own. The three channels are
// written out one after another so that their shares from the left stay in
// registers.
void DiffuseRow(QRgb* line, const TPair* above, TPair* errors, int width) {
    Ext leftR = 0, leftG = 0, leftB = 0;
    for (int x = 0; x < width; ++x) {
        const QRgb pixel = line[x];
        const TPair* a = above + 3 * x;
        TPair* e = errors + 3 * x;
        const int r = Step(qRed(pixel), a, e[0], leftR);
        const int g = Step(qGreen(pixel), a + 1, e[1], leftG);
        const int b = Step(qBlue(pixel), a + 2, e[2], leftB);
        line[x] = qRgb(r, g, b);
    }
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
        // Qt reports a failed allocation with a null image.
        if (rgb.isNull()) throw std::bad_alloc();
        picture = std::move(rgb);
    }
    // Detaching a shared picture allocates too.
    if (!picture.bits()) throw std::bad_alloc();
    const int width = picture.width(), height = picture.height();
    // Three rows of errors: zeros above the first row, then two that take
    // turns. Each has a zero pixel on either side.
    const std::size_t stride = (std::size_t(width) + 2) * 3;
    std::vector<TPair> errors(stride * 3);
    TPair* rows[2] = {errors.data() + stride + 3, errors.data() + 2 * stride + 3};
    const TPair* above = errors.data() + 3;
    // 16-bit rows are widened into this one and packed back: every output
    // level fits, since its top five bits are its level number.
    std::vector<QRgb> wide(packed ? std::size_t(width) : 0);
    for (int y = 0; y < height; ++y) {
        TPair* own = rows[y & 1];
        if (!packed) {
            DiffuseRow(reinterpret_cast<QRgb*>(picture.scanLine(y)), above, own, width);
        } else {
            WidenRow(picture, y, wide.data());
            DiffuseRow(wide.data(), above, own, width);
            PackRow(wide.data(), picture, y);
        }
        above = own;
    }
}

void DitherAllPictures(TSkinDocument& doc) {
    // Slots that share one picture (as a skin read or a folder packed gives
    // them) share its result too: each picture is dithered once. A key is
    // never seen again once its picture changes, so a key maps to one result.
    QHash<qint64, QImage> done;
    const auto dither = [&done](TPicture& slot) {
        const qint64 key = slot.Image.cacheKey();
        if (const auto it = done.constFind(key); it != done.constEnd()) {
            slot.Image = *it;
            return;
        }
        DitherPicture(slot.Image);
        done.insert(key, slot.Image);
    };
    ForEachItemPicture(doc, dither);
}
