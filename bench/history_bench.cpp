// The history of edits on a skin of 65,535 items beside one repaint of a
// 1600 x 1000 preview area of that skin: recording, undoing and redoing a
// drag and a Delete cost references, not copies of the document; so does
// undoing and redoing Dither of a 2048 x 2048 picture. Each counter is the
// step's time over the repaint's.
#include "bench_ratio.h"
#include "dither_step.h"
#include "gui_bench_main.h"
#include "item_list.h"
#include "item_steps.h"
#include "preview.h"
#include "sample_skin.h"
#include "skin_edits.h"

#include <QGuiApplication>

namespace {

constexpr int ItemCount = 65535;

// 65,535 items of every kind, spread over a 480 x 536 screen.
TSkinDocument& ManyItems() {
    static TSkinDocument doc = [] {
        TSkinDocument d = MakeDefaultSkin();
        d.ScreenWidth = 480;
        d.ScreenHeight = 536;
        for (int i = 0; i < ItemCount; ++i) {
            AddItem(d, i % ItemKindCount, "item");
            const TDocItem& item = d.Items.back();
            std::optional<TAnyRecord> r = RecordAt(d, item);
            SetPosition(*r, QPoint((i * 37) % 460, (i * 53) % 520));
            StoreRecord(d, item, *r);
        }
        return d;
    }();
    return doc;
}

double repaintSeconds = 0;

void Repaint(benchmark::State& state) {
    const TSkinDocument& doc = ManyItems();
    const TPreviewView view{0, QSize(1600, 1000)};
    repaintSeconds = TimeLoop(state, [&] {
        benchmark::DoNotOptimize(RenderPlayerPreview(doc, ItemCount / 2, view).constBits());
    });
}

// One drag from press to release as a step, then its undo and redo.
void DragStep(benchmark::State& state) {
    TSkinDocument& doc = ManyItems();
    TSkinEdits edits(doc);
    const int row = ItemCount / 2;
    int x = 0;
    const double s = TimeLoop(state, [&] {
        edits.BeginMove(row);
        edits.MoveTo(QPoint(++x % 400, 7));
        edits.EndMove(QStringLiteral("Move"));
        edits.Undo();
        edits.Redo();
    });
    Ratio(state, "x_repaint", s, repaintSeconds);
}

// Delete of an item in the middle, its undo and its redo, then undone
// again so that every round starts from the same skin.
void DeleteStep(benchmark::State& state) {
    TSkinDocument& doc = ManyItems();
    TSkinEdits edits(doc);
    const int row = ItemCount / 2;
    const double s = TimeLoop(state, [&] {
        edits.Push(std::make_unique<TDeleteItemStep>(doc, row, QStringLiteral("Delete")));
        edits.Undo();
        edits.Redo();
        edits.Undo();
    });
    Ratio(state, "x_repaint", s, repaintSeconds);
}

// Undo and redo of Dither on a skin whose image is 2048 x 2048.
void DitherUndoRedo(benchmark::State& state) {
    TSkinDocument doc = MakeDefaultSkin();
    AddItem(doc, ikImage, "big");
    doc.Images[0].Picture.Image = PatternImage(2048, 2048, 3);
    TSkinEdits edits(doc);
    edits.Push(std::make_unique<TDitherStep>(doc, QStringLiteral("Dither pictures")));
    const double s = TimeLoop(state, [&] {
        edits.Undo();
        edits.Redo();
    });
    Ratio(state, "x_repaint", s, repaintSeconds);
}

} // namespace

BENCHMARK(Repaint)->Unit(benchmark::kMillisecond);
BENCHMARK(DragStep)->Unit(benchmark::kMillisecond);
BENCHMARK(DeleteStep)->Unit(benchmark::kMillisecond);
BENCHMARK(DitherUndoRedo)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return RunGuiBenchmarks<QGuiApplication>(argc, argv);
}
