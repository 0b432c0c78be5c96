// A repaint of the busy skin with a button held (and the other device
// states) beside the plain repaint of the same area: the states cost what
// the pictures they swap in cost, nothing more.
#include "bench_ratio.h"
#include "busy_skin.h"
#include "gui_bench_main.h"
#include "preview.h"
#include "screen_thumbnail.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

using bench::BusySkin;

const QRgb Grey = qRgb(128, 128, 128);

// The busy skin whose buttons have a pressed picture of their normal size.
const TSkinDocument& Skin() {
    static const TSkinDocument doc = [] {
        TSkinDocument d = BusySkin();
        for (std::size_t i = 0; i < d.Buttons.size(); ++i)
            d.Buttons[i].Pictures[1].Image = bench::Keyed(40, 30, int(i) + 100);
        return d;
    }();
    return doc;
}

// The last button of the list, painted over most other items.
int HeldRow() {
    for (int i = int(Skin().Items.size()) - 1; i >= 0; --i)
        if (Skin().Items[i].Kind == ikButton) return i;
    return -1;
}

const TPreviewView View{0, QSize(480, 536), Grey};
double plainSeconds = 0;

double Repaint(benchmark::State& state, const TDeviceState& device) {
    return TimeLoop(state, [&] {
        QImage shown = RenderPlayerPreview(Skin(), -1, View, device);
        benchmark::DoNotOptimize(shown.constBits());
    });
}

void PlainRepaint(benchmark::State& state) {
    plainSeconds = Repaint(state, PlainDeviceState());
}

void ButtonHeldRepaint(benchmark::State& state) {
    TDeviceState device;
    device.Held[HeldRow()] = THeldPart::Body;
    Ratio(state, "x_plain", Repaint(state, device), plainSeconds);
}

void EveryStateRepaint(benchmark::State& state) {
    TDeviceState device;
    for (int i = 0; i < Skin().Items.size(); ++i) {
        const int kind = Skin().Items[i].Kind;
        if (kind == ikButton || kind == ikWheel) device.Held[i] = THeldPart::Body;
        if (kind == ikTrackbar) device.Progress[i] = 10;
    }
    device.Samples[ttSongTitle] = QStringLiteral("A longer title than the sample");
    Ratio(state, "x_plain", Repaint(state, device), plainSeconds);
}

void FileColoursRepaint(benchmark::State& state) {
    TDeviceState device;
    device.FileColours = true;
    Ratio(state, "x_plain", Repaint(state, device), plainSeconds);
}

void Thumbnail(benchmark::State& state) {
    const double s = TimeLoop(state, [&] {
        QImage shown = FitPlayerScreen(Skin(), -1, 128);
        benchmark::DoNotOptimize(shown.constBits());
    });
    Ratio(state, "x_plain", s, plainSeconds);
}

} // namespace

BENCHMARK(PlainRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(ButtonHeldRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(EveryStateRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(FileColoursRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(Thumbnail)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    return RunGuiBenchmarks<QGuiApplication>(argc, argv);
}
