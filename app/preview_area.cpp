#include "preview_area.h"

#include <QEvent>
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
    Q_EMIT RasterChanged();
}

void TPreviewArea::SetMarks(QImage marks) {
    if (Marked.isNull() && marks.isNull()) return;
    Marked = std::move(marks);
    update();
}

void TPreviewArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Zoomed pixels stay hard-edged blocks; the raster already holds device
    // pixels, so nothing is scaled anyway.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // A raster of an older size (between a resize and its repaint) leaves no stale pixels.
    if (Picture.deviceIndependentSize().width() < width() ||
        Picture.deviceIndependentSize().height() < height())
        painter.fillRect(rect(), palette().color(QPalette::Dark));
    painter.drawImage(QPointF(0, 0), Picture);
    if (!Marked.isNull()) {
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.drawImage(QPointF(0, 0), Marked);
    }
}

void TPreviewArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Q_EMIT Resized();
}

void TPreviewArea::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // On another screen the blocks take that screen's scale.
    if (event->type() == QEvent::ScreenChangeInternal) Q_EMIT Resized();
}
