#include "picture_decoders.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <cstring>
#include <memory>

// The file's chunks are walked here: metadata and profiles are passed over
// unread, and reading stops with the picture. A still picture streams into
// libwebp's incremental decoder, a row at a time coming out; an animation is
// cut at its first frame, which WebPDemux finds and libwebp decodes onto
// the transparent canvas.

namespace {

constexpr qint64 Piece = 64 * 1024;

quint32 Little32(const char* p) {
    return quint32(quint8(p[0])) | quint32(quint8(p[1])) << 8 | quint32(quint8(p[2])) << 16 |
           quint32(quint8(p[3])) << 24;
}

// Appends n bytes of the input, growing with what arrives rather than with
// what a size field claims.
bool Append(TPictureInput& input, QByteArray& held, qint64 n) {
    while (n > 0) {
        const qsizetype at = held.size();
        const qint64 take = std::min(n, Piece * 16);
        held.resize(at + qsizetype(take));
        const qint64 got = input.Read(held.data() + at, take);
        held.truncate(at + qsizetype(std::max<qint64>(got, 0)));
        if (got < take) return false;
        n -= got;
    }
    return true;
}

TBitmapReadResult Failed(VP8StatusCode status) {
    return {QImage(),
            status == VP8_STATUS_OUT_OF_MEMORY ? PictureOutOfMemoryText() : DamagedPictureText()};
}

void ApplyRuleToRows(QImage& picture, int from, int to, TAlphaRule rule) {
    for (int y = from; y < to; ++y)
        ApplyRuleToRow(reinterpret_cast<QRgb*>(picture.scanLine(y)), picture.width(), rule, false);
}

TBitmapReadResult DecodeStill(TPictureInput& input, const QByteArray& held, qint64 chunkLeft,
                              TAlphaRule rule) {
    // The size and alpha from the headers and the bitstream's first bytes.
    const QByteArray probe = held + input.Peek(64).toByteArray();
    WebPBitstreamFeatures features;
    const VP8StatusCode found = WebPGetFeatures(reinterpret_cast<const uint8_t*>(probe.constData()),
                                                size_t(probe.size()), &features);
    if (found != VP8_STATUS_OK) return Failed(found);
    if (const QString refusal = RefusedPictureSize(features.width, features.height);
        !refusal.isEmpty())
        return {QImage(), refusal};
    const bool alpha = features.has_alpha;
    QImage picture = NewPicture(features.width, features.height, alpha, false, rule);
    if (picture.isNull()) return {QImage(), PictureOutOfMemoryText()};

    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) return Failed(VP8_STATUS_INVALID_PARAM);
    config.output.colorspace = MODE_BGRA; // QImage's 32-bit byte order here
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = picture.bits();
    config.output.u.RGBA.stride = int(picture.bytesPerLine());
    config.output.u.RGBA.size = size_t(picture.sizeInBytes());
    const std::unique_ptr<WebPIDecoder, void (*)(WebPIDecoder*)> decoder(
        WebPIDecode(nullptr, 0, &config), WebPIDelete);
    if (!decoder) return {QImage(), PictureOutOfMemoryText()};

    int ruled = 0;
    const auto rowsDone = [&] {
        int last = 0;
        if (!WebPIDecGetRGB(decoder.get(), &last, nullptr, nullptr, nullptr)) return;
        if (alpha) ApplyRuleToRows(picture, ruled, last, rule);
        ruled = std::max(ruled, last);
    };
    VP8StatusCode status = WebPIAppend(decoder.get(), reinterpret_cast<const uint8_t*>(held.data()),
                                       size_t(held.size()));
    QByteArray piece(qsizetype(Piece), Qt::Uninitialized);
    while (status == VP8_STATUS_SUSPENDED && chunkLeft > 0) {
        const qint64 got = input.Read(piece.data(), std::min(chunkLeft, Piece));
        if (got <= 0) break;
        chunkLeft -= got;
        status = WebPIAppend(decoder.get(), reinterpret_cast<const uint8_t*>(piece.constData()),
                             size_t(got));
        rowsDone();
    }
    if (status != VP8_STATUS_OK)
        return Failed(status == VP8_STATUS_SUSPENDED ? VP8_STATUS_NOT_ENOUGH_DATA : status);
    rowsDone();
    if (ruled < picture.height()) return Failed(VP8_STATUS_NOT_ENOUGH_DATA);
    return {picture, QString()};
}

TBitmapReadResult DecodeFirstFrame(const QByteArray& held, TAlphaRule rule) {
    WebPData data{reinterpret_cast<const uint8_t*>(held.constData()), size_t(held.size())};
    WebPDemuxState state = WEBP_DEMUX_PARSING_HEADER;
    const std::unique_ptr<WebPDemuxer, void (*)(WebPDemuxer*)> demux(
        WebPDemuxPartial(&data, &state), WebPDemuxDelete);
    if (!demux || state == WEBP_DEMUX_PARSE_ERROR) return Failed(VP8_STATUS_BITSTREAM_ERROR);
    const quint32 width = WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH);
    const quint32 height = WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_HEIGHT);
    if (const QString refusal = RefusedPictureSize(width, height); !refusal.isEmpty())
        return {QImage(), refusal};
    WebPIterator frame;
    if (!WebPDemuxGetFrame(demux.get(), 1, &frame)) return Failed(VP8_STATUS_NOT_ENOUGH_DATA);
    const std::unique_ptr<WebPIterator, void (*)(WebPIterator*)> releasing(
        &frame, WebPDemuxReleaseIterator);
    if (!frame.complete || frame.x_offset + frame.width > int(width) ||
        frame.y_offset + frame.height > int(height))
        return Failed(VP8_STATUS_NOT_ENOUGH_DATA);

    QImage picture = NewPicture(int(width), int(height), true, false, rule);
    if (picture.isNull()) return {QImage(), PictureOutOfMemoryText()};
    // The canvas before its first frame is transparent, whatever the
    // picture's format says (fill() would make an RGB32 one opaque black).
    std::memset(picture.bits(), 0, std::size_t(picture.sizeInBytes()));
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) return Failed(VP8_STATUS_INVALID_PARAM);
    config.output.colorspace = MODE_BGRA;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = picture.scanLine(frame.y_offset) + qsizetype(frame.x_offset) * 4;
    config.output.u.RGBA.stride = int(picture.bytesPerLine());
    config.output.u.RGBA.size =
        size_t(picture.bytesPerLine()) * size_t(frame.height - 1) + size_t(frame.width) * 4;
    const VP8StatusCode status = WebPDecode(frame.fragment.bytes, frame.fragment.size, &config);
    if (status != VP8_STATUS_OK) return Failed(status);
    ApplyRuleToRows(picture, 0, picture.height(), rule);
    return {picture, QString()};
}

} // namespace

TBitmapReadResult DecodeWebp(TPictureInput& input, TAlphaRule rule) {
    QByteArray held;
    if (!Append(input, held, 12) || !held.startsWith("RIFF") || held.mid(8, 4) != "WEBP")
        return Failed(VP8_STATUS_NOT_ENOUGH_DATA);
    bool animated = false;
    // What a kept chunk may hold: its picture's data cannot be much more than
    // the canvas's pixels, and the headers are a few bytes.
    qint64 mostHeld = 64;
    for (;;) {
        char header[8];
        if (input.Read(header, 8) < 8) return Failed(VP8_STATUS_NOT_ENOUGH_DATA);
        const QByteArrayView type(header, 4);
        const qint64 size = Little32(header + 4), padded = size + (size & 1);
        if (type == "VP8 " || type == "VP8L") {
            if (animated) return Failed(VP8_STATUS_BITSTREAM_ERROR);
            held.append(header, 8);
            return DecodeStill(input, held, padded, rule);
        }
        if (type == "VP8X" || type == "ALPH" || type == "ANIM" || type == "ANMF") {
            const bool headers = type == "VP8X" || type == "ANIM";
            if (padded > (headers ? 64 : mostHeld)) return Failed(VP8_STATUS_BITSTREAM_ERROR);
            held.append(header, 8);
            if (!Append(input, held, padded)) return Failed(VP8_STATUS_NOT_ENOUGH_DATA);
            if (type == "VP8X" && size >= 10) {
                const char* flags = held.constData() + held.size() - padded;
                animated = flags[0] & 0x02;
                const qint64 width = 1 + (Little32(flags + 4) & 0xFFFFFF);
                const qint64 height = 1 + (Little32(flags + 6) >> 8);
                if (const QString refusal = RefusedPictureSize(width, height); !refusal.isEmpty())
                    return {QImage(), refusal};
                mostHeld = width * height * 4 + (qint64(1) << 20);
            }
            if (type == "ANMF") {
                if (!animated) return Failed(VP8_STATUS_BITSTREAM_ERROR);
                return DecodeFirstFrame(held, rule);
            }
            continue;
        }
        input.Skip(padded); // a profile, metadata, or a chunk nobody knows
    }
}
