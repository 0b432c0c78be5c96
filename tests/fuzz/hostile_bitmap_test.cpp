// Bitmaps whose sizes the skin file cannot keep are refused when they are
// loaded, not mangled when the skin is saved.
#include "bitmap_bytes.h"
#include "bitmap_file.h"
#include "item_list.h"
#include "sample_skin.h"
#include "skin_file.h"

#include <gtest/gtest.h>

namespace {

const char* const TooLarge =
    "The picture is too large for a skin file (at most 65535 x 65535 pixels).";

QByteArray MonoBitmap(int w, int h) {
    return BmpFile({40, w, h, 1, 0, {0x000000, 0xFFFFFF}, {}, PackRows(w, h, 1, [](int x, int y) {
                        return quint32((x ^ y) & 1);
                    })});
}

} // namespace

TEST(HostileBitmap, SidesBeyondSixteenBitsAreRefused) {
    for (const QSize size : {QSize(65536, 1), QSize(1, 65536)}) {
        SCOPED_TRACE(size.width());
        const TBitmapReadResult read = DecodeBitmap(MonoBitmap(size.width(), size.height()));
        EXPECT_TRUE(read.Image.isNull());
        EXPECT_EQ(read.Error.toStdString(), TooLarge);
    }
    // The same claim in a file of a few bytes: refused before anything is read.
    const TBitmapReadResult rle =
        DecodeBitmap(BmpFile({40, 8388621, 7, 4, 2, Palette(16), {}, {}}));
    EXPECT_EQ(rle.Error.toStdString(), TooLarge);
}

TEST(HostileBitmap, TheLargestSideTheFileKeepsSurvivesASave) {
    const TBitmapReadResult read = DecodeBitmap(MonoBitmap(65535, 2));
    ASSERT_EQ(read.Error.toStdString(), "");
    ASSERT_EQ(read.Image.size(), QSize(65535, 2));

    TSkinDocument doc = MakeDefaultSkin();
    AddItem(doc, ikButton, "wide");
    doc.Buttons[0].Pictures[0].Image = read.Image;
    const TSkinReadResult back = DecodeSkin(EncodeSkin(doc));
    ASSERT_TRUE(back.Document.has_value()) << back.Error.toStdString();
    const QImage& kept = back.Document->Buttons[0].Pictures[0].Image;
    ASSERT_EQ(kept.size(), QSize(65535, 2));
    // Pixels alternate in a checkerboard, so a shifted row would show.
    for (const QPoint p : {QPoint(0, 0), QPoint(1, 0), QPoint(65534, 0), QPoint(65534, 1)})
        EXPECT_EQ(kept.pixel(p), read.Image.pixel(p)) << p.x() << "," << p.y();
    EXPECT_NE(kept.pixel(0, 0), kept.pixel(1, 0));
}
