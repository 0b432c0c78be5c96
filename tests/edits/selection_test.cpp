// Several items selected in the open skin, and the editor's own marks on
// items: the rules of each way to select, and both following their items
// through steps and their undo.
#include "item_steps.h"
#include "open_skin.h"
#include "sample_skin.h"
#include "selection_commands.h"
#include "skin_file.h"
#include "state_folder_test.h"
#include "user_folders.h"

#include <QDir>

#include <gtest/gtest.h>

TEST(Selection, ToggleRangeAndAllKeepTheOrderOfSelectingAndTheCurrent) {
    TOpenSkin skin(MakeRichSkin());
    int told = 0;
    QObject::connect(&skin, &TOpenSkin::SelectionChanged, [&told] { ++told; });
    skin.Select(4);
    skin.Toggle(1);
    skin.Toggle(6);
    EXPECT_EQ(skin.Selection(), QList<int>({4, 1, 6}));
    EXPECT_EQ(skin.Current(), 6);
    EXPECT_EQ(skin.Reference(), 4);

    skin.Toggle(1); // not the current: the current stays
    EXPECT_EQ(skin.Current(), 6);
    skin.Toggle(6); // the current: the most recently selected remaining
    EXPECT_EQ(skin.Selection(), QList<int>({4}));
    EXPECT_EQ(skin.Current(), 4);
    const int before = told;
    skin.Toggle(4); // never empty
    EXPECT_EQ(skin.Selection(), QList<int>({4}));
    EXPECT_EQ(told, before);
    skin.MakeCurrent(4);
    EXPECT_EQ(told, before);

    skin.SelectRange(1);
    EXPECT_EQ(skin.Selection(), QList<int>({1, 2, 3, 4}));
    EXPECT_EQ(skin.Current(), 1);
    EXPECT_EQ(skin.Reference(), 1);
    skin.MakeCurrent(3);
    EXPECT_EQ(skin.Selection(), QList<int>({1, 2, 3, 4}));
    EXPECT_EQ(skin.Current(), 3);

    skin.SetSelection({5, 2, 99}, 7); // 7 is not among them: the last
    EXPECT_EQ(skin.Selection(), QList<int>({2, 5}));
    EXPECT_EQ(skin.Current(), 5);
    EXPECT_TRUE(skin.IsSelected(2));
    EXPECT_FALSE(skin.IsSelected(3));

    skin.SelectAll();
    EXPECT_EQ(skin.Selection().size(), skin.Doc().Items.size());
    EXPECT_EQ(skin.Current(), 5);
    skin.Select(-1);
    EXPECT_TRUE(skin.Selection().isEmpty());
    EXPECT_EQ(skin.Reference(), -1);
}

TEST(Selection, FollowsItsItemsThroughAStepOfSeveralDeletesAndItsUndo) {
    TOpenSkin skin(MakeRichSkin());
    const int n = int(skin.Doc().Items.size());
    skin.SetSelection({1, 3}, 3);
    DeleteSelectionCommand(skin, "Delete");
    // The row after the last deleted one is current, alone.
    EXPECT_EQ(skin.Selection(), QList<int>({2}));
    EXPECT_EQ(skin.Doc().Items.size(), n - 2);

    skin.Edits().Undo();
    EXPECT_EQ(skin.Selection(), QList<int>({1, 3}));
    EXPECT_EQ(skin.Current(), 3);

    skin.SetSelection({n - 2, n - 1}, n - 1);
    DeleteSelectionCommand(skin, "Delete"); // nothing after them: the new last
    EXPECT_EQ(skin.Selection(), QList<int>({n - 3}));
}

TEST(Selection, SeveralSwapsInOneStepCarryTheSelectionAlong) {
    TOpenSkin skin(MakeRichSkin());
    skin.SetSelection({1, 2, 5}, 2);
    MoveSelectionCommand(skin, true);
    EXPECT_EQ(skin.Selection(), QList<int>({0, 1, 4}));
    EXPECT_EQ(skin.Current(), 1);
    skin.Edits().Undo();
    EXPECT_EQ(skin.Selection(), QList<int>({1, 2, 5}));
    EXPECT_EQ(skin.Current(), 2);
}

TEST(Marks, FollowTheirItemsThroughEditsAndUndoAndAreNeitherAStepNorUnsaved) {
    TOpenSkin skin(MakeRichSkin());
    const QByteArray saved = EncodeSkin(skin.Doc());
    int told = 0;
    QObject::connect(&skin, &TOpenSkin::MarksChanged, [&told] { ++told; });
    skin.SetLocked({2}, true);
    skin.SetHidden({2, 4}, true);
    EXPECT_EQ(told, 2);
    skin.SetHidden({4}, true);
    EXPECT_EQ(told, 2) << "nothing changed";
    EXPECT_FALSE(skin.Unsaved());
    EXPECT_EQ(skin.Edits().History().count(), 0);
    EXPECT_EQ(EncodeSkin(skin.Doc()), saved);

    skin.Edits().Push(std::make_unique<TMoveItemStep>(skin.Doc(), 2, 1, "Move up"));
    EXPECT_TRUE(skin.Locked(1) && skin.Hidden(1));
    EXPECT_FALSE(skin.Locked(2) || skin.Hidden(2));
    skin.Edits().Push(std::make_unique<TDeleteItemStep>(skin.Doc(), 0, "Delete"));
    EXPECT_TRUE(skin.Locked(0) && skin.Hidden(0));
    EXPECT_TRUE(skin.Hidden(3) && !skin.Locked(3));
    skin.Edits().Push(std::make_unique<TDeleteItemStep>(skin.Doc(), 0, "Delete"));
    EXPECT_FALSE(skin.Locked(0));
    std::vector<bool> hidden(std::size_t(skin.Doc().Items.size()), false);
    hidden[2] = true;
    EXPECT_EQ(skin.HiddenRows(), hidden);

    skin.Edits().Undo(); // the marked item comes back with its marks
    EXPECT_TRUE(skin.Locked(0) && skin.Hidden(0));
    skin.Edits().Undo();
    skin.Edits().Undo();
    EXPECT_TRUE(skin.Locked(2) && skin.Hidden(2) && skin.Hidden(4));
    EXPECT_FALSE(skin.Locked(1) || skin.Hidden(1));
}

class MarksFile : public TStateFolderTest {};

TEST_F(MarksFile, RememberedPerSkinFileMatchedByPlaceAndName) {
    TSkinDocument doc = MakeRichSkin();
    doc.FileName = Path("a.skn");
    doc.Untitled = false;
    {
        TOpenSkin skin(doc);
        skin.Replace(doc);
        skin.SetLocked({1}, true);
        skin.SetHidden({3}, true);
    }
    TSkinDocument renamed = doc;
    renamed.Items[3].Name = "another";
    TOpenSkin skin;
    skin.Replace(renamed);
    EXPECT_TRUE(skin.Locked(1));
    EXPECT_FALSE(skin.Hidden(3)) << "its name changed: forgotten";
    skin.Replace(doc);
    EXPECT_FALSE(skin.Hidden(3)) << "forgotten for good";

    TSkinDocument other = doc;
    other.FileName = Path("b.skn");
    skin.Replace(other);
    EXPECT_FALSE(skin.Locked(1)) << "another skin";

    TSkinDocument untitled = doc;
    untitled.Untitled = true;
    skin.Replace(untitled);
    skin.SetLocked({0}, true);
    EXPECT_TRUE(skin.Locked(0));
    EXPECT_EQ(QDir(UserStateFolder()).entryList({"marks-*"}, QDir::Files).size(), 1);
}
