#include "preview.h"

// Placeholder presentation: black screen on grey. Replaced by the real
// composition.
namespace {
QImage Present(int w, int h, const TPreviewView& view) {
    QImage out(view.Area, QImage::Format_RGB32);
    out.fill(view.Background);
    const int z = 1 << view.ZoomIndex;
    const int cw = std::min<qint64>(qint64(w) * z, out.width());
    const int ch = std::min<qint64>(qint64(h) * z, out.height());
    for (int y = 0; y < ch; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        std::fill(line, line + cw, qRgb(0, 0, 0));
    }
    return out;
}
} // namespace

QImage RenderPlayerPreview(const TSkinDocument& doc, int, const TPreviewView& view) {
    return Present(doc.ScreenWidth, doc.ScreenHeight, view);
}

QImage RenderPlaylistPreview(const TSkinDocument& doc, const TPreviewView& view) {
    return Present(doc.ScreenWidth, doc.ScreenHeight, view);
}
