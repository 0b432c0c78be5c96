#include "marker_box.h"
#include "render_test_util.h"

#include <gtest/gtest.h>

namespace {

TiImage ImageAt(int x, int y, int w, int h) {
    TiImage r;
    r.Picture = Pic(w, h, qRgb(255, 0, 0), false);
    r.X = x;
    r.Y = y;
    return r;
}

// A 40 x 40 wheel body whose right button lies well outside the body.
TiWheel WheelAt(int x, int y) {
    TiWheel w;
    w.X = x;
    w.Y = y;
    w.BallDist = 60;
    w.BallCount = 2;
    for (TPicture& p : w.Pictures)
        p = Pic(10, 10, qRgb(0, 255, 0));
    w.Pictures[0] = Pic(40, 40, qRgb(0, 0, 255));
    return w;
}

} // namespace

TEST(ItemAt, TheLaterOfOverlappingItemsIsPickedWithinItsBoxOnly) {
    TiText text;
    text.X = 30;
    text.Y = 30;
    text.Width = 50;
    text.Height = 20;
    TSkinBuilder skin(240, 268);
    skin.Add(ImageAt(20, 20, 70, 60)).Add(text).Add(WheelAt(40, 10));
    // (45, 35) lies in all three: the wheel, last in the list, is on top.
    EXPECT_EQ(ItemAt(skin.Doc, 45, 35), 2);
    // Right and bottom edges are outside: the wheel body ends at x 80, the
    // text at y 50.
    EXPECT_EQ(ItemAt(skin.Doc, 80, 35), 0);
    EXPECT_EQ(ItemAt(skin.Doc, 79, 49), 2);
    EXPECT_EQ(ItemAt(skin.Doc, 35, 49), 1);
    EXPECT_EQ(ItemAt(skin.Doc, 35, 50), 0);
    // The wheel's right button (centred 60 right of the body centre) is
    // drawn but is no part of its box.
    EXPECT_EQ(ItemAt(skin.Doc, 120, 30), -1);
    EXPECT_EQ(ItemAt(skin.Doc, 19, 20), -1);
}

TEST(ItemAt, ABoxOfNoSizeOrABrokenEntryIsNeverPicked) {
    TiText empty;
    empty.Width = 0;
    empty.Height = 40;
    TSkinBuilder skin(240, 268);
    skin.Add(ImageAt(0, 0, 20, 20)).Add(empty);
    skin.Doc.Items.push_back({ikButton, 7, "no record"});
    skin.Doc.Items.push_back({9, 0, "no kind"});
    EXPECT_EQ(ItemAt(skin.Doc, 0, 0), 0);
}
