// Pointer and key gestures on the preview area imArea: pick and drag an item
// and nudge it with the arrows (player mode), pan the zoomed screen and zoom
// with the wheel (both modes). A drag and a nudge change X and Y alone,
// through the door: a drag is one step from press to release (none after
// Escape), a run of nudges of one item one step; the inspector shows them.
#pragma once

#include "skin_document.h"
#include "snap_lines.h"

#include <QList>
#include <QObject>
#include <QPoint>

#include <memory>

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;
class TPreviewPane;

class TPreviewGestures : public QObject {
    Q_OBJECT

  public:
    explicit TPreviewGestures(TPreviewPane& form);
    ~TPreviewGestures() override;

    // Ends a drag or a pan under way (a document replaced, a mode switched):
    // what it moved stays where it is, a drag as its step.
    void Cancel();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class TGesture { None, Drag, Pan, Band };

    bool MousePress(QMouseEvent* event);
    void MouseMove(QMouseEvent* event);
    void MouseRelease(QMouseEvent* event);
    bool KeyPress(QKeyEvent* event);
    void Wheel(QWheelEvent* event);

    bool PlayerMode() const;
    // The topmost item under the screen pixel that the pointer may take:
    // neither locked nor hidden; -1 for none.
    int PickableAt(QPoint pixel) const;
    bool Pickable(int row) const;
    void StartDrag(int row);
    void DragTo(QPoint moved, bool snapping);
    // The selection rectangle's items, added to the selection or instead of it.
    void SelectBand(QPoint to);
    // Whether the drag's item is still the current item, at the same entry.
    bool DragItemIsCurrent() const;
    void Nudge(int dx, int dy);
    void End();

    TPreviewPane& Form;
    TGesture Gesture = TGesture::None;
    Qt::MouseButton Button = Qt::NoButton; // the button that started the gesture
    QPoint PressPoint;                     // in area pixels
    QPoint StartPosition;                  // the item's X and Y at the press
    QPoint StartOffset;                    // the view offset at the press
    int DragRow = -1;
    TDocItem DragItem;
    QList<int> DragRows;      // every item the drag moves, DragRow first
    TBox DragBox;             // their marker boxes joined, at the press
    TSnapLines SnapTo;        // what the others offer
    bool BandAdds = false;    // Shift at the press: the band adds to the selection
    bool DragStarted = false; // the pointer went past the click distance
    class TSpaceWatch;
    std::unique_ptr<TSpaceWatch> SpaceWatch;
    int ZoomWheel = 0; // wheel turn toward the next zoom step, in eighths of a degree
};
