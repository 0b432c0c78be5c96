#include "picture_bytes.h"

#include <algorithm>
#include <cstdio> // jpeglib.h needs FILE
#include <cstdlib>
#include <jpeglib.h>
#include <vector>
#include <webp/encode.h>
#include <webp/mux.h>

namespace {

void Put16(QByteArray& out, quint32 v) {
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

void Put32(QByteArray& out, quint32 v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutBig32(QByteArray& out, quint32 v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((v >> shift) & 0xFF));
}

quint32 Crc32(QByteArrayView bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void PngChunk(QByteArray& out, const char* type, const QByteArray& data) {
    PutBig32(out, quint32(data.size()));
    const QByteArray typed = QByteArray(type, 4) + data;
    out += typed;
    PutBig32(out, Crc32(typed));
}

// LZW codes of one width only: a clear code before the table would grow.
QByteArray GifLzw(const QByteArray& indices, int minCodeSize) {
    const int clear = 1 << minCodeSize, end = clear + 1, width = minCodeSize + 1;
    QByteArray packed;
    quint32 bits = 0;
    int count = 0;
    const auto putCode = [&](int code) {
        bits |= quint32(code) << count;
        count += width;
        while (count >= 8) {
            packed.append(char(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    };
    int sinceClear = 0;
    putCode(clear);
    for (char index : indices) {
        if (sinceClear == clear - 2) {
            putCode(clear);
            sinceClear = 0;
        }
        putCode(quint8(index));
        ++sinceClear;
    }
    putCode(end);
    if (count > 0) packed.append(char(bits & 0xFF));
    QByteArray blocks;
    blocks.append(char(minCodeSize));
    for (qsizetype at = 0; at < packed.size(); at += 255) {
        const QByteArray block = packed.mid(at, 255);
        blocks.append(char(block.size()));
        blocks += block;
    }
    blocks.append('\0');
    return blocks;
}

} // namespace

QByteArray GifFile(int width, int height, const QList<QRgb>& palette, int transparentIndex,
                   const QList<QByteArray>& frames) {
    int tableBits = 1;
    while ((1 << tableBits) < palette.size())
        ++tableBits;
    QByteArray out("GIF89a");
    Put16(out, quint32(width));
    Put16(out, quint32(height));
    out.append(char(0x80 | 0x70 | (tableBits - 1)));
    out.append('\0');
    out.append('\0');
    for (int i = 0; i < (1 << tableBits); ++i) {
        const QRgb c = palette.value(i);
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    QByteArray coded, codes;
    for (const QByteArray& frame : frames) {
        out.append("\x21\xF9\x04", 3);
        out.append(char(transparentIndex >= 0 ? 0x09 : 0x08)); // restore to background
        Put16(out, 1);
        out.append(char(transparentIndex >= 0 ? transparentIndex : 0));
        out.append('\0');
        out.append('\x2C');
        Put16(out, 0);
        Put16(out, 0);
        Put16(out, quint32(width));
        Put16(out, quint32(height));
        out.append('\0');
        // Frames alike are coded once: a thousand of them cost one.
        if (codes.isEmpty() || frame != coded) {
            coded = frame;
            codes = GifLzw(frame, std::max(2, tableBits));
        }
        out += codes;
    }
    out.append('\x3B');
    return out;
}

QByteArray PngFile(int width, int height, int depth, int colourType, const QByteArray& rows,
                   const QList<TPngChunk>& before, const QList<TPngChunk>& after, int interlace) {
    QByteArray out("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    PutBig32(header, quint32(width));
    PutBig32(header, quint32(height));
    header.append(char(depth));
    header.append(char(colourType));
    header.append('\0'); // deflate
    header.append('\0'); // adaptive filters
    header.append(char(interlace));
    PngChunk(out, "IHDR", header);
    for (const TPngChunk& c : before)
        PngChunk(out, c.Type.constData(), c.Data);
    PngChunk(out, "IDAT", qCompress(rows, 9).mid(4)); // qCompress puts the length first
    for (const TPngChunk& c : after)
        PngChunk(out, c.Type.constData(), c.Data);
    PngChunk(out, "IEND", {});
    return out;
}

QByteArray ZeroPng(int width, int height, int rows) {
    const QByteArray raw(qsizetype(std::max(rows, 1)) * (1 + qsizetype(width) * 4), '\0');
    return PngFile(width, height, 8, 6, raw);
}

namespace {

// libjpeg into memory; an error in a test's own picture ends the test run.
struct TJpegWriter {
    jpeg_compress_struct Info{};
    jpeg_error_mgr Errors{};
    unsigned char* Bytes = nullptr;
    unsigned long Size = 0;
    TJpegWriter() {
        Info.err = jpeg_std_error(&Errors);
        jpeg_create_compress(&Info);
        jpeg_mem_dest(&Info, &Bytes, &Size);
    }
    ~TJpegWriter() {
        jpeg_destroy_compress(&Info);
        std::free(Bytes);
    }
    QByteArray Written() const {
        return QByteArray(reinterpret_cast<const char*>(Bytes), qsizetype(Size));
    }
};

} // namespace

QByteArray JpegFile(const QImage& picture, int quality) {
    const bool grey = picture.format() == QImage::Format_Grayscale8;
    const QImage rows = grey ? picture : picture.convertToFormat(QImage::Format_RGB888);
    TJpegWriter w;
    w.Info.image_width = JDIMENSION(rows.width());
    w.Info.image_height = JDIMENSION(rows.height());
    w.Info.input_components = grey ? 1 : 3;
    w.Info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&w.Info);
    jpeg_set_quality(&w.Info, quality, TRUE);
    jpeg_start_compress(&w.Info, TRUE);
    while (w.Info.next_scanline < w.Info.image_height) {
        JSAMPROW row = const_cast<uchar*>(rows.constScanLine(int(w.Info.next_scanline)));
        jpeg_write_scanlines(&w.Info, &row, 1);
    }
    jpeg_finish_compress(&w.Info);
    return w.Written();
}

QByteArray ProgressiveJpeg(int width, int height, int scans) {
    QImage picture(width, height, QImage::Format_Grayscale8);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.scanLine(y)[x] = uchar((x * 7 + y * 13) & 0xFF);
    // The DC, each AC coefficient's first scan at half precision, then the
    // refining scans, as many as asked for.
    std::vector<jpeg_scan_info> script;
    script.push_back({1, {0, 0, 0, 0}, 0, 0, 0, 0});
    for (int k = 1; k <= 63 && int(script.size()) < scans; ++k)
        script.push_back({1, {0, 0, 0, 0}, k, k, 0, 1});
    for (int k = 1; k <= 63 && int(script.size()) < scans; ++k)
        script.push_back({1, {0, 0, 0, 0}, k, k, 1, 0});
    TJpegWriter w;
    w.Info.image_width = JDIMENSION(width);
    w.Info.image_height = JDIMENSION(height);
    w.Info.input_components = 1;
    w.Info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&w.Info);
    w.Info.scan_info = script.data();
    w.Info.num_scans = int(script.size());
    jpeg_start_compress(&w.Info, TRUE);
    while (w.Info.next_scanline < w.Info.image_height) {
        JSAMPROW row = picture.scanLine(int(w.Info.next_scanline));
        jpeg_write_scanlines(&w.Info, &row, 1);
    }
    jpeg_finish_compress(&w.Info);
    QByteArray out = w.Written();
    if (scans > int(script.size())) {
        // The last scan (from its marker to the end marker) again and again.
        const qsizetype last = out.lastIndexOf("\xFF\xDA");
        const QByteArray scan = out.mid(last, out.size() - 2 - last);
        QByteArray more;
        more.reserve(scan.size() * (scans - qsizetype(script.size())));
        for (int i = int(script.size()); i < scans; ++i)
            more += scan;
        out.insert(out.size() - 2, more);
    }
    return out;
}

namespace {

// An uncompressed grey (1 sample) or RGB (3) TIFF whose pages all share
// one strip of samples.
QByteArray PlainTiff(int width, int height, int bits, int samplesPerPixel, const QByteArray& strip,
                     int pages) {
    QByteArray out("II*\0", 4);
    const quint32 stripAt = 8, stripBytes = quint32(strip.size());
    Put32(out, stripAt + stripBytes); // the first page's directory follows the strip
    out += strip;
    const struct {
        quint16 Tag, Type;
        quint32 Value;
    } entries[] = {
        {256, 4, quint32(width)},
        {257, 4, quint32(height)},
        {258, 3, quint32(bits)},
        {259, 3, 1},
        {262, 3, samplesPerPixel == 3 ? 2u : 1u},
        {273, 4, stripAt},
        {277, 3, quint32(samplesPerPixel)},
        {278, 4, quint32(height)},
        {279, 4, stripBytes},
    };
    const quint32 directorySize = 2 + 9 * 12 + 4;
    for (int page = 0; page < pages; ++page) {
        const quint32 at = quint32(out.size());
        Put16(out, 9);
        for (const auto& e : entries) {
            Put16(out, e.Tag);
            Put16(out, e.Type);
            Put32(out, 1);
            if (e.Type == 3) {
                Put16(out, e.Value);
                Put16(out, 0);
            } else {
                Put32(out, e.Value);
            }
        }
        Put32(out, page + 1 < pages ? at + directorySize : 0);
    }
    return out;
}

} // namespace

QByteArray GreyTiffPages(int width, int height, int pages) {
    return PlainTiff(width, height, 8, 1, QByteArray(qsizetype(width) * height, char(0x80)), pages);
}

QByteArray Tiff16(int width, int height, int samplesPerPixel, const QList<quint16>& samples) {
    QByteArray strip;
    for (const quint16 v : samples)
        Put16(strip, v);
    return PlainTiff(width, height, 16, samplesPerPixel, strip, 1);
}

QByteArray AnimatedWebp(const QList<QImage>& frames) {
    const QSize size = frames.value(0).size();
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options)) return {};
    WebPAnimEncoder* encoder = WebPAnimEncoderNew(size.width(), size.height(), &options);
    if (!encoder) return {};
    int timestamp = 0;
    for (const QImage& frame : frames) {
        WebPConfig config;
        WebPConfigInit(&config);
        config.lossless = 1;
        config.exact = 1;
        WebPPicture picture;
        WebPPictureInit(&picture);
        picture.use_argb = 1;
        picture.width = size.width();
        picture.height = size.height();
        const QImage argb = frame.convertToFormat(QImage::Format_ARGB32);
        WebPPictureImportBGRA(&picture, argb.constBits(), int(argb.bytesPerLine()));
        WebPAnimEncoderAdd(encoder, &picture, timestamp, &config);
        WebPPictureFree(&picture);
        timestamp += 100;
    }
    WebPAnimEncoderAdd(encoder, nullptr, timestamp, nullptr);
    WebPData data;
    WebPDataInit(&data);
    WebPAnimEncoderAssemble(encoder, &data);
    const QByteArray out(reinterpret_cast<const char*>(data.bytes), qsizetype(data.size));
    WebPDataClear(&data);
    WebPAnimEncoderDelete(encoder);
    return out;
}
