// Repaints of the hostile skins (65,535 entries each) in a 1600 x 1000 area
// at 100 % and 800 %, beside a plain fill of the same area. The alike skins
// repaint one entry; the different texts render their glyphs once, walk the
// ink spans of every text the area shows (from the last back, to find what
// no later text covers) and copy each shown pixel once; the different
// wheels (each at its own place) draw every ball the area shows.
#include "bench_ratio.h"
#include "gui_bench_main.h"
#include "hostile_corpus.h"
#include "preview.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <map>

namespace {

const QSize Area(1600, 1000);
const QRgb Grey = qRgb(128, 128, 128);

double fillSeconds = 0;

void FillArea(benchmark::State& state) {
    fillSeconds = TimeFill(state, Area, Grey);
}

enum TSkin {
    AlikeTexts65535Small,
    AlikeTexts2000Small,
    AlikeTexts65535Large,
    AlikeTexts2000Large,
    AlikeWheels,
    DifferentTexts,
    DifferentWheels
};

const TSkinDocument& SkinOf(int which) {
    static std::map<int, TSkinDocument> made;
    auto it = made.find(which);
    if (it != made.end()) return it->second;
    switch (TSkin(which)) {
    case AlikeTexts65535Small:
        return made[which] = ManyAlikeTexts(65535, 240, 268);
    case AlikeTexts2000Small:
        return made[which] = ManyAlikeTexts(2000, 240, 268);
    case AlikeTexts65535Large:
        return made[which] = ManyAlikeTexts(65535, 2048, 2048);
    case AlikeTexts2000Large:
        return made[which] = ManyAlikeTexts(2000, 2048, 2048);
    case AlikeWheels:
        return made[which] = ManyAlikeWheels();
    case DifferentTexts:
        return made[which] = ManyDifferentTexts();
    case DifferentWheels:
        return made[which] = ManyDifferentWheels();
    }
    return made[which];
}

// range(0): the skin; range(1): the zoom index. The entry in the middle of
// the list is selected, as after a click on it.
void RepaintHostile(benchmark::State& state) {
    const TSkinDocument& doc = SkinOf(int(state.range(0)));
    const TPreviewView view{int(state.range(1)), Area, Grey};
    const double s = TimeLoop(state, [&] {
        QImage shown = RenderPlayerPreview(doc, int(doc.Items.size() / 2), view);
        benchmark::DoNotOptimize(shown.constBits());
    });
    Ratio(state, "x_fill", s, fillSeconds);
}

} // namespace

BENCHMARK(FillArea)->Unit(benchmark::kMicrosecond);
BENCHMARK(RepaintHostile)
    ->ArgNames({"skin", "zoom"})
    ->ArgsProduct({{AlikeTexts65535Small, AlikeTexts2000Small, AlikeTexts65535Large,
                    AlikeTexts2000Large, AlikeWheels, DifferentTexts, DifferentWheels},
                   {0, 3}})
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return RunGuiBenchmarks<QGuiApplication>(argc, argv);
}
