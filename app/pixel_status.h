// Where the pixel under the pointer comes from, in the status bar: while the
// pointer is over the player screen, the screen pixel, the item that painted
// it (hidden ones do not count) and the colour a file keeps there, as the
// preview is painted; nothing off the screen, in playlist mode or once the
// pointer leaves the preview.
#pragma once

#include <QObject>
#include <QPointF>

#include <optional>

class QStatusBar;
class TPreviewPane;

class TPixelStatus : public QObject {
    Q_OBJECT

  public:
    // Watches the pane's area (turning its mouse tracking on) and lives as
    // long as it does.
    TPixelStatus(TPreviewPane& pane, QStatusBar& bar);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The text for the last pointer position, again: the preview under a
    // still pointer changes with edits, zoom, mode and try mode.
    void Refresh();

    TPreviewPane& Pane;
    QStatusBar& Bar;
    std::optional<QPointF> Pointer; // in the area, while the pointer is over it
};
