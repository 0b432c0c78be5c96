// Opening a 2048 x 2048 PNG with alpha into a keyed and into an opaque slot
// (the checks, the decode and the alpha rule) beside Qt decoding the same
// bytes alone: x_decode is what the slot's reader adds to the decode.
#include "bench_ratio.h"
#include "picture_file.h"

#include <QBuffer>

#include <benchmark/benchmark.h>

#include <random>

namespace {

// Soft-edged shapes over a transparent ground, as a drawing program exports
// them: every alpha value, colours that compress as drawings do.
const QByteArray& PngFile() {
    static const QByteArray bytes = [] {
        QImage img(2048, 2048, QImage::Format_ARGB32);
        std::mt19937 rng(7);
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                const int alpha = ((x / 8) ^ (y / 8)) & 0xFF;
                line[x] = qRgba(x / 8, y / 8, int(rng() & 0x0F) + 120, alpha);
            }
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        img.save(&buffer, "PNG");
        return png;
    }();
    return bytes;
}

double decodeSeconds = 0;

void QtDecode(benchmark::State& state) {
    decodeSeconds = TimeLoop(state, [] {
        const QImage img = QImage::fromData(PngFile(), "PNG");
        benchmark::DoNotOptimize(img.constBits());
    });
}

void OpenInto(benchmark::State& state, bool keyed) {
    const double s = TimeLoop(state, [keyed] {
        const QImage img = ApplyAlphaRule(DecodePicture(PngFile()).Image, keyed);
        benchmark::DoNotOptimize(img.constBits());
    });
    Ratio(state, "x_decode", s, decodeSeconds);
}

void OpenIntoKeyedSlot(benchmark::State& state) {
    OpenInto(state, true);
}
void OpenIntoImageSlot(benchmark::State& state) {
    OpenInto(state, false);
}

} // namespace

BENCHMARK(QtDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenIntoKeyedSlot)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenIntoImageSlot)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    PngFile(); // made before the first measurement
    benchmark::RunSpecifiedBenchmarks();
    std::printf("PNG: 2048 x 2048 RGBA, %.1f MB; x_decode = time of opening into a slot / "
                "time of Qt's decode alone\n",
                double(PngFile().size()) / 1e6);
    benchmark::Shutdown();
    return 0;
}
