#include "picture_decoders.h"

#include <cstdio> // jpeglib.h needs FILE
#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <memory>

// libjpeg-turbo reads the file through a source that asks the input for
// more as it decodes; a file that ends early is an error, never padded with
// an invented end. Any warning (corrupt data, a bad restart) refuses the
// file, and so do more scans than any encoder writes: each scan of a
// progressive file revisits the whole picture.

namespace {

constexpr int MostScans = 100;
constexpr size_t SourceBuffer = 64 * 1024;

struct TJpegRead {
    jpeg_decompress_struct Info{};
    jpeg_error_mgr Errors{};
    jpeg_source_mgr Source{};
    jpeg_progress_mgr Progress{};
    std::jmp_buf Jump;
    TPictureInput* Input = nullptr;
    JOCTET Buffer[SourceBuffer];
    bool OutOfMemory = false;
    QImage Picture;
    QString Refusal;
};

TJpegRead& Of(j_common_ptr info) {
    return *static_cast<TJpegRead*>(info->client_data);
}

[[noreturn]] void Stop(j_common_ptr info) {
    TJpegRead& r = Of(info);
    r.OutOfMemory = r.OutOfMemory || info->err->msg_code == JERR_OUT_OF_MEMORY;
    std::longjmp(r.Jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
    if (level < 0) Stop(info); // a warning: the data is damaged somewhere
}

void Silent(j_common_ptr) {}

void CountScans(j_common_ptr info) {
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > MostScans) Stop(info);
}

void StartSource(j_decompress_ptr) {}

boolean FillSource(j_decompress_ptr info) {
    TJpegRead& r = Of(reinterpret_cast<j_common_ptr>(info));
    const qint64 got = r.Input->ReadSome(r.Buffer, qint64(SourceBuffer));
    if (got <= 0) Stop(reinterpret_cast<j_common_ptr>(info));
    r.Source.next_input_byte = r.Buffer;
    r.Source.bytes_in_buffer = size_t(got);
    return TRUE;
}

void SkipSource(j_decompress_ptr info, long count) {
    TJpegRead& r = Of(reinterpret_cast<j_common_ptr>(info));
    if (count <= 0) return;
    if (size_t(count) <= r.Source.bytes_in_buffer) {
        r.Source.next_input_byte += count;
        r.Source.bytes_in_buffer -= size_t(count);
        return;
    }
    r.Input->Skip(qint64(count) - qint64(r.Source.bytes_in_buffer));
    r.Source.bytes_in_buffer = 0;
}

void EndSource(j_decompress_ptr) {}

bool Decode(TJpegRead& r, TAlphaRule rule) {
    if (setjmp(r.Jump)) return false;
    j_decompress_ptr info = &r.Info;
    jpeg_read_header(info, TRUE);
    r.Refusal = RefusedPictureSize(info->image_width, info->image_height);
    if (!r.Refusal.isEmpty()) return false;
    // CMYK comes as it is and is turned into RGB here; every other colour
    // space straight into the picture's own byte order.
    const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    info->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    r.Picture = NewPicture(int(info->image_width), int(info->image_height), false, false, rule);
    if (r.Picture.isNull()) {
        r.OutOfMemory = true;
        return false;
    }
    jpeg_start_decompress(info);
    if (info->output_width != info->image_width || info->output_height != info->image_height ||
        info->output_components != 4)
        Stop(reinterpret_cast<j_common_ptr>(info));
    while (info->output_scanline < info->output_height) {
        JSAMPROW line = r.Picture.scanLine(int(info->output_scanline));
        if (jpeg_read_scanlines(info, &line, 1) != 1) Stop(reinterpret_cast<j_common_ptr>(info));
        if (cmyk) {
            // As Adobe writes it, inverted: the ink is what is left.
            QRgb* out = reinterpret_cast<QRgb*>(line);
            for (JDIMENSION x = 0; x < info->output_width; ++x) {
                const uchar* p = line + 4 * x;
                const int k = p[3];
                out[x] = qRgb(k * p[0] / 255, k * p[1] / 255, k * p[2] / 255);
            }
        }
    }
    return true;
}

} // namespace

TBitmapReadResult DecodeJpeg(TPictureInput& input, TAlphaRule rule) {
    auto r = std::make_unique<TJpegRead>();
    r->Input = &input;
    r->Info.err = jpeg_std_error(&r->Errors);
    r->Errors.error_exit = Stop;
    r->Errors.emit_message = OnMessage;
    r->Errors.output_message = Silent;
    r->Info.client_data = r.get();
    if (setjmp(r->Jump)) {
        jpeg_destroy_decompress(&r->Info);
        return {QImage(), r->OutOfMemory ? PictureOutOfMemoryText() : DamagedPictureText()};
    }
    jpeg_create_decompress(&r->Info);
    r->Source.init_source = StartSource;
    r->Source.fill_input_buffer = FillSource;
    r->Source.skip_input_data = SkipSource;
    r->Source.resync_to_restart = jpeg_resync_to_restart;
    r->Source.term_source = EndSource;
    r->Info.src = &r->Source;
    r->Progress.progress_monitor = CountScans;
    r->Info.progress = &r->Progress;
    const bool done = Decode(*r, rule);
    // Whatever follows the last row, its end marker included, is not read.
    jpeg_destroy_decompress(&r->Info);
    if (done) return {std::move(r->Picture), QString()};
    if (!r->Refusal.isEmpty()) return {QImage(), r->Refusal};
    return {QImage(), r->OutOfMemory ? PictureOutOfMemoryText() : DamagedPictureText()};
}
