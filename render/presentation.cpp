#include "presentation.h"

#include <algorithm>
#include <cstring>

namespace {

QRgb* Row(QImage& img, int y) {
    return reinterpret_cast<QRgb*>(img.scanLine(y));
}

// Grey everywhere but the covered top-left columns x rows, which the
// composition fills.
void FillAround(QImage& out, int columns, int rows, QRgb grey) {
    const QRgb value = 0xFF000000u | grey;
    for (int y = 0; y < out.height(); ++y) {
        QRgb* line = Row(out, y);
        std::fill(line + (y < rows ? columns : 0), line + out.width(), value);
    }
}

} // namespace

int ZoomIndexOf(const TPreviewView& view) {
    return std::clamp(view.ZoomIndex, 0, 3);
}

QSize VisibleScreenPart(int width, int height, const TPreviewView& view) {
    if (width <= 0 || height <= 0 || view.Area.isEmpty()) return QSize(0, 0);
    const int zoom = 1 << ZoomIndexOf(view);
    // Partly shown screen pixels count: the area shows their first columns.
    return QSize(std::min(width, (view.Area.width() + zoom - 1) / zoom),
                 std::min(height, (view.Area.height() + zoom - 1) / zoom));
}

QImage PresentComposition(const QImage& composition, const TPreviewView& view) {
    QImage out(view.Area, QImage::Format_RGB32);
    if (out.isNull()) return out;
    const int shift = ZoomIndexOf(view);
    const int columns = int(std::min<qint64>(qint64(composition.width()) << shift, out.width()));
    const int rows = int(std::min<qint64>(qint64(composition.height()) << shift, out.height()));
    FillAround(out, columns, rows, view.Background);
    const int zoom = 1 << shift, whole = columns >> shift;
    for (int y = 0; y < rows; y += zoom) {
        const auto* in = reinterpret_cast<const QRgb*>(composition.constScanLine(y >> shift));
        QRgb* first = Row(out, y);
        QRgb* o = first;
        for (int x = 0; x < whole; ++x, o += zoom)
            std::fill_n(o, zoom, in[x]);
        // The area may cut the last block.
        if (o < first + columns) std::fill(o, first + columns, in[whole]);
        // The block's other rows repeat the first.
        for (int r = y + 1; r < std::min(y + zoom, rows); ++r)
            std::memcpy(Row(out, r), first, std::size_t(columns) * sizeof(QRgb));
    }
    return out;
}

QImage ComposeAndPresent(int width, int height, const TPreviewView& view,
                         const std::function<void(QImage&)>& compose) {
    const QSize part = VisibleScreenPart(width, height, view);
    if (ZoomIndexOf(view) > 0) {
        QImage composition(part, QImage::Format_RGB32);
        if (!composition.isNull()) compose(composition);
        return PresentComposition(composition, view);
    }
    QImage out(view.Area, QImage::Format_RGB32);
    if (out.isNull()) return out;
    FillAround(out, part.width(), part.height(), view.Background);
    if (!part.isEmpty()) {
        // A raster over the preview's own rows: no second buffer, no copy.
        QImage composition(out.bits(), part.width(), part.height(), out.bytesPerLine(),
                           QImage::Format_RGB32);
        compose(composition);
    }
    return out;
}
