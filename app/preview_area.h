// imArea: shows the preview raster, which is always exactly the area's size,
// at its top-left corner, pixel for pixel.
#pragma once

#include <QImage>
#include <QLine>
#include <QList>
#include <QRect>
#include <QWidget>

class QPainter;

// What the area draws over the raster, never into it: the selection
// rectangle being dragged, the guides that hold while dragging, and the
// lines between screen pixels.
struct TPreviewOverlay {
    QRect Band;          // area pixels; null for none
    QList<QLine> Guides; // area pixels
    int GridStep = 0;    // area pixels between grid lines; 0 for no grid
    QRect GridRect;      // the part of the area the screen covers
    bool operator==(const TPreviewOverlay&) const = default;
};

class TPreviewArea : public QWidget {
    Q_OBJECT

  public:
    explicit TPreviewArea(QWidget* parent = nullptr);

    void SetRaster(QImage raster);
    const QImage& Raster() const { return Picture; }
    // How many rasters the area has been given: one per repaint.
    int RastersShown() const { return Shown; }
    void SetOverlay(const TPreviewOverlay& overlay);
    const TPreviewOverlay& Overlay() const { return Marks; }

  Q_SIGNALS:
    void Resized();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void PaintOverlay(QPainter& painter) const;

    QImage Picture;
    int Shown = 0;
    TPreviewOverlay Marks;
};
