// Dragging an item of the busy skin at 800 % in a 1600 x 1000 preview of the
// real window: one drag step (the pointer moves, the item moves, the preview
// repaints) beside a plain fill of the area and beside the window's own
// repaint, a burst of 100 pointer moves, which must cost about one repaint,
// not 100, a value typed into the inspector, which costs one repaint, and
// fifty items dragged together with snapping on.
#include "bench_ratio.h"
#include "busy_skin.h"
#include "gui_bench_main.h"
#include "main_window.h"
#include "marker_box.h"
#include "no_prompts.h"
#include "number_field.h"
#include "player_panel.h"
#include "preview.h"
#include "preview_area.h"
#include "preview_pane.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

namespace {

const QSize Area(1600, 1000);
const QRgb Grey = qRgb(128, 128, 128);

// A point of the 800 % preview whose topmost item is a button: what a user
// drags is mostly smaller than the screen.
QPoint ButtonPoint(const TSkinDocument& doc) {
    for (int y = 0; y < Area.height() / 8; ++y)
        for (int x = 0; x < Area.width() / 8; ++x)
            if (const int i = ItemAt(doc, x, y); i >= 0 && doc.Items[i].Kind == ikButton)
                return QPoint(x * 8 + 4, y * 8 + 4);
    return QPoint(400, 400);
}
const QPoint Press = ButtonPoint(bench::BusySkin());

// The window with the busy skin at 800 %, its preview 1600 x 1000, a drag
// begun on the item under Press (or that item only selected).
class TDragSetup {
  public:
    // selected: how many items the drag moves (the one under Press among them).
    explicit TDragSetup(bool drag = true, int selected = 1) : Dragging(drag) {
        Form.Doc = bench::BusySkin();
        Form.PlayerPanel->ReloadList();
        Form.show();
        Form.resize(Form.size() + (Area - Form.imArea->size()));
        QCoreApplication::processEvents();
        Form.ComboBox1->setCurrentIndex(3);
        Form.ComboBox1Change();
        const int pressed = ItemAt(Form.Doc, Press.x() / 8, Press.y() / 8);
        if (selected > 1) {
            QList<int> rows{pressed};
            for (int i = 0; rows.size() < selected && i < Form.Doc.Items.size(); ++i)
                if (i != pressed) rows << i;
            Form.Skin.SetSelection(rows, pressed);
        }
        if (Dragging) {
            Send(QEvent::MouseButtonPress, Press, Qt::LeftButton);
        } else {
            Form.PlayerPanel->SelectRow(pressed);
            QCoreApplication::processEvents();
        }
    }
    ~TDragSetup() {
        if (Dragging) Send(QEvent::MouseButtonRelease, Press, Qt::NoButton);
    }

    // Types the digit over the selected button's X, as a user does.
    void TypeX(char digit) {
        auto* field = Form.PlayerPanel->findChild<TNumberField*>(QStringLiteral("SpinEdit8"));
        field->lineEdit()->selectAll();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + (digit - '0'), Qt::NoModifier,
                        QString(QLatin1Char(digit)));
        QApplication::sendEvent(field->lineEdit(), &press);
        QCoreApplication::processEvents();
    }

    // Ctrl held: no snapping.
    void Move(QPoint to, bool snapping = false) {
        Send(QEvent::MouseMove, to, Qt::LeftButton,
             snapping ? Qt::NoModifier : Qt::ControlModifier);
    }
    int Moved() const { return int(Form.Skin.Selection().size()); }
    // The window's own repaint, as after a value typed into the inspector.
    void Repaint() {
        Form.Preview().RedrawSkin();
        QCoreApplication::processEvents();
    }
    int Repaints() const { return Form.imArea->RastersShown(); }
    int History() { return Form.Context.Edits.History().count(); }
    bool Ready() const { return Form.imArea->size() == Area; }

  private:
    void Send(QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QMouseEvent event(type, QPointF(at), Form.imArea->mapToGlobal(QPointF(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, keys);
        QApplication::sendEvent(Form.imArea, &event);
    }

    bool Dragging;
    TNoPrompts Prompts;
    TForm1 Form{Prompts};
};

double fillSeconds = 0, repaintSeconds = 0, windowRepaintSeconds = 0, dragSeconds = 0;

void FillArea(benchmark::State& state) {
    fillSeconds = TimeFill(state, Area, Grey);
}

void RepaintAt800(benchmark::State& state) {
    const TPreviewView view{3, Area, Grey};
    repaintSeconds = TimeLoop(state, [&] {
        QImage shown = RenderPlayerPreview(bench::BusySkin(), 7, view);
        benchmark::DoNotOptimize(shown.constBits());
    });
    Ratio(state, "x_fill", repaintSeconds, fillSeconds);
}

// The same repaint through the window: composed, presented and put on the
// screen; a drag step is this repaint and nothing much besides.
void WindowRepaintAt800(benchmark::State& state) {
    TDragSetup window;
    if (!window.Ready()) state.SkipWithError("the preview is not 1600 x 1000");
    windowRepaintSeconds = TimeLoop(state, [&] { window.Repaint(); });
    Ratio(state, "x_fill", windowRepaintSeconds, fillSeconds);
    Ratio(state, "x_repaint", windowRepaintSeconds, repaintSeconds);
}

void DragStepAt800(benchmark::State& state) {
    TDragSetup drag;
    if (!drag.Ready()) state.SkipWithError("the preview is not 1600 x 1000");
    int step = 0;
    const double s = TimeLoop(state, [&] {
        // Two screen pixels each way, so every step moves the item.
        drag.Move(Press + QPoint((++step % 2) * 16, 0));
        QCoreApplication::processEvents();
    });
    dragSeconds = s;
    Ratio(state, "x_fill", s, fillSeconds);
    Ratio(state, "x_window_repaint", s, windowRepaintSeconds);
}

// Fifty selected items dragged together with snapping on, beside one item
// dragged without it.
void Drag50SnappingAt800(benchmark::State& state) {
    TDragSetup drag(true, 50);
    if (!drag.Ready()) state.SkipWithError("the preview is not 1600 x 1000");
    if (drag.Moved() != 50) state.SkipWithError("not 50 items selected");
    int step = 0;
    const double s = TimeLoop(state, [&] {
        drag.Move(Press + QPoint((++step % 2) * 16, 0), true);
        QCoreApplication::processEvents();
    });
    Ratio(state, "x_drag_step", s, dragSeconds);
}

void InspectorEditAt800(benchmark::State& state) {
    TDragSetup window(false);
    if (!window.Ready()) state.SkipWithError("the preview is not 1600 x 1000");
    int edit = 0;
    const double s = TimeLoop(state, [&] { window.TypeX(char('1' + ++edit % 2)); });
    if (window.History() == 0) state.SkipWithError("the typed values changed nothing");
    Ratio(state, "x_window_repaint", s, windowRepaintSeconds);
}

void BurstOf100Moves(benchmark::State& state) {
    TDragSetup drag;
    if (!drag.Ready()) state.SkipWithError("the preview is not 1600 x 1000");
    const int before = drag.Repaints();
    int burst = 0;
    const double s = TimeLoop(state, [&] {
        ++burst;
        for (int i = 1; i <= 100; ++i)
            drag.Move(Press + QPoint(i * 8, (burst % 2) * 8));
        QCoreApplication::processEvents();
    });
    Ratio(state, "x_window_repaint", s, windowRepaintSeconds);
    state.counters["repaints_per_burst"] = double(drag.Repaints() - before) / burst;
}

} // namespace

BENCHMARK(FillArea)->Unit(benchmark::kMicrosecond);
BENCHMARK(RepaintAt800)->Unit(benchmark::kMicrosecond);
BENCHMARK(WindowRepaintAt800)->Unit(benchmark::kMicrosecond);
BENCHMARK(DragStepAt800)->Unit(benchmark::kMicrosecond);
BENCHMARK(Drag50SnappingAt800)->Unit(benchmark::kMicrosecond);
BENCHMARK(InspectorEditAt800)->Unit(benchmark::kMicrosecond);
BENCHMARK(BurstOf100Moves)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    return RunGuiBenchmarks<QApplication>(argc, argv);
}
