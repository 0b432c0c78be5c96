// skntool diff's comparison: one test per kind of change, and equal
// documents whose records lie in another order giving no difference.
#include "item_list.h"
#include "sample_skin.h"
#include "skin_diff.h"

#include <gtest/gtest.h>

#include <QJsonObject>

#include <functional>

namespace {

using D = TSkinDifference;

std::string Describe(const std::vector<D>& diffs) {
    std::string s;
    for (const D& d : diffs)
        s += std::to_string(int(d.Scope)) + " " + d.Change.toStdString() + " " +
             std::to_string(d.Item) + " \"" + d.Name.toStdString() + "\" " + d.Field.toStdString() +
             "\n";
    return s;
}

std::vector<D> Diff(const std::function<void(TSkinDocument&)>& change) {
    const TSkinDocument a = MakeRichSkin();
    TSkinDocument b = a;
    change(b);
    return DiffSkins(a, b);
}

QJsonValue Size(int w, int h) {
    return QJsonObject{{"Width", w}, {"Height", h}};
}

} // namespace

TEST(SkinDiff, EqualDocumentsHaveNoDifference) {
    EXPECT_EQ(Describe(DiffSkins(MakeRichSkin(), MakeRichSkin())), "");
}

TEST(SkinDiff, RecordsStoredInAnotherOrderAreTheSameDocument) {
    const TSkinDocument a = MakeRichSkin();
    TSkinDocument b = a;
    std::swap(b.Texts[0], b.Texts[1]);
    std::swap(b.Items[1].Index, b.Items[9].Index); // "title" and "artist"
    ASSERT_EQ(b.Items[1].Name, "title");
    ASSERT_EQ(b.Items[9].Name, "artist");
    EXPECT_EQ(Describe(DiffSkins(a, b)), "");
}

TEST(SkinDiff, AChangedScreenSize) {
    const std::vector<D> diffs = Diff([](auto& d) { d.ScreenHeight = 536; });
    ASSERT_EQ(diffs.size(), 1u) << Describe(diffs);
    EXPECT_EQ(diffs[0].Scope, D::dsScreen);
    EXPECT_EQ(diffs[0].Field, "ScreenHeight");
    EXPECT_EQ(diffs[0].Old, 268);
    EXPECT_EQ(diffs[0].New, 536);
}

TEST(SkinDiff, EachChangedFieldWithItsOldAndNewValue) {
    const std::vector<D> diffs = Diff([](auto& d) {
        d.Texts[1].X = 7; // "artist", row 9
        d.Texts[1].Bold = true;
        d.Wheels[0].Pictures[2].Image = PatternImage(3, 3);
    });
    ASSERT_EQ(diffs.size(), 3u) << Describe(diffs);
    EXPECT_EQ(diffs[0].Change, "changed");
    EXPECT_EQ(diffs[0].Item, 3);
    EXPECT_EQ(diffs[0].Name, "wheel");
    EXPECT_EQ(diffs[0].Kind, ikWheel);
    EXPECT_EQ(diffs[0].Field, "Pictures[2]");
    EXPECT_EQ(diffs[1].Item, 9);
    EXPECT_EQ(diffs[1].Name, "artist");
    EXPECT_EQ(diffs[1].Field, "Bold");
    EXPECT_EQ(diffs[1].Old, false);
    EXPECT_EQ(diffs[1].New, true);
    EXPECT_EQ(diffs[2].Field, "X");
    EXPECT_EQ(diffs[2].Old, 0);
    EXPECT_EQ(diffs[2].New, 7);
}

TEST(SkinDiff, AChangedPictureGivesBothSizesAndTheDifferingPixels) {
    const TSkinDocument a = MakeRichSkin();
    TSkinDocument b = a;
    QImage& logo = b.Images[1].Picture.Image; // 17 x 9, row 8
    logo.setPixel(16, 8, logo.pixel(16, 8) ^ 0x000100);
    logo.setPixel(0, 0, logo.pixel(0, 0) ^ 0x010000);
    std::vector<D> diffs = DiffSkins(a, b);
    ASSERT_EQ(diffs.size(), 1u) << Describe(diffs);
    EXPECT_EQ(diffs[0].Item, 8);
    EXPECT_EQ(diffs[0].Field, "Picture");
    EXPECT_EQ(diffs[0].Old, Size(17, 9));
    EXPECT_EQ(diffs[0].New, Size(17, 9));
    EXPECT_EQ(diffs[0].Pixels, 2);

    // One column more: the 9 new pixels differ, the rest as before.
    b.Images[1].Picture.Image = a.Images[1].Picture.Image.copy(0, 0, 18, 9);
    diffs = DiffSkins(a, b);
    ASSERT_EQ(diffs.size(), 1u) << Describe(diffs);
    EXPECT_EQ(diffs[0].New, Size(18, 9));
    EXPECT_EQ(diffs[0].Pixels, 9);
}

TEST(SkinDiff, PicturesWithoutPixelsDifferByTheirSides) {
    const std::vector<D> diffs = Diff([](auto& d) {
        d.Buttons[0].Pictures[1].Image = QImage();
        d.Buttons[0].Pictures[1].EmptySides = QSize(5, 0);
        d.Buttons[1].Pictures[0].Image = QImage();
    });
    ASSERT_EQ(diffs.size(), 2u) << Describe(diffs);
    EXPECT_EQ(diffs[0].Field, "Pictures[1]");
    EXPECT_EQ(diffs[0].New, Size(5, 0));
    EXPECT_EQ(diffs[0].Pixels, 22 * 13);
    EXPECT_EQ(diffs[1].Field, "Pictures[0]");
    EXPECT_EQ(diffs[1].New, Size(0, 0));

    TSkinDocument a = MakeRichSkin(), b = a;
    a.Buttons[1].Pictures[0] = {QImage(), true, QSize(0, 4)};
    b.Buttons[1].Pictures[0] = {QImage(), true, QSize(3, 0)};
    ASSERT_EQ(DiffSkins(a, b).size(), 1u);
    EXPECT_EQ(DiffSkins(a, b)[0].Pixels, 0);
}

TEST(SkinDiff, DifferingPixelsCountWhatOnlyOnePictureHas) {
    const QImage a = PatternImage(4, 3), b = PatternImage(2, 5);
    // Overlap 2 x 3 equal; a has 6 more, b has 4 more.
    EXPECT_EQ(DifferingPixels(a, b), 10);
    EXPECT_EQ(DifferingPixels(a, a.convertToFormat(QImage::Format_RGB888)), 0);
    EXPECT_EQ(DifferingPixels(QImage(), a), 12);
}

TEST(SkinDiff, AddedAndRemovedItemsByNameWithoutMovingTheRest) {
    const std::vector<D> diffs = Diff([](auto& d) {
        DeleteItem(d, 2); // "play"
        AddItem(d, ikText, "clock");
    });
    ASSERT_EQ(diffs.size(), 2u) << Describe(diffs);
    EXPECT_EQ(diffs[0].Change, "removed");
    EXPECT_EQ(diffs[0].Item, 2);
    EXPECT_EQ(diffs[0].Name, "play");
    EXPECT_EQ(diffs[0].Kind, ikButton);
    EXPECT_EQ(diffs[1].Change, "added");
    EXPECT_EQ(diffs[1].Item, 9);
    EXPECT_EQ(diffs[1].Name, "clock");
    EXPECT_EQ(diffs[1].Kind, ikText);
}

TEST(SkinDiff, AMovedItemIsTheOneThatLeftTheOrder) {
    const std::vector<D> diffs = Diff([](auto& d) {
        for (int row = 7; row > 0; --row)
            MoveItemUp(d, row); // "vol" from row 7 to the top
    });
    ASSERT_EQ(diffs.size(), 1u) << Describe(diffs);
    EXPECT_EQ(diffs[0].Change, "moved");
    EXPECT_EQ(diffs[0].Item, 0);
    EXPECT_EQ(diffs[0].Name, QStringLiteral("vol\u20AC\u00FF"));
    EXPECT_EQ(diffs[0].Old, 7);
    EXPECT_EQ(diffs[0].New, 0);
}

TEST(SkinDiff, ARenameOnTheSameRowAndAKindChange) {
    std::vector<D> diffs = Diff([](auto& d) { d.Items[4].Name = "progress"; });
    ASSERT_EQ(diffs.size(), 1u) << Describe(diffs);
    EXPECT_EQ(diffs[0].Change, "changed");
    EXPECT_EQ(diffs[0].Field, "Name");
    EXPECT_EQ(diffs[0].Old, "position");
    EXPECT_EQ(diffs[0].New, "progress");

    // The same name on another kind is another item.
    diffs = Diff([](auto& d) {
        DeleteItem(d, 9); // text "artist"
        AddItem(d, ikImage, "artist");
    });
    ASSERT_EQ(diffs.size(), 2u) << Describe(diffs);
    EXPECT_EQ(diffs[0].Change, "removed");
    EXPECT_EQ(diffs[1].Change, "added");
}

TEST(SkinDiff, PlaylistFieldsAndIcons) {
    const std::vector<D> diffs = Diff([](auto& d) {
        d.Playlist.Colors[2] = 0x123456;
        d.Playlist.ItemBold = true;
        d.Playlist.SongIcon.Image = PatternImage(16, 16);
    });
    ASSERT_EQ(diffs.size(), 3u) << Describe(diffs);
    for (const D& d : diffs) {
        EXPECT_EQ(d.Scope, D::dsPlaylist);
        EXPECT_EQ(d.Item, -1);
    }
    EXPECT_EQ(diffs[0].Field, "Colors[2]");
    EXPECT_EQ(diffs[0].Old, 0);
    EXPECT_EQ(diffs[0].New, 0x123456);
    EXPECT_EQ(diffs[1].Field, "ItemBold");
    EXPECT_EQ(diffs[2].Field, "SongIcon");
    EXPECT_EQ(diffs[2].Old, Size(15, 15));
    EXPECT_EQ(diffs[2].New, Size(16, 16));
    EXPECT_EQ(diffs[2].Pixels, 16 * 16);
}

// A change to the last element of each list alone: the last row, the last
// record of each kind, the last slot, the last colour, the last key of each
// object. A comparison stopping one short of any list misses one of them.
TEST(SkinDiff, TheLastElementOfEveryList) {
    const TSkinDocument a = MakeRichSkin();
    const auto rowOf = [&a](int kind, std::size_t records) {
        for (qsizetype row = 0; row < a.Items.size(); ++row)
            if (a.Items[row].Kind == kind && std::size_t(a.Items[row].Index) == records - 1)
                return int(row);
        return -1;
    };
    const QImage other = PatternImage(5, 3, 7);
    struct TCase {
        std::function<void(TSkinDocument&)> Change;
        D::TScope Scope;
        int Row;
        const char* Field;
    };
    const TCase cases[] = {
        {[](TSkinDocument& d) { d.ScreenWidth += 1; }, D::dsScreen, -1, "ScreenWidth"},
        {[](TSkinDocument& d) { d.Items.back().Name = "renamed"; }, D::dsItem,
         int(a.Items.size()) - 1, "Name"},
        {[&](TSkinDocument& d) { d.Images.back().Picture.Image = other; }, D::dsItem,
         rowOf(ikImage, a.Images.size()), "Picture"},
        {[](TSkinDocument& d) { d.Texts.back().Y += 1; }, D::dsItem, rowOf(ikText, a.Texts.size()),
         "Y"},
        {[&](TSkinDocument& d) { d.Buttons.back().Pictures.back().Image = other; }, D::dsItem,
         rowOf(ikButton, a.Buttons.size()), "Pictures[3]"},
        {[&](TSkinDocument& d) { d.Wheels.back().Pictures.back().Image = other; }, D::dsItem,
         rowOf(ikWheel, a.Wheels.size()), "Pictures[7]"},
        {[&](TSkinDocument& d) { d.Trackbars.back().Pictures.back().Image = other; }, D::dsItem,
         rowOf(ikTrackbar, a.Trackbars.size()), "Pictures[1]"},
        {[](TSkinDocument& d) { d.Playlist.Colors.back() ^= 1; }, D::dsPlaylist, -1, "Colors[6]"},
        {[](TSkinDocument& d) { d.Playlist.TitleHeight += 1; }, D::dsPlaylist, -1, "TitleHeight"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Field);
        TSkinDocument b = a;
        c.Change(b);
        const std::vector<D> diffs = DiffSkins(a, b);
        ASSERT_EQ(diffs.size(), 1u) << Describe(diffs);
        EXPECT_EQ(diffs[0].Scope, c.Scope);
        EXPECT_EQ(diffs[0].Change, "changed");
        EXPECT_EQ(diffs[0].Item, c.Row);
        EXPECT_EQ(diffs[0].Field, c.Field);
    }
}
