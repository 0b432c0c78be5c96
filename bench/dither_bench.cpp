// Dithering a 2048 x 2048 picture beside a plain double-precision
// Floyd-Steinberg pass over the same pixels.
#include "dither.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <random>
#include <vector>

namespace {

const QImage& Picture() {
    static const QImage picture = [] {
        QImage img(2048, 2048, QImage::Format_RGB32);
        std::mt19937 rng(1);
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                line[x] = rng() | 0xFF000000u;
        }
        return img;
    }();
    return picture;
}

// The baseline: the textbook pass in double, whole-picture buffer included.
template <class Real> void PlainFloydSteinberg(QImage& img) {
    const int w = img.width(), h = img.height();
    std::vector<Real> buf(std::size_t(w) * h * 3);
    auto at = [&](int x, int y, int c) -> Real& { return buf[(std::size_t(y) * w + x) * 3 + c]; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb p = img.pixel(x, y);
            at(x, y, 0) = Real(qRed(p)) / 255;
            at(x, y, 1) = Real(qGreen(p)) / 255;
            at(x, y, 2) = Real(qBlue(p)) / 255;
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                const Real v = at(x, y, c);
                const Real q = std::nearbyint(v * 31) / 31;
                at(x, y, c) = q;
                const Real e = v - q;
                if (x + 1 < w) at(x + 1, y, c) += e * Real(0.4375);
                if (x >= 1 && y + 1 < h) at(x - 1, y + 1, c) += e * Real(0.1875);
                if (y + 1 < h) at(x, y + 1, c) += e * Real(0.3125);
                if (x + 1 < w && y + 1 < h) at(x + 1, y + 1, c) += e * Real(0.0625);
            }
    auto level = [](Real v) { return int(std::clamp<long long>((long long)(v * 255), 0, 255)); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(level(at(x, y, 0)), level(at(x, y, 1)), level(at(x, y, 2))));
}

double doubleSeconds = 0;

// Times one pass per iteration on a fresh copy of the picture.
template <class F> double TimeOnCopies(benchmark::State& state, F pass) {
    std::chrono::duration<double> spent{};
    for (auto _ : state) {
        state.PauseTiming();
        QImage img = Picture().copy();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        pass(img);
        spent += std::chrono::steady_clock::now() - start;
        benchmark::DoNotOptimize(img.constBits());
    }
    const double pixels = double(Picture().width()) * Picture().height();
    state.counters["pixels"] =
        benchmark::Counter(pixels * double(state.iterations()), benchmark::Counter::kIsRate);
    return spent.count() / double(state.iterations());
}

void PlainDouble(benchmark::State& state) {
    doubleSeconds = TimeOnCopies(state, PlainFloydSteinberg<double>);
}

void Dither(benchmark::State& state) {
    const double s = TimeOnCopies(state, DitherPicture);
    if (doubleSeconds > 0) state.counters["x_double"] = s / doubleSeconds;
}

// For scale: the same textbook pass in long double with nearbyintl.
void PlainLongDouble(benchmark::State& state) {
    const double s = TimeOnCopies(state, PlainFloydSteinberg<long double>);
    if (doubleSeconds > 0) state.counters["x_double"] = s / doubleSeconds;
}

} // namespace

BENCHMARK(PlainDouble)->Unit(benchmark::kMillisecond);
BENCHMARK(Dither)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainLongDouble)->Unit(benchmark::kMillisecond)->Iterations(2);

BENCHMARK_MAIN();
