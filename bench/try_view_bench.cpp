// The View menu's costs in the real window (run:
// build-release/bin/try_view_bench). Try mode: a repaint with a
// button held beside the plain repaint of the same area (the same cost).
// The problems list: from an edit (a nudge of the selected item) until the
// list shows the edited skin's findings, beside one plain repaint, on the
// demo skin and on the 65,535-entry corpus skin; and what the edit itself
// costs the window's thread, where the check never runs.
#include "bench_ratio.h"
#include "device_hit.h"
#include "gui_bench_main.h"
#include "hostile_corpus.h"
#include "main_window.h"
#include "no_prompts.h"
#include "player_panel.h"
#include "preview_area.h"
#include "preview_pane.h"
#include "problems_panel.h"
#include "skin_file.h"
#include "skin_folder.h"
#include "view_panels.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

// The window showing a skin, its first item selected.
class TWindow {
  public:
    explicit TWindow(TSkinDocument doc) {
        Form.Skin.Replace(std::move(doc));
        Form.PlayerPanel->SelectRow(0);
        Form.PlayerPanel->lbItemsClick();
        Form.show();
        QCoreApplication::processEvents();
    }

    void Repaint() {
        Form.Preview().RedrawSkin();
        QCoreApplication::processEvents();
    }

    // A point on a button of the screen, at 100 %.
    QPoint ButtonPoint() const {
        for (int y = 0; y < Form.Doc.ScreenHeight; ++y)
            for (int x = 0; x < Form.Doc.ScreenWidth; ++x)
                if (DevicePartAt(Form.Doc, x, y).Part == TDevicePart::Button) return {x, y};
        return {};
    }

    void Mouse(QEvent::Type type, QPoint at) {
        QMouseEvent event(type, QPointF(at), Form.imArea->mapToGlobal(QPointF(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(Form.imArea, &event);
    }

    // One nudge of the selected item, right or back left: one edit.
    void Nudge(bool right) {
        QKeyEvent event(QEvent::KeyPress, right ? Qt::Key_Right : Qt::Key_Left, Qt::NoModifier);
        QApplication::sendEvent(Form.imArea, &event);
    }

    TProblemsPanel& Problems() { return *Form.ViewPanels().Problems; }

    TNoPrompts Prompts;
    TForm1 Form{Prompts};
};

// The demo skin as the editor opens it: packed, saved and read back.
const TSkinDocument& Demo() {
    static const TSkinDocument doc = [] {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("demo.skn"));
        WriteSkinFile(PackSkin(QStringLiteral(LUMORA_DEMO_SKIN)), path);
        TSkinReadResult read = ReadSkinFile(path);
        return read.Document ? std::move(*read.Document) : TSkinDocument();
    }();
    return doc;
}

const TSkinDocument& Bulk() {
    static const TSkinDocument doc = EveryKindInBulk();
    return doc;
}

double plainSeconds = 0, bulkPlainSeconds = 0;

void PlainRepaint(benchmark::State& state) {
    TWindow window(Demo());
    plainSeconds = TimeLoop(state, [&] { window.Repaint(); });
}

void PlainRepaint65535(benchmark::State& state) {
    TWindow window(Bulk());
    bulkPlainSeconds = TimeLoop(state, [&] { window.Repaint(); });
}

// The copy of the document a check is handed, made on the window's thread.
void SnapshotCopy65535(benchmark::State& state) {
    const double s = TimeLoop(state, [&] {
        TSkinDocument copy = Bulk();
        benchmark::DoNotOptimize(copy.Items.size());
    });
    Ratio(state, "x_plain", s, bulkPlainSeconds);
}

void TryButtonHeldRepaint(benchmark::State& state) {
    TWindow window(Demo());
    window.Form.Try1->setChecked(true);
    const QPoint button = window.ButtonPoint();
    window.Mouse(QEvent::MouseButtonPress, button);
    const double s = TimeLoop(state, [&] { window.Repaint(); });
    window.Mouse(QEvent::MouseButtonRelease, button);
    Ratio(state, "x_plain", s, plainSeconds);
}

// From a nudge until the list is up to date; the nudge's own time (the
// window's thread: the step, the repaint, the copy handed to the check)
// as a counter beside one repaint.
void RefreshAfterEdit(benchmark::State& state, const TSkinDocument& doc, double plain) {
    TWindow window(doc);
    window.Form.Problems1->setChecked(true);
    // The longest the window's thread is kept busy by one round of its
    // events meanwhile: how long a keystroke could wait.
    double longestStall = 0;
    const auto settle = [&] {
        while (!window.Problems().UpToDate()) {
            const auto start = std::chrono::steady_clock::now();
            QCoreApplication::processEvents();
            longestStall = std::max(
                longestStall,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            QThread::usleep(200);
        }
    };
    settle();
    double editSeconds = 0;
    bool right = true;
    const double s = TimeLoop(state, [&] {
        const auto start = std::chrono::steady_clock::now();
        window.Nudge(right);
        editSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        right = !right;
        settle();
    });
    Ratio(state, "x_plain", s, plain);
    Ratio(state, "edit_x_plain", editSeconds / double(state.iterations()), plain);
    Ratio(state, "longest_stall_x_plain", longestStall, plain);
    state.counters["findings"] = double(window.Problems().Findings().size());
}

void ProblemsRefreshDemo(benchmark::State& state) {
    RefreshAfterEdit(state, Demo(), plainSeconds);
}

void ProblemsRefresh65535(benchmark::State& state) {
    RefreshAfterEdit(state, Bulk(), bulkPlainSeconds);
}

} // namespace

BENCHMARK(PlainRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(TryButtonHeldRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(ProblemsRefreshDemo)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainRepaint65535)->Unit(benchmark::kMillisecond);
BENCHMARK(SnapshotCopy65535)->Unit(benchmark::kMillisecond);
BENCHMARK(ProblemsRefresh65535)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    return RunGuiBenchmarks<QApplication>(argc, argv);
}
