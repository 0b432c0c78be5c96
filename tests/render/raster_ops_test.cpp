#include "raster_ops.h"
#include "render_test_util.h"
#include "selection_marker.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
const QRgb Red = qRgb(255, 0, 0), Blue = qRgb(0, 0, 255), White = qRgb(255, 255, 255),
           BlackPx = qRgb(0, 0, 0);
}

TEST(RasterOps, FillIsCutAtTheRasterEdges) {
    QImage img = Black(4, 3);
    FillBox(img, {-5, 2, 2, 100}, Red);
    FillBox(img, {3, 0, 3, 3}, Red); // empty: right == left
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(img.pixel(x, y), (y == 2 && x < 2) ? Red : BlackPx) << x << "," << y;
}

TEST(RasterOps, TransparentPicturesSkipExactlyMagenta) {
    QImage src = Solid(3, 1, TransparentKey);
    src.setPixel(1, 0, qRgb(255, 1, 255)); // one off the key: drawn
    QImage keyed = Black(3, 1), opaque = Black(3, 1);
    DrawPicture(keyed, 0, 0, {src, true});
    DrawPicture(opaque, 0, 0, {src, false});
    EXPECT_EQ(keyed.pixel(0, 0), BlackPx);
    EXPECT_EQ(keyed.pixel(1, 0), qRgb(255, 1, 255));
    EXPECT_EQ(opaque.pixel(0, 0), TransparentKey);
}

TEST(RasterOps, PicturesOfAnyFormatDrawTheirColours) {
    // A .bmp may load as 8-bit indexed or 16-bit; the key must still match.
    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({TransparentKey, qRgb(10, 20, 30)});
    indexed.setPixel(0, 0, 0);
    indexed.setPixel(1, 0, 1);
    QImage rgb16 = Solid(2, 1, Blue).convertToFormat(QImage::Format_RGB16);
    rgb16.setPixel(0, 0, TransparentKey);
    for (const QImage& src : {indexed, rgb16}) {
        QImage img = Black(4, 1);
        DrawPicture(img, 1, 0, {src, true});
        EXPECT_EQ(img.pixel(1, 0), BlackPx);
        EXPECT_EQ(img.pixel(2, 0), src.pixel(1, 0));
        EXPECT_EQ(img.pixel(3, 0), BlackPx);
    }
}

TEST(RasterOps, PicturesPartlyOffTheRasterAreCutNotShifted) {
    QImage src(4, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            src.setPixel(x, y, qRgb(x, y, 7));
    QImage img = Black(3, 3);
    DrawPicture(img, -2, 1, {src, false});
    EXPECT_EQ(img.pixel(0, 1), qRgb(2, 0, 7)); // source column 2 lands on x = 0
    EXPECT_EQ(img.pixel(1, 2), qRgb(3, 1, 7));
    EXPECT_EQ(img.pixel(2, 1), BlackPx);
    EXPECT_EQ(img.pixel(0, 0), BlackPx);
    // Far outside in any direction: nothing, and no overflow.
    DrawPicture(img, qint64(1) << 40, -(qint64(1) << 40), {src, false});
    EXPECT_EQ(img.pixel(2, 2), BlackPx);
}

TEST(RasterOps, ScalingReplicatesAndDropsColumnsByNearestNeighbour) {
    QImage src(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            src.setPixel(x, y, qRgb(x * 100, y * 100, 0));
    src.setPixel(2, 1, TransparentKey);
    QImage img = Black(7, 2);
    DrawPictureScaled(img, {0, 0, 7, 2}, {src, true});
    // Column i takes source column i * 3 / 7: 0 0 0 1 1 2 2.
    const int expected[] = {0, 0, 0, 1, 1, 2, 2};
    for (int x = 0; x < 7; ++x)
        EXPECT_EQ(qRed(img.pixel(x, 0)), expected[x] * 100) << x;
    EXPECT_EQ(img.pixel(6, 1), BlackPx); // the key is skipped after scaling too
    QImage narrow = Black(2, 1);
    DrawPictureScaled(narrow, {0, 0, 2, 1}, {src, false}); // 3 -> 2 drops column 2
    EXPECT_EQ(narrow.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(narrow.pixel(1, 0), qRgb(100, 0, 0));
}

TEST(RasterOps, CopyWithKeyReadsOnlyInsideTheSource) {
    QImage src = Solid(2, 2, Red);
    src.setPixel(1, 1, qRgb(130, 130, 130));
    QImage img = Black(5, 5);
    // The requested rect reaches past the picture: only its 2 x 2 are copied.
    CopyWithKey(img, 1, 1, src, QRect(0, 0, 4, 4), qRgb(130, 130, 130));
    EXPECT_EQ(CountColor(img, img.rect(), Red), 3);
    EXPECT_EQ(img.pixel(2, 2), BlackPx);
    EXPECT_EQ(img.pixel(3, 1), BlackPx);
}

TEST(RasterOps, DottedLinesPaintDotsAndGapsFromTheLeftEdge) {
    QImage img = Black(8, 2);
    DrawDottedLine(img, 1, 0, 8, Red, White);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(img.pixel(x, 1), (x % 6 < 3) ? Red : White) << x;
        EXPECT_EQ(img.pixel(x, 0), BlackPx);
    }
    DrawDottedLine(img, 2, 0, 8, Red, White); // below the raster: nothing
    DrawSolidLine(img, 0, -3, 3, Blue);
    EXPECT_EQ(CountColor(img, QRect(0, 0, 8, 1), Blue), 3);
}

// '#' marks an inverted pixel of the region starting at (x0, y0).
void ExpectMarks(const QImage& img, int x0, int y0, const std::vector<const char*>& art,
                 QRgb background) {
    const QRgb inverted = background ^ 0x00FFFFFFu;
    for (int r = 0; r < int(art.size()); ++r)
        for (int c = 0; art[r][c]; ++c)
            EXPECT_EQ(img.pixel(x0 + c, y0 + r), art[r][c] == '#' ? inverted : background)
                << "at (" << x0 + c << ", " << y0 + r << ")";
}

TEST(SelectionMarker, DotsRunClockwiseThreeOnThreeOffAroundTheCorners) {
    const QRgb background = qRgb(10, 200, 30); // inverted: (245, 55, 225)
    QImage img = Solid(12, 8, background);
    DrawSelectionMarker(img, {1, 1, 11, 7}); // a 10 x 6 box
    ExpectMarks(img, 0, 0,
                {"............", //
                 ".###...###..", // top row: positions 0..9
                 "............", // right column starts at position 10 (off)
                 ".#..........", // left column runs upwards, positions 24..27
                 ".#........#.", //
                 ".#........#.", //
                 "....###...#.", // bottom row runs leftwards from position 15
                 "............"},
                background);
    EXPECT_EQ(img.pixel(10, 4), qRgb(245, 55, 225));
}

TEST(SelectionMarker, ThinBoxesInvertEachPixelOnce) {
    // Were a pixel of a one-wide box treated as both left and right column it
    // would be inverted twice and look untouched.
    QImage img = Black(5, 7);
    DrawSelectionMarker(img, {2, 1, 3, 6}); // 1 x 5: positions 0..4
    DrawSelectionMarker(img, {0, 0, 5, 1}); // 5 x 1: positions 0..4
    DrawSelectionMarker(img, {4, 6, 5, 7}); // 1 x 1
    ExpectMarks(img, 0, 0,
                {"###..", //
                 "..#..", //
                 "..#..", //
                 "..#..", //
                 ".....", //
                 ".....", //
                 "....#"},
                qRgb(0, 0, 0));
}

TEST(SelectionMarker, EmptyAndOffScreenBoxesDrawNothing) {
    QImage img = Black(6, 6);
    DrawSelectionMarker(img, {1, 1, 1, 5}); // no width
    DrawSelectionMarker(img, {1, 5, 5, 1}); // negative height
    DrawSelectionMarker(img, {-20, -20, -2, -2});
    DrawSelectionMarker(img, {-(qint64(1) << 40), 2, qint64(1) << 40, 3}); // huge, cut
    EXPECT_EQ(CountColor(img, QRect(0, 0, 6, 2), qRgb(0, 0, 0)), 12);
    EXPECT_EQ(CountColor(img, QRect(0, 3, 6, 3), qRgb(0, 0, 0)), 18);
    EXPECT_EQ(CountColor(img, QRect(0, 2, 6, 1), qRgb(255, 255, 255)), 3);
}
