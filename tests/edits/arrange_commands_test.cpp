// The Arrange commands on the open skin: where align and distribute put
// items of different sizes (odd centres, negative places, room that does
// not divide evenly), the drawing order, and lock and hide, which change
// neither the document nor its history.
#include "arrange_commands.h"
#include "item_list.h"
#include "marker_box.h"
#include "new_skin.h"
#include "skin_file.h"

#include <gtest/gtest.h>

namespace {

// Texts, whose marker box is their own X, Y, Width and Height.
class Arrange : public ::testing::Test {
  protected:
    TOpenSkin Skin;

    void SetUp() override {
        TSkinDocument doc;
        NewSkin(doc);
        doc.ScreenWidth = 101;
        doc.ScreenHeight = 60;
        Skin.Replace(doc);
    }
    // Appended as the list's last item.
    void Put(int x, int y, int w, int h) {
        TSkinDocument& doc = Skin.Doc();
        TiText text;
        text.X = x;
        text.Y = y;
        text.Width = w;
        text.Height = h;
        const int index = int(doc.Texts.size());
        doc.Texts.push_back(text);
        doc.Items.append(TDocItem{ikText, index, QByteArray::number(index)});
    }
    TBox Box(int row) const { return *MarkerBoxOf(Skin.Doc(), Skin.Doc().Items[row]); }
    QList<qint64> Lefts() const {
        QList<qint64> out;
        for (int row = 0; row < Skin.Doc().Items.size(); ++row)
            out << Box(row).Left;
        return out;
    }
    QList<qint64> Tops() const {
        QList<qint64> out;
        for (int row = 0; row < Skin.Doc().Items.size(); ++row)
            out << Box(row).Top;
        return out;
    }
    int Steps() { return Skin.Edits().History().count(); }
};

} // namespace

TEST_F(Arrange, AlignToTheReferenceWhichStaysOrToTheScreenForOneItem) {
    Put(-7, 5, 10, 4);  // 0
    Put(20, -3, 5, 9);  // 1: odd height and width
    Put(40, 11, 20, 1); // 2
    Skin.SetSelection({1, 0, 2}, 2);
    Skin.Toggle(1);
    Skin.Toggle(1); // 1 now selected after 0 and 2: the reference is 0
    ASSERT_EQ(Skin.Reference(), 0);

    AlignCommand(Skin, TAlign::Left);
    EXPECT_EQ(Lefts(), QList<qint64>({-7, -7, -7}));
    AlignCommand(Skin, TAlign::Right);
    EXPECT_EQ(Lefts(), QList<qint64>({-7, -2, -17}));
    // floor((2 * -7 + 10 - 5) / 2) = floor(-4.5) = -5; (2 * -7 + 10 - 20) / 2 = -12
    AlignCommand(Skin, TAlign::HorizontalCentre);
    EXPECT_EQ(Lefts(), QList<qint64>({-7, -5, -12}));
    AlignCommand(Skin, TAlign::Top);
    EXPECT_EQ(Tops(), QList<qint64>({5, 5, 5}));
    AlignCommand(Skin, TAlign::Bottom);
    EXPECT_EQ(Tops(), QList<qint64>({5, 0, 8}));
    // floor((10 + 4 - 9) / 2) = 2; floor((10 + 4 - 1) / 2) = 6
    AlignCommand(Skin, TAlign::VerticalCentre);
    EXPECT_EQ(Tops(), QList<qint64>({5, 2, 6}));
    EXPECT_EQ(Steps(), 6);
    AlignCommand(Skin, TAlign::VerticalCentre); // nothing moves: no step
    EXPECT_EQ(Steps(), 6);

    Skin.SetLocked({2}, true); // locked items never move
    AlignCommand(Skin, TAlign::Left);
    EXPECT_EQ(Lefts(), QList<qint64>({-7, -7, -12}));

    Skin.Select(1); // alone: to the screen, 101 x 60
    AlignCommand(Skin, TAlign::HorizontalCentre);
    AlignCommand(Skin, TAlign::Bottom);
    EXPECT_EQ(Box(1).Left, 48); // floor((101 - 5) / 2)
    EXPECT_EQ(Box(1).Top, 51);

    Skin.Edits().Undo();
    Skin.Edits().Undo();
    Skin.Edits().Undo();
    EXPECT_EQ(Lefts(), QList<qint64>({-7, -5, -12}));
}

TEST_F(Arrange, DistributeSpreadsTheLeftoverPixelsOverTheFirstGaps) {
    Put(0, 0, 10, 5);  // 0: first
    Put(50, 0, 7, 5);  // 1: last by left edge
    Put(13, 0, 3, 5);  // 2
    Put(13, 30, 4, 5); // 3: same left as 2, later in the list
    Put(31, 40, 1, 5); // 4
    Skin.SelectAll();
    // Span 57, sizes 25: room 32 over 4 gaps is 8 each.
    DistributeCommand(Skin, true);
    EXPECT_EQ(Lefts(), QList<qint64>({0, 50, 18, 29, 41}));
    EXPECT_EQ(Steps(), 1);
    DistributeCommand(Skin, true);
    EXPECT_EQ(Steps(), 1) << "already even: no step";

    Skin.Edits().Undo();
    Skin.Doc().Texts[1].X = 52; // room 34: gaps 9, 9, 8, 8
    DistributeCommand(Skin, true);
    EXPECT_EQ(Lefts(), QList<qint64>({0, 52, 19, 31, 43}));

    // Overlapping items: negative room, gaps floor(-7 / 2) = -4, the first
    // one pixel wider.
    Skin.SetSelection({0, 2, 3}, 0);
    Skin.Doc().Texts[0].Y = 0;
    Skin.Doc().Texts[2].Y = 1;
    Skin.Doc().Texts[3].Y = 3;
    Skin.Doc().Texts[2].Height = 5;
    // Tops 0, 1, 3; heights 5, 5, 5; span 8, room -7.
    DistributeCommand(Skin, false);
    EXPECT_EQ(Box(2).Top, 2);
    EXPECT_EQ(Box(3).Top, 3);
}

TEST_F(Arrange, FrontAndBackKeepTheOrderAmongTheSelectedAndFollowTheSelection) {
    for (int i = 0; i < 5; ++i)
        Put(i, 0, 1, 1);
    Skin.SetSelection({1, 3}, 1);
    Skin.SetHidden({3}, true);
    BringToFrontCommand(Skin);
    QByteArrayList names;
    for (const TDocItem& item : Skin.Doc().Items)
        names << item.Name;
    EXPECT_EQ(names, (QByteArrayList{"0", "2", "4", "1", "3"}));
    EXPECT_EQ(Skin.Selection(), QList<int>({3, 4}));
    EXPECT_EQ(Skin.Current(), 3);
    EXPECT_TRUE(Skin.Hidden(4));
    SendToBackCommand(Skin);
    EXPECT_EQ(Skin.Doc().Items[0].Name, "1");
    EXPECT_EQ(Skin.Doc().Items[1].Name, "3");
    EXPECT_TRUE(Skin.Hidden(1));
    Skin.Edits().Undo();
    Skin.Edits().Undo();
    EXPECT_EQ(Skin.Doc().Items[3].Name, "3");
    EXPECT_TRUE(Skin.Hidden(3));
    EXPECT_EQ(Skin.Selection(), QList<int>({1, 3}));
}

TEST_F(Arrange, LockAndHideToggleTheSelectionAndNeverChangeTheSavedBytes) {
    for (int i = 0; i < 3; ++i)
        Put(i, 0, 1, 1);
    const QByteArray saved = EncodeSkin(Skin.Doc());
    Skin.SetSelection({0, 1}, 1);
    Skin.SetLocked({0}, true);
    ToggleLockCommand(Skin); // mixed: all locked
    EXPECT_TRUE(Skin.Locked(0) && Skin.Locked(1));
    ToggleLockCommand(Skin);
    EXPECT_FALSE(Skin.Locked(0) || Skin.Locked(1));
    ToggleHideCommand(Skin);
    EXPECT_TRUE(Skin.Hidden(0) && Skin.Hidden(1) && !Skin.Hidden(2));
    EXPECT_EQ(EncodeSkin(Skin.Doc()), saved);
    EXPECT_EQ(Steps(), 0);
    EXPECT_FALSE(Skin.Unsaved());
}
