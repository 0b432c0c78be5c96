#include "picture_decoders.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

// libpng sees the file through a filter: ancillary chunks other than the
// transparency are passed over unread (so text, profiles and metadata cost
// nothing, whatever they claim), and once the image data ends it is told the
// file ends, so nothing after the picture is read. No gamma or profile is
// applied: the samples are taken as they are.

namespace {

// The end chunk, as libpng is shown it when the image data is over.
constexpr unsigned char EndChunk[] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};

struct TPngRead {
    TPictureInput* Input = nullptr;
    std::jmp_buf Jump;
    bool OutOfMemory = false;
    // The filter's state: signature bytes still to pass, bytes of the current
    // chunk still to pass, a chunk header read ahead, whether image data was seen.
    qint64 SignatureLeft = 8;
    qint64 ChunkLeft = 0;
    unsigned char Pending[12] = {};
    int PendingAt = 0, PendingSize = 0;
    bool SawImageData = false;
    bool Over = false;
};

quint32 Big32(const unsigned char* p) {
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
}

bool PassedToLibpng(const unsigned char* type) {
    // Critical chunks (an upper-case first letter) go on, known or not: an
    // unknown one is libpng's to refuse. Of the ancillary ones only tRNS.
    return (type[0] & 0x20) == 0 || std::memcmp(type, "tRNS", 4) == 0;
}

void Fail(png_structp png, const char* text) {
    png_error(png, text);
}

// Fills out with the next bytes libpng may see.
void Feed(png_structp png, png_bytep out, size_t length) {
    TPngRead& r = *static_cast<TPngRead*>(png_get_io_ptr(png));
    size_t done = 0;
    while (done < length) {
        if (r.PendingAt < r.PendingSize) {
            const size_t take =
                std::min<size_t>(length - done, size_t(r.PendingSize - r.PendingAt));
            std::memcpy(out + done, r.Pending + r.PendingAt, take);
            r.PendingAt += int(take);
            done += take;
            continue;
        }
        if (r.Over) Fail(png, "read past the end");
        qint64 pass = r.SignatureLeft > 0 ? r.SignatureLeft : r.ChunkLeft;
        if (pass > 0) {
            const qint64 want = std::min<qint64>(pass, qint64(length - done));
            const qint64 got = r.Input->Read(out + done, want);
            if (got < want) Fail(png, "the file ends early");
            if (r.SignatureLeft > 0)
                r.SignatureLeft -= got;
            else
                r.ChunkLeft -= got;
            done += size_t(got);
            continue;
        }
        // The next chunk's header: passed on, or its chunk passed over.
        unsigned char header[8];
        if (r.Input->Read(header, 8) < 8) Fail(png, "the file ends early");
        const quint32 size = Big32(header);
        const bool imageData = std::memcmp(header + 4, "IDAT", 4) == 0;
        if (r.SawImageData && !imageData) {
            std::memcpy(r.Pending, EndChunk, sizeof EndChunk);
            r.PendingAt = 0;
            r.PendingSize = sizeof EndChunk;
            r.Over = true;
            continue;
        }
        r.SawImageData = r.SawImageData || imageData;
        if (size > PNG_UINT_31_MAX || PassedToLibpng(header + 4)) {
            std::memcpy(r.Pending, header, 8);
            r.PendingAt = 0;
            r.PendingSize = 8;
            r.ChunkLeft = qint64(size) + 4; // the data and its CRC
        } else {
            r.Input->Skip(qint64(size) + 4);
        }
    }
}

[[noreturn]] void OnError(png_structp png, png_const_charp text) {
    TPngRead& r = *static_cast<TPngRead*>(png_get_error_ptr(png));
    r.OutOfMemory = r.OutOfMemory || (text && std::strstr(text, "memory"));
    std::longjmp(r.Jump, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Everything that may be left behind by a jump: no object with a destructor
// lives in the function that jumps back.
struct TPngState {
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    QImage Picture;
    QString Refusal;
};

bool Decode(TPngRead& r, TPngState& s, TAlphaRule rule) {
    if (setjmp(r.Jump)) return false;
    png_structp png = s.Png;
    png_infop info = s.Info;
    png_set_read_fn(png, &r, Feed);
    // A chunk that fails its check refuses the file, the transparency too.
    png_set_crc_action(png, PNG_CRC_ERROR_QUIT, PNG_CRC_ERROR_QUIT);
    // Limits on what libpng keeps by itself, beside the filter above.
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_set_chunk_cache_max(png, 16);
    png_set_chunk_malloc_max(png, 64 * 1024);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    static const png_byte dropped[] = "tEXt\0zTXt\0iTXt\0iCCP\0eXIf\0gAMA\0cHRM\0sRGB\0sBIT\0"
                                      "bKGD\0hIST\0pHYs\0sPLT\0tIME\0oFFs\0pCAL\0sCAL\0sTER";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, dropped, int(sizeof dropped / 5));
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int depth = 0, colourType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colourType, &interlace, nullptr, nullptr);
    s.Refusal = RefusedPictureSize(width, height);
    if (!s.Refusal.isEmpty()) return false;

    const bool paletted = colourType == PNG_COLOR_TYPE_PALETTE;
    bool alpha = false;
    if (paletted) {
        // The palette stays a palette, its transparency in its entries.
        if (depth < 8) png_set_packing(png);
        png_colorp colours = nullptr;
        int count = 0;
        png_get_PLTE(png, info, &colours, &count);
        png_bytep opacity = nullptr;
        int opacityCount = 0;
        if (png_get_valid(png, info, PNG_INFO_tRNS))
            png_get_tRNS(png, info, &opacity, &opacityCount, nullptr);
        s.Picture = QImage(int(width), int(height), QImage::Format_Indexed8);
        if (s.Picture.isNull()) {
            r.OutOfMemory = true;
            return false;
        }
        // Indices beyond the palette show opaque black, as in a bitmap.
        QList<QRgb> table(256, qRgb(0, 0, 0));
        for (int i = 0; i < count && i < 256; ++i)
            table[i] = qRgba(colours[i].red, colours[i].green, colours[i].blue,
                             i < opacityCount ? opacity[i] : 255);
        s.Picture.setColorTable(table);
    } else {
        // Grey and depths below 8 widened, a transparent colour made alpha
        // (compared at the file's depth), 16 bits cut to their high byte.
        alpha = (colourType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
        png_set_expand(png);
        png_set_strip_16(png);
        if (!(colourType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
        png_set_bgr(png);
        if (!alpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
        s.Picture = NewPicture(int(width), int(height), alpha, false, rule);
        if (s.Picture.isNull()) {
            r.OutOfMemory = true;
            return false;
        }
    }
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t(width) * (paletted ? 1 : 4))
        Fail(png, "unexpected row size");
    const bool ruleAsRowsArrive = alpha && passes == 1;
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < height; ++y) {
            uchar* line = s.Picture.scanLine(int(y));
            png_read_row(png, line, nullptr);
            if (ruleAsRowsArrive)
                ApplyRuleToRow(reinterpret_cast<QRgb*>(line), int(width), rule, false);
        }
    if (alpha && !ruleAsRowsArrive)
        for (png_uint_32 y = 0; y < height; ++y)
            ApplyRuleToRow(reinterpret_cast<QRgb*>(s.Picture.scanLine(int(y))), int(width), rule,
                           false);
    if (paletted) ApplyRuleToTable(s.Picture, rule);
    return true;
}

} // namespace

TBitmapReadResult DecodePng(TPictureInput& input, TAlphaRule rule) {
    TPngRead r;
    r.Input = &input;
    TPngState s;
    s.Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &r, OnError, OnWarning);
    if (s.Png) s.Info = png_create_info_struct(s.Png);
    if (!s.Png || !s.Info) {
        png_destroy_read_struct(s.Png ? &s.Png : nullptr, nullptr, nullptr);
        return {QImage(), PictureOutOfMemoryText()};
    }
    const bool done = Decode(r, s, rule);
    png_destroy_read_struct(&s.Png, &s.Info, nullptr);
    if (done) return {std::move(s.Picture), QString()};
    if (!s.Refusal.isEmpty()) return {QImage(), s.Refusal};
    return {QImage(), r.OutOfMemory ? PictureOutOfMemoryText() : DamagedPictureText()};
}
