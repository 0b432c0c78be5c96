#include "screen_thumbnail.h"

#include "hidden_items.h"
#include "player_screen.h"

#include <algorithm>
#include <new>

QSize FittedSize(int width, int height, int size) {
    if (width <= 0 || height <= 0 || size <= 0) return {};
    if (width <= size && height <= size) return {width, height};
    const qint64 w = width, h = height, s = size;
    // Rounded to the nearest pixel, the longer side exactly size.
    if (w >= h) return {size, int(std::max<qint64>(1, (h * s * 2 + w) / (w * 2)))};
    return {int(std::max<qint64>(1, (w * s * 2 + h) / (h * 2))), size};
}

QImage FitScreen(int width, int height, int size, const std::function<void(QImage&)>& compose,
                 qint64 composedWholeMost) {
    const QSize fitted = FittedSize(width, height, size);
    if (fitted.isEmpty()) return QImage();
    if (qint64(width) * height <= composedWholeMost) {
        QImage whole(width, height, QImage::Format_RGB32);
        if (whole.isNull()) throw std::bad_alloc();
        compose(whole);
        if (fitted == whole.size()) return whole;
        QImage scaled = whole.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (scaled.isNull()) throw std::bad_alloc();
        return scaled.convertToFormat(QImage::Format_RGB32);
    }
    // Each picture pixel takes the screen pixel at the centre of its cell;
    // one screen row is composed per picture row.
    QImage out(fitted, QImage::Format_RGB32);
    QImage row(width, 1, QImage::Format_RGB32);
    if (out.isNull() || row.isNull()) throw std::bad_alloc();
    const qint64 w = fitted.width(), h = fitted.height();
    std::vector<int> columns(std::size_t(fitted.width()));
    for (qint64 i = 0; i < w; ++i)
        columns[std::size_t(i)] = int((2 * i + 1) * width / (2 * w));
    for (qint64 j = 0; j < h; ++j) {
        row.setOffset(QPoint(0, int((2 * j + 1) * height / (2 * h))));
        compose(row);
        const auto* in = reinterpret_cast<const QRgb*>(row.constScanLine(0));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(int(j)));
        for (std::size_t i = 0; i < columns.size(); ++i)
            line[i] = in[columns[i]];
    }
    return out;
}

QImage FitPlayerScreen(const TSkinDocument& doc, int selected, int size, const TDeviceState& state,
                       qint64 composedWholeMost) {
    if (qint64(doc.ScreenWidth) * doc.ScreenHeight <= composedWholeMost)
        return FitScreen(doc.ScreenWidth, doc.ScreenHeight, size, [&](QImage& composition) {
            PaintPlayerScreen(composition, doc, selected, state);
        });
    // Many rows of one screen: what is repainted later and where each entry
    // paints is worked out once, and each row looks only at the entries
    // that reach it.
    const std::vector<bool> later = RepaintedLater(doc, selected, state);
    const std::vector<TBox> boxes = PaintedBoxes(doc, state);
    std::vector<bool> skip(later.size());
    return FitScreen(
        doc.ScreenWidth, doc.ScreenHeight, size,
        [&](QImage& composition) {
            const TBox shown = ShownBox(composition);
            for (std::size_t i = 0; i < skip.size(); ++i)
                skip[i] = later[i] || Intersect(boxes[i], shown).IsEmpty();
            PaintPlayerScreen(composition, doc, selected, state, skip);
        },
        composedWholeMost);
}
