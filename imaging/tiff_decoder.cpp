#include "picture_decoders.h"

#include <tiffio.h>

#include <cstring>
#include <memory>

// libtiff reads the first directory only, through procedures that read the
// input where it asks (a pipe is held in memory first, up to what the
// largest picture could take). Its messages go to a handler of this handle:
// warnings are dropped, an error refuses the file. The common layouts are
// read here a row at a time; libtiff's RGBA interface gives every other
// photometric, depth and layout as 8-bit pixels, alpha premultiplied.

namespace {

// The most libtiff may ask for at once (a strip or a tile of the file):
// larger than any strip a writer makes, small beside the picture limit.
constexpr tmsize_t MostTiffAllocation = tmsize_t(256) << 20;

struct TTiffRead {
    TPictureInput* Input = nullptr;
    qint64 Position = 0;
    bool Error = false;
    bool OutOfMemory = false;
};

tmsize_t ReadProc(thandle_t handle, void* into, tmsize_t size) {
    TTiffRead& r = *static_cast<TTiffRead*>(handle);
    const qint64 got = r.Input->ReadAt(into, size, r.Position);
    r.Position += got;
    return tmsize_t(got);
}

tmsize_t WriteProc(thandle_t, void*, tmsize_t) {
    return -1;
}

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
    TTiffRead& r = *static_cast<TTiffRead*>(handle);
    qint64 base = 0;
    if (whence == SEEK_CUR) base = r.Position;
    if (whence == SEEK_END) base = r.Input->Size();
    const qint64 to = base + qint64(offset);
    if (to < 0) return toff_t(-1);
    r.Position = to;
    return toff_t(to);
}

int CloseProc(thandle_t) {
    return 0;
}

toff_t SizeProc(thandle_t handle) {
    return toff_t(static_cast<TTiffRead*>(handle)->Input->Size());
}

int MapProc(thandle_t, void**, toff_t*) {
    return 0;
}

void UnmapProc(thandle_t, void*, toff_t) {}

int OnError(TIFF*, void* handle, const char*, const char* format, va_list) {
    TTiffRead& r = *static_cast<TTiffRead*>(handle);
    r.Error = true;
    r.OutOfMemory = r.OutOfMemory || std::strstr(format, "Out of memory") ||
                    std::strstr(format, "ailed to allocate");
    return 1; // handled: nothing reaches the global handler
}

int OnWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

// Messages raised where no handle has its own handler yet go nowhere either.
void QuietGlobalHandlers() {
    static const bool done = [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
        return true;
    }();
    (void)done;
}

TBitmapReadResult Refused(const TTiffRead& r) {
    return {QImage(), r.OutOfMemory ? PictureOutOfMemoryText() : DamagedPictureText()};
}

// The layout most files have (grey or RGB, with or without alpha, 8 or 16
// bits, samples side by side in strips, top row first): read a row at a
// time, 16-bit samples by their high byte, the rule applied as each row
// arrives. Anything else goes through libtiff's RGBA interface.
struct TPlainLayout {
    bool Plain = false;
    bool Colour = false, Alpha = false, Premultiplied = false, WhiteIsZero = false;
    int Bits = 8, Samples = 1;
};

TPlainLayout PlainLayoutOf(TIFF* tiff) {
    TPlainLayout l;
    quint16 bits = 0, samples = 0, planar = 0, photometric = 0, format = 0, orientation = 0;
    quint16 extraCount = 0;
    quint16* extraTypes = nullptr;
    if (TIFFIsTiled(tiff) || !TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits) ||
        !TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples) ||
        !TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar) ||
        !TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric) ||
        !TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format) ||
        !TIFFGetFieldDefaulted(tiff, TIFFTAG_ORIENTATION, &orientation) ||
        !TIFFGetFieldDefaulted(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes))
        return l;
    l.Colour = photometric == PHOTOMETRIC_RGB;
    l.WhiteIsZero = photometric == PHOTOMETRIC_MINISWHITE;
    const int colours = l.Colour ? 3 : 1;
    l.Alpha = samples == colours + 1 && extraCount == 1;
    l.Premultiplied = l.Alpha && extraTypes[0] == EXTRASAMPLE_ASSOCALPHA;
    l.Bits = bits;
    l.Samples = samples;
    l.Plain = (bits == 8 || bits == 16) && planar == PLANARCONFIG_CONTIG &&
              format == SAMPLEFORMAT_UINT && orientation == ORIENTATION_TOPLEFT &&
              (l.Colour || l.WhiteIsZero || photometric == PHOTOMETRIC_MINISBLACK) &&
              (samples == colours || l.Alpha);
    return l;
}

bool ReadPlainRows(TIFF* tiff, const TPlainLayout& l, QImage& picture, TAlphaRule rule,
                   const TTiffRead& r) {
    const tmsize_t rowBytes = TIFFScanlineSize(tiff);
    const int width = picture.width();
    if (rowBytes < tmsize_t(width) * l.Samples * (l.Bits / 8)) return false;
    QByteArray row(qsizetype(rowBytes), Qt::Uninitialized);
    for (int y = 0; y < picture.height(); ++y) {
        if (TIFFReadScanline(tiff, row.data(), quint32(y), 0) < 0 || r.Error) return false;
        const auto sample = [&](int x, int s) -> uint {
            const qsizetype at = qsizetype(x) * l.Samples + s;
            if (l.Bits == 8) return uchar(row[at]);
            return reinterpret_cast<const quint16*>(row.constData())[at] >> 8;
        };
        QRgb* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            uint red = sample(x, 0), green = red, blue = red;
            if (l.Colour) {
                green = sample(x, 1);
                blue = sample(x, 2);
            } else if (l.WhiteIsZero) {
                red = green = blue = 255 - red;
            }
            const uint alpha = l.Alpha ? sample(x, l.Samples - 1) : 255;
            line[x] = qRgba(int(red), int(green), int(blue), int(alpha));
        }
        if (l.Alpha) ApplyRuleToRow(line, width, rule, l.Premultiplied);
    }
    return true;
}

} // namespace

TBitmapReadResult DecodeTiff(TPictureInput& input, TAlphaRule rule) {
    QuietGlobalHandlers();
    // A pipe has no way back: what libtiff will seek in is held first.
    QByteArray held;
    std::unique_ptr<TPictureInput> inMemory;
    TPictureInput* source = &input;
    if (!input.Seekable()) {
        const qint64 most = PictureLimitPixels() * 8 + (qint64(128) << 20);
        for (;;) {
            const qsizetype at = held.size();
            held.resize(at + (1 << 20));
            const qint64 got = input.Read(held.data() + at, 1 << 20);
            held.truncate(at + qsizetype(std::max<qint64>(got, 0)));
            if (got <= 0) break;
            if (held.size() > most) return {QImage(), PictureTooLargeText()};
        }
        inMemory = std::make_unique<TPictureInput>(QByteArrayView(held));
        source = inMemory.get();
    }

    TTiffRead r;
    r.Input = source;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) return {QImage(), PictureOutOfMemoryText()};
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, MostTiffAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, &r);
    TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, &r);
    // Read only, never mapped: the procedures above are the only way in.
    const std::unique_ptr<TIFF, void (*)(TIFF*)> tiff(
        TIFFClientOpenExt("picture", "rm", &r, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc,
                          MapProc, UnmapProc, options),
        TIFFClose);
    TIFFOpenOptionsFree(options);
    if (!tiff) return Refused(r);

    quint32 width = 0, height = 0;
    if (!TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height))
        return Refused(r);
    if (const QString refusal = RefusedPictureSize(width, height); !refusal.isEmpty())
        return {QImage(), refusal};
    if (const TPlainLayout plain = PlainLayoutOf(tiff.get()); plain.Plain) {
        QImage picture =
            NewPicture(int(width), int(height), plain.Alpha, plain.Premultiplied, rule);
        if (picture.isNull()) return {QImage(), PictureOutOfMemoryText()};
        if (!ReadPlainRows(tiff.get(), plain, picture, rule, r)) return Refused(r);
        return {picture, QString()};
    }
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tiff.get(), message)) return Refused(r);
    TIFFRGBAImage image;
    if (!TIFFRGBAImageBegin(&image, tiff.get(), 1, message)) return Refused(r);
    const std::unique_ptr<TIFFRGBAImage, void (*)(TIFFRGBAImage*)> ending(&image, TIFFRGBAImageEnd);
    image.req_orientation = ORIENTATION_TOPLEFT;
    const bool alpha = image.alpha != 0;
    QImage picture = NewPicture(int(width), int(height), alpha, true, rule);
    if (picture.isNull()) return {QImage(), PictureOutOfMemoryText()};
    // 32-bit rows have no padding: the picture is the raster libtiff fills.
    auto* raster = reinterpret_cast<uint32_t*>(picture.bits());
    if (!TIFFRGBAImageGet(&image, raster, width, height) || r.Error) return Refused(r);
    for (quint32 y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(picture.scanLine(int(y)));
        // libtiff packs red in the low byte, QImage blue.
        for (quint32 x = 0; x < width; ++x) {
            const quint32 p = line[x];
            line[x] = (p & 0xFF00FF00u) | (p & 0xFFu) << 16 | (p >> 16 & 0xFFu);
        }
        if (alpha) ApplyRuleToRow(line, int(width), rule, true);
    }
    return {picture, QString()};
}
