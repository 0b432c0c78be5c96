// Repaints of the previews beside a plain fill of the same preview area, and
// the repaint of a huge screen beside that of a small one.
#include "bench_ratio.h"
#include "item_list.h"
#include "preview.h"
#include "sample_skin.h"
#include "skin_fonts.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

const QSize Area(1600, 1000);
const QRgb Grey = qRgb(128, 128, 128);

// A picture with a magenta border, so keyed drawing has work to do.
QImage Keyed(int w, int h, int seed) {
    QImage img = PatternImage(w, h, seed);
    for (int x = 0; x < w; ++x)
        img.setPixel(x, 0, TransparentKey);
    for (int y = 0; y < h; ++y)
        img.setPixel(0, y, TransparentKey);
    return img;
}

// 480 x 536 with 150 items, 30 of every kind, spread over the screen.
const TSkinDocument& BusySkin() {
    static const TSkinDocument doc = [] {
        TSkinDocument d = MakeDefaultSkin();
        d.ScreenWidth = 480;
        d.ScreenHeight = 536;
        for (int i = 0; i < 30; ++i) {
            const int x = (i * 73) % 400 - 20, y = (i * 131) % 480 - 10;
            AddItem(d, ikImage, "image");
            d.Images.back().Picture.Image =
                PatternImage(i == 0 ? 480 : 60 + i, i == 0 ? 536 : 40, i);
            d.Images.back().X = i == 0 ? 0 : x;
            d.Images.back().Y = i == 0 ? 0 : y;

            AddItem(d, ikText, "text");
            TiText& t = d.Texts.back();
            t.X = x;
            t.Y = y + 20;
            t.Width = 120 + i * 5;
            t.Height = 20 + i;
            t.HAlign = i % 3;
            t.VAlign = (i / 3) % 3;
            t.FontSize = 10 + i;
            t.Bold = i % 2;
            t.Color = 0x30A0F0 + i;
            t.TextType = i % 6;
            t.PreviewText = PreviewTextFor(t.TextType);

            AddItem(d, ikButton, "button");
            d.Buttons.back().Pictures[0].Image = Keyed(40, 30, i);
            d.Buttons.back().X = x + 50;
            d.Buttons.back().Y = y;

            AddItem(d, ikWheel, "wheel");
            TiWheel& w = d.Wheels.back();
            w.X = x;
            w.Y = y + 40;
            w.BallCount = 2 + i % 9;
            w.BallDist = 50;
            const int sizes[8][2] = {{160, 160}, {1, 1},   {1, 1},   {60, 60},
                                     {1, 1},     {24, 24}, {24, 24}, {10, 10}};
            for (int s = 0; s < 8; ++s)
                w.Pictures[std::size_t(s)].Image = Keyed(sizes[s][0], sizes[s][1], i + s);

            AddItem(d, ikTrackbar, "trackbar");
            TiTrackbar& k = d.Trackbars.back();
            k.X = x;
            k.Y = y + 100;
            k.Width = 300;
            k.Height = 20;
            k.ProgressStretch = i % 2;
            k.ShowScroller = true;
            k.Pictures[0].Image = Keyed(200, 10, i);
            k.Pictures[1].Image = Keyed(15, 20, i);
        }
        return d;
    }();
    return doc;
}

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
    QImage area(Area, QImage::Format_RGB32);
    fillSeconds = TimeLoop(state, [&] {
        area.fill(Grey);
        benchmark::DoNotOptimize(area.bits());
        benchmark::ClobberMemory();
    });
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

// Text needs a GUI application and the registered Tahoma.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    RegisterSkinFonts();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
