// imArea: shows the preview raster, which is always exactly the area's size
// in device pixels, at its top-left corner, pixel for pixel at any desktop
// scale, and over it the marks of what a save changes when there are any.
#pragma once

#include <QImage>
#include <QWidget>

class TPreviewArea : public QWidget {
    Q_OBJECT

  public:
    explicit TPreviewArea(QWidget* parent = nullptr);

    // The raster's device pixel ratio says how many of its pixels make one
    // of the area's own units; drawn so, Qt never rescales it.
    void SetRaster(QImage raster);
    const QImage& Raster() const { return Picture; }
    // Drawn over the raster (inverting what they cover), of its size; a null
    // image for none.
    void SetMarks(QImage marks);
    const QImage& Marks() const { return Marked; }
    // How many rasters the area has been given: one per repaint.
    int RastersShown() const { return Shown; }

  Q_SIGNALS:
    void Resized();
    // A new raster: what lies under the pointer may have changed.
    void RasterChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QImage Picture;
    QImage Marked;
    int Shown = 0;
};
