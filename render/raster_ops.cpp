#include "raster_ops.h"

#include <algorithm>
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
            OffsetX = needed.x();
            OffsetY = needed.y();
        }
    }
    // Pixel (x, y) of the source picture, x and y inside the needed rect.
    QRgb At(qint64 x, const QRgb* row) const { return row[x - OffsetX]; }
    const QRgb* Row(qint64 y) const {
        return reinterpret_cast<const QRgb*>(Image.constScanLine(int(y - OffsetY)));
    }

  private:
    QImage Image;
    int OffsetX = 0, OffsetY = 0;
};

QRgb* DstRow(QImage& dst, qint64 y) {
    return reinterpret_cast<QRgb*>(dst.scanLine(int(y)));
}

inline void Put(QRgb& out, QRgb pixel) {
    out = 0xFF000000u | (pixel & RgbMask);
}

} // namespace

void FillBox(QImage& dst, const TBox& box, QRgb color) {
    const TSpan xs = Clip(box.Left, box.Right, dst.width());
    const TSpan ys = Clip(box.Top, box.Bottom, dst.height());
    if (xs.IsEmpty() || ys.IsEmpty()) return;
    const QRgb value = 0xFF000000u | (color & RgbMask);
    for (qint64 y = ys.Begin; y < ys.End; ++y) {
        QRgb* row = DstRow(dst, y);
        std::fill(row + xs.Begin, row + xs.End, value);
    }
}

void CopyWithKey(QImage& dst, qint64 x, qint64 y, const QImage& src, const QRect& srcRect,
                 QRgb key) {
    const QRect inside = srcRect & src.rect();
    if (inside.isEmpty()) return;
    // Destination position of the source pixel (sx, sy) is (sx + dx, sy + dy).
    const qint64 dx = x - srcRect.x(), dy = y - srcRect.y();
    const TSpan xs = Clip(inside.left() + dx, qint64(inside.right()) + 1 + dx, dst.width());
    const TSpan ys = Clip(inside.top() + dy, qint64(inside.bottom()) + 1 + dy, dst.height());
    if (xs.IsEmpty() || ys.IsEmpty()) return;
    const QRect needed(int(xs.Begin - dx), int(ys.Begin - dy), int(xs.End - xs.Begin),
                       int(ys.End - ys.Begin));
    const TSourceRows rows(src, needed);
    const QRgb k = key & RgbMask;
    for (qint64 ty = ys.Begin; ty < ys.End; ++ty) {
        const QRgb* in = rows.Row(ty - dy);
        QRgb* out = DstRow(dst, ty);
        for (qint64 tx = xs.Begin; tx < xs.End; ++tx) {
            const QRgb p = rows.At(tx - dx, in);
            if ((p & RgbMask) != k) Put(out[tx], p);
        }
    }
}

void DrawPicture(QImage& dst, qint64 x, qint64 y, const TPicture& picture) {
    const QImage& src = picture.Image;
    if (src.isNull()) return;
    if (picture.Transparent) {
        CopyWithKey(dst, x, y, src, src.rect(), TransparentKey);
        return;
    }
    const TSpan xs = Clip(x, x + src.width(), dst.width());
    const TSpan ys = Clip(y, y + src.height(), dst.height());
    if (xs.IsEmpty() || ys.IsEmpty()) return;
    const QRect needed(int(xs.Begin - x), int(ys.Begin - y), int(xs.End - xs.Begin),
                       int(ys.End - ys.Begin));
    const TSourceRows rows(src, needed);
    for (qint64 ty = ys.Begin; ty < ys.End; ++ty) {
        const QRgb* in = rows.Row(ty - y);
        QRgb* out = DstRow(dst, ty);
        for (qint64 tx = xs.Begin; tx < xs.End; ++tx)
            Put(out[tx], rows.At(tx - x, in));
    }
}

void DrawPictureScaled(QImage& dst, const TBox& box, const TPicture& picture) {
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
    const QRgb k = TransparentKey & RgbMask;
    for (qint64 ty = ys.Begin; ty < ys.End; ++ty) {
        const QRgb* in = rows.Row(srcY(ty));
        QRgb* out = DstRow(dst, ty) + xs.Begin;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const QRgb p = rows.At(columns[i], in);
            if (!keyed || (p & RgbMask) != k) Put(out[i], p);
        }
    }
}

void DrawSolidLine(QImage& dst, qint64 y, qint64 x0, qint64 x1, QRgb color) {
    FillBox(dst, {x0, y, x1, y + 1}, color);
}

void DrawDottedLine(QImage& dst, qint64 y, qint64 x0, qint64 x1, QRgb dot, QRgb gap) {
    if (y < 0 || y >= dst.height()) return;
    const TSpan xs = Clip(x0, x1, dst.width());
    QRgb* out = DstRow(dst, y);
    for (qint64 x = xs.Begin; x < xs.End; ++x)
        Put(out[x], IsDot(x - x0) ? dot : gap);
}
