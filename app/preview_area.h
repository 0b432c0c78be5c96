// imArea: shows the preview raster, which is always exactly the area's size
// in device pixels, at its top-left corner, pixel for pixel at any desktop
// scale, and over it the marks of what a save changes when there are any.
#pragma once

#include <QImage>
#include <QLine>
#include <QList>
#include <QRect>
#include <QWidget>

class QPainter;

// What the area draws over the raster, never into it: the selection
// rectangle being dragged, the guides that hold while dragging, and the
// lines between screen pixels. In device pixels of the area, as the raster.
struct TPreviewOverlay {
    QRect Band;          // device pixels; null for none
    QList<QLine> Guides; // device pixels
    int GridStep = 0;    // device pixels between grid lines; 0 for no grid
    QRect GridRect;      // the part of the area the screen covers
    bool operator==(const TPreviewOverlay&) const = default;
};

class TPreviewArea : public QWidget {
    Q_OBJECT

  public:
    explicit TPreviewArea(QWidget* parent = nullptr);

    // The raster's device pixel ratio says how many of its pixels make one
    // of the area's own units; drawn so, Qt never rescales it.
    void SetRaster(QImage raster);
    const QImage& Raster() const { return Picture; }
    // The pixels a save changes, drawn over the raster (inverting what they
    // cover), of its size; a null image for none.
    void SetSaveChangeMarks(QImage marks);
    const QImage& SaveChangeMarks() const { return SaveMarks; }
    // How many rasters the area has been given: one per repaint.
    int RastersShown() const { return Shown; }
    void SetOverlay(const TPreviewOverlay& overlay);
    const TPreviewOverlay& Overlay() const { return Marks; }

  Q_SIGNALS:
    void Resized();
    // A new raster: what lies under the pointer may have changed.
    void RasterChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void PaintOverlay(QPainter& painter) const;

    QImage Picture;
    QImage SaveMarks;
    int Shown = 0;
    TPreviewOverlay Marks;
};
