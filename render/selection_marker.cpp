#include "selection_marker.h"

#include <algorithm>

namespace {

void InvertIfDot(QImage& dst, qint64 x, qint64 y, qint64 position) {
    if (!IsDot(position)) return;
    auto* row = reinterpret_cast<QRgb*>(dst.scanLine(int(y)));
    row[x] ^= 0x00FFFFFFu;
}

} // namespace

void DrawSelectionMarker(QImage& dst, const TBox& box) {
    if (box.IsEmpty()) return;
    // In the destination's own pixels; the dots keep their places on the box.
    const QPoint o = dst.offset();
    const qint64 L = box.Left - o.x(), T = box.Top - o.y(), R = box.Right - o.x(),
                 B = box.Bottom - o.y();
    const qint64 w = R - L, h = B - T;
    const qint64 maxX = dst.width(), maxY = dst.height();
    // Only the visible stretch of each side is walked, so a huge box costs
    // what the screen shows of it.
    auto visibleX = [&](qint64 a, qint64 b) {
        return std::pair{std::max<qint64>(a, 0), std::min<qint64>(b, maxX)};
    };
    auto visibleY = [&](qint64 a, qint64 b) {
        return std::pair{std::max<qint64>(a, 0), std::min<qint64>(b, maxY)};
    };

    // Top row, left to right: positions 0 .. w - 1.
    if (T >= 0 && T < maxY) {
        const auto [a, b] = visibleX(L, R);
        for (qint64 x = a; x < b; ++x)
            InvertIfDot(dst, x, T, x - L);
    }
    // Right column, downwards below the top row.
    if (R - 1 >= 0 && R - 1 < maxX) {
        const auto [a, b] = visibleY(T + 1, B);
        for (qint64 y = a; y < b; ++y)
            InvertIfDot(dst, R - 1, y, w - 1 + (y - T));
    }
    // Bottom row, right to left, left of the right column.
    if (h > 1 && B - 1 >= 0 && B - 1 < maxY) {
        const auto [a, b] = visibleX(L, R - 1);
        for (qint64 x = a; x < b; ++x)
            InvertIfDot(dst, x, B - 1, (w - 1) + (h - 1) + (R - 1 - x));
    }
    // Left column, upwards between the bottom and the top row.
    if (w > 1 && L >= 0 && L < maxX) {
        const auto [a, b] = visibleY(T + 1, B - 1);
        for (qint64 y = a; y < b; ++y)
            InvertIfDot(dst, L, y, 2 * (w - 1) + (h - 1) + (B - 1 - y));
    }
}
