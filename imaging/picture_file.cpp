#include "picture_file.h"

#include "file_errors.h"
#include "item_pictures.h"
#include "picture.h"
#include "picture_decoders.h"
#include "picture_input.h"
#include "whole_file.h"

#include <QBuffer>
#include <QFile>
#include <QHash>

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

// The format is decided here from the first bytes, never from the name, and
// each format goes to its own decoder; anything else is the bitmap reader's.

namespace {

const QString OutOfMemoryText = QStringLiteral("Out of memory.");
const QString DamagedText = QStringLiteral("The picture file is damaged or incomplete.");
const QString TooLargeForSkinText =
    QStringLiteral("The picture is too large for a skin file (at most 65535 x 65535 pixels).");

// The skin file keeps a picture's width and height in 16 bits.
constexpr qint64 MaxSkinPictureSide = 65535;

// Enough of a file's start to tell its format.
constexpr qint64 MagicBytes = 12;

bool StartsWith(QByteArrayView bytes, QByteArrayView magic, qsizetype at = 0) {
    return bytes.size() >= at + magic.size() && bytes.sliced(at, magic.size()) == magic;
}

using TDecoder = TBitmapReadResult (*)(TPictureInput&, TAlphaRule);

// The decoder of a file's content, or nullptr for a bitmap or for anything
// else, which the bitmap reader answers.
TDecoder DecoderOf(QByteArrayView bytes) {
    if (StartsWith(bytes, "\x89PNG\r\n\x1a\n")) return DecodePng;
    if (StartsWith(bytes, "\xff\xd8\xff")) return DecodeJpeg;
    if (StartsWith(bytes, "GIF87a") || StartsWith(bytes, "GIF89a")) return DecodeGif;
    if (StartsWith(bytes, "RIFF") && StartsWith(bytes, "WEBP", 8)) return DecodeWebp;
    if (StartsWith(bytes, QByteArrayView("II*\0", 4)) ||
        StartsWith(bytes, QByteArrayView("MM\0*", 4)))
        return DecodeTiff;
    return nullptr;
}

// The rule on a colour table: each entry is a pixel of its own.
QRgb RuleOf(QRgb p, bool keyed) {
    if (keyed) return qAlpha(p) < 128 ? TransparentKey : (p | 0xFF000000u);
    return qPremultiply(p) | 0xFF000000u;
}

QString CannotCreate(const QString& path, const QString& cause) {
    return QStringLiteral("Cannot create file \"%1\". %2.").arg(path, cause);
}

QString CannotOpen(const QString& path, const QString& cause) {
    return QStringLiteral("Cannot open file \"%1\". %2.").arg(path, cause);
}

TAlphaRule RuleFor(bool keyed) {
    return keyed ? TAlphaRule::Keyed : TAlphaRule::Opaque;
}

TBitmapReadResult Decoded(QByteArrayView bytes, TAlphaRule rule) {
    try {
        if (const TDecoder decoder = DecoderOf(bytes)) {
            TPictureInput input(bytes);
            return decoder(input, rule);
        }
        return DecodeBitmap(bytes); // a bitmap has no alpha: no rule to apply
    } catch (const std::bad_alloc&) {
        return {QImage(), OutOfMemoryText};
    }
}

TBitmapReadResult ReadDescriptor(int fd, const QString& path, TAlphaRule rule) {
    try {
        TPictureInput input(fd);
        if (input.Seekable())
            if (QString refused = InterruptedSaveError(fd); !refused.isEmpty())
                return {QImage(), CannotOpen(path, refused)};
        const TDecoder decoder = DecoderOf(input.Peek(MagicBytes));
        if (input.Failure()) return {QImage(), CannotOpen(path, FileErrorText(input.Failure()))};
        TBitmapReadResult read;
        if (decoder) {
            read = decoder(input, rule);
        } else {
            // Only as many bytes as the bitmap's headers say it needs.
            const TFileRead bytes = ReadBitmapStream(fd, input.Buffered().toByteArray());
            if (!bytes.Error.isEmpty()) return {QImage(), CannotOpen(path, bytes.Error)};
            read = DecodeBitmap(bytes.Bytes);
        }
        // A read that failed is named as such, whatever the decoder made of it.
        if (input.Failure()) return {QImage(), CannotOpen(path, FileErrorText(input.Failure()))};
        return read;
    } catch (const std::bad_alloc&) {
        return {QImage(), OutOfMemoryText};
    }
}

TBitmapReadResult ReadFile(const QString& path, TAlphaRule rule) {
    const QByteArray native = QFile::encodeName(path);
    const int fd = native.isEmpty() ? -1 : ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {QImage(), CannotOpen(path, FileErrorText(native.isEmpty() ? ENOENT : errno))};
    TBitmapReadResult result;
    if (QString refused = InterruptedSaveError(path); !refused.isEmpty())
        result.Error = CannotOpen(path, refused);
    else
        result = ReadDescriptor(fd, path, rule);
    ::close(fd);
    return result;
}

} // namespace

QString DamagedPictureText() {
    return DamagedText;
}

QString PictureOutOfMemoryText() {
    return OutOfMemoryText;
}

QString RefusedPictureSize(qint64 width, qint64 height) {
    if (width <= 0 || height <= 0) return DamagedText;
    // A wider or taller picture would come back from a save as another one.
    if (width > MaxSkinPictureSide || height > MaxSkinPictureSide) return TooLargeForSkinText;
    if (width * height > PictureLimitPixels()) return PictureTooLargeText();
    return QString();
}

QImage NewPicture(int width, int height, bool alpha, bool premultiplied, TAlphaRule rule) {
    // With a rule, every pixel ends opaque: the picture is RGB from the start.
    const QImage::Format format = !alpha || rule != TAlphaRule::Keep ? QImage::Format_RGB32
                                  : premultiplied ? QImage::Format_ARGB32_Premultiplied
                                                  : QImage::Format_ARGB32;
    return QImage(width, height, format);
}

void ApplyRuleToRow(QRgb* line, int w, TAlphaRule rule, bool premultiplied) {
    // Composed over black, a pixel is its premultiplied colour; keyed, its
    // own colour where it is shown. The common loops have no branch, so
    // they vectorise.
    if (rule == TAlphaRule::Keyed) {
        if (premultiplied) {
            for (int x = 0; x < w; ++x)
                line[x] = qAlpha(line[x]) < 128 ? TransparentKey
                                                : (qUnpremultiply(line[x]) | 0xFF000000u);
            return;
        }
        for (int x = 0; x < w; ++x) {
            const QRgb shown = QRgb(0) - QRgb(qAlpha(line[x]) >> 7); // all ones from 128
            line[x] = ((line[x] | 0xFF000000u) & shown) | (TransparentKey & ~shown);
        }
    } else if (rule == TAlphaRule::Opaque) {
        if (premultiplied) {
            for (int x = 0; x < w; ++x)
                line[x] |= 0xFF000000u;
            return;
        }
        for (int x = 0; x < w; ++x)
            line[x] = qPremultiply(line[x]) | 0xFF000000u;
    }
}

void ApplyRuleToTable(QImage& picture, TAlphaRule rule) {
    if (rule == TAlphaRule::Keep || !picture.hasAlphaChannel()) return;
    QList<QRgb> table = picture.colorTable();
    for (QRgb& entry : table)
        entry = RuleOf(entry, rule == TAlphaRule::Keyed);
    picture.setColorTable(table);
}

TBitmapReadResult DecodePicture(QByteArrayView bytes) {
    return Decoded(bytes, TAlphaRule::Keep);
}

TBitmapReadResult DecodeSlotPicture(QByteArrayView bytes, bool keyed) {
    return Decoded(bytes, RuleFor(keyed));
}

TBitmapReadResult ReadPictureFile(const QString& path) {
    return ReadFile(path, TAlphaRule::Keep);
}

TBitmapReadResult ReadPictureDescriptor(int fd, const QString& path) {
    return ReadDescriptor(fd, path, TAlphaRule::Keep);
}

QImage ApplyAlphaRule(QImage img, bool keyed) {
    if (!img.hasAlphaChannel()) return img;
    if (img.format() == QImage::Format_Indexed8 || img.format() == QImage::Format_Mono) {
        ApplyRuleToTable(img, RuleFor(keyed));
        return img;
    }
    // One pass, in place where the caller handed over the only copy.
    const bool premultiplied = img.format() == QImage::Format_ARGB32_Premultiplied;
    if (!premultiplied) img.convertTo(QImage::Format_ARGB32);
    if (img.isNull()) throw std::bad_alloc();
    for (int y = 0; y < img.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        if (!line) throw std::bad_alloc();
        ApplyRuleToRow(line, img.width(), RuleFor(keyed), premultiplied);
    }
    img.reinterpretAsFormat(QImage::Format_RGB32);
    return img;
}

void ApplyAlphaRuleToSlots(TSkinDocument& doc) {
    QHash<std::pair<qint64, bool>, QImage> done;
    const auto apply = [&done](TPicture& slot) {
        if (!slot.Image.hasAlphaChannel()) return;
        const std::pair<qint64, bool> key(slot.Image.cacheKey(), slot.Transparent);
        if (const auto it = done.constFind(key); it != done.constEnd()) {
            slot.Image = *it;
            return;
        }
        slot.Image = ApplyAlphaRule(std::move(slot.Image), slot.Transparent);
        done.insert(key, slot.Image);
    };
    ForEachItemPicture(doc, apply);
    apply(doc.Playlist.FolderIcon);
    apply(doc.Playlist.SongIcon);
}

TBitmapReadResult ReadSlotPicture(const QString& path, bool keyed) {
    return ReadFile(path, RuleFor(keyed));
}

QImage PictureForPng(const QImage& picture, bool keyed) {
    if (!keyed || picture.isNull()) return picture;
    if (picture.format() == QImage::Format_Indexed8 || picture.format() == QImage::Format_Mono) {
        QImage img = picture;
        QList<QRgb> table = img.colorTable();
        for (QRgb& entry : table)
            if ((entry | 0xFF000000u) == TransparentKey) entry = 0;
        img.setColorTable(table);
        return img;
    }
    QImage img = picture.convertToFormat(QImage::Format_ARGB32);
    if (img.isNull()) throw std::bad_alloc();
    for (int y = 0; y < img.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] | 0xFF000000u) == TransparentKey) line[x] = 0;
    }
    return img;
}

QString WritePictureFile(const QImage& picture, bool keyed, const QString& path) {
    if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return WriteBitmapFile(picture, path);
    if (picture.isNull())
        return CannotCreate(path,
                            QStringLiteral("A PNG file cannot hold a picture of 0 x 0 pixels"));
    QByteArray bytes;
    try {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!PictureForPng(picture, keyed).save(&buffer, "PNG"))
            return CannotCreate(path, QStringLiteral("Out of memory"));
    } catch (const std::bad_alloc&) {
        return CannotCreate(path, QStringLiteral("Out of memory"));
    }
    const QString error = WriteWholeFile(path, bytes);
    return error.isEmpty() ? error : CannotCreate(path, error);
}
