#include "try_mode.h"

#include "device_hit.h"
#include "device_look.h"
#include "presentation.h"
#include "preview_area.h"
#include "preview_pane.h"
#include "sample_values_panel.h"
#include "skin_edits.h"

#include <QKeyEvent>

#include <QMouseEvent>
#include <QToolButton>
#include <algorithm>

TTryMode::TTryMode(TPreviewPane& form, TSampleValuesPanel& samples) : Form(form), Samples(samples) {
    Device.FileColours = true;
    Device.Samples = Samples.Samples();
    Form.ComposeTryingWith(Device);
    // Installed after the preview's gestures, so it sees the pointer first.
    Form.Area().installEventFilter(this);
    connect(&Samples, &TSampleValuesPanel::Changed, this, [this] {
        Device.Samples = Samples.Samples();
        if (Active) Form.TryStateChanged();
    });
    connect(&Form.Editing().Edits, &TSkinEdits::Changed, this, &TTryMode::EditChanged);
}

void TTryMode::SetOn(bool on) {
    if (on == Active) return;
    Active = on;
    PressRow = -1;
    KeyRow = -1;
    if (!on) ForgetRows();
    // The window repaints as the open skin's view turns trying on or off.
}

void TTryMode::ForgetRows() {
    Device.Held.clear();
    Device.SecondState.clear();
    Device.Progress.clear();
    PressRow = -1;
    KeyRow = -1;
}

void TTryMode::EditChanged(const TEditChange& change) {
    // A row's state belongs to the item at that row: once rows shift it
    // would land on another, so the states go.
    const bool rowsShift =
        change.What == TEditChange::ItemsAdded || change.What == TEditChange::ItemsRemoved ||
        change.What == TEditChange::ItemsSwapped || change.What == TEditChange::ItemsReordered;
    if (rowsShift) ForgetRows();
}

bool TTryMode::Acting() const {
    // The playlist screen has nothing to press.
    return Active && Form.Skin().View().PlayerMode;
}

bool TTryMode::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &Form.Area() || !Acting()) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return MousePress(static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove:
        return MouseMove(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease:
        return MouseRelease(static_cast<QMouseEvent*>(event));
    case QEvent::KeyPress:
        return KeyPress(static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease:
        return KeyRelease(static_cast<QKeyEvent*>(event));
    default:
        return false;
    }
}

QPoint TTryMode::PixelOf(const QMouseEvent* event) const {
    return ScreenPixelAt(event->position(), Form.PreviewView());
}

bool TTryMode::MousePress(QMouseEvent* event) {
    // Other buttons go on to the gestures: the middle one pans.
    if (event->button() != Qt::LeftButton) return false;
    // Space held: the left button pans, as outside try mode.
    if (Form.SpaceHeld() && PressRow < 0) return false;
    Form.Area().setFocus(Qt::MouseFocusReason);
    if (PressRow >= 0) return true;
    const QPoint pixel = PixelOf(event);
    const TDeviceHit hit = DevicePartAt(Form.Doc(), pixel.x(), pixel.y(), Form.Skin().HiddenRows());
    switch (hit.Part) {
    case TDevicePart::None:
        return true;
    case TDevicePart::Button:
    case TDevicePart::WheelRing:
        Device.Held[hit.Row] = THeldPart::Body;
        break;
    case TDevicePart::WheelCenter:
        Device.Held[hit.Row] = THeldPart::Center;
        break;
    case TDevicePart::TrackbarPosition:
        Device.Progress[hit.Row] = hit.Position;
        break;
    }
    PressRow = hit.Row;
    PressPart = int(hit.Part);
    Form.TryStateChanged();
    return true;
}

bool TTryMode::MouseMove(QMouseEvent* event) {
    if (PressRow < 0) return false; // a pan under way goes on
    if (PressPart != int(TDevicePart::TrackbarPosition)) return true;
    const auto* bar = PressRow < Form.Doc().Items.size()
                          ? RecordOf<TiTrackbar>(Form.Doc(), Form.Doc().Items[PressRow])
                          : nullptr;
    if (!bar) return true;
    const int progress = ProgressAt(*bar, PixelOf(event).x());
    int& held = Device.Progress[PressRow];
    if (held != progress) {
        held = progress;
        Form.TryStateChanged();
    }
    return true;
}

bool TTryMode::MouseRelease(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || PressRow < 0) return false;
    const int row = PressRow;
    const auto part = TDevicePart(PressPart);
    PressRow = -1;
    Device.Held.erase(row);
    // A click is a release over the part pressed, as on any button; only a
    // command with two states switches.
    const QPoint pixel = PixelOf(event);
    const TDeviceHit hit = DevicePartAt(Form.Doc(), pixel.x(), pixel.y(), Form.Skin().HiddenRows());
    if (hit.Row == row && hit.Part == part && row < Form.Doc().Items.size()) {
        const TDocItem& item = Form.Doc().Items[row];
        bool twoStates = false;
        if (const auto* b = RecordOf<TiButton>(Form.Doc(), item); b && part == TDevicePart::Button)
            twoStates = HasTwoStates(b->Command);
        if (const auto* w = RecordOf<TiWheel>(Form.Doc(), item);
            w && part == TDevicePart::WheelCenter)
            twoStates = HasTwoStates(w->CenterCommand);
        if (twoStates && !Device.SecondState.erase(row)) Device.SecondState.insert(row);
    }
    Form.TryStateChanged();
    return true;
}

bool TTryMode::KeyPress(const QKeyEvent* event) {
    // The arrows would nudge the selected item; the device has no such keys,
    // but a current track bar's progress follows Left and Right.
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier && mods != Qt::ShiftModifier) return false;
    const int step = mods == Qt::ShiftModifier ? 10 : 1;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return mods == Qt::NoModifier && (event->isAutoRepeat() || PressCurrent());
    case Qt::Key_Left:
        MoveProgress(-step);
        return true;
    case Qt::Key_Right:
        MoveProgress(step);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

bool TTryMode::PressCurrent() {
    const int row = Form.Skin().Current();
    if (KeyRow >= 0 || PressRow >= 0 || row < 0 || row >= Form.Doc().Items.size()) return false;
    const TDocItem& item = Form.Doc().Items[row];
    // A wheel's centre is its button; its ring turns, which Enter cannot.
    if (RecordOf<TiButton>(Form.Doc(), item))
        Device.Held[row] = THeldPart::Body;
    else if (RecordOf<TiWheel>(Form.Doc(), item))
        Device.Held[row] = THeldPart::Center;
    else
        return false;
    KeyRow = row;
    Form.TryStateChanged();
    return true;
}

bool TTryMode::KeyRelease(const QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) return false;
    if (event->isAutoRepeat() || KeyRow < 0) return KeyRow >= 0;
    const int row = KeyRow;
    KeyRow = -1;
    Device.Held.erase(row);
    // A press and release is a click: a command with two states switches.
    if (row < Form.Doc().Items.size()) {
        const TDocItem& item = Form.Doc().Items[row];
        bool twoStates = false;
        if (const auto* b = RecordOf<TiButton>(Form.Doc(), item))
            twoStates = HasTwoStates(b->Command);
        if (const auto* w = RecordOf<TiWheel>(Form.Doc(), item))
            twoStates = HasTwoStates(w->CenterCommand);
        if (twoStates && !Device.SecondState.erase(row)) Device.SecondState.insert(row);
    }
    Form.TryStateChanged();
    return true;
}

bool TTryMode::MoveProgress(int step) {
    const int row = Form.Skin().Current();
    if (row < 0 || row >= Form.Doc().Items.size()) return false;
    const auto* bar = RecordOf<TiTrackbar>(Form.Doc(), Form.Doc().Items[row]);
    if (!bar) return false;
    const qint64 at = ProgressEnd(*bar, Device, row) + step;
    Device.Progress[row] = int(std::clamp<qint64>(at, 0, std::max(bar->Width, 0)));
    Form.TryStateChanged();
    return true;
}
