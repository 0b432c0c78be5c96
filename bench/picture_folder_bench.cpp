// skntool unpack --png and pack of a skin of many keyed pictures beside
// unpack and pack with bitmaps: x_bitmaps is what PNG files cost.
#include "bench_ratio.h"
#include "item_list.h"
#include "picture.h"
#include "sample_skin.h"
#include "skin_folder.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// 128 buttons of four 96 x 96 pictures, each with a key-coloured corner.
const TSkinDocument& ManyPictures() {
    static const TSkinDocument doc = [] {
        TSkinDocument d = MakeDefaultSkin();
        for (int i = 0; i < 128; ++i) {
            AddItem(d, ikButton, "button");
            d.Buttons.back().Command = pcPlayPause; // all four pictures in the file
            for (int s = 0; s < 4; ++s) {
                QImage img = PatternImage(96, 96, 4 * i + s).convertToFormat(QImage::Format_RGB32);
                for (int y = 0; y < 16; ++y)
                    for (int x = 0; x < 16; ++x)
                        img.setPixel(x, y, TransparentKey);
                d.Buttons.back().Pictures[std::size_t(s)].Image = img;
            }
        }
        return d;
    }();
    return doc;
}

const QTemporaryDir& Folders() {
    static const QTemporaryDir dir;
    return dir;
}

QString FolderOf(TPictureFiles files) {
    return Folders().filePath(files == TPictureFiles::Png ? "png" : "bmp");
}

double unpackSeconds = 0, packSeconds = 0;

void Unpack(benchmark::State& state, TPictureFiles files) {
    const double s =
        TimeLoop(state, [files] { UnpackSkin(ManyPictures(), FolderOf(files), files); });
    if (files == TPictureFiles::Bitmaps)
        unpackSeconds = s;
    else
        Ratio(state, "x_bitmaps", s, unpackSeconds);
}

void Pack(benchmark::State& state, TPictureFiles files) {
    if (!QFileInfo::exists(FolderOf(files))) UnpackSkin(ManyPictures(), FolderOf(files), files);
    const double s = TimeLoop(state, [files] {
        const TSkinDocument doc = PackSkin(FolderOf(files));
        benchmark::DoNotOptimize(doc.Buttons.data());
    });
    if (files == TPictureFiles::Bitmaps)
        packSeconds = s;
    else
        Ratio(state, "x_bitmaps", s, packSeconds);
}

void UnpackBitmaps(benchmark::State& state) {
    Unpack(state, TPictureFiles::Bitmaps);
}
void UnpackPng(benchmark::State& state) {
    Unpack(state, TPictureFiles::Png);
}
void PackBitmaps(benchmark::State& state) {
    Pack(state, TPictureFiles::Bitmaps);
}
void PackPng(benchmark::State& state) {
    Pack(state, TPictureFiles::Png);
}

} // namespace

BENCHMARK(UnpackBitmaps)->Unit(benchmark::kMillisecond);
BENCHMARK(UnpackPng)->Unit(benchmark::kMillisecond);
BENCHMARK(PackBitmaps)->Unit(benchmark::kMillisecond);
BENCHMARK(PackPng)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::printf("512 keyed pictures of 96 x 96; x_bitmaps = time with PNG files / time with "
                "bitmaps\n");
    benchmark::Shutdown();
    return 0;
}
