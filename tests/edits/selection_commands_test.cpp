// The item commands on several selected items: one step each, the rows
// and the selection they leave, the names of new items, and undo back to
// the start.
#include "code_page.h"
#include "item_clipboard.h"
#include "sample_skin.h"
#include "selection_commands.h"
#include "skin_file.h"
#include "user_commands.h"

#include <gtest/gtest.h>

namespace {

QByteArrayList Names(const TSkinDocument& doc) {
    QByteArrayList names;
    for (const TDocItem& item : doc.Items)
        names << item.Name;
    return names;
}

} // namespace

TEST(SelectionCommands, NewNamesTakeTheNextFreeNumberWithin255Bytes) {
    const QSet<QByteArray> taken = {"wheel", "wheel 2", "wheel 3", "a 9", "x1"};
    EXPECT_EQ(UniqueItemName("free", taken), "free");
    EXPECT_EQ(UniqueItemName("wheel 2", taken), "wheel 4");
    EXPECT_EQ(UniqueItemName("wheel", taken), "wheel 4");
    EXPECT_EQ(UniqueItemName("a 9", taken), "a 10");
    EXPECT_EQ(UniqueItemName("x1", taken), "x1 2");
    const QByteArray longest(255, 'n');
    const QByteArray named = UniqueItemName(longest, {longest});
    EXPECT_EQ(named, QByteArray(253, 'n') + " 2");
}

TEST(SelectionCommands, DeleteMoveAndDuplicateActOnEverySelectedItemInOneStepEach) {
    TOpenSkin skin(MakeRichSkin());
    const TSkinDocument start = skin.Doc();
    const QByteArrayList names = Names(start);
    const int n = int(start.Items.size());

    skin.SetSelection({0, 1, 4}, 4);
    MoveSelectionCommand(skin, true); // 0 and 1 are blocked at the top
    EXPECT_EQ(Names(skin.Doc()).mid(0, 5),
              (QByteArrayList{names[0], names[1], names[2], names[4], names[3]}));
    EXPECT_EQ(skin.Selection(), QList<int>({0, 1, 3}));
    EXPECT_EQ(skin.Current(), 3);
    MoveSelectionCommand(skin, false);
    EXPECT_EQ(Names(skin.Doc()).mid(0, 5),
              (QByteArrayList{names[2], names[0], names[1], names[3], names[4]}));
    EXPECT_EQ(skin.Edits().History().count(), 2);

    skin.SetSelection({1, 3}, 1);
    EXPECT_EQ(DuplicateSelectionCommand(skin), QString());
    ASSERT_EQ(skin.Doc().Items.size(), n + 2);
    EXPECT_EQ(skin.Selection(), QList<int>({n, n + 1}));
    EXPECT_EQ(skin.Reference(), n);
    const QByteArrayList now = Names(skin.Doc());
    const QSet<QByteArray> distinct(now.begin(), now.end());
    EXPECT_EQ(distinct.size(), QSet<QByteArray>(names.begin(), names.end()).size() + 2);
    EXPECT_EQ(skin.Doc().Items[n].Kind, skin.Doc().Items[1].Kind);
    EXPECT_EQ(skin.Doc().Items[n + 1].Kind, skin.Doc().Items[3].Kind);

    // Rows whose records lie out of array order, deleted together.
    skin.SetSelection({0, 2, 5}, 0);
    DeleteSelectionCommand(skin, "Delete");
    EXPECT_EQ(skin.Doc().Items.size(), n - 1);
    EXPECT_EQ(skin.Selection(), QList<int>({3}));
    EXPECT_EQ(skin.Edits().History().count(), 4);
    EXPECT_EQ(skin.Edits().History().undoText(), "Delete 3 items");

    while (skin.Edits().History().canUndo())
        skin.Edits().Undo();
    EXPECT_EQ(skin.Doc(), start);
    while (skin.Edits().History().canRedo())
        skin.Edits().Redo();
    EXPECT_EQ(skin.Doc().Items.size(), n - 1);
}

TEST(SelectionCommands, PasteNamesEachNewItemApartAndSelectsThem) {
    TOpenSkin skin(MakeRichSkin());
    const int n = int(skin.Doc().Items.size());
    skin.SetSelection({2, 3}, 3);
    const QByteArray copied = SelectionSkin(skin);
    EXPECT_EQ(PasteItemsCommand(skin, copied, "Paste"), QString());
    EXPECT_EQ(PasteItemsCommand(skin, copied, "Paste"), QString());
    EXPECT_EQ(skin.Selection(), QList<int>({n + 2, n + 3}));
    const QByteArrayList names = Names(skin.Doc());
    EXPECT_EQ(QSet<QByteArray>(names.begin(), names.end()).size(),
              QSet<QByteArray>(names.begin(), names.begin() + n).size() + 4);
    EXPECT_EQ(skin.Edits().History().count(), 2);
}
