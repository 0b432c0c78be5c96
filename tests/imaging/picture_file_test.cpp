// Pictures of every format read into keyed and opaque slots, by content.
#include "fed_pipe.h"
#include "picture.h"
#include "picture_bytes.h"
#include "picture_file.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QRgb Yellow = qRgb(255, 255, 0), Cyan = qRgb(0, 255, 255), Black = qRgb(0, 0, 0);

// Yellow at alpha 0, 127, 128 and 255, then opaque magenta and cyan.
// Channels of 0 and 255 survive every format's premultiplication.
QImage AlphaSteps() {
    QImage img(6, 1, QImage::Format_ARGB32);
    const QRgb pixels[] = {qRgba(255, 255, 0, 0),   qRgba(255, 255, 0, 127),
                           qRgba(255, 255, 0, 128), qRgba(255, 255, 0, 255),
                           TransparentKey,          Cyan};
    for (int x = 0; x < 6; ++x)
        img.setPixel(x, 0, pixels[x]);
    return img;
}

const QList<QRgb> KeyedSteps{TransparentKey, TransparentKey, Yellow, Yellow, TransparentKey, Cyan};
const QList<QRgb> OverBlack{Black,  qRgb(127, 127, 0), qRgb(128, 128, 0),
                            Yellow, TransparentKey,    Cyan};

QByteArray Written(const QImage& img, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    EXPECT_TRUE(writer.write(img)) << format << ": " << writer.errorString().toStdString();
    return bytes;
}

QList<QRgb> Row(const QImage& img) {
    QList<QRgb> row;
    for (int x = 0; x < img.width(); ++x)
        row << img.pixel(x, 0);
    return row;
}

// The picture as Open puts it into a keyed and into an opaque slot.
void ExpectSlots(const QByteArray& file, const QList<QRgb>& keyed, const QList<QRgb>& opaque) {
    const TBitmapReadResult read = DecodePicture(file);
    ASSERT_EQ(read.Error.toStdString(), "");
    const QImage inKeyed = ApplyAlphaRule(read.Image, true);
    const QImage inOpaque = ApplyAlphaRule(read.Image, false);
    EXPECT_FALSE(inKeyed.hasAlphaChannel());
    EXPECT_FALSE(inOpaque.hasAlphaChannel());
    EXPECT_EQ(Row(inKeyed), keyed);
    EXPECT_EQ(Row(inOpaque), opaque);
    // Applied as the rows arrive, the rule gives the very same pictures.
    EXPECT_EQ(DecodeSlotPicture(file, true).Image, inKeyed);
    EXPECT_EQ(DecodeSlotPicture(file, false).Image, inOpaque);
}

const QString Damaged = QStringLiteral("The picture file is damaged or incomplete.");

} // namespace

TEST(PictureFile, AlphaBelowHalfIsTheKeyInKeyedSlotsAndBlackShowsThroughInImages) {
    for (const char* format : {"png", "tiff", "webp"}) {
        SCOPED_TRACE(format);
        // WebP is lossless at quality 100.
        ExpectSlots(Written(AlphaSteps(), format, 100), KeyedSteps, OverBlack);
    }
}

TEST(PictureFile, APaletteEntryOfAlphaExactlyHalfKeepsItsColour) {
    const QImage steps = AlphaSteps();
    QImage paletted(steps.width(), 1, QImage::Format_Indexed8);
    paletted.setColorTable(Row(steps));
    for (int x = 0; x < steps.width(); ++x)
        paletted.setPixel(x, 0, uint(x));
    const QByteArray png = Written(paletted, "png");
    ASSERT_EQ(DecodePicture(png).Image.format(), QImage::Format_Indexed8); // the palette's rule
    ExpectSlots(png, KeyedSteps, OverBlack);
}

TEST(PictureFile, AGifsTransparentIndexIsTheKeyAndTheFirstFrameIsRead) {
    const QByteArray first("\x00\x01\x02\x03", 4), second("\x03\x03\x03\x03", 4);
    const QByteArray gif = GifFile(4, 1, {Yellow, TransparentKey, Cyan, Black}, 0, {first, second});
    ExpectSlots(gif, {TransparentKey, TransparentKey, Cyan, Black},
                {Black, TransparentKey, Cyan, Black});
}

TEST(PictureFile, AWebpAnimationIsItsFirstFrame) {
    QImage second(6, 1, QImage::Format_ARGB32);
    second.fill(Black);
    ExpectSlots(AnimatedWebp({AlphaSteps(), second}), KeyedSteps, OverBlack);
}

TEST(PictureFile, PicturesWithoutAlphaKeepTheirKeyPixels) {
    QImage opaque(3, 1, QImage::Format_RGB32);
    opaque.setPixel(0, 0, TransparentKey);
    opaque.setPixel(1, 0, Yellow);
    opaque.setPixel(2, 0, Black);
    const QList<QRgb> same{TransparentKey, Yellow, Black};
    for (const char* format : {"png", "tiff", "webp"}) {
        SCOPED_TRACE(format);
        ExpectSlots(Written(opaque, format, 100), same, same);
    }
    ExpectSlots(GifFile(3, 1, {TransparentKey, Yellow, Black}, -1, {QByteArray("\x00\x01\x02", 3)}),
                same, same);
    // A JPEG is taken as Qt decodes it, whatever its compression made of the key.
    const QImage big = opaque.scaled(48, 16);
    const QByteArray jpeg = Written(big, "jpeg", 95);
    const TBitmapReadResult read = DecodePicture(jpeg);
    ASSERT_EQ(read.Error.toStdString(), "");
    EXPECT_EQ(ApplyAlphaRule(read.Image, true),
              QImage::fromData(jpeg, "JPEG").convertToFormat(QImage::Format_RGB32));
}

TEST(PictureFile, PngsOfEveryColourTypeAndDepth) {
    // Grey 1, 2, 4, 8 and 16 bits, palettes, RGB and RGBA of 8 and 16 bits.
    QImage source(4, 1, QImage::Format_ARGB32);
    source.setPixel(0, 0, qRgba(255, 255, 255, 255));
    source.setPixel(1, 0, qRgba(0, 0, 0, 255));
    source.setPixel(2, 0, qRgba(255, 0, 255, 255));
    source.setPixel(3, 0, qRgba(0, 255, 255, 100));
    const QImage::Format formats[] = {
        QImage::Format_Mono,     QImage::Format_Grayscale8, QImage::Format_Grayscale16,
        QImage::Format_Indexed8, QImage::Format_RGB32,      QImage::Format_RGB888,
        QImage::Format_ARGB32,   QImage::Format_RGBA64,     QImage::Format_RGBX64,
    };
    for (const QImage::Format format : formats) {
        SCOPED_TRACE(int(format));
        const QImage img = source.convertToFormat(format);
        const TBitmapReadResult read = DecodePicture(Written(img, "png"));
        ASSERT_EQ(read.Error.toStdString(), "");
        const QImage keyed = ApplyAlphaRule(read.Image, true);
        ASSERT_EQ(keyed.size(), QSize(4, 1));
        const bool alpha = img.hasAlphaChannel();
        for (int x = 0; x < 4; ++x) {
            // 16-bit samples by their high byte.
            const QRgba64 c = img.pixelColor(x, 0).rgba64();
            const QRgb want = alpha && x == 3 ? TransparentKey
                                              : qRgb(c.red() >> 8, c.green() >> 8, c.blue() >> 8);
            EXPECT_EQ(keyed.pixel(x, 0), want) << x;
        }
    }
}

TEST(PictureFile, TheContentDecidesNotTheName) {
    QTemporaryDir dir;
    const QString pngNamedBmp = dir.filePath("png.bmp"), bmpNamedPng = dir.filePath("bmp.png");
    QImage img(2, 1, QImage::Format_RGB32);
    img.setPixel(0, 0, TransparentKey);
    img.setPixel(1, 0, Cyan);
    QFile png(pngNamedBmp);
    ASSERT_TRUE(png.open(QIODevice::WriteOnly));
    png.write(Written(AlphaSteps(), "png"));
    png.close();
    ASSERT_EQ(WriteBitmapFile(img, bmpNamedPng), QString());

    const TBitmapReadResult fromPng = ReadSlotPicture(pngNamedBmp, true);
    ASSERT_EQ(fromPng.Error.toStdString(), "");
    EXPECT_EQ(Row(fromPng.Image), KeyedSteps);
    const TBitmapReadResult fromBmp = ReadSlotPicture(bmpNamedPng, true);
    ASSERT_EQ(fromBmp.Error.toStdString(), "");
    EXPECT_EQ(Row(fromBmp.Image), QList<QRgb>({TransparentKey, Cyan}));
}

TEST(PictureFile, SixteenBitTransparentColoursCompareAtFullDepth) {
    // The transparent colour, then one of the same high bytes, then another.
    const QByteArray rgb = QByteArray::fromHex("00"
                                               "123456789abc"
                                               "12ff56ff9aff"
                                               "ffff00000000");
    const QByteArray rgbKey = QByteArray::fromHex("123456789abc");
    ExpectSlots(PngFile(3, 1, 16, 2, rgb, {{"tRNS", rgbKey}}),
                {TransparentKey, qRgb(0x12, 0x56, 0x9a), qRgb(255, 0, 0)},
                {Black, qRgb(0x12, 0x56, 0x9a), qRgb(255, 0, 0)});
    const QByteArray grey = QByteArray::fromHex("00"
                                                "8001"
                                                "8000"
                                                "ffff");
    ExpectSlots(PngFile(3, 1, 16, 0, grey, {{"tRNS", QByteArray::fromHex("8001")}}),
                {TransparentKey, qRgb(0x80, 0x80, 0x80), qRgb(255, 255, 255)},
                {Black, qRgb(0x80, 0x80, 0x80), qRgb(255, 255, 255)});
}

TEST(PictureFile, SixteenBitTiffSamplesAreTheirHighByte) {
    // Scaled and rounded, 0xff00 would become 0xfe and 0x00ff 0x01.
    for (const int samples : {1, 3}) {
        SCOPED_TRACE(samples);
        const TBitmapReadResult read = DecodePicture(Tiff16(
            2, 1, samples, QList<quint16>(samples, 0xff00) + QList<quint16>(samples, 0x00ff)));
        ASSERT_EQ(read.Error.toStdString(), "");
        EXPECT_EQ(read.Image.pixel(0, 0), qRgb(0xff, 0xff, 0xff));
        EXPECT_EQ(read.Image.pixel(1, 0), qRgb(0, 0, 0));
    }
}

TEST(PictureFile, InterlacedRowsAndTextChunksReadRight) {
    // 2 x 2 grey in Adam7: pass 1 holds (0, 0), pass 6 (1, 0), pass 7 the second row.
    const QByteArray passes = QByteArray::fromHex("0010"
                                                  "0020"
                                                  "003040");
    const QByteArray text = qCompress(QByteArray(1 << 16, 'x')).mid(4);
    const TBitmapReadResult read =
        DecodePicture(PngFile(2, 2, 8, 0, passes, {{"zTXt", "Comment\0\0" + text}}, {}, 1));
    ASSERT_EQ(read.Error.toStdString(), "");
    EXPECT_EQ(read.Image.pixel(0, 0), qRgb(0x10, 0x10, 0x10));
    EXPECT_EQ(read.Image.pixel(1, 0), qRgb(0x20, 0x20, 0x20));
    EXPECT_EQ(read.Image.pixel(0, 1), qRgb(0x30, 0x30, 0x30));
    EXPECT_EQ(read.Image.pixel(1, 1), qRgb(0x40, 0x40, 0x40));
}

TEST(PictureFile, OtherFormatsAndDamagedFilesAreNotValid) {
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Cyan);
    const QByteArray png = Written(img, "png");
    const QString notValid = QStringLiteral("Bitmap image is not valid.");
    // Formats Qt reads but a slot does not: XPM, PBM, TGA.
    for (const char* format : {"xpm", "pbm", "ppm"})
        EXPECT_EQ(DecodePicture(Written(img, format)).Error, notValid) << format;
    EXPECT_EQ(DecodePicture(QByteArray("/* XPM */ static char* x[] = {}")).Error, notValid);
    EXPECT_EQ(DecodePicture(png.left(png.size() - 30)).Error, Damaged);
    EXPECT_EQ(DecodePicture(png.left(20)).Error, Damaged);
    EXPECT_EQ(DecodePicture(QByteArray("GIF89a")).Error, Damaged);
    // A transparent colour that fails its check is not taken for an opaque picture.
    QByteArray badKey = PngFile(1, 1, 8, 2, QByteArray(4, '\0'), {{"tRNS", QByteArray(6, '\0')}});
    badKey[33 + 8 + 6] = char(badKey[33 + 8 + 6] ^ 1); // after the signature and the header
    EXPECT_EQ(DecodePicture(badKey).Error, Damaged);
    // Cut inside their pixel data: refused, never completed with made-up rows.
    QImage noise(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            noise.setPixel(x, y, qRgb(x * 4, y * 4, (x * y) & 0xFF));
    const QByteArray jpeg = JpegFile(noise, 90);
    ASSERT_EQ(DecodePicture(jpeg).Error.toStdString(), "");
    EXPECT_EQ(DecodePicture(jpeg.left(jpeg.size() / 2)).Error, Damaged);
    const QByteArray gif = GifFile(16, 16, {Yellow, Cyan}, -1, {QByteArray(256, '\1')});
    ASSERT_EQ(DecodePicture(gif).Error.toStdString(), "");
    EXPECT_EQ(DecodePicture(gif.left(gif.size() - 12)).Error, Damaged);
    // A short file that is none of them stays the bitmap reader's.
    EXPECT_EQ(DecodePicture(QByteArray("hello")).Error, QStringLiteral("Stream read error."));
}

TEST(PictureFile, AJpegOfMoreThanAHundredScansIsRefused) {
    EXPECT_EQ(DecodePicture(ProgressiveJpeg(16, 16, 100)).Error.toStdString(), "");
    EXPECT_EQ(DecodePicture(ProgressiveJpeg(16, 16, 101)).Error, Damaged);
}

TEST(PictureFile, HugeClaimsAreRefusedBeforeAnyPixelIsDecoded) {
    const QString tooLarge = QStringLiteral(
        "The picture is too large: at most 268,435,456 pixels (for example 16384 x 16384).");
    EXPECT_EQ(DecodePicture(ZeroPng(65535, 65535, 0)).Error, tooLarge);
    EXPECT_EQ(DecodePicture(ZeroPng(16385, 16384, 0)).Error, tooLarge);
    EXPECT_EQ(
        DecodePicture(ZeroPng(65536, 1, 0)).Error,
        QStringLiteral("The picture is too large for a skin file (at most 65535 x 65535 pixels)."));
    // Within the limit, a claim its data does not fill is damaged, not a lack of memory.
    EXPECT_EQ(DecodePicture(ZeroPng(8192, 4097, 0)).Error, Damaged);
    const TBitmapReadResult pages = DecodePicture(GreyTiffPages(3, 2, 1000));
    ASSERT_EQ(pages.Error.toStdString(), "");
    EXPECT_EQ(pages.Image.size(), QSize(3, 2));
}

TEST(PictureFile, APictureFollowedByAnEndlessStreamIsReadOnlyAsFarAsItsPicture) {
    const QImage pattern = AlphaSteps().scaled(64, 48);
    const QByteArray files[] = {Written(pattern, "png"), JpegFile(pattern, 90),
                                GifFile(4, 1, {Yellow, Cyan}, 0, {QByteArray("\0\1\1\0", 4)}),
                                Written(pattern, "webp", 100)};
    for (const QByteArray& file : files) {
        SCOPED_TRACE(file.left(4).toHex().toStdString());
        TFedPipe pipe(file, 1000, true);
        const TBitmapReadResult read = ReadPictureDescriptor(pipe.Read, "pipe");
        ASSERT_EQ(read.Error.toStdString(), "");
        EXPECT_EQ(read.Image, DecodePicture(file).Image);
        // At most one reading buffer beyond the picture.
        EXPECT_LE(pipe.Finish(), file.size() + 64 * 1024);
    }
}

TEST(PictureFile, PngSavesMakeKeyPixelsTransparentInKeyedSlotsOnly) {
    QTemporaryDir dir;
    QImage img(2, 1, QImage::Format_RGB32);
    img.setPixel(0, 0, TransparentKey);
    img.setPixel(1, 0, Cyan);
    const QString keyed = dir.filePath("keyed.PNG"), opaque = dir.filePath("opaque.png");
    ASSERT_EQ(WritePictureFile(img, true, keyed), QString());
    ASSERT_EQ(WritePictureFile(img, false, opaque), QString());
    const QImage k(keyed, "PNG"), o(opaque, "PNG");
    EXPECT_EQ(qAlpha(k.pixel(0, 0)), 0);
    EXPECT_EQ(k.pixel(1, 0), Cyan);
    EXPECT_EQ(o.pixel(0, 0), TransparentKey);
    // Read back into the same slots, they are the pictures that were saved.
    EXPECT_EQ(ReadSlotPicture(keyed, true).Image, img);
    EXPECT_EQ(ReadSlotPicture(opaque, false).Image, img);
    // Any other name is a bitmap, as before.
    const QString bmp = dir.filePath("keyed.png.bmp");
    ASSERT_EQ(WritePictureFile(img, true, bmp), QString());
    EXPECT_EQ(DecodeBitmap([&] {
                  QFile f(bmp);
                  f.open(QIODevice::ReadOnly);
                  return f.readAll();
              }())
                  .Image,
              img);
}
