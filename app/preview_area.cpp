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

void TPreviewArea::SetSaveChangeMarks(QImage marks) {
    if (SaveMarks.isNull() && marks.isNull()) return;
    SaveMarks = std::move(marks);
    update();
}

void TPreviewArea::SetOverlay(const TPreviewOverlay& overlay) {
    if (overlay == Marks) return;
    Marks = overlay;
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
    if (!SaveMarks.isNull()) {
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.drawImage(QPointF(0, 0), SaveMarks);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    PaintOverlay(painter);
    // The keyboard's place shows over the raster, which stays the screen as rendered.
    if (hasFocus())
        for (const QRect& edge : QRegion(rect()).subtracted(rect().adjusted(2, 2, -2, -2)))
            painter.fillRect(edge, palette().color(QPalette::Highlight));
}

void TPreviewArea::PaintOverlay(QPainter& painter) const {
    // The overlay counts device pixels, as the raster does.
    painter.save();
    painter.scale(1 / devicePixelRatio(), 1 / devicePixelRatio());
    const QRect area(QPoint(0, 0), (QSizeF(size()) * devicePixelRatio()).toSize());
    if (Marks.GridStep > 1 && !Marks.GridRect.isEmpty()) {
        // Half-transparent, so that the pixels' colours stay readable.
        painter.setPen(QColor(128, 128, 128, 96));
        const QRect grid = Marks.GridRect.intersected(area);
        const int step = Marks.GridStep;
        const auto first = [step](int from, int origin) {
            return origin + ((from - origin) + step - 1) / step * step;
        };
        for (int x = first(grid.left(), Marks.GridRect.left()); x <= grid.right(); x += step)
            painter.drawLine(x, grid.top(), x, grid.bottom());
        for (int y = first(grid.top(), Marks.GridRect.top()); y <= grid.bottom(); y += step)
            painter.drawLine(grid.left(), y, grid.right(), y);
    }
    painter.setPen(QColor(255, 0, 255));
    for (const QLine& guide : Marks.Guides)
        painter.drawLine(guide);
    if (!Marks.Band.isNull()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DashLine));
        painter.drawRect(Marks.Band.normalized().adjusted(0, 0, -1, -1));
    }
    painter.restore();
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
