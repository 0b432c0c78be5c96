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

// The baseline: DitherPicture's own scheme written for double, so that the
// ratio is what extended precision costs: scan lines, the errors of the row
// above in a padded row buffer, the channels written out, tables of start
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

// One channel of one pixel, as in DitherPicture.
inline int Step(int channel, const double* above, double& error, double& fromLeft) {
    double v = Tables.Start[channel];
    v = v + above[-3] * 0.0625;
    v = v + above[0] * 0.3125;
    v = v + above[3] * 0.1875;
    v = v + fromLeft;
    int level;
    const double e = v - Quantise(v, level);
    fromLeft = e * 0.4375;
    error = e;
    return level;
}

void Dither(QImage& picture) {
    const int width = picture.width(), height = picture.height();
    const std::size_t stride = (std::size_t(width) + 2) * 3;
    std::vector<double> errors(stride * 3);
    double* rows[2] = {errors.data() + stride + 3, errors.data() + 2 * stride + 3};
    const double* above = errors.data() + 3;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        double* own = rows[y & 1];
        double leftR = 0, leftG = 0, leftB = 0;
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = line[x];
            const double* a = above + 3 * x;
            double* e = own + 3 * x;
            const int r = Step(qRed(pixel), a, e[0], leftR);
            const int g = Step(qGreen(pixel), a + 1, e[1], leftG);
            const int b = Step(qBlue(pixel), a + 2, e[2], leftB);
            line[x] = qRgb(r, g, b);
        }
        above = own;
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
