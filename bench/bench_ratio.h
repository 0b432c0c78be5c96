// Each benchmark is reported beside a baseline of the same run: the mean
// time of one iteration, and a counter with the ratio to the baseline.
#pragma once

#include <QImage>

#include <benchmark/benchmark.h>

#include <chrono>

template <class F> double TimeLoop(benchmark::State& state, F body) {
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        body();
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / double(state.iterations());
}

inline void Ratio(benchmark::State& state, const char* name, double seconds, double baseline) {
    if (baseline > 0) state.counters[name] = seconds / baseline;
}

// The repaint benchmarks' baseline: one plain fill of the preview area.
inline double TimeFill(benchmark::State& state, QSize size, QRgb colour) {
    QImage area(size, QImage::Format_RGB32);
    return TimeLoop(state, [&] {
        area.fill(colour);
        benchmark::DoNotOptimize(area.bits());
        benchmark::ClobberMemory();
    });
}
