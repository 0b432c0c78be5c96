#include "item_list.h"
#include "item_painters.h"
#include "player_screen.h"
#include "presentation.h"
#include "preview.h"
#include "render_test_util.h"
#include "sample_skin.h"
#include "text_painter.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>

namespace {

const QRgb BlackPx = qRgb(0, 0, 0), White = qRgb(255, 255, 255), Red = qRgb(255, 0, 0),
           Blue = qRgb(0, 0, 255), Grey = qRgb(128, 128, 128);

TiImage ImageAt(int x, int y, int w, int h, QRgb color) {
    TiImage r;
    r.Picture = Pic(w, h, color, false);
    r.X = x;
    r.Y = y;
    return r;
}

TiText TextAt(int x, int y, int w, int h, int hAlign, int vAlign, int fontSize) {
    TiText t;
    t.X = x;
    t.Y = y;
    t.Width = w;
    t.Height = h;
    t.HAlign = hAlign;
    t.VAlign = vAlign;
    t.FontSize = fontSize;
    t.Color = 0x40C0FF;
    t.PreviewText = PreviewTextFor(ttSongArtist);
    return t;
}

// The rich skin plus texts of every alignment, some cut by the screen's
// edges, and a marker on a text.
TSkinDocument BusySkin() {
    TSkinDocument doc = MakeRichSkin();
    doc.Texts[0].X = 150;
    doc.Texts[0].Width = 80;
    doc.Texts[0].Height = 40;
    doc.Texts[0].FontSize = 30;
    for (int i = 0; i < 9; ++i) {
        AddItem(doc, ikText, "t");
        doc.Texts.back() =
            TextAt(-15 + i * 29, 60 + i * 23, 70 + i * 9, 30, i % 3, (i / 3) % 3, 12 + i * 3);
    }
    return doc;
}

// Every entry painted on its own, in list order, with nothing left out and
// nothing shared: what the composition must equal.
QImage EachAlone(const TSkinDocument& doc, int selected) {
    QImage img = Black(doc.ScreenWidth, doc.ScreenHeight);
    TTextPainter texts;
    for (int i = 0; i < doc.Items.size(); ++i)
        PaintItem(img, doc, i, i == selected, texts);
    return img;
}

// The composition, whole and in parts of small panned views, against EachAlone.
void ExpectAsEachAlone(const TSkinDocument& doc, int selected) {
    const QImage alone = EachAlone(doc, selected);
    ASSERT_EQ(ComposePlayerScreen(doc, selected), alone) << selected;
    for (QPoint offset : {QPoint(0, 0), QPoint(37, 11), QPoint(100, 70), QPoint(23, 97)}) {
        const TPreviewView view{0, QSize(20, 19), Grey, offset};
        const QImage shown = RenderPlayerPreview(doc, selected, view);
        ASSERT_EQ(shown, alone.copy(QRect(ClampedOffset(doc.ScreenWidth, doc.ScreenHeight, view),
                                          view.Area)))
            << selected << " at " << offset.x() << ", " << offset.y();
    }
}

} // namespace

TEST(PlayerScreen, AnEmptyListIsABlackScreen) {
    const QImage img = ComposePlayerScreen(TSkinBuilder(240, 268).Doc, -1);
    ASSERT_EQ(img.size(), QSize(240, 268));
    EXPECT_EQ(CountColor(img, img.rect(), BlackPx), 240 * 268);
}

TEST(PlayerScreen, LaterEntriesPaintOverEarlierOnes) {
    TSkinBuilder skin(20, 10);
    skin.Add(ImageAt(0, 0, 6, 6, Red)).Add(ImageAt(3, 3, 6, 6, Blue));
    QImage img = ComposePlayerScreen(skin.Doc, -1);
    EXPECT_EQ(img.pixel(4, 4), Blue);
    EXPECT_EQ(img.pixel(2, 2), Red);
    MoveItemUp(skin.Doc, 1);
    img = ComposePlayerScreen(skin.Doc, -1);
    EXPECT_EQ(img.pixel(4, 4), Red);
    EXPECT_EQ(img.pixel(8, 8), Blue);
}

TEST(PlayerScreen, TheMarkerIsDrawnRightAfterTheSelectedItem) {
    TSkinBuilder skin(20, 10);
    skin.Add(ImageAt(0, 0, 6, 6, BlackPx)).Add(ImageAt(3, 0, 6, 6, Red));
    // Selected first item: its top row dots at x = 0..2 are white on black,
    // but the later red image covers x = 3..8, where the dots would go on.
    QImage img = ComposePlayerScreen(skin.Doc, 0);
    EXPECT_EQ(img.pixel(0, 0), White);
    EXPECT_EQ(img.pixel(2, 0), White);
    EXPECT_EQ(img.pixel(3, 0), Red);
    EXPECT_EQ(img.pixel(0, 4), BlackPx); // left column, upwards: positions 16, 17 are gaps
    EXPECT_EQ(img.pixel(0, 3), BlackPx);
    EXPECT_EQ(img.pixel(0, 2), White); // positions 18, 19 are dots
    EXPECT_EQ(img.pixel(0, 1), White);
    // Selected second item: the marker inverts red to cyan.
    img = ComposePlayerScreen(skin.Doc, 1);
    EXPECT_EQ(img.pixel(3, 0), qRgb(0, 255, 255));
    EXPECT_EQ(img.pixel(6, 0), Red);
    for (int none : {-1, 2, 100}) {
        img = ComposePlayerScreen(skin.Doc, none);
        EXPECT_EQ(CountColor(img, img.rect(), White), 0) << none;
        EXPECT_EQ(CountColor(img, img.rect(), qRgb(0, 255, 255)), 0) << none;
    }
}

TEST(PlayerScreen, EntriesOfUnknownKindOrIndexDrawNothing) {
    TSkinBuilder skin(10, 10);
    skin.Add(ImageAt(0, 0, 4, 4, Red));
    skin.Doc.Items.push_back({7, 0, "odd kind"});
    skin.Doc.Items.push_back({ikImage, 5, "index past the end"});
    skin.Doc.Items.push_back({ikText, -1, "negative index"});
    skin.Doc.Items[0].Kind = 9;
    const QImage img = ComposePlayerScreen(skin.Doc, 1);
    EXPECT_EQ(CountColor(img, img.rect(), BlackPx), 100);
}

TEST(PlayerScreen, TextsOfOneLookPaintAsEachOnItsOwn) {
    // Texts of one string, font and colour share their glyphs within a
    // repaint; each must still land at its own place, cut by its own box and
    // the screen, under what follows it, with the marker where it was.
    TSkinBuilder skin(120, 90);
    for (int i = 0; i < 8; ++i) {
        skin.Add(
            TextAt(-20 + 17 * i, -10 + 13 * i, 90 - 7 * i, 60 + 5 * i, i % 3, (i / 3) % 3, 40));
        if (i == 3) skin.Add(ImageAt(30, 20, 25, 30, Red));
        if (i == 5) skin.Add(TextAt(0, 20, 120, 50, haLeft, vaTop, 41)); // another look
    }
    TiText twin = skin.Doc.Texts[2]; // the same glyphs in the same place, over entry 2
    twin.Height += 1;
    skin.Add(twin);
    ASSERT_GT(CountColor(EachAlone(skin.Doc, -1), QRect(0, 0, 120, 90), qRgb(255, 192, 64)), 100);
    for (int selected : {-1, 2, 4, 9})
        ExpectAsEachAlone(skin.Doc, selected);
}

TEST(PlayerScreen, WhatALaterOpaqueImageHidesIsLeftOutAndNothingElse) {
    TSkinBuilder skin(180, 140);
    // A wheel whose balls reach out of its body, the body under an image.
    TiWheel wheel;
    wheel.X = wheel.Y = 20;
    for (TPicture& p : wheel.Pictures)
        p = Pic(6, 6, Blue);
    wheel.Pictures[0] = Pic(40, 40, qRgb(0, 128, 0));
    wheel.BallCount = 8;
    wheel.BallDist = 30;
    skin.Add(wheel).Add(ImageAt(20, 20, 40, 40, Red));
    // The same wheel drawn in closer, wholly under an image.
    wheel.X = 100;
    wheel.BallDist = 10;
    skin.Add(wheel).Add(ImageAt(90, 10, 70, 70, Red));
    // A bar whose scroller stands out above and below an image over its box.
    TiTrackbar bar;
    bar.X = 20;
    bar.Y = 100;
    bar.Width = 60;
    bar.Height = 10;
    bar.ShowScroller = true;
    bar.Pictures[0] = Pic(60, 4, qRgb(255, 128, 0));
    bar.Pictures[1] = Pic(8, 20, Blue);
    skin.Add(bar).Add(ImageAt(20, 100, 60, 10, Red));
    // A text sticking out of an image; a button under an image with key holes.
    skin.Add(TextAt(90, 90, 80, 40, haLeft, vaTop, 30)).Add(ImageAt(90, 90, 30, 40, Red));
    TiButton button;
    button.X = button.Y = 130;
    button.Pictures[0] = Pic(10, 10, qRgb(255, 255, 0));
    skin.Add(button);
    TiImage holes = ImageAt(128, 128, 14, 12, qRgb(200, 200, 200));
    holes.Picture.Transparent = true;
    holes.Picture.Image.setPixel(5, 5, TransparentKey);
    skin.Add(holes);
    skin.Add(ImageAt(0, 0, 0, 0, Red)); // covers nothing
    // A bar whose progress lies under an image, but not its marker's box.
    bar.Y = 120;
    bar.ShowScroller = false;
    skin.Add(bar).Add(ImageAt(15, 122, 30, 8, Red));
    for (int selected : {-1, 0, 2, 4, 6, 8, 9, 11})
        ExpectAsEachAlone(skin.Doc, selected);
}

TEST(PlayerScreen, ThePartOnScreenIsExactlyTheWholeCompositionCut) {
    const TSkinDocument doc = BusySkin();
    for (int selected : {-1, 1, 3, 5, 10, 15}) {
        const QImage whole = ComposePlayerScreen(doc, selected);
        for (QSize part : {QSize(240, 268), QSize(97, 131), QSize(31, 300), QSize(1000, 64),
                           QSize(1, 1), QSize(0, 10)}) {
            const QImage cut = ComposePlayerScreen(doc, selected, part);
            const QSize expected(std::min(240, part.width()), std::min(268, part.height()));
            if (expected.isEmpty()) {
                EXPECT_TRUE(cut.isNull());
                continue;
            }
            ASSERT_EQ(cut.size(), expected);
            ASSERT_EQ(cut, whole.copy(QRect(QPoint(0, 0), expected)))
                << "part " << part.width() << "x" << part.height() << ", selected " << selected;
        }
    }
}

TEST(Presentation, EveryScreenPixelBecomesABlockAtTheTopLeft) {
    TSkinBuilder skin(240, 320);
    skin.Add(ImageAt(10, 10, 5, 5, Red));
    const QImage screen = ComposePlayerScreen(skin.Doc, 0);
    const QImage shown = RenderPlayerPreview(skin.Doc, 0, {3, QSize(700, 500), Grey});
    ASSERT_EQ(shown.size(), QSize(700, 500));
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 700; ++x)
            ASSERT_EQ(shown.pixel(x, y), screen.pixel(x / 8, y / 8)) << x << "," << y;
    // The marker's first dot turns red to cyan in an 8 x 8 block at (80, 80).
    EXPECT_EQ(CountColor(shown, QRect(80, 80, 8, 8), qRgb(0, 255, 255)), 64);
    EXPECT_EQ(shown.pixel(79, 80), BlackPx);
}

TEST(Presentation, TheAreaBeyondTheScreenKeepsTheGrey) {
    const TSkinDocument doc = TSkinBuilder(240, 268).Doc;
    const QImage shown = RenderPlayerPreview(doc, -1, {1, QSize(600, 600), Grey});
    EXPECT_EQ(CountColor(shown, QRect(0, 0, 480, 536), BlackPx), 480 * 536);
    EXPECT_EQ(CountColor(shown, QRect(480, 0, 120, 600), Grey), 120 * 600);
    EXPECT_EQ(CountColor(shown, QRect(0, 536, 480, 64), Grey), 480 * 64);
    // A screen of no size shows only grey; an area of no size is an empty raster.
    const QImage none = RenderPlayerPreview(TSkinBuilder(0, -5).Doc, -1, {0, QSize(30, 20), Grey});
    EXPECT_EQ(CountColor(none, none.rect(), Grey), 600);
    EXPECT_TRUE(RenderPlayerPreview(doc, -1, {0, QSize(0, 0), Grey}).isNull());
}

TEST(Presentation, EveryZoomShowsTheWholeCompositionScaled) {
    const TSkinDocument doc = BusySkin();
    const QImage screen = ComposePlayerScreen(doc, 2);
    for (int z = 0; z < 4; ++z)
        for (QSize area : {QSize(300, 200), QSize(1000, 1200), QSize(7, 3)}) {
            const TPreviewView view{z, area, Grey};
            EXPECT_EQ(RenderPlayerPreview(doc, 2, view), PresentComposition(screen, view))
                << "zoom " << z << ", area " << area.width() << "x" << area.height();
        }
}

TEST(Presentation, APannedViewShowsTheSamePixelsShifted) {
    // Offsets that cut blocks, cut text layers and markers, and run past the
    // far edge (clamped): only the part in view is composed, through every
    // painter, and must match the whole composition.
    const TSkinDocument doc = BusySkin();
    const QImage screen = ComposePlayerScreen(doc, 2);
    for (int z = 0; z < 4; ++z)
        for (QPoint offset : {QPoint(37, 0), QPoint(13, 251), QPoint(5000, 5000)}) {
            const TPreviewView view{z, QSize(150, 90), Grey, offset};
            TPreviewView clamped = view;
            clamped.Offset = ClampedOffset(240, 268, view);
            EXPECT_EQ(RenderPlayerPreview(doc, 2, view), PresentComposition(screen, clamped))
                << "zoom " << z << ", offset " << offset.x() << "," << offset.y();
        }
}

TEST(Presentation, TheOffsetStopsAtTheFarEdgesAndMapsPointsToScreenPixels) {
    // A 480 x 536 screen at 800 % in a 660 x 589 area: 3840 x 4288 pixels.
    const TPreviewView view{3, QSize(660, 589), Grey, QPoint(99999, -4)};
    EXPECT_EQ(ClampedOffset(480, 536, view), QPoint(3840 - 660, 0));
    EXPECT_EQ(ClampedOffset(50, 50, view), QPoint(0, 0)); // fits: stays at the top-left
    const TPreviewView panned{3, QSize(660, 589), Grey, QPoint(3180, 3699)};
    EXPECT_EQ(ScreenPixelAt(QPoint(659, 588), panned), QPoint(479, 535));
    EXPECT_EQ(ScreenPixelAt(QPoint(3, 0), panned), QPoint(397, 462));
    EXPECT_EQ(ScreenPixelAt(QPoint(-1, 0), {1, QSize(10, 10), Grey}), QPoint(-1, 0));
}

TEST(Presentation, AtEveryDesktopScaleAScreenPixelIsOneWholeBlockAndPointsHitIt) {
    // round(2^z x scale), halves up.
    const std::pair<qreal, std::array<int, 4>> scales[] = {{1.0, {1, 2, 4, 8}},
                                                           {1.25, {1, 3, 5, 10}},
                                                           {1.5, {2, 3, 6, 12}},
                                                           {1.75, {2, 4, 7, 14}},
                                                           {2.0, {2, 4, 8, 16}}};
    const TSkinDocument doc = BusySkin();
    const QImage screen = ComposePlayerScreen(doc, 2);
    for (const auto& [scale, blocks] : scales)
        for (int z = 0; z < 4; ++z) {
            // Panned by an offset that cuts the blocks at the area's edges.
            TPreviewView view{z, QSize(97, 83), Grey, QPoint(301, 137), scale};
            const int b = BlockSizeOf(view);
            ASSERT_EQ(b, blocks[std::size_t(z)]) << "scale " << scale << ", zoom " << z;
            view.Offset = ClampedOffset(240, 268, view);
            const QImage shown = RenderPlayerPreview(doc, 2, view);
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x) {
                    const QPoint block((x + view.Offset.x()) / b, (y + view.Offset.y()) / b);
                    const QRgb expected =
                        screen.rect().contains(block) ? screen.pixel(block) : 0xFF000000u | Grey;
                    ASSERT_EQ(shown.pixel(x, y), expected) << x << "," << y;
                    // The point the desktop gives for that device pixel.
                    ASSERT_EQ(ScreenPixelAt(QPointF(x / scale, y / scale), view), block);
                }
        }
}

TEST(Presentation, AHugeScreenCostsWhatTheAreaShows) {
    // Composing a 65535 x 65535 screen and a 60000 x 60000 text layer whole
    // would need gigabytes; the part in view must look the same as on a
    // small screen holding the same items.
    auto build = [](int size) {
        TSkinBuilder skin(size, size);
        skin.Add(ImageAt(5, 5, 50, 40, Red));
        skin.Add(TextAt(0, 0, 60000, 60000, haLeft, vaTop, 40));
        skin.Add(TextAt(-59000, 20, 60000, 60000, haRight, vaTop, 14));
        skin.Add(TextAt(100, 100, 60000, 60000, haCenter, vaCenter, 14)); // far away
        return skin.Doc;
    };
    const TSkinDocument huge = build(65535), small = build(400);
    for (int z = 0; z < 4; ++z) {
        const TPreviewView view{z, QSize(400 << z, 400 << z), Grey};
        const QImage shown = RenderPlayerPreview(huge, 1, view);
        EXPECT_EQ(shown, RenderPlayerPreview(small, 1, view)) << "zoom " << z;
        EXPECT_GT(CountColor(shown, shown.rect(), qRgb(255, 192, 64)), 100);
    }
}
