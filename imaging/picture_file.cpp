#include "picture_file.h"

#include "file_errors.h"
#include "item_pictures.h"
#include "picture.h"
#include "whole_file.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QImageReader>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

// Qt guesses a format from content and name when asked to, and it knows
// XPM, XBM, PBM, TGA and more: a text file would open as a picture. So the
// format is decided here from the first bytes, and Qt's reader is held to it.

namespace {

const QString NotValidText = QStringLiteral("Bitmap image is not valid.");
const QString OutOfMemoryText = QStringLiteral("Out of memory.");
const QString TooLargeText =
    QStringLiteral("The picture is too large for a skin file (at most 65535 x 65535 pixels).");

constexpr int MaxSkinPictureSide = 65535;

bool StartsWith(QByteArrayView bytes, QByteArrayView magic, qsizetype at = 0) {
    return bytes.size() >= at + magic.size() && bytes.sliced(at, magic.size()) == magic;
}

// The Qt format name of a file's content, or nullptr for a bitmap or for
// anything else, which the bitmap reader answers.
const char* FormatOf(QByteArrayView bytes) {
    if (StartsWith(bytes, "\x89PNG\r\n\x1a\n")) return "png";
    if (StartsWith(bytes, "\xff\xd8\xff")) return "jpeg";
    if (StartsWith(bytes, "GIF87a") || StartsWith(bytes, "GIF89a")) return "gif";
    if (StartsWith(bytes, "RIFF") && StartsWith(bytes, "WEBP", 8)) return "webp";
    if (StartsWith(bytes, QByteArrayView("II*\0", 4)) ||
        StartsWith(bytes, QByteArrayView("MM\0*", 4)))
        return "tiff";
    return nullptr;
}

// Formats that the alpha rule and the rest of the program take as they are.
bool IsKept(QImage::Format f) {
    return f == QImage::Format_Mono || f == QImage::Format_Indexed8 || f == QImage::Format_RGB32 ||
           f == QImage::Format_ARGB32 || f == QImage::Format_ARGB32_Premultiplied;
}

int BitsOf(QImage::Format f) {
    return f == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(f).bitsPerPixel();
}

// What decoding costs at most: the decoded picture, and the 32-bit copy
// that a format kept by nobody is turned into.
bool FitsCompressedLimit(QSize size, QImage::Format decoded) {
    const qint64 bits = BitsOf(decoded) + (IsKept(decoded) ? 0 : 32);
    return qint64(size.width()) * size.height() * bits <= CompressedPictureLimitBytes * 8;
}

// Paletted pictures keep their palette; every other format without alpha
// becomes 32-bit RGB, as a bitmap of that depth would.
QImage Normalised(QImage img) {
    if (img.format() == QImage::Format_MonoLSB) return img.convertToFormat(QImage::Format_Mono);
    if (img.hasAlphaChannel() || IsKept(img.format())) return img;
    return img.convertToFormat(QImage::Format_RGB32);
}

TBitmapReadResult DecodeWithReader(QByteArrayView bytes, const char* format) {
    // The reader only looks; the bytes outlive it.
    QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()) return {QImage(), NotValidText};
    if (size.width() > MaxSkinPictureSide || size.height() > MaxSkinPictureSide)
        return {QImage(), TooLargeText};
    if (qint64(size.width()) * size.height() > PictureLimitPixels() ||
        !FitsCompressedLimit(size, reader.imageFormat()))
        return {QImage(), OutOfMemoryText};
    // The first frame or page only: the others are never looked at.
    QImage img = reader.read();
    if (img.isNull()) {
        // Qt says no more than that it failed: a picture of this size that
        // cannot be had now is a lack of memory, not a damaged file.
        const QImage room(size, QImage::Format_RGB32);
        return {QImage(), room.isNull() ? OutOfMemoryText : NotValidText};
    }
    // A reader may give another size than its header said; the skin's limit holds still.
    if (img.width() > MaxSkinPictureSide || img.height() > MaxSkinPictureSide)
        return {QImage(), TooLargeText};
    img = Normalised(std::move(img));
    if (img.isNull()) return {QImage(), OutOfMemoryText};
    return {img, QString()};
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

// Enough of a file's start to tell its format.
constexpr qint64 MagicBytes = 12;
// A compressed picture within the decoding limit never needs more bytes
// than the limit and its headers; a stream that goes on is refused there.
constexpr qint64 StreamLimit = CompressedPictureLimitBytes + (qint64(1) << 20);

// Reads on from what is held until want bytes or the end, growing with what
// arrives, never with what is asked.
TFileRead ReadStreamUpTo(int fd, QByteArray held, qint64 want) {
    TFileRead read;
    read.Bytes = std::move(held);
    while (read.Bytes.size() < want) {
        const qsizetype filled = read.Bytes.size();
        const qsizetype room = qsizetype(
            std::min<qint64>(want, filled + std::clamp<qint64>(filled, 4096, qint64(1) << 20)));
        read.Bytes.resize(room);
        const ssize_t got = ::read(fd, read.Bytes.data() + filled, std::size_t(room - filled));
        read.Bytes.truncate(filled + std::max<ssize_t>(got, 0));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) read.Error = FileErrorText(errno);
        if (got <= 0) break;
    }
    return read;
}

} // namespace

TBitmapReadResult DecodePicture(QByteArrayView bytes) {
    const char* format = FormatOf(bytes);
    if (!format) return DecodeBitmap(bytes);
    try {
        return DecodeWithReader(bytes, format);
    } catch (const std::bad_alloc&) {
        return {QImage(), OutOfMemoryText};
    }
}

TBitmapReadResult ReadPictureFile(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    const int fd = native.isEmpty() ? -1 : ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {QImage(), CannotOpen(path, FileErrorText(native.isEmpty() ? ENOENT : errno))};
    TBitmapReadResult result;
    if (QString refused = InterruptedSaveError(path); !refused.isEmpty())
        result.Error = CannotOpen(path, refused);
    else
        result = ReadPictureDescriptor(fd, path);
    ::close(fd);
    return result;
}

TBitmapReadResult ReadPictureDescriptor(int fd, const QString& path) {
    try {
        struct stat st {};
        const bool stream = ::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
        TFileRead read;
        if (stream) {
            // A pipe or a device is judged as it arrives: its first bytes
            // name the format, and a bitmap reads only what its headers ask.
            read = ReadStreamUpTo(fd, {}, MagicBytes);
            if (read.Error.isEmpty())
                read = FormatOf(read.Bytes) ? ReadStreamUpTo(fd, std::move(read.Bytes), StreamLimit)
                                            : ReadBitmapStream(fd, std::move(read.Bytes));
            if (read.Error.isEmpty() && read.Bytes.size() >= StreamLimit)
                return {QImage(), OutOfMemoryText};
        } else {
            read = ReadWholeDescriptor(fd);
        }
        if (!read.Error.isEmpty()) return {QImage(), CannotOpen(path, read.Error)};
        return DecodePicture(read.Bytes);
    } catch (const std::bad_alloc&) {
        return {QImage(), OutOfMemoryText};
    }
}

QImage ApplyAlphaRule(QImage img, bool keyed) {
    if (!img.hasAlphaChannel()) return img;
    if (img.format() == QImage::Format_Indexed8 || img.format() == QImage::Format_Mono) {
        QList<QRgb> table = img.colorTable();
        for (QRgb& entry : table)
            entry = RuleOf(entry, keyed);
        img.setColorTable(table);
        return img;
    }
    // Composed over black, a pixel is its premultiplied colour; keyed, its
    // own colour where it is shown. One pass, in place where the caller
    // handed over the only copy; the loops have no branch, so they vectorise.
    const bool premultiplied = img.format() == QImage::Format_ARGB32_Premultiplied && !keyed;
    if (!premultiplied) img.convertTo(QImage::Format_ARGB32);
    if (img.isNull()) throw std::bad_alloc();
    for (int y = 0; y < img.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        if (!line) throw std::bad_alloc();
        const int w = img.width();
        if (keyed) {
            for (int x = 0; x < w; ++x) {
                const QRgb shown = QRgb(0) - QRgb(qAlpha(line[x]) >> 7); // all ones from 128
                line[x] = ((line[x] | 0xFF000000u) & shown) | (TransparentKey & ~shown);
            }
        } else if (premultiplied) {
            for (int x = 0; x < w; ++x)
                line[x] |= 0xFF000000u;
        } else {
            for (int x = 0; x < w; ++x)
                line[x] = qPremultiply(line[x]) | 0xFF000000u;
        }
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
    TBitmapReadResult read = ReadPictureFile(path);
    if (!read.Error.isEmpty()) return read;
    try {
        read.Image = ApplyAlphaRule(std::move(read.Image), keyed);
    } catch (const std::bad_alloc&) {
        return {QImage(), OutOfMemoryText};
    }
    return read;
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
