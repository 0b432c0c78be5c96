// Dithering a 2048 x 2048 picture beside the same pass written in double
// precision: the counter x_double is what extended precision costs.
#include "dither.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include <time.h>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

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

// The baseline: DitherPicture's own scheme written for double: scan lines,
// one row of gathered error, running sums for the row below, tables of start
// values, quantised values and levels, and one rounding instruction in the
// current mode (cvtsd2si, the counterpart of the x87 fistp).
namespace plain {

constexpr int KMin = -8, KMax = 40;

struct TTables {
    double Start[256];
    double Quant[KMax - KMin + 1];
    quint8 Level[KMax - KMin + 1];
    TTables() {
        for (int c = 0; c < 256; ++c)
            Start[c] = double(c) / 255;
        for (int k = KMin; k <= KMax; ++k) {
            Quant[k - KMin] = double(k) / 31;
            Level[k - KMin] = quint8(std::clamp(int(Quant[k - KMin] * 255), 0, 255));
        }
    }
};
const TTables Tables;

inline double Quantise(double v, int& level) {
#if defined(__x86_64__)
    const long long k = _mm_cvtsd_si64(_mm_set_sd(v * 31));
#else
    const long long k = std::llrint(v * 31);
#endif
    if (k >= KMin && k <= KMax) {
        level = Tables.Level[k - KMin];
        return Tables.Quant[k - KMin];
    }
    const double q = double(k) / 31;
    level = std::clamp(int(q * 255), 0, 255);
    return q;
}

inline int Channel(QRgb p, int c) {
    return c == 0 ? qRed(p) : c == 1 ? qGreen(p) : qBlue(p);
}

void DiffuseRow(QRgb* line, const QRgb* below, double* gathered, int width) {
    double fromLeft[3] = {0, 0, 0};
    double done[3] = {0, 0, 0}, current[3] = {0, 0, 0};
    if (below)
        for (int c = 0; c < 3; ++c)
            current[c] = Tables.Start[Channel(below[0], c)];
    for (int x = 0; x < width; ++x) {
        const bool hasRight = x + 1 < width;
        int level[3];
        for (int c = 0; c < 3; ++c) {
            const double v = gathered[3 * x + c] + fromLeft[c];
            const double error = v - Quantise(v, level[c]);
            fromLeft[c] = error * 0.4375;
            if (!below) continue;
            if (x > 0) gathered[3 * (x - 1) + c] = done[c] + error * 0.1875;
            done[c] = current[c] + error * 0.3125;
            if (hasRight) current[c] = Tables.Start[Channel(below[x + 1], c)] + error * 0.0625;
        }
        line[x] = qRgb(level[0], level[1], level[2]);
    }
    if (below)
        for (int c = 0; c < 3; ++c)
            gathered[3 * (width - 1) + c] = done[c];
}

void Dither(QImage& picture) {
    const int width = picture.width(), height = picture.height();
    std::vector<double> gathered(std::size_t(width) * 3);
    const auto* first = reinterpret_cast<const QRgb*>(picture.constScanLine(0));
    for (int x = 0; x < width; ++x)
        for (int c = 0; c < 3; ++c)
            gathered[3 * std::size_t(x) + c] = Tables.Start[Channel(first[x], c)];
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        const auto* below =
            y + 1 < height ? reinterpret_cast<const QRgb*>(picture.constScanLine(y + 1)) : nullptr;
        DiffuseRow(line, below, gathered.data(), width);
    }
}

} // namespace plain

double doubleSeconds = 0;

// The thread's processor time: on a shared machine the wall clock also
// counts the other processes.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Times one pass per iteration on a fresh copy of the picture.
template <class F> double TimeOnCopies(benchmark::State& state, F pass) {
    double spent = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QImage img = Picture().copy();
        state.ResumeTiming();
        const double start = ThreadSeconds();
        pass(img);
        spent += ThreadSeconds() - start;
        benchmark::DoNotOptimize(img.constBits());
    }
    const double pixels = double(Picture().width()) * Picture().height();
    state.counters["pixels"] =
        benchmark::Counter(pixels * double(state.iterations()), benchmark::Counter::kIsRate);
    return spent / double(state.iterations());
}

void PlainDouble(benchmark::State& state) {
    doubleSeconds = TimeOnCopies(state, plain::Dither);
}

void Dither(benchmark::State& state) {
    const double s = TimeOnCopies(state, DitherPicture);
    if (doubleSeconds > 0) state.counters["x_double"] = s / doubleSeconds;
}

} // namespace

BENCHMARK(PlainDouble)->Unit(benchmark::kMillisecond);
BENCHMARK(Dither)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
