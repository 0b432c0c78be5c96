// A bitmap from a pipe or a device is read only as far as its headers say
// the picture goes, and judged as it arrives.
#include "bitmap_file.h"
#include "fed_pipe.h"
#include "sample_skin.h"

#include <QBuffer>

#include <algorithm>

TEST(BitmapStream, EndlessZerosAreRefusedAfterTheHeaders) {
    TFedPipe pipe({}, 512, true);
    EXPECT_EQ(ReadBitmapDescriptor(pipe.Read, "pipe").Error, "Bitmap image is not valid.");
    EXPECT_LE(pipe.Finish(), 2 * 1024);
}

TEST(BitmapStream, APictureFollowedByAnEndlessStreamIsReadToItsLastRow) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    const QImage picture = PatternImage(301, 97);
    ASSERT_TRUE(picture.save(&buffer, "BMP"));
    TFedPipe pipe(bytes, 1000, true);
    const TBitmapReadResult read = ReadBitmapDescriptor(pipe.Read, "pipe");
    ASSERT_EQ(read.Error, "");
    EXPECT_EQ(read.Image.convertToFormat(QImage::Format_RGB32),
              picture.convertToFormat(QImage::Format_RGB32));
    EXPECT_LE(pipe.Finish(), std::max<qsizetype>(bytes.size(), 2 * 1024));
}

TEST(BitmapStream, RowsThatNeverComeAreAReadError) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    ASSERT_TRUE(PatternImage(64, 64).save(&buffer, "BMP"));
    TFedPipe pipe(bytes.left(bytes.size() - 1), 1000, false);
    EXPECT_EQ(ReadBitmapDescriptor(pipe.Read, "pipe").Error, "Stream read error.");
}
