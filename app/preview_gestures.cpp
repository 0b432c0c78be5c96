#include "preview_gestures.h"

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
class TPreviewGestures::TSpaceWatch : public QObject {
  public:
    TSpaceWatch(QWidget* window, bool& held) : Window(window), Held(held) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::ApplicationDeactivate) Held = false;
        if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !watched->isWidgetType() ||
            static_cast<QWidget*>(watched)->window() != Window)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && !key->isAutoRepeat()) Held = type == QEvent::KeyPress;
        return false;
    }

  private:
    QWidget* Window;
    bool& Held;
};

TPreviewGestures::TPreviewGestures(TPreviewPane& form)
    : Form(form), SpaceWatch(std::make_unique<TSpaceWatch>(form.Area().window(), SpaceHeld)) {
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
    const bool pan =
        event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && SpaceHeld);
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
    if (pixel.x() < 0 || pixel.y() < 0 || pixel.x() >= Form.Doc().ScreenWidth ||
        pixel.y() >= Form.Doc().ScreenHeight)
        return true;
    const int row = ItemAt(Form.Doc(), pixel.x(), pixel.y());
    if (row < 0) return true;
    // What a click on the row runs.
    if (row != Form.Skin().Current()) Form.ShowItem(row);
    const std::optional<QPoint> start = PositionAt(Form.Doc(), row);
    if (!start || Form.Skin().Current() != row) return true;
    Gesture = TGesture::Drag;
    Button = Qt::LeftButton;
    PressPoint = point;
    StartPosition = *start;
    DragRow = row;
    DragItem = Form.Doc().Items[row];
    DragStarted = false;
    Form.Editing().Edits.BeginMove(row);
    Form.SetRepaintsDeferred(true);
    return true;
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
        const TPreviewView view = Form.PreviewView();
        const QPoint device = DeviceDistance(moved, view);
        const int zoom = BlockSizeOf(view);
        const QPoint target(Moved(StartPosition.x(), device.x() / zoom),
                            Moved(StartPosition.y(), device.y() / zoom));
        Form.Editing().Edits.MoveTo(target);
    }
}

void TPreviewGestures::MouseRelease(QMouseEvent* event) {
    if (Gesture != TGesture::None && event->button() == Button) End();
}

bool TPreviewGestures::KeyPress(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Space) {
        if (!event->isAutoRepeat()) SpaceHeld = true;
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
    const int row = Form.Skin().Current();
    if (row < 0 || row >= Form.Doc().Items.size()) return;
    const std::optional<TAnyRecord> before = RecordAt(Form.Doc(), Form.Doc().Items[row]);
    if (!before) return;
    TAnyRecord after = *before;
    const QPoint at = PositionOf(*before);
    SetPosition(after, QPoint(Moved(at.x(), dx), Moved(at.y(), dy)));
    // A run of nudges of one item is one step, until another action.
    TSkinEdits& edits = Form.Editing().Edits;
    edits.Push(std::make_unique<TRecordStep>(
        Form.Doc(), row, *before, after,
        QStringLiteral("Move ") + QuotedItemName(Form.Doc(), row),
        TMergeRun{TMergeField::Nudge, edits.MergeGeneration()}, true));
}

void TPreviewGestures::Wheel(QWheelEvent* event) {
    const QPoint angle = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        // Notches add up, so that a fine-grained wheel steps once per notch.
        ZoomWheel += angle.y() != 0 ? angle.y() : angle.x();
        const int steps = ZoomWheel / WheelNotch;
        ZoomWheel -= steps * WheelNotch;
        if (steps != 0) Form.StepZoom(steps);
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
        Form.Editing().Edits.EndMove(QStringLiteral("Move ") +
                                     QuotedItemName(Form.Doc(), DragRow));
    Gesture = TGesture::None;
    Button = Qt::NoButton;
    DragRow = -1;
    Form.SetRepaintsDeferred(false);
}

void TPreviewGestures::Cancel() {
    if (Gesture != TGesture::None) End();
}
