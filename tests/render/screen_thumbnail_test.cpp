// The thumbnail of a screen: its shape kept, never enlarged, and the pixels
// those of the screen's own composition.
#include "player_screen.h"
#include "render_test_util.h"
#include "screen_thumbnail.h"

#include <gtest/gtest.h>

namespace {

// Stripes of colour, so a wrong column or row shows.
TSkinDocument Striped(int w, int h) {
    TSkinBuilder b(w, h);
    for (int i = 0; i < 12; ++i) {
        TiImage stripe;
        stripe.X = i * 23 - 5;
        stripe.Y = i * 19 - 3;
        stripe.Picture = Pic(17, 300, qRgb(20 * i, 255 - 20 * i, (60 * i) % 256), false);
        b.Add(stripe);
    }
    return b.Doc;
}

} // namespace

TEST(ScreenThumbnail, TheSizeKeepsTheShapeAndNeverGrows) {
    EXPECT_EQ(FittedSize(240, 268, 128), QSize(115, 128)); // 114.6 rounds up
    EXPECT_EQ(FittedSize(400, 200, 128), QSize(128, 64));
    EXPECT_EQ(FittedSize(65535, 1, 256), QSize(256, 1));
    EXPECT_EQ(FittedSize(240, 268, 268), QSize(240, 268));
    EXPECT_EQ(FittedSize(240, 268, 4096), QSize(240, 268));
    EXPECT_TRUE(FittedSize(0, 268, 128).isEmpty());
    EXPECT_TRUE(FitPlayerScreen(Striped(0, 10), -1, 64).isNull());
}

TEST(ScreenThumbnail, ASmallScreenIsTheCompositionScaledSmoothly) {
    const TSkinDocument doc = Striped(240, 268);
    const QImage whole = ComposePlayerScreen(doc, 3);
    EXPECT_EQ(FitPlayerScreen(doc, 3, 500), whole);
    EXPECT_EQ(FitPlayerScreen(doc, 3, 64),
              whole.scaled(57, 64, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

TEST(ScreenThumbnail, ALargeScreenIsSampledAtEachPixelsCentre) {
    // Every screen is sampled when none may be composed whole; the rows look
    // only at the entries that reach them, in the state's look (a track
    // bar's progress far beyond one third).
    TSkinDocument doc = Striped(240, 268);
    TiTrackbar bar;
    bar.X = 5;
    bar.Y = 120;
    bar.Width = 230;
    bar.Height = 30;
    bar.ShowScroller = true;
    bar.Pictures = {Pic(230, 6, qRgb(250, 250, 10)), Pic(9, 40, qRgb(10, 250, 250))};
    doc.Trackbars.push_back(bar);
    doc.Items.push_back({ikTrackbar, 0, "bar"});
    TDeviceState state;
    state.Progress[12] = 200;
    for (const int selected : {-1, 3, 12}) {
        SCOPED_TRACE(selected);
        const QImage whole = ComposePlayerScreen(doc, selected, state);
        const QImage sampled = FitPlayerScreen(doc, selected, 64, state, 0);
        ASSERT_EQ(sampled.size(), QSize(57, 64));
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 57; ++x)
                ASSERT_EQ(sampled.pixel(x, y),
                          whole.pixel((2 * x + 1) * 240 / 114, (2 * y + 1) * 268 / 128))
                    << x << "," << y;
    }
}
