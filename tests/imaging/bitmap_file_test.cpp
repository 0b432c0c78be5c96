#include "bitmap_file.h"
#include "picture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A bitmap file assembled field by field, so that damaged variants can be made.
struct TBmp {
    int InfoSize = 40;
    int Width = 1, Height = 1;
    int Planes = 1, BitCount = 24, Compression = 0;
    quint32 ClrUsed = 0;
    QByteArray Masks;   // after a 40-byte header, or inside a V4/V5 one
    QByteArray Palette; // entries as they stand in the file
    QByteArray Pixels;
    qint64 OffsetDelta = 0;

    QByteArray Bytes() const {
        QByteArray info;
        if (InfoSize == 12) {
            U32(info, 12);
            U16(info, quint32(Width));
            U16(info, quint32(Height));
            U16(info, quint32(Planes));
            U16(info, quint32(BitCount));
        } else {
            U32(info, quint32(InfoSize));
            U32(info, quint32(Width));
            U32(info, quint32(Height));
            U16(info, quint32(Planes));
            U16(info, quint32(BitCount));
            U32(info, quint32(Compression));
            U32(info, quint32(Pixels.size()));
            U32(info, 2835);
            U32(info, 2835);
            U32(info, ClrUsed);
            U32(info, 0);
            if (InfoSize > 40) info.append(Masks);
            info.append(QByteArray(InfoSize - info.size(), '\0'));
            if (InfoSize == 40) info.append(Masks);
        }
        const qint64 off = 14 + info.size() + Palette.size() + OffsetDelta;
        QByteArray out("BM");
        U32(out, quint32(off + Pixels.size()));
        U32(out, 0);
        U32(out, quint32(off));
        return out + info + Palette + Pixels;
    }
    static void U16(QByteArray& b, quint32 v) {
        b.append(char(v & 0xFF));
        b.append(char((v >> 8) & 0xFF));
    }
    static void U32(QByteArray& b, quint32 v) {
        U16(b, v & 0xFFFF);
        U16(b, v >> 16);
    }
};

QByteArray Gray16Palette() {
    QByteArray p;
    for (int i = 0; i < 16; ++i)
        TBmp::U32(p, quint32(i * 17) * 0x010101u);
    return p;
}

QImage Decoded(const QByteArray& bytes) {
    const TBitmapReadResult r = DecodeBitmap(bytes);
    EXPECT_EQ(r.Error, QString());
    return r.Image;
}

QString ErrorOf(const QByteArray& bytes) {
    return DecodeBitmap(bytes).Error;
}

QByteArray SavedByQt(const QImage& img) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(img.save(&buffer, "BMP"));
    return bytes;
}

void ExpectSamePixels(const QImage& a, const QImage& b) {
    ASSERT_EQ(a.size(), b.size());
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            ASSERT_EQ(a.pixel(x, y), b.pixel(x, y)) << x << "," << y;
}

const QString NotValid = QStringLiteral("Bitmap image is not valid.");
const QString ReadError = QStringLiteral("Stream read error.");

} // namespace

TEST(BitmapFile, QtWrittenDepthsReadBackWithTheirDepthAndPixels) {
    QImage mono(13, 3, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    QImage indexed4(7, 5, QImage::Format_Indexed8);
    QImage indexed8(9, 4, QImage::Format_Indexed8);
    QList<QRgb> table16, table256;
    for (int i = 0; i < 16; ++i)
        table16.append(qRgb(i * 16, 255 - i * 16, i));
    for (int i = 0; i < 256; ++i)
        table256.append(qRgb(i, 7, 255 - i));
    indexed4.setColorTable(table16);
    indexed8.setColorTable(table256);
    QImage rgb(5, 3, QImage::Format_RGB32);
    for (QImage* img : {&mono, &indexed4, &indexed8, &rgb})
        for (int y = 0; y < img->height(); ++y)
            for (int x = 0; x < img->width(); ++x) {
                const int v = x * 31 + y * 7;
                if (img->format() == QImage::Format_RGB32)
                    img->setPixel(x, y, qRgb(v, 2 * v, 255 - v));
                else
                    img->setPixel(x, y, uint(v % img->colorCount()));
            }
    const struct {
        QImage* Image;
        QImage::Format Held;
        int FileBits;
    } cases[] = {{&mono, QImage::Format_Mono, 1},
                 {&indexed4, QImage::Format_Indexed8, 4},
                 {&indexed8, QImage::Format_Indexed8, 8},
                 {&rgb, QImage::Format_RGB32, 24}};
    for (const auto& c : cases) {
        const QByteArray bytes = SavedByQt(*c.Image);
        ASSERT_EQ(quint8(bytes[28]), c.FileBits);
        const QImage back = Decoded(bytes);
        EXPECT_EQ(back.format(), c.Held);
        ExpectSamePixels(back, *c.Image);
    }
}

TEST(BitmapFile, SixteenBitChannelsWidenSoMagentaStaysTheKey) {
    TBmp b;
    b.BitCount = 16;
    b.Width = 3;
    // 5-5-5: magenta (31, 0, 31), white, and 16 in every channel; two bytes of row padding.
    for (quint32 v : {0x7C1Fu, 0x7FFFu, 0x4210u, 0u})
        TBmp::U16(b.Pixels, v);
    const QImage img = Decoded(b.Bytes());
    EXPECT_EQ(img.format(), QImage::Format_RGB555);
    EXPECT_EQ(img.pixel(0, 0), TransparentKey);
    EXPECT_EQ(img.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(2, 0), qRgb(132, 132, 132)); // 16 -> (16 << 3) | (16 >> 2)
}

TEST(BitmapFile, SixteenBitBitfieldsOfEveryShape) {
    TBmp b;
    b.BitCount = 16;
    b.Compression = 3;
    b.Width = 2;
    for (quint32 m : {0xF800u, 0x07E0u, 0x001Fu})
        TBmp::U32(b.Masks, m);
    for (quint32 v : {0xF81Fu, 0x07E0u})
        TBmp::U16(b.Pixels, v);
    QImage img = Decoded(b.Bytes());
    EXPECT_EQ(img.format(), QImage::Format_RGB16);
    EXPECT_EQ(img.pixel(0, 0), TransparentKey);
    EXPECT_EQ(img.pixel(1, 0), qRgb(0, 255, 0));

    // 4-4-4 has no 16-bit format in memory: widened into 32 bits, 15 -> 255.
    b.Masks.clear();
    for (quint32 m : {0x0F00u, 0x00F0u, 0x000Fu})
        TBmp::U32(b.Masks, m);
    b.Pixels.clear();
    for (quint32 v : {0x0F0Fu, 0x0080u})
        TBmp::U16(b.Pixels, v);
    img = Decoded(b.Bytes());
    EXPECT_EQ(img.format(), QImage::Format_RGB32);
    EXPECT_EQ(img.pixel(0, 0), TransparentKey);
    EXPECT_EQ(img.pixel(1, 0), qRgb(0, 136, 0)); // 8 of 15 -> 136
}

TEST(BitmapFile, ThirtyTwoBitAlphaIsDroppedSoTheKeyCompares) {
    TBmp b;
    b.BitCount = 32;
    TBmp::U32(b.Pixels, 0x00FF00FF); // magenta with alpha 0
    EXPECT_EQ(Decoded(b.Bytes()).pixel(0, 0), TransparentKey);

    b.InfoSize = 124;
    b.Compression = 3;
    for (quint32 m : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u})
        TBmp::U32(b.Masks, m);
    const QImage img = Decoded(b.Bytes());
    EXPECT_FALSE(img.hasAlphaChannel());
    EXPECT_EQ(img.pixel(0, 0), TransparentKey);
}

TEST(BitmapFile, TopDownRowsAndCoreHeaderPalettes) {
    TBmp b;
    b.Height = -2;
    b.Pixels = QByteArray::fromHex("0000ff00"
                                   "00ff0000"); // red row, then green row
    QImage img = Decoded(b.Bytes());
    EXPECT_EQ(img.size(), QSize(1, 2));
    EXPECT_EQ(img.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(0, 1), qRgb(0, 255, 0));

    TBmp core;
    core.InfoSize = 12;
    core.BitCount = 1;
    core.Width = 2;
    core.Palette = QByteArray::fromHex("ff0000"
                                       "0000ff");  // blue, red as BGR triples
    core.Pixels = QByteArray::fromHex("40000000"); // pixels 0, 1
    img = Decoded(core.Bytes());
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(1, 0), qRgb(255, 0, 0));
}

TEST(BitmapFile, RleSkippedPixelsAreIndexZeroNotMemory) {
    TBmp b;
    b.BitCount = 8;
    b.Compression = 1;
    b.Width = 6;
    b.Height = 3;
    b.ClrUsed = 16;
    b.Palette = Gray16Palette();
    // Bottom row: 3 x index 5, then an absolute run 7 8 9 (padded), end of line.
    // Middle row: a delta of (2, 0), 2 x index 15, end of bitmap (top row untouched).
    b.Pixels = QByteArray::fromHex("0305"
                                   "0003070809"
                                   "00"
                                   "0000"
                                   "00020200"
                                   "020f"
                                   "0001");
    const QImage img = Decoded(b.Bytes());
    ASSERT_EQ(img.format(), QImage::Format_Indexed8);
    const int bottom[] = {5, 5, 5, 7, 8, 9};
    const int middle[] = {0, 0, 15, 15, 0, 0};
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(img.pixelIndex(x, 2), bottom[x]) << x;
        EXPECT_EQ(img.pixelIndex(x, 1), middle[x]) << x;
        EXPECT_EQ(img.pixelIndex(x, 0), 0) << x;
    }
    EXPECT_EQ(img.pixel(2, 1), qRgb(255, 255, 255));

    TBmp r4;
    r4.BitCount = 4;
    r4.Compression = 2;
    r4.Width = 7;
    r4.Palette = Gray16Palette();
    // a 1 a, absolute f 3 4 (two bytes, padded to a whole word), end of bitmap.
    r4.Pixels = QByteArray::fromHex("03a1"
                                    "0003f340"
                                    "0001");
    const QImage four = Decoded(r4.Bytes());
    const int row[] = {10, 1, 10, 15, 3, 4, 0};
    for (int x = 0; x < 7; ++x)
        EXPECT_EQ(four.pixelIndex(x, 0), row[x]) << x;
}

TEST(BitmapFile, IndicesBeyondThePaletteShowOpaqueBlack) {
    TBmp b;
    b.BitCount = 8;
    b.ClrUsed = 1;
    TBmp::U32(b.Palette, 0x00FFFFFF);
    b.Pixels = QByteArray::fromHex("09000000");
    EXPECT_EQ(Decoded(b.Bytes()).pixel(0, 0), qRgb(0, 0, 0));
}

TEST(BitmapFile, DamagedFilesGiveTheirMessages) {
    TBmp good;
    good.Width = 2;
    good.Pixels = QByteArray(8, '\x40');
    const QByteArray bytes = good.Bytes();
    ASSERT_EQ(ErrorOf(bytes), QString());

    EXPECT_EQ(ErrorOf(QByteArray()), NotValid);
    EXPECT_EQ(ErrorOf(bytes.left(1)), ReadError);
    EXPECT_EQ(ErrorOf(bytes.left(13)), ReadError);
    EXPECT_EQ(ErrorOf("This is a plain text file, not a picture."), NotValid);
    EXPECT_EQ(ErrorOf(bytes.left(20)), ReadError);      // inside the info header
    EXPECT_EQ(ErrorOf(bytes.chopped(1)), ReadError);    // last row one byte short
    EXPECT_EQ(ErrorOf(bytes.left(14 + 40)), ReadError); // no rows at all

    auto damaged = [&](auto change) {
        TBmp b = good;
        change(b);
        return ErrorOf(b.Bytes());
    };
    EXPECT_EQ(damaged([](TBmp& b) { b.InfoSize = 52; }), NotValid);
    EXPECT_EQ(damaged([](TBmp& b) { b.Planes = 2; }), NotValid);
    EXPECT_EQ(damaged([](TBmp& b) { b.BitCount = 7; }), NotValid);
    EXPECT_EQ(damaged([](TBmp& b) { b.Compression = 1; }), NotValid); // RLE8 on 24 bits
    EXPECT_EQ(damaged([](TBmp& b) { b.Compression = 9; }), NotValid);
    EXPECT_EQ(damaged([](TBmp& b) { b.Width = 0; }), NotValid);
    EXPECT_EQ(damaged([](TBmp& b) { b.Height = 0; }), NotValid);
    EXPECT_EQ(damaged([](TBmp& b) { b.Width = -2; }), NotValid);
    EXPECT_EQ(damaged([](TBmp& b) { b.OffsetDelta = 1; }), ReadError);
    EXPECT_EQ(damaged([](TBmp& b) { b.OffsetDelta = 1 << 30; }), ReadError);
    EXPECT_EQ(damaged([](TBmp& b) { b.Height = 1000; }), ReadError);

    TBmp pal;
    pal.BitCount = 8;
    pal.Palette = Gray16Palette(); // 16 entries where 256 are announced
    pal.Pixels = QByteArray(4, '\0');
    EXPECT_EQ(ErrorOf(pal.Bytes()), ReadError);
    pal.ClrUsed = 300;
    EXPECT_EQ(ErrorOf(pal.Bytes()), NotValid);

    TBmp masks;
    masks.BitCount = 16;
    masks.Compression = 3;
    EXPECT_EQ(ErrorOf(masks.Bytes().left(14 + 40 + 8)), ReadError);
}

TEST(BitmapFile, DamagedRleStreams) {
    TBmp b;
    b.BitCount = 8;
    b.Compression = 1;
    b.Width = 4;
    b.Height = 2;
    b.Palette = Gray16Palette();
    b.ClrUsed = 16;
    b.Pixels = QByteArray::fromHex("0401"
                                   "0000"
                                   "0402"
                                   "0001");
    ASSERT_EQ(ErrorOf(b.Bytes()), QString());

    TBmp cut = b;
    cut.Pixels = QByteArray::fromHex("0401"
                                     "0000"
                                     "04"); // ends inside the second row
    EXPECT_EQ(ErrorOf(cut.Bytes()), ReadError);
    cut.Pixels = QByteArray::fromHex("0004"
                                     "0102"); // absolute run of 4 with 2 bytes
    EXPECT_EQ(ErrorOf(cut.Bytes()), ReadError);
    cut.Pixels = QByteArray::fromHex("0002"
                                     "03"); // delta without its second byte
    EXPECT_EQ(ErrorOf(cut.Bytes()), ReadError);

    TBmp topDown = b;
    topDown.Height = -2;
    EXPECT_EQ(ErrorOf(topDown.Bytes()), NotValid);

    // A few bytes may not announce more pixels than the picture limit.
    TBmp huge = b;
    huge.Width = 60000;
    huge.Height = 60000;
    huge.Pixels = QByteArray::fromHex("0001");
    EXPECT_EQ(ErrorOf(huge.Bytes()), QStringLiteral("The picture is too large: at most 268,435,456 "
                                                    "pixels (for example 16384 x 16384)."));
}

TEST(BitmapFile, FilesOnDisk) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath("missing.bmp");
    EXPECT_EQ(ReadBitmapFile(missing).Error,
              QStringLiteral("Cannot open file \"%1\". File not found.").arg(missing));

    // A placeholder copy is written as a 15 x 15 24-bit file and reads back the same.
    const QString path = dir.filePath("placeholder.bmp");
    ASSERT_EQ(WriteBitmapFile(PlaceholderPicture(), path), QString());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_EQ(quint8(bytes[28]), 24);
    EXPECT_EQ(bytes.size(), 14 + 40 + 15 * 48);
    const TBitmapReadResult back = ReadBitmapFile(path);
    ASSERT_EQ(back.Error, QString());
    ExpectSamePixels(back.Image, PlaceholderPicture());

    const QString nowhere = dir.filePath("no/such/dir/x.bmp");
    EXPECT_EQ(WriteBitmapFile(PlaceholderPicture(), nowhere),
              QStringLiteral("Cannot create file \"%1\". File not found.").arg(nowhere));
}

TEST(BitmapFile, SixteenBitPicturesAreWrittenAsSixteenBitFiles) {
    QTemporaryDir dir;
    for (QImage::Format format : {QImage::Format_RGB555, QImage::Format_RGB16}) {
        QImage img(3, 2, format);
        img.fill(TransparentKey);
        img.setPixel(1, 0, qRgb(255, 255, 255));
        img.setPixel(2, 1, qRgb(8, 132, 16));
        const QString path = dir.filePath(QStringLiteral("p%1.bmp").arg(int(format)));
        ASSERT_EQ(WriteBitmapFile(img, path), QString());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(quint8(f.readAll()[28]), 16);
        const TBitmapReadResult back = ReadBitmapFile(path);
        ASSERT_EQ(back.Error, QString());
        EXPECT_EQ(back.Image.format(), format);
        ExpectSamePixels(back.Image, img);
    }
}

TEST(BitmapFile, ThirtyTwoBitMasksWiderThanEightBitsAreScaledExactly) {
    TBmp b;
    b.BitCount = 32;
    b.Compression = 3;
    b.Width = 2;
    // 10-10-10-2: 1023 -> 255, 512 -> 128, 0 -> 0; the alpha is dropped.
    for (quint32 m : {0x3FF00000u, 0x000FFC00u, 0x000003FFu})
        TBmp::U32(b.Masks, m);
    TBmp::U32(b.Pixels, 0x3FF00000u | 0x000003FFu);
    TBmp::U32(b.Pixels, (512u << 20) | (1u << 10) | 0u);
    QImage img = Decoded(b.Bytes());
    EXPECT_EQ(img.pixel(0, 0), TransparentKey);
    EXPECT_EQ(img.pixel(1, 0), qRgb(128, 0, 0)); // green 1 of 1023 rounds to 0

    // 11-11-10, red in the top bits.
    b.Masks.clear();
    for (quint32 m : {0xFFE00000u, 0x001FFC00u, 0x000003FFu})
        TBmp::U32(b.Masks, m);
    b.Pixels.clear();
    TBmp::U32(b.Pixels, (2047u << 21) | (1024u << 10) | 3u);
    TBmp::U32(b.Pixels, (4u << 21) | (2047u << 10) | 1023u);
    img = Decoded(b.Bytes());
    EXPECT_EQ(img.pixel(0, 0), qRgb(255, 128, 1));
    EXPECT_EQ(img.pixel(1, 0), qRgb(0, 255, 255));
}

TEST(BitmapFile, MasksWithoutAnExactReadingAreRefused) {
    TBmp b;
    b.BitCount = 32;
    b.Compression = 3;
    TBmp::U32(b.Pixels, 0x12345678u);
    auto withMasks = [&](std::initializer_list<quint32> masks, int bits) {
        TBmp m = b;
        m.BitCount = bits;
        m.Masks.clear();
        for (quint32 v : masks)
            TBmp::U32(m.Masks, v);
        if (bits == 16) m.Pixels = QByteArray(4, '\0');
        return ErrorOf(m.Bytes());
    };
    EXPECT_EQ(withMasks({0x7F000000u, 0x00800000u, 0x007F8000u}, 32), QString()); // 7-1-8
    EXPECT_EQ(withMasks({0xF0F00000u, 0x0000FF00u, 0x000000FFu}, 32), NotValid);  // a hole
    EXPECT_EQ(withMasks({0x00FF0000u, 0x0000FF00u, 0x000000FFu}, 16), NotValid);  // beyond 16 bits
    EXPECT_EQ(withMasks({0x7C00u, 0x03E0u, 0x001Fu}, 16), QString());
}

TEST(BitmapFile, AFileShortOfItsRowsIsAReadErrorWhateverTheSizeItClaims) {
    TBmp claim;
    claim.BitCount = 1;
    claim.Width = claim.Height = 65535;
    claim.Palette = QByteArray::fromHex("00000000ffffff00");
    EXPECT_EQ(ErrorOf(claim.Bytes()), ReadError);
}

TEST(BitmapFile, PicturesUpToTheLimitAreReadWhateverQtsOwnLimitSays) {
    // 64 million one-bit pixels: 256 MB at Qt's four bytes a pixel.
    TBmp mono;
    mono.BitCount = 1;
    mono.Width = mono.Height = 8000;
    mono.Palette = QByteArray::fromHex("00000000ffffff00");
    mono.Pixels = QByteArray(qsizetype(1000) * 8000, char(0x80)); // 8000 bits a row
    const QImage img = Decoded(mono.Bytes());
    ASSERT_EQ(img.size(), QSize(8000, 8000));
    EXPECT_EQ(img.pixel(0, 7999), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(1, 0), qRgb(0, 0, 0));

    // One limit decides, and Qt follows it.
    SetPictureLimitPixels(7999 * 8000);
    EXPECT_EQ(ErrorOf(mono.Bytes()),
              QStringLiteral("The picture is too large: at most "
                             "268,435,456 pixels (for example 16384 x 16384)."));
    SetPictureLimitPixels(DefaultPictureLimitPixels);
}
