#include "item_painters.h"
#include "render_test_util.h"
#include "skin_fonts.h"
#include "skin_text.h"

#include <QFontInfo>
#include <QFontMetricsF>

#include <gtest/gtest.h>

namespace {

const QRgb BlackPx = qRgb(0, 0, 0);

TiText MakeText(int x, int y, int w, int h, int hAlign, int vAlign) {
    TiText t;
    t.X = x;
    t.Y = y;
    t.Width = w;
    t.Height = h;
    t.HAlign = hAlign;
    t.VAlign = vAlign;
    t.FontSize = 25;
    t.Color = 0xFFFFFF;
    t.PreviewText = PreviewTextFor(ttSongTitle);
    return t;
}

TTextExtent ExtentOf(const TiText& t) {
    return MeasureText(SkinFont(PointSizeFor(t.FontSize), t.Bold), t.PreviewText);
}

// The text's pixels as painted with its box's top-left at (0, 0) on black.
QImage Painted(const TiText& t, int w, int h) {
    QImage img = Black(w, h);
    PaintText(img, t, false);
    return img;
}

} // namespace

TEST(SkinText, PointAndPixelSizesTruncateThenRound) {
    EXPECT_EQ(PointSizeFor(12), 8);
    EXPECT_EQ(PointSizeFor(14), 10);
    EXPECT_EQ(PointSizeFor(25), 18); // 25 x 0.72 in floating point would truncate to 17
    EXPECT_EQ(PointSizeFor(1), 0);
    EXPECT_EQ(PointSizeFor(-3), -2);
    EXPECT_EQ(PixelSizeFor(8), 11);
    EXPECT_EQ(PixelSizeFor(10), 13);
    EXPECT_EQ(PixelSizeFor(9), 12);
    EXPECT_EQ(PixelSizeFor(18), 24);
    EXPECT_EQ(SkinFont(8, false).pixelSize(), 11);
}

TEST(SkinText, TheFaceIsTahomaWithWholePixelMetrics) {
    ASSERT_EQ(RegisterSkinFonts(), QStringLiteral("Tahoma")) << "fonts-wine is not installed";
    EXPECT_TRUE(SkinFontNote().isEmpty());
    const QImage device(1, 1, QImage::Format_RGB32);
    for (int points : {6, 8, 10, 18, 47})
        for (bool bold : {false, true}) {
            const QFont font = SkinFont(points, bold);
            EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Tahoma"));
            EXPECT_EQ(QFontInfo(font).bold(), bold);
            // Fractional advances would make the alignment arithmetic drift.
            const qreal exact = QFontMetricsF(font, &device).horizontalAdvance("(song artist)");
            const TTextExtent extent = MeasureText(font, "(song artist)");
            EXPECT_EQ(exact, extent.Width) << points << (bold ? " bold" : "");
            EXPECT_GE(extent.CellHeight, font.pixelSize());
        }
    EXPECT_GT(MeasureText(SkinFont(8, true), "Folder0").Width,
              MeasureText(SkinFont(8, false), "Folder0").Width);
}

TEST(TextAlignment, StartsTruncateTowardZero) {
    EXPECT_EQ(AlignedStart(haCenter, 200, 57), 71);
    EXPECT_EQ(AlignedStart(haCenter, 200, 207), -3); // not -4
    EXPECT_EQ(AlignedStart(haRight, 200, 207), -7);
    EXPECT_EQ(AlignedStart(haLeft, 200, 207), 0);
    EXPECT_EQ(AlignedStart(7, 200, 57), 0);
    EXPECT_EQ(AlignedStart(-1, 200, 57), 0);
}

TEST(PaintText, AlignmentShiftsTheWholeLineAndTheBoxCutsIt) {
    // The left-aligned line in a roomy box is the reference; in a box 7
    // pixels narrower than the text, centring starts it at -3 and right
    // alignment at -7, and the box cuts off what sticks out.
    const TiText roomy = MakeText(20, 10, 400, 40, haLeft, vaTop);
    const int tw = ExtentOf(roomy).Width;
    const QImage reference = Painted(roomy, 500, 60);
    ASSERT_GT(CountColor(reference, reference.rect(), qRgb(255, 255, 255)), 50);
    for (auto [align, shift] : {std::pair{haCenter, -3}, {haRight, -7}}) {
        const TiText tight = MakeText(20, 10, tw - 7, 40, align, vaTop);
        const QImage img = Painted(tight, 500, 60);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 500; ++x) {
                const bool inside = x >= 20 && x < 20 + tw - 7 && y >= 10 && y < 50;
                const QRgb expected = inside ? reference.pixel(x - shift, y) : BlackPx;
                ASSERT_EQ(img.pixel(x, y), expected)
                    << "align " << align << " at " << x << "," << y;
            }
    }
}

TEST(PaintText, VerticalAlignmentUsesTheCellHeight) {
    const TiText top = MakeText(0, 0, 300, 60, haLeft, vaTop);
    const int th = ExtentOf(top).CellHeight;
    const QImage reference = Painted(top, 300, 60);
    for (auto [align, start] : {std::pair{vaCenter, (60 - th) / 2}, {vaBottom, 60 - th}}) {
        const QImage img = Painted(MakeText(0, 0, 300, 60, haLeft, align), 300, 60);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 300; ++x)
                ASSERT_EQ(img.pixel(x, y), y >= start ? reference.pixel(x, y - start) : BlackPx)
                    << "align " << align << " at " << x << "," << y;
    }
}

TEST(PaintText, KeyGreyTextIsInvisibleAndOtherColoursShow) {
    TiText t = MakeText(0, 0, 200, 40, haLeft, vaTop);
    t.Color = 0x828282; // RGB(130, 130, 130)
    QImage img = Painted(t, 200, 40);
    EXPECT_EQ(CountColor(img, img.rect(), BlackPx), 200 * 40);
    t.Color = 0x0000FF; // TColor red
    img = Painted(t, 200, 40);
    EXPECT_GT(CountColor(img, img.rect(), qRgb(255, 0, 0)), 50);
    // No pixel of the key grey ever reaches the screen.
    EXPECT_EQ(CountColor(img, img.rect(), qRgb(130, 130, 130)), 0);
}

TEST(PaintText, TinyFontsDrawNoTextButKeepTheMarker) {
    TiText t = MakeText(1, 1, 30, 20, haLeft, vaTop);
    t.FontSize = 1; // 0 points
    QImage img = Black(40, 30);
    PaintText(img, t, true);
    // The 30 x 20 outline: 96 pixels, half of them dots.
    EXPECT_EQ(CountColor(img, img.rect(), qRgb(255, 255, 255)), 48);
    EXPECT_EQ(img.pixel(1, 1), qRgb(255, 255, 255));
}

TEST(PaintText, BoxesOfNoSizeDrawNothing) {
    for (auto [w, h] : {std::pair{0, 20}, {30, 0}, {-30, 20}, {30, -1}}) {
        QImage img = Black(40, 30);
        PaintText(img, MakeText(1, 1, w, h, haLeft, vaTop), true);
        EXPECT_EQ(CountColor(img, img.rect(), BlackPx), 40 * 30) << w << " x " << h;
    }
}
