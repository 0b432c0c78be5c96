#include "item_painters.h"
#include "render_test_util.h"
#include "wheel_geometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const QRgb BodyC = qRgb(40, 40, 200), IconC = qRgb(200, 40, 40), BallC = qRgb(40, 200, 40),
           LeftC = qRgb(200, 200, 40), RightC = qRgb(40, 200, 200), BlackPx = qRgb(0, 0, 0);

// The picture of that colour covers exactly w x h pixels from (x, y): every
// pixel inside has the colour and the pixels just outside do not.
void ExpectPictureAt(const QImage& img, int x, int y, int w, int h, QRgb color) {
    EXPECT_EQ(CountColor(img, QRect(x, y, w, h), color), w * h) << "at " << x << "," << y;
    EXPECT_NE(img.pixel(x - 1, y), color) << "left of " << x << "," << y;
    EXPECT_NE(img.pixel(x, y - 1), color) << "above " << x << "," << y;
    EXPECT_NE(img.pixel(x + w, y + h - 1), color) << "right of " << x << "," << y;
    EXPECT_NE(img.pixel(x + w - 1, y + h), color) << "below " << x << "," << y;
}

TiWheel ExampleWheel() {
    TiWheel w;
    w.X = 20;
    w.Y = 100;
    w.BallDist = 40;
    w.BallCount = 4;
    for (TPicture& p : w.Pictures)
        p = Pic(3, 3, qRgb(255, 255, 255)); // never drawn
    w.Pictures[0] = Pic(100, 100, BodyC);
    w.Pictures[3] = Pic(30, 30, IconC);
    w.Pictures[5] = Pic(20, 20, LeftC);
    w.Pictures[6] = Pic(20, 20, RightC);
    w.Pictures[7] = Pic(8, 8, BallC);
    return w;
}

} // namespace

TEST(WheelGeometry, BallTablesNeedExtendedPrecision) {
    using V = std::vector<TBallOffset>;
    const std::vector<std::pair<int, V>> tables = {
        {2, {{20, 0}, {-20, 0}}},
        {3, {{20, 0}, {-10, 17}, {-9, -17}}}, // double precision gives (-9, 17)
        {4, {{20, 0}, {0, 20}, {-20, 0}, {0, -20}}},
        {6, {{20, 0}, {9, 17}, {-10, 17}, {-20, 0}, {-9, -17}, {10, -17}}},
        {8, {{20, 0}, {14, 14}, {0, 20}, {-14, 14}, {-20, 0}, {-14, -14}, {0, -20}, {14, -14}}},
    };
    for (const auto& [count, expected] : tables)
        for (int i = 0; i < count; ++i) {
            const TBallOffset got = WheelBallOffset(i, count, 20);
            EXPECT_EQ(got, expected[std::size_t(i)])
                << count << " balls, ball " << i << ": (" << got.Dx << ", " << got.Dy << ")";
        }
}

TEST(WheelGeometry, VerticalOffsetsRoundHalfToEven) {
    EXPECT_EQ(HalfRoundedEven(7), 4);
    EXPECT_EQ(HalfRoundedEven(5), 2);
    EXPECT_EQ(HalfRoundedEven(6), 3);
    EXPECT_EQ(HalfRoundedEven(-5), -2);
    EXPECT_EQ(HalfRoundedEven(-7), -4);
    EXPECT_EQ(HalfRoundedEven(-1), 0);
}

TEST(PaintWheel, ExampleWheelPutsEveryPictureInPlace) {
    QImage img = Black(240, 268);
    PaintWheel(img, ExampleWheel(), false);
    EXPECT_EQ(img.pixel(20, 100), BodyC);
    ExpectPictureAt(img, 55, 135, 30, 30, IconC);
    ExpectPictureAt(img, 66, 186, 8, 8, BallC);
    ExpectPictureAt(img, 66, 106, 8, 8, BallC);
    // The side buttons come last and hide balls 0 and 2.
    ExpectPictureAt(img, 20, 140, 20, 20, LeftC);
    ExpectPictureAt(img, 100, 140, 20, 20, RightC);
    EXPECT_EQ(CountColor(img, img.rect(), qRgb(255, 255, 255)), 0); // unused slots

    TiWheel noButtons = ExampleWheel();
    noButtons.Pictures[5] = noButtons.Pictures[6] = TPicture{};
    img = Black(240, 268);
    PaintWheel(img, noButtons, false);
    for (auto [x, y] : {std::pair{106, 146}, {66, 186}, {26, 146}, {66, 106}})
        ExpectPictureAt(img, x, y, 8, 8, BallC);
}

TEST(PaintWheel, BallsCoverTheBodyAndTheIcon) {
    TiWheel w = ExampleWheel();
    w.BallDist = 10; // ball 0 at (76, 146) overlaps the icon's right edge
    w.Pictures[5] = w.Pictures[6] = TPicture{};
    QImage img = Black(240, 268);
    PaintWheel(img, w, false);
    ExpectPictureAt(img, 76, 146, 8, 8, BallC);
    EXPECT_EQ(img.pixel(75, 146), IconC);
}

TEST(PaintWheel, IconOffsetsTruncateAcrossAndRoundHalfToEvenDownwards) {
    for (auto [size, dx, dy] : {std::tuple{93, 3, 4}, {95, 2, 2}}) {
        TiWheel w = ExampleWheel();
        w.BallCount = 0;
        w.Pictures[3] = Pic(size, size, IconC);
        w.Pictures[5] = w.Pictures[6] = Pic(0, 0, 0);
        QImage img = Black(240, 268);
        PaintWheel(img, w, false);
        ExpectPictureAt(img, 20 + dx, 100 + dy, size, size, IconC);
    }
}

TEST(PaintWheel, ACountBeyondTheFilesLimitDrawsItsLargestAndEnds) {
    TiWheel w = ExampleWheel();
    w.BallCount = 255;
    QImage most = Black(240, 268);
    PaintWheel(most, w, false);
    w.BallCount = 2147483647; // typed into "Ball count", not yet left
    QImage typed = Black(240, 268);
    PaintWheel(typed, w, false);
    EXPECT_EQ(typed, most);
    EXPECT_GT(CountColor(most, QRect(0, 0, 240, 268), BallC), 0);
}

TEST(PaintWheel, MarkerOutlinesTheBody) {
    TiWheel w = ExampleWheel();
    w.BallCount = -3; // no balls, no hang
    QImage img = Black(240, 268);
    PaintWheel(img, w, true);
    EXPECT_EQ(img.pixel(20, 100), BodyC ^ 0x00FFFFFFu); // first dot at the top-left
    EXPECT_EQ(img.pixel(119, 100), BodyC);              // position 99: a gap
    EXPECT_EQ(img.pixel(23, 100), BodyC);
    EXPECT_EQ(img.pixel(26, 100), BodyC ^ 0x00FFFFFFu);
    EXPECT_EQ(CountColor(img, QRect(120, 100, 1, 100), BlackPx), 100); // nothing outside
}

namespace {
TiTrackbar ExampleTrackbar(bool stretch, bool scroller) {
    TiTrackbar k;
    k.X = 10;
    k.Y = 20;
    k.Width = 100;
    k.Height = 30;
    k.ProgressStretch = stretch;
    k.ShowScroller = scroller;
    QImage progress(60, 10, QImage::Format_RGB32);
    for (int x = 0; x < 60; ++x)
        for (int y = 0; y < 10; ++y)
            progress.setPixel(x, y, qRgb(x + 1, 100, y));
    k.Pictures[0] = {progress, true};
    k.Pictures[1] = Pic(9, 15, IconC);
    return k;
}
} // namespace

TEST(PaintTrackbar, UnstretchedProgressShowsItsLeftThird) {
    QImage img = Black(200, 100);
    PaintTrackbar(img, ExampleTrackbar(false, false), false);
    EXPECT_EQ(img.pixel(10, 30), qRgb(1, 100, 0));  // (X, Y + 10)
    EXPECT_EQ(img.pixel(42, 39), qRgb(33, 100, 9)); // column 32, last row
    EXPECT_EQ(img.pixel(43, 30), BlackPx);          // 33 columns only
    EXPECT_EQ(img.pixel(10, 29), BlackPx);
    EXPECT_EQ(img.pixel(10, 40), BlackPx);
}

TEST(PaintTrackbar, TheDefaultThirdIsTruncated) {
    TiTrackbar k = ExampleTrackbar(false, false);
    k.Width = 20; // 6.67: six columns, not seven
    QImage img = Black(200, 100);
    PaintTrackbar(img, k, false);
    EXPECT_EQ(img.pixel(15, 30), qRgb(6, 100, 0));
    EXPECT_EQ(img.pixel(16, 30), BlackPx);
}

TEST(PaintTrackbar, StretchedProgressScalesTheWholePictureToAThird) {
    QImage img = Black(200, 100);
    PaintTrackbar(img, ExampleTrackbar(true, false), false);
    // Column i of 33 takes source column i * 60 / 33.
    EXPECT_EQ(img.pixel(10, 30), qRgb(1, 100, 0));
    EXPECT_EQ(img.pixel(11, 30), qRgb(2, 100, 0));
    EXPECT_EQ(img.pixel(12, 30), qRgb(4, 100, 0));
    EXPECT_EQ(img.pixel(42, 30), qRgb(59, 100, 0));
    EXPECT_EQ(img.pixel(43, 30), BlackPx);
}

TEST(PaintTrackbar, ScrollerIsCentredOnTheEndOfTheProgress) {
    QImage img = Black(200, 100);
    PaintTrackbar(img, ExampleTrackbar(false, true), false);
    ExpectPictureAt(img, 39, 27, 9, 15, IconC); // (X + 29, Y + 7)
}

TEST(PaintTrackbar, NarrowBarsShowNoProgressAndWideOnesReadNothingBeyondThePicture) {
    TiTrackbar narrow = ExampleTrackbar(false, true);
    narrow.Width = 2;
    QImage img = Black(200, 100);
    PaintTrackbar(img, narrow, false);
    EXPECT_EQ(CountColor(img, img.rect(), BlackPx), 200 * 100 - 9 * 15);
    ExpectPictureAt(img, 6, 27, 9, 15, IconC); // X + 0 - 4

    TiTrackbar wide = ExampleTrackbar(false, false);
    wide.Width = 300; // a third is 100 columns, the picture has 60
    img = Black(200, 100);
    PaintTrackbar(img, wide, false);
    EXPECT_EQ(img.pixel(69, 30), qRgb(60, 100, 0));
    EXPECT_EQ(CountColor(img, QRect(70, 20, 130, 30), BlackPx), 130 * 30);
}

TEST(PaintTrackbar, BarsOfZeroSizeStillPlaceTheirPicturesButHaveNoMarker) {
    TiTrackbar flat = ExampleTrackbar(false, true);
    flat.Y = 50;
    flat.Width = 90;
    flat.Height = 0;
    QImage img = Black(200, 100);
    PaintTrackbar(img, flat, true);
    // Progress at (10, 50 + (0 - 10) div 2), 30 columns; the scroller covers
    // its right end from (36, 43).
    EXPECT_EQ(img.pixel(10, 45), qRgb(1, 100, 0));
    EXPECT_EQ(img.pixel(35, 54), qRgb(26, 100, 9));
    EXPECT_EQ(img.pixel(10, 44), BlackPx);
    EXPECT_EQ(img.pixel(10, 55), BlackPx);
    ExpectPictureAt(img, 36, 43, 9, 15, IconC);
    EXPECT_EQ(CountColor(img, img.rect(), BlackPx), 200 * 100 - 26 * 10 - 9 * 15);

    TiTrackbar thin = ExampleTrackbar(true, true);
    thin.Y = 50;
    thin.Width = 0;
    img = Black(200, 100);
    PaintTrackbar(img, thin, true);
    ExpectPictureAt(img, 6, 57, 9, 15, IconC); // only the scroller
    EXPECT_EQ(CountColor(img, img.rect(), BlackPx), 200 * 100 - 9 * 15);
}

TEST(PaintTrackbar, BarsOfNegativeSizeDrawNothingNotEvenAMarker) {
    for (auto [w, h] : {std::pair{-100, 30}, {100, -5}}) {
        TiTrackbar k = ExampleTrackbar(true, true);
        k.Width = w;
        k.Height = h;
        QImage img = Black(200, 100);
        PaintTrackbar(img, k, true);
        EXPECT_EQ(CountColor(img, img.rect(), BlackPx), 200 * 100) << w << " x " << h;
    }
}

TEST(PaintImageAndButton, ImagesAreOpaqueButtonsSkipTheKeyAndOnlyPictureZeroShows) {
    TiImage image;
    image.Picture = Pic(4, 4, TransparentKey, false);
    image.X = 2;
    TiButton button;
    button.X = 10;
    for (TPicture& p : button.Pictures)
        p = Pic(4, 4, qRgb(255, 255, 255));
    button.Pictures[0] = Pic(4, 4, BodyC);
    button.Pictures[0].Image.setPixel(1, 1, TransparentKey);
    QImage img = Black(20, 10);
    PaintImage(img, image, false);
    PaintButton(img, button, false);
    EXPECT_EQ(CountColor(img, QRect(2, 0, 4, 4), TransparentKey), 16);
    EXPECT_EQ(CountColor(img, QRect(10, 0, 4, 4), BodyC), 15);
    EXPECT_EQ(img.pixel(11, 1), BlackPx);
    EXPECT_EQ(CountColor(img, img.rect(), qRgb(255, 255, 255)), 0);
}

TEST(PaintImageAndButton, MarkerFollowsThePictureBox) {
    TiButton button;
    button.X = 3;
    button.Y = 2;
    button.Pictures[0] = Pic(7, 4, BlackPx);
    QImage img = Black(20, 10);
    PaintButton(img, button, true);
    // A 7 x 4 outline has 18 pixels; positions 0-2, 6-8, 12-14 are dots.
    EXPECT_EQ(CountColor(img, img.rect(), qRgb(255, 255, 255)), 9);
    EXPECT_EQ(img.pixel(3, 2), qRgb(255, 255, 255));
    EXPECT_EQ(CountColor(img, QRect(10, 0, 10, 10), qRgb(255, 255, 255)), 0);

    TiImage empty; // a 0 x 0 picture: no box, no marker
    empty.Picture = TPicture{};
    QImage none = Black(5, 5);
    PaintImage(none, empty, true);
    EXPECT_EQ(CountColor(none, none.rect(), BlackPx), 25);
}
