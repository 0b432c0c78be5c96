#include "preview_area.h"

#include <QPainter>

TPreviewArea::TPreviewArea(QWidget* parent) : QWidget(parent) {
    // The raster covers every pixel, so nothing behind it needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TPreviewArea::SetRaster(QImage raster) {
    Picture = std::move(raster);
    ++Shown;
    update();
}

void TPreviewArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Zoomed pixels stay hard-edged blocks on screens that scale the window.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QPoint(0, 0), Picture);
    // A raster of an older size (between a resize and its repaint) leaves no stale pixels.
    const QRect covered(QPoint(0, 0), Picture.size());
    for (const QRect& rest : QRegion(rect()).subtracted(covered))
        painter.fillRect(rest, palette().color(QPalette::Dark));
    // The keyboard's place shows over the raster, which stays the screen as rendered.
    if (hasFocus())
        for (const QRect& edge : QRegion(rect()).subtracted(rect().adjusted(2, 2, -2, -2)))
            painter.fillRect(edge, palette().color(QPalette::Highlight));
}

void TPreviewArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Q_EMIT Resized();
}
