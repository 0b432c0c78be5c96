#include "presentation.h"

#include <algorithm>

int ZoomFactor(const TPreviewView& view) {
    return 1 << std::clamp(view.ZoomIndex, 0, 3);
}

QSize VisibleScreenPart(int width, int height, const TPreviewView& view) {
    if (width <= 0 || height <= 0 || view.Area.isEmpty()) return QSize(0, 0);
    const int zoom = ZoomFactor(view);
    // Partly shown screen pixels count: the area shows their first columns.
    return QSize(std::min(width, (view.Area.width() + zoom - 1) / zoom),
                 std::min(height, (view.Area.height() + zoom - 1) / zoom));
}

QImage PresentComposition(const QImage& composition, const TPreviewView& view) {
    QImage out(view.Area, QImage::Format_RGB32);
    if (out.isNull()) return out;
    out.fill(view.Background);
    const int zoom = ZoomFactor(view);
    const int columns = std::min<qint64>(qint64(composition.width()) * zoom, out.width());
    const int rows = std::min<qint64>(qint64(composition.height()) * zoom, out.height());
    for (int y = 0; y < rows; y += zoom) {
        const auto* in = reinterpret_cast<const QRgb*>(composition.constScanLine(y / zoom));
        auto* first = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < columns; ++x)
            first[x] = in[x / zoom];
        // The block's other rows repeat the first.
        for (int r = y + 1; r < std::min(y + zoom, rows); ++r)
            std::copy(first, first + columns, reinterpret_cast<QRgb*>(out.scanLine(r)));
    }
    return out;
}
