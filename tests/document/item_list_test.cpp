#include "item_list.h"
#include "new_skin.h"
#include "sample_skin.h"

#include <gtest/gtest.h>

namespace {
// Every record designated by exactly one entry of its kind, and back.
void ExpectInvariants(const TSkinDocument& doc) {
    for (int k = 0; k < ItemKindCount; ++k) {
        std::vector<int> seen(std::size_t(RecordCount(doc, k)), 0);
        for (const TDocItem& item : doc.Items)
            if (item.Kind == k) {
                ASSERT_GE(item.Index, 0);
                ASSERT_LT(item.Index, int(seen.size()));
                ++seen[std::size_t(item.Index)];
            }
        for (int count : seen)
            EXPECT_EQ(count, 1) << "kind " << k;
    }
}
} // namespace

TEST(AddItem, DefaultsOfEveryKind) {
    TSkinDocument doc = MakeDefaultSkin();
    EXPECT_EQ(AddItem(doc, ikImage, "i"), 0);
    EXPECT_EQ(AddItem(doc, ikText, "t"), 1);
    EXPECT_EQ(AddItem(doc, ikButton, "b"), 2);
    EXPECT_EQ(AddItem(doc, ikWheel, "w"), 3);
    EXPECT_EQ(AddItem(doc, ikTrackbar, ""), 4);
    EXPECT_EQ(AddItem(doc, 5, "bad"), -1);
    ASSERT_EQ(doc.Items.size(), 5);
    EXPECT_EQ(doc.Items[4].Name, "");

    EXPECT_FALSE(doc.Images[0].Picture.Transparent);
    EXPECT_EQ(doc.Images[0].Picture.Image, PlaceholderPicture());

    const TiText& t = doc.Texts[0];
    EXPECT_EQ(t.Width, 200);
    EXPECT_EQ(t.Height, 40);
    EXPECT_EQ(t.FontSize, 14);
    EXPECT_EQ(t.Color, 0xFFFFFFu);
    EXPECT_EQ(t.PreviewText, "(song title)");
    EXPECT_FALSE(t.Bold);

    for (const TPicture& p : doc.Buttons[0].Pictures)
        EXPECT_TRUE(p.Transparent);
    EXPECT_EQ(doc.Buttons[0].Command, pcVolumeUp);
    EXPECT_EQ(doc.Wheels[0].BallDist, 10);
    EXPECT_EQ(doc.Wheels[0].BallCount, 2);
    for (const TPicture& p : doc.Wheels[0].Pictures)
        EXPECT_EQ(p.Width(), 15);
    const TiTrackbar& k = doc.Trackbars[0];
    EXPECT_EQ(k.Width, 100);
    EXPECT_EQ(k.Height, 30);
    EXPECT_TRUE(k.ProgressStretch);
    EXPECT_FALSE(k.ShowScroller);
    EXPECT_TRUE(k.Pictures[1].Transparent);
    ExpectInvariants(doc);
}

TEST(MoveItem, OnlyTheOrderChanges) {
    TSkinDocument doc = MakeDefaultSkin();
    AddItem(doc, ikImage, "a");
    AddItem(doc, ikImage, "b");
    AddItem(doc, ikText, "c");
    const auto images = doc.Images;
    EXPECT_FALSE(MoveItemUp(doc, 0));
    EXPECT_FALSE(MoveItemUp(doc, -1));
    EXPECT_FALSE(MoveItemDown(doc, 2));
    EXPECT_FALSE(MoveItemDown(doc, -1));
    EXPECT_TRUE(MoveItemUp(doc, 1));
    EXPECT_EQ(doc.Items[0].Name, "b");
    EXPECT_EQ(doc.Items[0].Index, 1);
    EXPECT_TRUE(MoveItemDown(doc, 1));
    EXPECT_EQ(doc.Items[2].Name, "a");
    EXPECT_EQ(doc.Images, images);
    ExpectInvariants(doc);
}

TEST(DeleteItem, RepointsLaterRecordsOfTheSameKindOnly) {
    TSkinDocument doc = MakeDefaultSkin();
    AddItem(doc, ikText, "t0");
    AddItem(doc, ikImage, "img0");
    AddItem(doc, ikButton, "b0");
    AddItem(doc, ikImage, "img1");
    AddItem(doc, ikImage, "img2");
    doc.Images[1].X = 11;
    doc.Images[2].X = 22;
    // List img2 before img1 so the fix-up cannot rely on list order.
    MoveItemUp(doc, 4);
    MoveItemUp(doc, 3);

    const auto next = DeleteItem(doc, 1); // img0, record 0
    ASSERT_TRUE(next.has_value());
    EXPECT_EQ(*next, 1);
    ASSERT_EQ(doc.Images.size(), 2u);
    ExpectInvariants(doc);
    for (const TDocItem& item : doc.Items) {
        if (item.Name == "img1") {
            EXPECT_EQ(RecordOf<TiImage>(doc, item)->X, 11);
        } else if (item.Name == "img2") {
            EXPECT_EQ(RecordOf<TiImage>(doc, item)->X, 22);
        } else if (item.Kind != ikImage) {
            EXPECT_EQ(item.Index, 0);
        }
    }
}

TEST(DeleteItem, SelectionAfterwards) {
    TSkinDocument doc = MakeDefaultSkin();
    AddItem(doc, ikText, "a");
    AddItem(doc, ikText, "b");
    EXPECT_FALSE(DeleteItem(doc, 2).has_value());
    EXPECT_FALSE(DeleteItem(doc, -1).has_value());
    EXPECT_EQ(DeleteItem(doc, 1), 0);  // the last row: the new last row
    EXPECT_EQ(DeleteItem(doc, 0), -1); // the only row: nothing
    EXPECT_TRUE(doc.Texts.empty());
}

TEST(DeleteItem, KeepsInvariantsThroughARichSkin) {
    TSkinDocument doc = MakeRichSkin();
    ExpectInvariants(doc);
    while (!doc.Items.isEmpty()) {
        DeleteItem(doc, int(doc.Items.size()) / 2);
        ExpectInvariants(doc);
    }
    for (int k = 0; k < ItemKindCount; ++k)
        EXPECT_EQ(RecordCount(doc, k), 0);
}
