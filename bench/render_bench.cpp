// Repaints of the previews beside a plain fill of the same preview area, and
// the repaint of a huge screen beside that of a small one.
#include "bench_ratio.h"
#include "busy_skin.h"
#include "gui_bench_main.h"
#include "item_list.h"
#include "preview.h"
#include "sample_skin.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using bench::BusySkin;

const QSize Area(1600, 1000);
const QRgb Grey = qRgb(128, 128, 128);

// The rich test skin with a 60000 x 60000 text over everything, on a
// screen of the given size.
TSkinDocument WithHugeText(int width, int height) {
    TSkinDocument d = MakeRichSkin();
    d.ScreenWidth = width;
    d.ScreenHeight = height;
    AddItem(d, ikText, "huge");
    TiText& t = d.Texts.back();
    t.Width = t.Height = 60000;
    t.FontSize = 40;
    t.PreviewText = PreviewTextFor(ttSongTitle);
    return d;
}

double fillSeconds = 0, smallSeconds = 0;

void FillArea(benchmark::State& state) {
    fillSeconds = TimeFill(state, Area, Grey);
}

void RepaintPlayer(benchmark::State& state) {
    const TPreviewView view{int(state.range(0)), Area, Grey};
    const double s = TimeLoop(state, [&] {
        QImage shown = RenderPlayerPreview(BusySkin(), 7, view);
        benchmark::DoNotOptimize(shown.constBits());
    });
    Ratio(state, "x_fill", s, fillSeconds);
}

void RepaintPlaylist(benchmark::State& state) {
    const TPreviewView view{int(state.range(0)), Area, Grey};
    const double s = TimeLoop(state, [&] {
        QImage shown = RenderPlaylistPreview(BusySkin(), view);
        benchmark::DoNotOptimize(shown.constBits());
    });
    Ratio(state, "x_fill", s, fillSeconds);
}

void RepaintSmallScreen(benchmark::State& state) {
    const TSkinDocument small = WithHugeText(240, 268);
    smallSeconds = TimeLoop(state, [&] {
        QImage shown = RenderPlayerPreview(small, int(small.Items.size()) - 1, {0, Area, Grey});
        benchmark::DoNotOptimize(shown.constBits());
    });
}

void RepaintHugeScreen(benchmark::State& state) {
    const TSkinDocument huge = WithHugeText(65535, 65535);
    const double s = TimeLoop(state, [&] {
        QImage shown = RenderPlayerPreview(huge, int(huge.Items.size()) - 1,
                                           {int(state.range(0)), Area, Grey});
        benchmark::DoNotOptimize(shown.constBits());
    });
    Ratio(state, "x_small", s, smallSeconds);
}

} // namespace

BENCHMARK(FillArea)->Unit(benchmark::kMicrosecond);
BENCHMARK(RepaintPlayer)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(RepaintPlaylist)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(RepaintSmallScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(RepaintHugeScreen)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    return RunGuiBenchmarks<QGuiApplication>(argc, argv);
}
