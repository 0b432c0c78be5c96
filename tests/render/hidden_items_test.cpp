// Entries a repaint leaves out: only those a later alike entry paints again.
#include "hidden_items.h"
#include "player_screen.h"
#include "render_test_util.h"

#include <gtest/gtest.h>

namespace {

const QRgb Red = qRgb(255, 0, 0), Blue = qRgb(0, 0, 255);

TiImage ImageAt(int x, int y, QImage picture) {
    TiImage r;
    r.Picture = {std::move(picture), false};
    r.X = x;
    r.Y = y;
    return r;
}

// A red picture, a blue one over part of it, the red one again (pixels
// equal, memory its own, as a skin file gives it).
TSkinBuilder Overlapping() {
    TSkinBuilder b(40, 30);
    b.Add(ImageAt(5, 5, Solid(20, 10, Red)));
    b.Add(ImageAt(10, 8, Solid(20, 10, Blue)));
    b.Add(ImageAt(5, 5, Solid(20, 10, Red)));
    return b;
}

} // namespace

TEST(HiddenItems, AnEntryPaintedAgainByALaterAlikeOneIsLeftOut) {
    const TSkinBuilder b = Overlapping();
    EXPECT_EQ(RepaintedLater(b.Doc, -1), (std::vector<bool>{true, false, false}));
    // The later copy does paint what the first one would have.
    const QImage screen = ComposePlayerScreen(b.Doc, -1);
    EXPECT_EQ(screen.pixel(6, 6), Red);
    EXPECT_EQ(screen.pixel(12, 9), Red);
    EXPECT_EQ(screen.pixel(28, 16), Blue);
}

TEST(HiddenItems, TheSelectedEntryKeepsItsMarkerWhereTheLaterCopyLeavesKeyPixels) {
    // A keyed button whose border is the key: its copy leaves the border alone.
    TiButton button;
    button.Pictures[0] = Pic(20, 10, TransparentKey);
    QImage& img = button.Pictures[0].Image;
    for (int y = 1; y < 9; ++y)
        for (int x = 1; x < 19; ++x)
            img.setPixel(x, y, Red);
    button.X = button.Y = 5;
    TSkinBuilder b(40, 30);
    b.Add(button).Add(button);
    EXPECT_EQ(RepaintedLater(b.Doc, -1), (std::vector<bool>{true, false}));
    EXPECT_EQ(RepaintedLater(b.Doc, 0), (std::vector<bool>{false, false}));
    const QImage screen = ComposePlayerScreen(b.Doc, 0);
    EXPECT_EQ(screen.pixel(5, 5), qRgb(255, 255, 255)); // a dot on black
    EXPECT_EQ(screen.pixel(6, 6), Red);
}

TEST(HiddenItems, EntriesThatDifferAreAllPainted) {
    TSkinBuilder b = Overlapping();
    b.Doc.Images[2].Picture.Image.setPixel(19, 9, Blue); // one pixel apart
    EXPECT_EQ(RepaintedLater(b.Doc, -1), (std::vector<bool>{false, false, false}));
    b.Doc.Images[2].Picture.Image = Solid(20, 10, Red);
    b.Doc.Images[2].X = 6; // elsewhere
    EXPECT_EQ(RepaintedLater(b.Doc, -1), (std::vector<bool>{false, false, false}));
}

TEST(HiddenItems, EntriesOfOtherKindsOrNoRecordAreNeverTakenForAlike) {
    TSkinBuilder b(40, 30);
    TiButton button;
    button.Pictures[0] = {Solid(20, 10, Red), false};
    button.X = button.Y = 5;
    b.Add(button);
    b.Add(ImageAt(5, 5, Solid(20, 10, Red))); // same pixels, another kind
    b.Doc.Items.push_back({ikImage, 7, "nowhere"});
    b.Doc.Items.push_back({ikImage, 7, "nowhere"});
    EXPECT_EQ(RepaintedLater(b.Doc, -1), (std::vector<bool>{false, false, false, false}));
}
