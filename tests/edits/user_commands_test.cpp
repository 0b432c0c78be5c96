// Every item command through the open skin, without a window: the document,
// the current item and the saved state after each, and undo back to the start.
#include "item_clipboard.h"
#include "item_list.h"
#include "sample_skin.h"
#include "skin_file.h"
#include "user_commands.h"

#include <gtest/gtest.h>

#include <functional>

TEST(UserCommands, EachCommandIsOneStepLeavingItsItemCurrentAndUndoGoesBackToTheStart) {
    TOpenSkin skin(MakeRichSkin());
    const TSkinDocument start = skin.Doc();
    const int n = int(start.Items.size());
    const QByteArray copied = OneItemSkin(start, 1);
    struct TCase {
        const char* What;
        std::function<QString()> Run;
        int Count;   // items afterwards
        int Current; // the current item afterwards
    };
    const TCase cases[] = {
        {"add", [&] { return AddItemCommand(skin, ikWheel, "w"); }, n + 1, n},
        {"drop",
         [&] {
             const QString said =
                 AddPictureItemCommand(skin, "p", PatternImage(3, 2), QPoint(7, -2));
             const TiImage* dropped = RecordOf<TiImage>(skin.Doc(), skin.Doc().Items.back());
             EXPECT_TRUE(dropped && QPoint(dropped->X, dropped->Y) == QPoint(7, -2) &&
                         dropped->Picture.Image == PatternImage(3, 2));
             return said;
         },
         n + 2, n + 1},
        {"paste", [&] { return PasteItemsCommand(skin, copied, "Paste"); }, n + 3, n + 2},
        {"move up",
         [&] {
             MoveItemCommand(skin, n + 2, true);
             return QString();
         },
         n + 3, n + 1},
        {"rename",
         [&] {
             RenameItemCommand(skin, n + 1, "renamed");
             return QString();
         },
         n + 3, n + 1},
        {"delete",
         [&] {
             DeleteItemCommand(skin, n + 2, "Delete");
             return QString();
         },
         n + 2, n + 1},
    };
    int steps = 0;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(c.Run(), QString());
        EXPECT_EQ(skin.Edits().History().count(), ++steps);
        EXPECT_EQ(skin.Doc().Items.size(), c.Count);
        EXPECT_EQ(skin.Current(), c.Current);
        EXPECT_TRUE(skin.Unsaved());
    }
    EXPECT_EQ(skin.Doc().Items[n + 1].Name, QByteArray("renamed"));
    EXPECT_EQ(skin.Doc().Items[n + 1].Kind, start.Items[1].Kind) << "the pasted copy moved up";

    while (skin.Edits().History().canUndo())
        skin.Edits().Undo();
    EXPECT_EQ(skin.Doc(), start);
    EXPECT_FALSE(skin.Unsaved());
}

TEST(UserCommands, AFullListOrABadClipboardChangesNothingAndSaysWhy) {
    TOpenSkin skin(MakeDefaultSkin());
    EXPECT_FALSE(PasteItemsCommand(skin, "not a skin", "Paste").isEmpty());
    TSkinDocument full = MakeDefaultSkin();
    full.Items.resize(MaxItems);
    skin.Replace(full);
    EXPECT_EQ(AddItemCommand(skin, ikText, "t"), TooManyItemsText);
    EXPECT_EQ(AddPictureItemCommand(skin, "p", PatternImage(1, 1), {}), TooManyItemsText);
    EXPECT_EQ(PasteItemsCommand(skin, OneItemSkin(MakeRichSkin(), 0), "Paste"), TooManyItemsText);
    EXPECT_EQ(skin.Edits().History().count(), 0);
    EXPECT_EQ(skin.Doc().Items.size(), MaxItems);
}
