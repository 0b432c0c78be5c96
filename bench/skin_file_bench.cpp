// Decoding and encoding a large skin beside a plain copy of the same bytes;
// skntool's check and diff of it beside its decoding.
#include "bench_ratio.h"
#include "item_list.h"
#include "sample_skin.h"
#include "skin_check.h"
#include "skin_diff.h"
#include "skin_file.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>

namespace {
// About 64 MB of picture data in 16-bit rows: 256 images of 360 x 360 pixels.
const TSkinDocument& LargeSkin() {
    static const TSkinDocument doc = [] {
        TSkinDocument d = MakeDefaultSkin();
        for (int i = 0; i < 256; ++i) {
            AddItem(d, ikImage, "picture");
            d.Images.back().Picture.Image = PatternImage(361, 360, i);
        }
        return d;
    }();
    return doc;
}

// Mean time of one iteration of each benchmark, for the ratios.
double copySeconds = 0, decodeSeconds = 0;

void ReportRatio(benchmark::State& state, double seconds) {
    Ratio(state, "x_copy", seconds, copySeconds);
}

const QByteArray& LargeFile() {
    static const QByteArray bytes = EncodeSkin(LargeSkin());
    return bytes;
}

void Copy(benchmark::State& state) {
    const QByteArray& src = LargeFile();
    QByteArray dst(src.size(), Qt::Uninitialized);
    copySeconds = TimeLoop(state, [&] {
        std::memcpy(dst.data(), src.constData(), std::size_t(src.size()));
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    });
    state.SetBytesProcessed(state.iterations() * src.size());
}

void Decode(benchmark::State& state) {
    const QByteArray& src = LargeFile();
    decodeSeconds = TimeLoop(state, [&] {
        TSkinReadResult r = DecodeSkin(src);
        benchmark::DoNotOptimize(r.Document);
    });
    ReportRatio(state, decodeSeconds);
    state.SetBytesProcessed(state.iterations() * src.size());
}

// skntool check: the file read, then every check.
void Check(benchmark::State& state) {
    const QByteArray& src = LargeFile();
    std::size_t findings = 0;
    const double seconds = TimeLoop(state, [&] {
        TSkinReadResult r = DecodeSkin(src);
        findings = CheckSkin(*r.Document).size();
        benchmark::DoNotOptimize(findings);
    });
    Ratio(state, "x_decode", seconds, decodeSeconds);
    state.counters["findings"] = double(findings);
}

// skntool diff: both files read, then compared; every picture differs in
// one pixel, so each is compared to its last row.
void Diff(benchmark::State& state) {
    const QByteArray& a = LargeFile();
    static const QByteArray b = [] {
        TSkinDocument d = LargeSkin();
        for (TiImage& image : d.Images)
            image.Picture.Image.setPixel(360, 359, 0);
        return EncodeSkin(d);
    }();
    std::size_t differences = 0;
    const double seconds = TimeLoop(state, [&] {
        TSkinReadResult ra = DecodeSkin(a), rb = DecodeSkin(b);
        differences = DiffSkins(*ra.Document, *rb.Document).size();
        benchmark::DoNotOptimize(differences);
    });
    Ratio(state, "x_decode", seconds, decodeSeconds);
    state.counters["differences"] = double(differences);
}

void Encode(benchmark::State& state) {
    const TSkinDocument& doc = LargeSkin();
    qsizetype size = 0;
    ReportRatio(state, TimeLoop(state, [&] {
                    QByteArray bytes = EncodeSkin(doc);
                    size = bytes.size();
                    benchmark::DoNotOptimize(bytes.data());
                }));
    state.SetBytesProcessed(state.iterations() * size);
}
} // namespace

BENCHMARK(Copy)->Unit(benchmark::kMillisecond);
BENCHMARK(Decode)->Unit(benchmark::kMillisecond);
BENCHMARK(Encode)->Unit(benchmark::kMillisecond);
BENCHMARK(Check)->Unit(benchmark::kMillisecond);
BENCHMARK(Diff)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    const double mb = double(LargeFile().size()) / 1e6;
    std::printf("file: %.1f MB; x_copy = time of one decode or encode / time of one copy;\n"
                "x_decode = time of a check (one decode and the checks) or a diff (two\n"
                "decodes and the comparison) / time of one decode\n",
                mb);
    benchmark::Shutdown();
    return 0;
}
