// A bitmap written a row at a time is the toolkit's bitmap of the 24-bit
// copy, byte for byte; the row hash and comparison see the 24-bit pixels.
#include "bitmap_rows.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QImage Noise(int width, int height, QImage::Format format) {
    QImage image(width, height, QImage::Format_ARGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, random.generate());
    return image.convertToFormat(format);
}

QByteArray ToolkitBitmap(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(picture.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP"));
    return bytes;
}

} // namespace

TEST(BitmapRows, WritesTheToolkitsBitmapOfTheTwentyFourBitCopy) {
    QTemporaryDir dir;
    QImage tagged = Noise(6, 2, QImage::Format_RGB16);
    tagged.setDotsPerMeterX(1000);
    tagged.setDotsPerMeterY(2000);
    // Every row padding from 0 to 3 bytes, and the formats a skin's pictures take.
    for (const QImage& picture :
         {Noise(4, 3, QImage::Format_RGB555), Noise(5, 2, QImage::Format_RGB555),
          Noise(7, 4, QImage::Format_ARGB32), Noise(3, 1, QImage::Format_Indexed8), tagged}) {
        SCOPED_TRACE(picture.width());
        const QString path = dir.filePath(QStringLiteral("picture.bmp"));
        ASSERT_EQ(WriteRgbBitmapFile(picture, path), QString());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), ToolkitBitmap(picture));
    }
}

TEST(BitmapRows, ComparesTheTwentyFourBitPixelsOfEveryRow) {
    const QImage picture = Noise(5, 3, QImage::Format_RGB555);
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    EXPECT_EQ(RgbHash(picture), RgbHash(rgb));
    EXPECT_TRUE(SameRgb(picture, rgb));
    QImage last = rgb;
    last.setPixel(4, 2, last.pixel(4, 2) ^ 0x080000);
    EXPECT_FALSE(SameRgb(picture, last));
    EXPECT_NE(RgbHash(picture), RgbHash(last));
    EXPECT_FALSE(SameRgb(picture, rgb.copy(0, 0, 5, 2)));
}
