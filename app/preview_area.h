// imArea: shows the preview raster, which is always exactly the area's size,
// at its top-left corner, pixel for pixel.
#pragma once

#include <QImage>
#include <QWidget>

class TPreviewArea : public QWidget {
    Q_OBJECT

  public:
    explicit TPreviewArea(QWidget* parent = nullptr);

    void SetRaster(QImage raster);
    const QImage& Raster() const { return Picture; }
    // How many rasters the area has been given: one per repaint.
    int RastersShown() const { return Shown; }

  Q_SIGNALS:
    void Resized();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QImage Picture;
    int Shown = 0;
};
