#include "raster_ops.h"

#include <algorithm>
#include <new>
#include <vector>

namespace {

constexpr QRgb RgbMask = 0x00FFFFFF;

// The part of a destination span [a, b) that lies inside [0, limit).
struct TSpan {
    qint64 Begin, End;
    bool IsEmpty() const { return End <= Begin; }
};
TSpan Clip(qint64 a, qint64 b, qint64 limit) {
    return {std::max<qint64>(a, 0), std::min<qint64>(b, limit)};
}

// Rows of a picture as 32-bit RGB. Pictures that already are 32-bit are
// read in place; any other format is converted, but only the rectangle that
// will be read, so a huge picture mostly off screen costs little.
class TSourceRows {
  public:
    TSourceRows(const QImage& src, const QRect& needed) {
        const auto f = src.format();
        if (f == QImage::Format_RGB32 || f == QImage::Format_ARGB32) {
            Image = src;
        } else {
            Image = src.copy(needed).convertToFormat(QImage::Format_RGB32);
            if (Image.isNull()) throw std::bad_alloc(); // needed is never empty
            OffsetX = needed.x();
            OffsetY = needed.y();
        }
    }
    // Source pixel (x, y) and those right of it; x and y inside the needed rect.
    const QRgb* At(qint64 x, qint64 y) const {
        return reinterpret_cast<const QRgb*>(Image.constScanLine(int(y - OffsetY))) + (x - OffsetX);
    }

  private:
    QImage Image;
    int OffsetX = 0, OffsetY = 0;
};

// A box moved from screen pixels to the destination's own.
TBox ToDst(const QImage& dst, const TBox& box) {
    const QPoint o = dst.offset();
    return {box.Left - o.x(), box.Top - o.y(), box.Right - o.x(), box.Bottom - o.y()};
}

QRgb* DstRow(QImage& dst, qint64 y) {
    return reinterpret_cast<QRgb*>(dst.scanLine(int(y)));
}

inline QRgb Opaque(QRgb pixel) {
    return 0xFF000000u | pixel;
}

// n pixels from in to out, those equal to key skipped when keyed; with
// FileBits each is first taken as the file gives it back. Written as a
// select, so that the compiler can do several pixels at once.
template <bool FileBits> inline QRgb Taken(QRgb p) {
    return FileBits ? AsFileKeepsIt(p) : p;
}
template <bool FileBits>
inline void CopySpan(QRgb* out, const QRgb* in, qint64 n, bool keyed, QRgb key) {
    if (!keyed) {
        for (qint64 i = 0; i < n; ++i)
            out[i] = Opaque(Taken<FileBits>(in[i]));
        return;
    }
    for (qint64 i = 0; i < n; ++i) {
        const QRgb p = Taken<FileBits>(in[i]);
        out[i] = (p & RgbMask) != key ? Opaque(p) : out[i];
    }
}
inline void CopySpan(QRgb* out, const QRgb* in, qint64 n, bool keyed, QRgb key,
                     TPictureColours colours) {
    if (colours == TPictureColours::AsFileKeeps)
        CopySpan<true>(out, in, n, keyed, key);
    else
        CopySpan<false>(out, in, n, keyed, key);
}

// srcRect of src (cut to the source) unscaled, its top-left on (x, y).
void Blit(QImage& dst, qint64 x, qint64 y, const QImage& src, const QRect& srcRect, bool keyed,
          QRgb key, TPictureColours colours) {
    const QRect inside = srcRect & src.rect();
    if (inside.isEmpty()) return;
    // Destination position of the source pixel (sx, sy) is (sx + dx, sy + dy).
    const qint64 dx = x - dst.offset().x() - srcRect.x(), dy = y - dst.offset().y() - srcRect.y();
    const TSpan xs = Clip(inside.left() + dx, qint64(inside.right()) + 1 + dx, dst.width());
    const TSpan ys = Clip(inside.top() + dy, qint64(inside.bottom()) + 1 + dy, dst.height());
    if (xs.IsEmpty() || ys.IsEmpty()) return;
    const QRect needed(int(xs.Begin - dx), int(ys.Begin - dy), int(xs.End - xs.Begin),
                       int(ys.End - ys.Begin));
    const TSourceRows rows(src, needed);
    for (qint64 ty = ys.Begin; ty < ys.End; ++ty)
        CopySpan(DstRow(dst, ty) + xs.Begin, rows.At(xs.Begin - dx, ty - dy), xs.End - xs.Begin,
                 keyed, key & RgbMask, colours);
}

} // namespace

void FillBox(QImage& dst, const TBox& screenBox, QRgb color) {
    const TBox box = ToDst(dst, screenBox);
    const TSpan xs = Clip(box.Left, box.Right, dst.width());
    const TSpan ys = Clip(box.Top, box.Bottom, dst.height());
    if (xs.IsEmpty() || ys.IsEmpty()) return;
    const QRgb value = Opaque(color & RgbMask);
    for (qint64 y = ys.Begin; y < ys.End; ++y) {
        QRgb* row = DstRow(dst, y);
        std::fill(row + xs.Begin, row + xs.End, value);
    }
}

void CopyWithKey(QImage& dst, qint64 x, qint64 y, const QImage& src, const QRect& srcRect, QRgb key,
                 TPictureColours colours) {
    Blit(dst, x, y, src, srcRect, true, key, colours);
}

void DrawPicture(QImage& dst, qint64 x, qint64 y, const TPicture& picture,
                 TPictureColours colours) {
    Blit(dst, x, y, picture.Image, picture.Image.rect(), picture.Transparent, TransparentKey,
         colours);
}

TPreparedPicture::TPreparedPicture(const TPicture& picture, TPictureColours colours)
    : Picture(picture), Colours(colours) {
    const QImage& image = picture.Image;
    const auto f = image.format();
    Direct = !image.isNull() && (f == QImage::Format_RGB32 || f == QImage::Format_ARGB32);
    if (!Direct) return;
    Bits = image.constBits();
    BytesPerLine = image.bytesPerLine();
    Width = image.width();
    Height = image.height();
}

void TPreparedPicture::Draw(QImage& dst, qint64 x, qint64 y) const {
    if (!Direct) {
        DrawPicture(dst, x, y, Picture, Colours);
        return;
    }
    const QPoint o = dst.offset();
    const qint64 dx = x - o.x(), dy = y - o.y();
    const TSpan xs = Clip(dx, dx + Width, dst.width());
    const TSpan ys = Clip(dy, dy + Height, dst.height());
    if (xs.IsEmpty() || ys.IsEmpty()) return;
    for (qint64 ty = ys.Begin; ty < ys.End; ++ty) {
        const auto* in = reinterpret_cast<const QRgb*>(Bits + (ty - dy) * BytesPerLine);
        CopySpan(DstRow(dst, ty) + xs.Begin, in + (xs.Begin - dx), xs.End - xs.Begin,
                 Picture.Transparent, TransparentKey & RgbMask, Colours);
    }
}

void DrawPictureScaled(QImage& dst, const TBox& screenBox, const TPicture& picture,
                       TPictureColours colours) {
    const TBox box = ToDst(dst, screenBox);
    const QImage& src = picture.Image;
    if (src.isNull() || box.IsEmpty()) return;
    const TSpan xs = Clip(box.Left, box.Right, dst.width());
    const TSpan ys = Clip(box.Top, box.Bottom, dst.height());
    if (xs.IsEmpty() || ys.IsEmpty()) return;
    const qint64 bw = box.Right - box.Left, bh = box.Bottom - box.Top;
    const qint64 sw = src.width(), sh = src.height();
    auto srcX = [&](qint64 tx) { return (tx - box.Left) * sw / bw; };
    auto srcY = [&](qint64 ty) { return (ty - box.Top) * sh / bh; };
    const QRect needed(QPoint(int(srcX(xs.Begin)), int(srcY(ys.Begin))),
                       QPoint(int(srcX(xs.End - 1)), int(srcY(ys.End - 1))));
    const TSourceRows rows(src, needed);
    // The column map is the same for every row.
    std::vector<qint64> columns(std::size_t(xs.End - xs.Begin));
    for (qint64 tx = xs.Begin; tx < xs.End; ++tx)
        columns[std::size_t(tx - xs.Begin)] = srcX(tx);
    const bool keyed = picture.Transparent;
    const bool fileBits = colours == TPictureColours::AsFileKeeps;
    const QRgb k = TransparentKey & RgbMask;
    for (qint64 ty = ys.Begin; ty < ys.End; ++ty) {
        const QRgb* in = rows.At(columns[0], srcY(ty));
        QRgb* out = DstRow(dst, ty) + xs.Begin;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const QRgb held = in[columns[i] - columns[0]];
            const QRgb p = fileBits ? AsFileKeepsIt(held) : held;
            if (!keyed || (p & RgbMask) != k) out[i] = Opaque(p);
        }
    }
}

void DrawSolidLine(QImage& dst, qint64 y, qint64 x0, qint64 x1, QRgb color) {
    FillBox(dst, {x0, y, x1, y + 1}, color);
}

void DrawDottedLine(QImage& dst, qint64 y, qint64 x0, qint64 x1, QRgb dot, QRgb gap) {
    const TBox line = ToDst(dst, {x0, y, x1, y + 1});
    if (line.Top < 0 || line.Top >= dst.height()) return;
    const TSpan xs = Clip(line.Left, line.Right, dst.width());
    QRgb* out = DstRow(dst, line.Top);
    for (qint64 x = xs.Begin; x < xs.End; ++x)
        out[x] = Opaque((IsDot(x - line.Left) ? dot : gap) & RgbMask);
}
