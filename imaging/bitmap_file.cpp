#include "bitmap_file.h"

#include "file_errors.h"
#include "whole_file.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <new>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

// Qt's bitmap reader is the decoder, but it trusts the file: rows missing at
// the end and pixels an RLE stream skips come back as uninitialised memory,
// and 16-bit channels are widened by a plain shift (31 becomes 248, so the
// magenta key is lost). So every header and announced size is checked here
// first, RLE and 16-bit pixels are decoded here, and the rest goes to Qt.

namespace {

const QString NotValidText = QStringLiteral("Bitmap image is not valid.");
const QString ReadErrorText = QStringLiteral("Stream read error.");
const QString OutOfMemoryText = QStringLiteral("Out of memory.");
const QString TooManyPixelsText = QStringLiteral(
    "The picture is too large: at most 268,435,456 pixels (for example 16384 x 16384).");
const QString TooLargeText =
    QStringLiteral("The picture is too large for a skin file (at most 65535 x 65535 pixels).");

// The skin file keeps a picture's width and height in 16 bits.
constexpr qint64 MaxSkinPictureSide = 65535;

constexpr qint64 FileHeaderSize = 14;
constexpr int CompRgb = 0, CompRle8 = 1, CompRle4 = 2, CompBitfields = 3;

struct TBmpHeader {
    int InfoSize = 0;
    qint64 Width = 0, Height = 0; // Height is positive; TopDown says the row order
    bool TopDown = false;
    int BitCount = 0;
    int Compression = CompRgb;
    quint32 Masks[3] = {0x7C00, 0x03E0, 0x001F}; // red, green, blue
    QList<QRgb> Colors;
    qint64 DataStart = 0; // where the pixel rows (or the RLE stream) begin
};

struct TByteReader {
    QByteArrayView Bytes;
    quint32 U16(qint64 at) const {
        return quint32(quint8(Bytes[at])) | (quint32(quint8(Bytes[at + 1])) << 8);
    }
    quint32 U32(qint64 at) const { return U16(at) | (U16(at + 2) << 16); }
};

struct TParse {
    std::optional<TBmpHeader> Header;
    QString Error;
};

TParse Fail(const QString& text) {
    return {std::nullopt, text};
}

bool IsKnownInfoSize(quint32 size) {
    // Qt reads the core (12), Windows 3 (40), OS/2 2.x (64), V4 (108) and V5 (124) headers.
    return size == 12 || size == 40 || size == 64 || size == 108 || size == 124;
}

bool IsValidCompression(int bitCount, int comp, int infoSize) {
    if (comp == CompRgb) return true;
    if (comp == CompRle8) return bitCount == 8;
    if (comp == CompRle4) return bitCount == 4;
    // In an OS/2 2.x header the value 3 means Huffman coding, which nobody reads.
    if (comp == CompBitfields) return (bitCount == 16 || bitCount == 32) && infoSize != 64;
    return false;
}

TParse ParseHeader(QByteArrayView bytes) {
    const qint64 size = bytes.size();
    const TByteReader in{bytes};
    if (size == 0) return Fail(NotValidText);
    if (size < FileHeaderSize) return Fail(ReadErrorText);
    if (bytes[0] != 'B' || bytes[1] != 'M') return Fail(NotValidText);
    const quint32 offBits = in.U32(10);
    if (size < FileHeaderSize + 4) return Fail(ReadErrorText);
    const quint32 infoSize = in.U32(14);
    if (!IsKnownInfoSize(infoSize)) return Fail(NotValidText);
    if (size < FileHeaderSize + infoSize) return Fail(ReadErrorText);

    TBmpHeader h;
    h.InfoSize = int(infoSize);
    quint32 planes = 0, clrUsed = 0;
    if (infoSize == 12) {
        h.Width = qint16(in.U16(18));
        h.Height = qint16(in.U16(20));
        planes = in.U16(22);
        h.BitCount = int(in.U16(24));
    } else {
        h.Width = qint32(in.U32(18));
        h.Height = qint32(in.U32(22));
        planes = in.U16(26);
        h.BitCount = int(in.U16(28));
        h.Compression = int(in.U32(30));
        clrUsed = in.U32(46);
    }
    const int bits = h.BitCount;
    if (planes != 1 ||
        !(bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32))
        return Fail(NotValidText);
    if (!IsValidCompression(bits, h.Compression, h.InfoSize)) return Fail(NotValidText);
    if (h.Height < 0) {
        // Only uncompressed rows may be stored top-down.
        if (h.InfoSize == 12 || h.Compression == CompRle4 || h.Compression == CompRle8)
            return Fail(NotValidText);
        h.Height = -h.Height;
        h.TopDown = true;
    }
    if (h.Width <= 0 || h.Height <= 0) return Fail(NotValidText);

    qint64 tableStart = FileHeaderSize + infoSize;
    if (h.Compression == CompBitfields) {
        // A Windows 3 header keeps its masks after it; later versions inside it.
        const qint64 maskAt = infoSize == 40 ? tableStart : FileHeaderSize + 40;
        if (infoSize == 40) tableStart += 12;
        if (size < maskAt + 12) return Fail(ReadErrorText);
        for (int c = 0; c < 3; ++c)
            h.Masks[c] = in.U32(maskAt + 4 * c);
    }
    qint64 tableEnd = tableStart;
    if (bits <= 8) {
        const qint64 count = clrUsed ? qint64(clrUsed) : (qint64(1) << bits);
        if (count > 256) return Fail(NotValidText);
        const int entry = infoSize == 12 ? 3 : 4;
        tableEnd = tableStart + count * entry;
        if (size < tableEnd) return Fail(ReadErrorText);
        for (qint64 i = 0; i < count; ++i) {
            const qint64 at = tableStart + i * entry;
            h.Colors.append(qRgb(quint8(bytes[at + 2]), quint8(bytes[at + 1]), quint8(bytes[at])));
        }
    }
    // Qt starts at the announced offset unless it points back into the headers.
    h.DataStart = std::max<qint64>(offBits, tableEnd);
    if (h.DataStart > size) return Fail(ReadErrorText);
    return {h, QString()};
}

qint64 RowBytes(qint64 width, int bits) {
    return ((width * bits + 31) / 32) * 4;
}

qint64 pictureLimit = DefaultPictureLimitPixels;

bool FitsPictureLimit(const TBmpHeader& h) {
    return h.Width * h.Height <= pictureLimit;
}

// Qt's own check counts 4 bytes a pixel whatever the depth: it is raised so
// that it never refuses what ours allows, and never disagrees with it.
void RaiseQtLimitToOurs() {
    const qint64 mb = (pictureLimit * 4 + (qint64(1) << 20) - 1) >> 20;
    if (QImageReader::allocationLimit() < mb)
        QImageReader::setAllocationLimit(int(std::min<qint64>(mb, INT_MAX)));
}

// A channel mask must be one run of bits inside the pixel: anything else has
// no exact reading, and a guessed one would show a wrong picture.
bool IsPlainMask(quint32 mask, int bits) {
    if (bits < 32 && (mask >> bits) != 0) return false;
    if (mask == 0) return true;
    const quint32 low = mask & (~mask + 1); // lowest set bit
    const quint32 run = mask + low;         // carries through the run
    return (run & mask) == 0;
}

// Indices beyond the colour table would read as transparent black; give them
// opaque black entries, as Qt's own conversions do.
void PadColorTable(QImage& img) {
    int highest = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            highest = std::max(highest, img.pixelIndex(x, y));
    if (highest >= img.colorCount()) {
        QList<QRgb> table = img.colorTable();
        while (table.size() <= highest)
            table.append(qRgb(0, 0, 0));
        img.setColorTable(table);
    }
}

// RLE4/RLE8 into a zeroed 8-bit picture: pixels the stream skips with a
// delta, an early end of line or an early end of bitmap keep index 0.
TBitmapReadResult DecodeRle(QByteArrayView bytes, const TBmpHeader& h) {
    QImage img(int(h.Width), int(h.Height), QImage::Format_Indexed8);
    if (img.isNull()) return {QImage(), OutOfMemoryText};
    img.fill(0);
    img.setColorTable(h.Colors);
    const bool four = h.Compression == CompRle4;
    const qint64 end = bytes.size();
    qint64 at = h.DataStart;
    qint64 x = 0, row = 0; // row counts from the bottom
    auto put = [&](int index) {
        if (x < h.Width && row < h.Height) img.scanLine(int(h.Height - 1 - row))[x] = uchar(index);
        ++x;
    };
    while (row < h.Height) {
        if (at + 2 > end) return {QImage(), ReadErrorText};
        const int count = quint8(bytes[at]), value = quint8(bytes[at + 1]);
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(four ? ((i & 1) ? value & 0x0F : value >> 4) : value);
        } else if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (at + 2 > end) return {QImage(), ReadErrorText};
            x += quint8(bytes[at]);
            row += quint8(bytes[at + 1]);
            at += 2;
        } else {
            const qint64 dataBytes = four ? (value + 1) / 2 : value;
            const qint64 padded = (dataBytes + 1) & ~qint64(1);
            if (at + dataBytes > end) return {QImage(), ReadErrorText};
            for (int i = 0; i < value; ++i) {
                const int b = quint8(bytes[at + (four ? i / 2 : i)]);
                put(four ? ((i & 1) ? b & 0x0F : b >> 4) : b);
            }
            at = std::min(end, at + padded);
        }
    }
    PadColorTable(img);
    return {img, QString()};
}

// A channel of `mask` widened to 8 bits the way the skin file does it: the
// lowest value gives 0 and the highest 255.
struct TChannel {
    quint32 Mask = 0;
    int Shift = 0;
    quint32 Max = 0;
    explicit TChannel(quint32 mask) : Mask(mask) {
        if (!mask) return;
        while (!((mask >> Shift) & 1))
            ++Shift;
        Max = mask >> Shift;
    }
    int Widen(quint32 pixel) const {
        if (!Max) return 0;
        const quint32 v = (pixel & Mask) >> Shift;
        return int((quint64(v) * 255 + Max / 2) / Max);
    }
};

// 32-bit bit fields, each channel scaled to 8 bits; the alpha is dropped.
TBitmapReadResult Decode32(QByteArrayView bytes, const TBmpHeader& h) {
    QImage img(int(h.Width), int(h.Height), QImage::Format_RGB32);
    if (img.isNull()) return {QImage(), OutOfMemoryText};
    const TChannel red(h.Masks[0]), green(h.Masks[1]), blue(h.Masks[2]);
    const TByteReader in{bytes};
    const qint64 stride = RowBytes(h.Width, 32);
    for (qint64 r = 0; r < h.Height; ++r) {
        const int y = int(h.TopDown ? r : h.Height - 1 - r);
        const qint64 rowAt = h.DataStart + r * stride;
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (qint64 x = 0; x < h.Width; ++x) {
            const quint32 p = in.U32(rowAt + 4 * x);
            line[x] = qRgb(red.Widen(p), green.Widen(p), blue.Widen(p));
        }
    }
    return {img, QString()};
}

TBitmapReadResult Decode16(QByteArrayView bytes, const TBmpHeader& h) {
    const bool is555 = h.Masks[0] == 0x7C00 && h.Masks[1] == 0x03E0 && h.Masks[2] == 0x001F;
    const bool is565 = h.Masks[0] == 0xF800 && h.Masks[1] == 0x07E0 && h.Masks[2] == 0x001F;
    // 5-5-5 and 5-6-5 stay 16-bit in memory, as the file had them.
    const QImage::Format format = is555   ? QImage::Format_RGB555
                                  : is565 ? QImage::Format_RGB16
                                          : QImage::Format_RGB32;
    QImage img(int(h.Width), int(h.Height), format);
    if (img.isNull()) return {QImage(), OutOfMemoryText};
    const TChannel red(h.Masks[0]), green(h.Masks[1]), blue(h.Masks[2]);
    const TByteReader in{bytes};
    const qint64 stride = RowBytes(h.Width, 16);
    for (qint64 r = 0; r < h.Height; ++r) {
        const int y = int(h.TopDown ? r : h.Height - 1 - r);
        const qint64 rowAt = h.DataStart + r * stride;
        if (format == QImage::Format_RGB32) {
            QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (qint64 x = 0; x < h.Width; ++x) {
                const quint32 p = in.U16(rowAt + 2 * x);
                line[x] = qRgb(red.Widen(p), green.Widen(p), blue.Widen(p));
            }
        } else {
            quint16* line = reinterpret_cast<quint16*>(img.scanLine(y));
            for (qint64 x = 0; x < h.Width; ++x)
                line[x] = quint16(in.U16(rowAt + 2 * x));
        }
    }
    return {img, QString()};
}

TBitmapReadResult DecodeWithQt(QByteArrayView bytes, const TBmpHeader& h) {
    RaiseQtLimitToOurs();
    QImage img;
    if (!img.loadFromData(bytes, "BMP") || img.size() != QSize(int(h.Width), int(h.Height))) {
        // Qt says no more than that it failed: a picture of this size that
        // cannot be had now is a lack of memory, not a damaged file.
        const QImage room(int(h.Width), int(h.Height),
                          h.BitCount == 1   ? QImage::Format_Mono
                          : h.BitCount <= 8 ? QImage::Format_Indexed8
                                            : QImage::Format_RGB32);
        return {QImage(), room.isNull() ? OutOfMemoryText : NotValidText};
    }
    // The alpha of 32-bit files is dropped: the skin file has none, and a
    // magenta pixel must compare equal to the opaque key.
    if (img.hasAlphaChannel()) img = img.convertToFormat(QImage::Format_RGB32);
    if (img.format() == QImage::Format_Indexed8 || img.format() == QImage::Format_Mono)
        PadColorTable(img);
    return {img, QString()};
}

// A 16-bit picture written as it is held; a null picture as a 0 x 0 header.
QByteArray EncodeDirect(const QImage& picture) {
    const bool rgb16 = picture.format() == QImage::Format_RGB16;
    const int bits = picture.isNull() ? 24 : 16;
    const quint32 w = quint32(picture.width()), h = quint32(picture.height());
    const quint32 stride = quint32(RowBytes(w, bits));
    const quint32 infoSize = 40, masks = rgb16 ? 12 : 0;
    const quint32 offBits = quint32(FileHeaderSize) + infoSize + masks;
    QByteArray out;
    auto u16 = [&](quint32 v) {
        out.append(char(v & 0xFF));
        out.append(char((v >> 8) & 0xFF));
    };
    auto u32 = [&](quint32 v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    out.append("BM");
    u32(offBits + stride * h);
    u32(0);
    u32(offBits);
    u32(infoSize);
    u32(w);
    u32(h);
    u16(1);
    u16(quint32(bits));
    u32(rgb16 ? CompBitfields : CompRgb);
    u32(stride * h);
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    if (rgb16) {
        u32(0xF800);
        u32(0x07E0);
        u32(0x001F);
    }
    for (int y = int(h) - 1; y >= 0; --y) {
        const quint16* line = reinterpret_cast<const quint16*>(picture.constScanLine(y));
        for (quint32 x = 0; x < w; ++x)
            u16(line[x]);
        for (quint32 pad = w * 2; pad < stride; ++pad)
            out.append('\0');
    }
    return out;
}

QString CannotCreate(const QString& path, const QString& cause) {
    return QStringLiteral("Cannot create file \"%1\". %2.").arg(path, cause);
}

} // namespace

QString PictureTooLargeText() {
    return TooManyPixelsText;
}

void SetPictureLimitPixels(qint64 pixels) {
    pictureLimit = pixels;
}

qint64 PictureLimitPixels() {
    return pictureLimit;
}

TBitmapReadResult DecodeBitmap(QByteArrayView bytes) {
    const TParse parse = ParseHeader(bytes);
    if (!parse.Header) return {QImage(), parse.Error};
    const TBmpHeader& h = *parse.Header;
    // A wider or taller picture would come back from a save as another one.
    if (h.Width > MaxSkinPictureSide || h.Height > MaxSkinPictureSide)
        return {QImage(), TooLargeText};
    const bool rle = h.Compression == CompRle4 || h.Compression == CompRle8;
    // A file too short for the rows it announces is damaged, whatever their size.
    if (!rle && h.DataStart + RowBytes(h.Width, h.BitCount) * h.Height > bytes.size())
        return {QImage(), ReadErrorText};
    if (!FitsPictureLimit(h)) return {QImage(), TooManyPixelsText};
    try {
        if (rle) return DecodeRle(bytes, h);
        if (h.Compression == CompBitfields) {
            for (quint32 mask : h.Masks)
                if (!IsPlainMask(mask, h.BitCount)) return {QImage(), NotValidText};
            if (h.BitCount == 32) return Decode32(bytes, h);
        }
        if (h.BitCount == 16) return Decode16(bytes, h);
        return DecodeWithQt(bytes, h);
    } catch (const std::bad_alloc&) {
        return {QImage(), OutOfMemoryText};
    }
}

namespace {

TBitmapReadResult DecodeRead(const TFileRead& read, const QString& path) {
    if (!read.Error.isEmpty())
        return {QImage(), QStringLiteral("Cannot open file \"%1\". %2.").arg(path, read.Error)};
    return DecodeBitmap(read.Bytes);
}

} // namespace

TFileRead ReadBitmapStream(int fd, QByteArray head) {
    TFileRead read;
    read.Bytes = std::move(head);
    bool ended = false;
    const auto readTo = [&](qint64 want) {
        while (!ended && read.Error.isEmpty() && read.Bytes.size() < want) {
            const qsizetype filled = read.Bytes.size();
            const qsizetype room = qsizetype(
                std::min<qint64>(want, filled + std::clamp<qint64>(filled, 4096, 1 << 20)));
            read.Bytes.resize(room);
            const ssize_t got = ::read(fd, read.Bytes.data() + filled, std::size_t(room - filled));
            read.Bytes.truncate(filled + std::max<ssize_t>(got, 0));
            if (got < 0 && errno != EINTR) read.Error = FileErrorText(errno);
            ended = got == 0;
        }
    };
    // Every header, the masks and the largest colour table.
    constexpr qint64 MostHeaders = FileHeaderSize + 124 + 12 + 256 * 4;
    readTo(MostHeaders);
    TParse parse = ParseHeader(read.Bytes);
    if (!parse.Header && parse.Error == ReadErrorText && read.Bytes.size() >= MostHeaders) {
        // Rows that start further on, though not beyond what the largest picture needs.
        const qint64 start = TByteReader{read.Bytes}.U32(10);
        if (start <= MostHeaders + pictureLimit * 4) readTo(start);
        parse = ParseHeader(read.Bytes);
    }
    if (!read.Error.isEmpty() || !parse.Header) return read; // the decoder names the problem
    const TBmpHeader& h = *parse.Header;
    if (h.Width > MaxSkinPictureSide || h.Height > MaxSkinPictureSide || !FitsPictureLimit(h))
        return read;
    // An RLE stream takes at most 2 bytes a pixel and an end for every row.
    const bool rle = h.Compression == CompRle4 || h.Compression == CompRle8;
    readTo(h.DataStart + (rle ? 2 * h.Width * h.Height + 2 * h.Height + 2
                              : RowBytes(h.Width, h.BitCount) * h.Height));
    return read;
}

TBitmapReadResult ReadBitmapFile(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    const int fd = native.isEmpty() ? -1 : ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return DecodeRead({{}, FileErrorText(native.isEmpty() ? ENOENT : errno)}, path);
    TBitmapReadResult result;
    if (QString refused = InterruptedSaveError(path); !refused.isEmpty())
        result = DecodeRead({{}, refused}, path);
    else
        result = ReadBitmapDescriptor(fd, path);
    ::close(fd);
    return result;
}

TBitmapReadResult ReadBitmapDescriptor(int fd, const QString& path) {
    try {
        struct stat st {};
        if (::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
            return DecodeRead(ReadBitmapStream(fd), path);
        return DecodeRead(ReadWholeDescriptor(fd), path);
    } catch (const std::bad_alloc&) {
        return {QImage(), OutOfMemoryText};
    }
}

QString WriteBitmapFile(const QImage& picture, const QString& path) {
    QByteArray bytes;
    const QImage::Format format = picture.format();
    if (picture.isNull() || format == QImage::Format_RGB555 || format == QImage::Format_RGB16) {
        bytes = EncodeDirect(picture);
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!picture.save(&buffer, "BMP"))
            return CannotCreate(path, QStringLiteral("Out of memory"));
    }
    const QString error = WriteWholeFile(path, bytes);
    return error.isEmpty() ? error : CannotCreate(path, error);
}
