// Try mode: the player preview acts as the device instead of as an editor.
// A press holds a button or a wheel's ring or centre, a click switches a
// two-state command's state, a press or drag on a track bar sets its
// progress; texts show the sample values, pictures the file's colours, and
// no selection is marked. Picking, dragging and nudging rest meanwhile;
// panning and zooming stay. Nothing here writes to the document.
#pragma once

#include "device_state.h"

#include <QObject>

class QKeyEvent;
class QMouseEvent;
class TPreviewPane;
class TSampleValuesPanel;
struct TEditChange;

class TTryMode : public QObject {
    Q_OBJECT

  public:
    TTryMode(TPreviewPane& form, TSampleValuesPanel& samples);

    bool On() const { return Active; }
    // Turning it off forgets what was held, switched and dragged: the plain
    // preview comes back as it was. The sample values stay for next time.
    void SetOn(bool on);

    // What the player preview is composed with: the plain state when off.
    const TDeviceState& State() const { return Active ? Device : PlainDeviceState(); }

    // The rows' states, for a document replaced or rows added, removed or moved.
    void ForgetRows();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool Acting() const;
    bool MousePress(QMouseEvent* event);
    bool MouseMove(QMouseEvent* event);
    bool MouseRelease(QMouseEvent* event);
    bool KeyPress(const QKeyEvent* event);
    bool KeyRelease(const QKeyEvent* event);
    // Enter on the current item: held as a press there holds it.
    bool PressCurrent();
    // Left and Right on a current track bar: its progress by step pixels.
    bool MoveProgress(int step);
    QPoint PixelOf(const QMouseEvent* event) const;
    void EditChanged(const TEditChange& change);

    TPreviewPane& Form;
    TSampleValuesPanel& Samples;
    TDeviceState Device;
    bool Active = false;
    int PressRow = -1; // the row a left press reached, until its release
    int PressPart = 0; // its TDevicePart
    int KeyRow = -1;   // the row Enter holds, until its release
};
