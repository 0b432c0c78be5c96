#include "preview_gestures.h"

#include "arrange_commands.h"
#include "marker_box.h"
#include "presentation.h"
#include "preview_area.h"
#include "preview_pane.h"
#include "record_steps.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

constexpr int WheelNotch = 120; // eighths of a degree in one notch of a mouse wheel
constexpr int PanPerNotch = 60; // area pixels one notch pans
constexpr int ShiftNudge = 10;  // screen pixels of Shift + arrow
// Device pixels (Manhattan length) a press may wander and still be a click.
constexpr int ClickDistance = 3;

// The item's X and Y, when the entry designates a record.
std::optional<QPoint> PositionAt(const TSkinDocument& doc, int row) {
    if (row < 0 || row >= doc.Items.size()) return std::nullopt;
    const std::optional<TAnyRecord> record = RecordAt(doc, doc.Items[row]);
    return record ? std::optional<QPoint>(PositionOf(*record)) : std::nullopt;
}

// start + delta, held within the 32 bits a field takes.
int Moved(int start, qint64 delta) {
    return int(std::clamp<qint64>(qint64(start) + delta, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

} // namespace

// Watches the Space key wherever the focus is in the window, so that
// Space + drag pans even with the focus in the item list; it takes no key.
// While the pointer is over the preview, Space belongs to the preview: a
// focused drop-down list or button does not react to it.
class TPreviewGestures::TSpaceWatch : public QObject {
  public:
    explicit TSpaceWatch(TPreviewPane& pane) : Pane(pane) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::ApplicationDeactivate) Pane.SetSpaceHeld(false);
        QWidget* area = &Pane.Area();
        if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !watched->isWidgetType() ||
            static_cast<QWidget*>(watched)->window() != area->window())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Space || key->modifiers() != Qt::NoModifier) return false;
        if (!key->isAutoRepeat()) Pane.SetSpaceHeld(type == QEvent::KeyPress);
        return area->isVisible() && area->underMouse();
    }

  private:
    TPreviewPane& Pane;
};

TPreviewGestures::TPreviewGestures(TPreviewPane& form)
    : Form(form), SpaceWatch(std::make_unique<TSpaceWatch>(form)) {
    Form.Area().installEventFilter(this);
    qApp->installEventFilter(SpaceWatch.get());
}

TPreviewGestures::~TPreviewGestures() = default;

bool TPreviewGestures::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &Form.Area()) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return MousePress(static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove:
        MouseMove(static_cast<QMouseEvent*>(event));
        return Gesture != TGesture::None;
    case QEvent::MouseButtonRelease:
        MouseRelease(static_cast<QMouseEvent*>(event));
        return false;
    case QEvent::KeyPress:
        return KeyPress(static_cast<QKeyEvent*>(event));
    case QEvent::Wheel:
        Wheel(static_cast<QWheelEvent*>(event));
        return true;
    default:
        return false;
    }
}

bool TPreviewGestures::PlayerMode() const {
    return Form.Skin().View().PlayerMode;
}

bool TPreviewGestures::MousePress(QMouseEvent* event) {
    if (Gesture != TGesture::None) return true;
    Form.Area().setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    Form.Editing().Edits.EndMerge(); // a run of nudges ends here
    const bool pan = event->button() == Qt::MiddleButton ||
                     (event->button() == Qt::LeftButton && Form.SpaceHeld());
    if (pan) {
        Gesture = TGesture::Pan;
        Button = event->button();
        PressPoint = point;
        StartOffset = Form.PreviewView().Offset;
        Form.Area().setCursor(Qt::ClosedHandCursor);
        Form.SetRepaintsDeferred(true);
        return true;
    }
    if (event->button() != Qt::LeftButton || !PlayerMode()) return false;

    // Only a pixel of the screen itself can lie under an item.
    const QPoint pixel = ScreenPixelAt(point, Form.PreviewView());
    const bool onScreen = pixel.x() >= 0 && pixel.y() >= 0 && pixel.x() < Form.Doc().ScreenWidth &&
                          pixel.y() < Form.Doc().ScreenHeight;
    const int row = onScreen ? PickableAt(pixel) : -1;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (row < 0) {
        // Nothing to take here: a drag draws a selection rectangle.
        Gesture = TGesture::Band;
        Button = Qt::LeftButton;
        PressPoint = point;
        BandAdds = shift;
        DragStarted = false;
        return true;
    }
    if (shift) {
        Form.Skin().Toggle(row);
        return true;
    }
    // What a click on the row runs; an item already selected becomes
    // current and the selection stays.
    if (Form.Skin().IsSelected(row))
        Form.Skin().MakeCurrent(row);
    else if (row != Form.Skin().Current())
        Form.ShowItem(row);
    StartDrag(row);
    if (Gesture == TGesture::Drag) PressPoint = point;
    return true;
}

bool TPreviewGestures::Pickable(int row) const {
    return !Form.Skin().Locked(row) && !Form.Skin().Hidden(row);
}

int TPreviewGestures::PickableAt(QPoint pixel) const {
    const TSkinDocument& doc = Form.Doc();
    const int top = ItemAt(doc, pixel.x(), pixel.y());
    if (top < 0 || Pickable(top)) return top;
    // The topmost is out of reach: the next one down that holds the pixel.
    for (int i = top - 1; i >= 0; --i) {
        if (!Pickable(i)) continue;
        const std::optional<TBox> box = MarkerBoxOf(doc, doc.Items[i]);
        if (box && pixel.x() >= box->Left && pixel.x() < box->Right && pixel.y() >= box->Top &&
            pixel.y() < box->Bottom)
            return i;
    }
    return -1;
}

void TPreviewGestures::StartDrag(int row) {
    const std::optional<QPoint> start = PositionAt(Form.Doc(), row);
    if (!start || Form.Skin().Current() != row) return;
    // Every selected item the pointer may move goes along, the pressed one first.
    DragRows = {row};
    for (int other : Form.Skin().Selection())
        if (other != row && Pickable(other) && PositionAt(Form.Doc(), other)) DragRows << other;
    std::vector<bool> exclude(std::size_t(Form.Doc().Items.size()), false);
    DragBox = {};
    for (int moving : DragRows) {
        exclude[std::size_t(moving)] = true;
        if (const std::optional<TBox> box = MarkerBoxOf(Form.Doc(), Form.Doc().Items[moving]))
            DragBox = Join(DragBox, *box);
    }
    for (int i = 0; i < Form.Doc().Items.size(); ++i)
        if (Form.Skin().Hidden(i)) exclude[std::size_t(i)] = true;
    SnapTo = SnapLinesOf(Form.Doc(), exclude);
    Gesture = TGesture::Drag;
    Button = Qt::LeftButton;
    StartPosition = *start;
    DragRow = row;
    DragItem = Form.Doc().Items[row];
    DragStarted = false;
    Form.Editing().Edits.BeginMove(DragRows);
    Form.SetRepaintsDeferred(true);
}

bool TPreviewGestures::DragItemIsCurrent() const {
    return Form.Skin().Current() == DragRow && DragRow < Form.Doc().Items.size() &&
           Form.Doc().Items[DragRow] == DragItem;
}

void TPreviewGestures::MouseMove(QMouseEvent* event) {
    const QPoint moved = event->position().toPoint() - PressPoint;
    if (Gesture == TGesture::Pan) {
        Form.PanTo(StartOffset - DeviceDistance(moved, Form.PreviewView()));
    } else if (Gesture == TGesture::Drag) {
        if (!DragItemIsCurrent()) {
            Cancel();
            return;
        }
        // A hand's jitter under the click distance moves nothing; past it
        // the whole movement since the press counts, divided and truncated
        // toward zero once: no drift from rounding step by step.
        if (!DragStarted && moved.manhattanLength() < ClickDistance) return;
        DragStarted = true;
        // Ctrl held turns snapping off.
        DragTo(moved, !(event->modifiers() & Qt::ControlModifier));
    } else if (Gesture == TGesture::Band) {
        if (!DragStarted && moved.manhattanLength() < ClickDistance) return;
        DragStarted = true;
        const TPreviewView view = Form.PreviewView();
        Form.ShowDragMarks(
            QRect(DevicePointOf(PressPoint, view), DevicePointOf(event->position(), view))
                .normalized(),
            {});
    }
}

void TPreviewGestures::DragTo(QPoint moved, bool snapping) {
    const TPreviewView view = Form.PreviewView();
    const QPoint device = DeviceDistance(moved, view);
    const int zoom = BlockSizeOf(view);
    qint64 dx = device.x() / zoom, dy = device.y() / zoom;
    QList<QLine> guides;
    if (snapping) {
        // Within 4 monitor pixels at the zoom shown.
        const TSnapped snapped = Snap(SnapTo, DragBox, dx, dy, 4 / zoom);
        dx = snapped.Dx;
        dy = snapped.Dy;
        const QSize area = view.Area;
        for (qint64 x : snapped.HeldX) {
            const int at = int(std::clamp<qint64>(x * zoom - view.Offset.x(), -1, area.width()));
            guides << QLine(at, 0, at, area.height() - 1);
        }
        for (qint64 y : snapped.HeldY) {
            const int at = int(std::clamp<qint64>(y * zoom - view.Offset.y(), -1, area.height()));
            guides << QLine(0, at, area.width() - 1, at);
        }
    }
    Form.Editing().Edits.MoveTo(QPoint(Moved(StartPosition.x(), dx), Moved(StartPosition.y(), dy)));
    Form.ShowDragMarks({}, guides);
}

void TPreviewGestures::SelectBand(QPoint to) {
    const TPreviewView view = Form.PreviewView();
    const qint64 block = BlockSizeOf(view);
    // The band in device pixels of the zoomed screen.
    const QRect band = QRect(DevicePointOf(PressPoint, view), DevicePointOf(to, view))
                           .normalized()
                           .translated(view.Offset);
    const TSkinDocument& doc = Form.Doc();
    QList<int> inside;
    for (int i = 0; i < doc.Items.size(); ++i) {
        if (!Pickable(i)) continue;
        const std::optional<TBox> box = MarkerBoxOf(doc, doc.Items[i]);
        if (!box || box->IsEmpty()) continue;
        if (box->Left * block >= band.left() && box->Right * block - 1 <= band.right() &&
            box->Top * block >= band.top() && box->Bottom * block - 1 <= band.bottom())
            inside << i;
    }
    TOpenSkin& skin = Form.Skin();
    if (!BandAdds) {
        skin.SetSelection(inside, inside.isEmpty() ? -1 : inside.last());
        if (inside.isEmpty()) skin.Select(-1);
        return;
    }
    for (int row : inside)
        if (!skin.IsSelected(row)) skin.Toggle(row);
}

void TPreviewGestures::MouseRelease(QMouseEvent* event) {
    if (Gesture == TGesture::Band && event->button() == Button) {
        if (DragStarted)
            SelectBand(event->position().toPoint());
        else if (!BandAdds && Form.Skin().Selection().size() > 1)
            Form.Skin().Select(-1); // a click beside the items lets go of them
    }
    if (Gesture != TGesture::None && event->button() == Button) End();
}

bool TPreviewGestures::KeyPress(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Space) {
        if (!event->isAutoRepeat()) Form.SetSpaceHeld(true);
        return true;
    }
    if (key == Qt::Key_Escape && Gesture == TGesture::Band) {
        End();
        return true;
    }
    if (key == Qt::Key_Escape && Gesture == TGesture::Drag) {
        // The record exactly as it was at the press, and no step.
        Form.Editing().Edits.CancelMove();
        End();
        return true;
    }
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier && mods != Qt::ShiftModifier) return false;
    const int step = mods == Qt::ShiftModifier ? ShiftNudge : 1;
    switch (key) {
    case Qt::Key_Left:
        Nudge(-step, 0);
        return true;
    case Qt::Key_Right:
        Nudge(step, 0);
        return true;
    case Qt::Key_Up:
        Nudge(0, -step);
        return true;
    case Qt::Key_Down:
        Nudge(0, step);
        return true;
    default:
        return false;
    }
}

void TPreviewGestures::Nudge(int dx, int dy) {
    if (Gesture == TGesture::Drag || !PlayerMode()) return;
    if (Form.Skin().Selection().size() > 1) {
        MoveSelectionCommand(Form.Skin(), dx, dy);
        return;
    }
    const int row = Form.Skin().Current();
    if (row >= 0 && !Pickable(row)) return;
    if (row < 0 || row >= Form.Doc().Items.size()) return;
    const std::optional<TAnyRecord> before = RecordAt(Form.Doc(), Form.Doc().Items[row]);
    if (!before) return;
    TAnyRecord after = *before;
    const QPoint at = PositionOf(*before);
    SetPosition(after, QPoint(Moved(at.x(), dx), Moved(at.y(), dy)));
    // A run of nudges of one item is one step, until another action.
    TSkinEdits& edits = Form.Editing().Edits;
    edits.Push(std::make_unique<TRecordStep>(
        Form.Doc(), row, *before, after, QStringLiteral("Move ") + QuotedItemName(Form.Doc(), row),
        TMergeRun{TMergeField::Nudge, edits.MergeGeneration()}, true));
}

void TPreviewGestures::Wheel(QWheelEvent* event) {
    const QPoint angle = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        // Notches add up, so that a fine-grained wheel steps once per notch.
        ZoomWheel += angle.y() != 0 ? angle.y() : angle.x();
        const int steps = ZoomWheel / WheelNotch;
        ZoomWheel -= steps * WheelNotch;
        if (steps != 0) Form.StepZoomAbout(steps, event->position().toPoint());
        return;
    }
    QPoint delta = event->pixelDelta();
    if (delta.isNull()) delta = angle * PanPerNotch / WheelNotch;
    // Shift turns the vertical wheel sideways (some desktops already have).
    if (event->modifiers() & Qt::ShiftModifier && delta.x() == 0) delta = QPoint(delta.y(), 0);
    if (delta.isNull()) return;
    Form.PanTo(Form.PreviewView().Offset - DeviceDistance(delta, Form.PreviewView()));
}

void TPreviewGestures::End() {
    if (Gesture == TGesture::Pan) Form.Area().unsetCursor();
    // A drag still under way is one step (none when nothing moved).
    if (Gesture == TGesture::Drag)
        Form.Editing().Edits.EndMove(DragRows.size() > 1 ? QStringLiteral("Move items")
                                                         : QStringLiteral("Move ") +
                                                               QuotedItemName(Form.Doc(), DragRow));
    if (Gesture == TGesture::Drag || Gesture == TGesture::Band) Form.ShowDragMarks({}, {});
    DragRows.clear();
    Gesture = TGesture::None;
    Button = Qt::NoButton;
    DragRow = -1;
    Form.SetRepaintsDeferred(false);
}

void TPreviewGestures::Cancel() {
    if (Gesture != TGesture::None) End();
}
