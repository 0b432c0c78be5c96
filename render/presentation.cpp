#include "presentation.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace {

QRgb* Row(QImage& img, int y) {
    return reinterpret_cast<QRgb*>(img.scanLine(y));
}

// The background everywhere but the covered rectangle, which the
// composition fills.
void FillAround(QImage& out, const QRect& covered, QRgb value) {
    for (int y = 0; y < out.height(); ++y) {
        QRgb* line = Row(out, y);
        if (y < covered.top() || y > covered.bottom() || covered.isEmpty()) {
            std::fill(line, line + out.width(), value);
            continue;
        }
        std::fill(line, line + covered.left(), value);
        std::fill(line + covered.left() + covered.width(), line + out.width(), value);
    }
}

// Division rounding toward minus infinity, so a point left of the screen is
// never taken for its first column.
qint64 FloorDiv(qint64 a, qint64 b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The area pixels [begin, end) showing screen pixels [first, last) along one
// axis, cut to the area's length.
std::pair<int, int> AreaSpan(qint64 first, qint64 last, int block, int offset, int length) {
    const qint64 begin = std::clamp<qint64>(first * block - offset, 0, length);
    const qint64 end = std::clamp<qint64>(last * block - offset, 0, length);
    return {int(begin), int(end)};
}

// The screen pixel under a device pixel of the area.
QPoint ScreenPixelAtDevice(qint64 x, qint64 y, const TPreviewView& view) {
    const int block = BlockSizeOf(view);
    return QPoint(int(FloorDiv(x + view.Offset.x(), block)),
                  int(FloorDiv(y + view.Offset.y(), block)));
}

qreal ScaleOf(const TPreviewView& view) {
    return view.Scale > 0 ? view.Scale : 1.0;
}

} // namespace

int ZoomIndexOf(const TPreviewView& view) {
    return std::clamp(view.ZoomIndex, 0, 3);
}

int BlockSizeOf(const TPreviewView& view) {
    const qreal side = qreal(1 << ZoomIndexOf(view)) * ScaleOf(view);
    return std::clamp(int(std::floor(side + 0.5)), 1, 1 << 16);
}

QPoint DeviceDistance(QPointF areaDistance, const TPreviewView& view) {
    return (areaDistance * ScaleOf(view)).toPoint();
}

QPoint ClampedOffset(int width, int height, const TPreviewView& view) {
    const int block = BlockSizeOf(view);
    const qint64 maxX = std::max<qint64>(0, qint64(std::max(width, 0)) * block - view.Area.width());
    const qint64 maxY =
        std::max<qint64>(0, qint64(std::max(height, 0)) * block - view.Area.height());
    return QPoint(int(std::clamp<qint64>(view.Offset.x(), 0, maxX)),
                  int(std::clamp<qint64>(view.Offset.y(), 0, maxY)));
}

QPoint DevicePointOf(QPointF areaPoint, const TPreviewView& view) {
    // The small allowance keeps a point that the desktop divided by its
    // scale on the pixel it came from.
    constexpr qreal Allowance = 1.0 / 1024;
    const auto device = [&](qreal v) {
        return int(std::clamp(std::floor(v * ScaleOf(view) + Allowance), -1e9, 1e9));
    };
    return QPoint(device(areaPoint.x()), device(areaPoint.y()));
}

QPoint ScreenPixelAt(QPointF areaPoint, const TPreviewView& view) {
    const QPoint device = DevicePointOf(areaPoint, view);
    return ScreenPixelAtDevice(device.x(), device.y(), view);
}

QRect VisibleScreenRect(int width, int height, const TPreviewView& view) {
    if (width <= 0 || height <= 0 || view.Area.isEmpty()) return {};
    const QPoint first = ScreenPixelAtDevice(0, 0, view);
    // The last area pixel's screen pixel, partly shown ones included.
    const QPoint last = ScreenPixelAtDevice(view.Area.width() - 1, view.Area.height() - 1, view);
    const int left = std::clamp(first.x(), 0, width), top = std::clamp(first.y(), 0, height);
    const int right = std::clamp(last.x() + 1, left, width);
    const int bottom = std::clamp(last.y() + 1, top, height);
    return QRect(left, top, right - left, bottom - top);
}

QImage PresentComposition(const QImage& composition, const TPreviewView& view) {
    const bool alpha = composition.hasAlphaChannel();
    QImage out(view.Area, alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (out.isNull() && !view.Area.isEmpty()) throw std::bad_alloc();
    if (out.isNull()) return out;
    const int zoom = BlockSizeOf(view);
    const QPoint origin = composition.offset();
    const auto [x0, x1] = AreaSpan(origin.x(), qint64(origin.x()) + composition.width(), zoom,
                                   view.Offset.x(), out.width());
    const auto [y0, y1] = AreaSpan(origin.y(), qint64(origin.y()) + composition.height(), zoom,
                                   view.Offset.y(), out.height());
    const QRect covered = composition.isNull() ? QRect() : QRect(x0, y0, x1 - x0, y1 - y0);
    FillAround(out, covered, alpha ? view.Background : 0xFF000000u | view.Background);
    if (covered.isEmpty()) return out;
    for (int y = y0; y < y1;) {
        const qint64 sy = FloorDiv(qint64(y) + view.Offset.y(), zoom);
        // The rows of this screen row's block that the area shows.
        const int blockEnd = int(std::min<qint64>(y1, (sy + 1) * zoom - view.Offset.y()));
        const auto* in =
            reinterpret_cast<const QRgb*>(composition.constScanLine(int(sy - origin.y())));
        QRgb* first = Row(out, y);
        qint64 sx = FloorDiv(qint64(x0) + view.Offset.x(), zoom);
        // The first and the last block may be cut; the others are whole.
        int x = x0, end = int(std::min<qint64>(x1, (sx + 1) * zoom - view.Offset.x()));
        while (x < x1) {
            std::fill(first + x, first + end, in[sx - origin.x()]);
            x = end;
            ++sx;
            end = std::min(x1, x + zoom);
        }
        for (int r = y + 1; r < blockEnd; ++r)
            std::memcpy(Row(out, r) + x0, first + x0, std::size_t(x1 - x0) * sizeof(QRgb));
        y = blockEnd;
    }
    return out;
}

QImage ComposeAndPresent(int width, int height, const TPreviewView& view,
                         const std::function<void(QImage&)>& compose) {
    TPreviewView clamped = view;
    clamped.Offset = ClampedOffset(width, height, view);
    const QRect part = VisibleScreenRect(width, height, clamped);
    if (BlockSizeOf(clamped) > 1) {
        QImage composition(part.size(), QImage::Format_RGB32);
        if (composition.isNull() && !part.isEmpty()) throw std::bad_alloc();
        if (!composition.isNull()) {
            composition.setOffset(part.topLeft());
            compose(composition);
        }
        return PresentComposition(composition, clamped);
    }
    QImage out(view.Area, QImage::Format_RGB32);
    if (out.isNull() && !view.Area.isEmpty()) throw std::bad_alloc();
    if (out.isNull()) return out;
    // At 100 % screen pixel p is area pixel p - offset.
    const QRect covered = part.translated(-clamped.Offset);
    FillAround(out, covered, 0xFF000000u | view.Background);
    if (!part.isEmpty()) {
        // A raster over the preview's own pixels: no second buffer, no copy.
        QImage composition(out.bits() + qsizetype(covered.top()) * out.bytesPerLine() +
                               qsizetype(covered.left()) * qsizetype(sizeof(QRgb)),
                           part.width(), part.height(), out.bytesPerLine(), QImage::Format_RGB32);
        composition.setOffset(part.topLeft());
        compose(composition);
    }
    return out;
}
