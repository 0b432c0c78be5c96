// Opening a 2048 x 2048 PNG with alpha into a keyed and into an opaque slot,
// and a 4000 x 3000 JPEG into a slot (the checks, the decode and the alpha
// rule), beside the format's library decoding the same bytes alone and
// beside the previous reader (Qt's image plugins, then the rule as a pass of
// its own): x_decode is the reader against the library alone, x_previous
// against the previous reader.
#include "bench_ratio.h"
#include "picture_bytes.h"
#include "picture_file.h"

#include <QBuffer>
#include <QImageReader>

#include <benchmark/benchmark.h>

#include <cstdio> // jpeglib.h needs FILE
#include <jpeglib.h>
#include <png.h>
#include <random>
#include <time.h>
#include <vector>

namespace {

// The ratios are of the processor time this thread spends, which other
// work on a shared machine does not inflate as it does the wall clock.
template <class F> double CpuTimeLoop(benchmark::State& state, F body) {
    timespec start{}, end{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    TimeLoop(state, body);
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    const double spent =
        double(end.tv_sec - start.tv_sec) + double(end.tv_nsec - start.tv_nsec) / 1e9;
    return spent / double(state.iterations());
}

// Soft-edged shapes over a transparent ground, as a drawing program exports
// them: every alpha value, colours that compress as drawings do.
const QByteArray& PngBytes() {
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

// A 12-megapixel photograph's worth: smooth light, texture and grain.
const QByteArray& JpegBytes() {
    static const QByteArray bytes = [] {
        QImage img(4000, 3000, QImage::Format_RGB32);
        std::mt19937 rng(11);
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                const int grain = int(rng() & 0x1F);
                line[x] = qRgb((x / 16 + grain) & 0xFF, (y / 12 + grain) & 0xFF,
                               ((x ^ y) / 32 + grain) & 0xFF);
            }
        }
        return JpegFile(img, 90);
    }();
    return bytes;
}

// libpng alone: its own simplified reading into 32-bit pixels.
QImage LibpngDecode(const QByteArray& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.constData(), size_t(bytes.size())))
        return QImage();
    image.format = PNG_FORMAT_BGRA;
    QImage out(int(image.width), int(image.height), QImage::Format_ARGB32);
    png_image_finish_read(&image, nullptr, out.bits(), png_int_32(out.bytesPerLine()), nullptr);
    return out;
}

// libjpeg-turbo alone, into 32-bit pixels.
QImage LibjpegDecode(const QByteArray& bytes) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    QImage out(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return out;
}

// The reader this one replaced: Qt's plugin for the format, a conversion of
// formats nobody keeps, then the rule over the whole picture.
QImage PreviousOpen(const QByteArray& bytes, const char* format, bool keyed) {
    QByteArray data = QByteArray::fromRawData(bytes.constData(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    QImage img = reader.read();
    const QImage::Format f = img.format();
    if (!img.hasAlphaChannel() && f != QImage::Format_RGB32 && f != QImage::Format_Indexed8)
        img = img.convertToFormat(QImage::Format_RGB32);
    return ApplyAlphaRule(std::move(img), keyed);
}

struct TBaselines {
    double Library = 0, Previous = 0;
};
TBaselines png, jpeg;

void PngLibraryDecode(benchmark::State& state) {
    png.Library =
        CpuTimeLoop(state, [] { benchmark::DoNotOptimize(LibpngDecode(PngBytes()).constBits()); });
}
void PngPreviousReader(benchmark::State& state) {
    png.Previous = CpuTimeLoop(
        state, [] { benchmark::DoNotOptimize(PreviousOpen(PngBytes(), "png", true).constBits()); });
    Ratio(state, "x_decode", png.Previous, png.Library);
}
void PngIntoSlot(benchmark::State& state, bool keyed) {
    const double s = CpuTimeLoop(state, [keyed] {
        benchmark::DoNotOptimize(DecodeSlotPicture(PngBytes(), keyed).Image.constBits());
    });
    Ratio(state, "x_decode", s, png.Library);
    Ratio(state, "x_previous", s, png.Previous);
}
void PngIntoKeyedSlot(benchmark::State& state) {
    PngIntoSlot(state, true);
}
void PngIntoImageSlot(benchmark::State& state) {
    PngIntoSlot(state, false);
}

void JpegLibraryDecode(benchmark::State& state) {
    jpeg.Library = CpuTimeLoop(
        state, [] { benchmark::DoNotOptimize(LibjpegDecode(JpegBytes()).constBits()); });
}
void JpegPreviousReader(benchmark::State& state) {
    jpeg.Previous = CpuTimeLoop(state, [] {
        benchmark::DoNotOptimize(PreviousOpen(JpegBytes(), "jpeg", false).constBits());
    });
    Ratio(state, "x_decode", jpeg.Previous, jpeg.Library);
}
void JpegIntoSlot(benchmark::State& state) {
    const double s = CpuTimeLoop(state, [] {
        benchmark::DoNotOptimize(DecodeSlotPicture(JpegBytes(), false).Image.constBits());
    });
    Ratio(state, "x_decode", s, jpeg.Library);
    Ratio(state, "x_previous", s, jpeg.Previous);
}

} // namespace

BENCHMARK(PngLibraryDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(PngPreviousReader)->Unit(benchmark::kMillisecond);
BENCHMARK(PngIntoKeyedSlot)->Unit(benchmark::kMillisecond);
BENCHMARK(PngIntoImageSlot)->Unit(benchmark::kMillisecond);
BENCHMARK(JpegLibraryDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(JpegPreviousReader)->Unit(benchmark::kMillisecond);
BENCHMARK(JpegIntoSlot)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    PngBytes(); // made before the first measurement
    JpegBytes();
    benchmark::RunSpecifiedBenchmarks();
    std::printf("PNG: 2048 x 2048 RGBA, %.1f MB; JPEG: 4000 x 3000, %.1f MB\n"
                "x_decode = processor time of opening into a slot / the library's own "
                "decode alone; x_previous = the same / the previous reader (Qt's plugin, "
                "then the rule)\n",
                double(PngBytes().size()) / 1e6, double(JpegBytes().size()) / 1e6);
    benchmark::Shutdown();
    return 0;
}
