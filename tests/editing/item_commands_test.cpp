#include "code_page.h"
#include "dither.h"
#include "editing_fixture.h"
#include "item_commands.h"
#include "item_list.h"

#include <QApplication>
#include <QListWidget>

#include <gtest/gtest.h>

namespace {

class ItemCommands : public ::testing::Test, public TEditingFixture {
  protected:
    QListWidget lbItems;
    TItemCommands Commands{Context, &lbItems,
                           [this] { Log << QStringLiteral("lbItemsClick %1").arg(Row()); },
                           [this] { Log << QStringLiteral("ShowEmptyPage"); }};

    int Row() const {
        const auto selected = lbItems.selectedItems();
        return selected.isEmpty() ? -1 : lbItems.row(selected.first());
    }
    QStringList Rows() const {
        QStringList rows;
        for (int i = 0; i < lbItems.count(); ++i)
            rows << lbItems.item(i)->text();
        return rows;
    }
    QStringList Names() const {
        QStringList names;
        for (const TDocItem& item : Doc.Items)
            names << DecodeName(item.Name);
        return names;
    }
    void Add(void (TItemCommands::*command)(), const QString& name) {
        Prompts.Names = {name};
        (Commands.*command)();
    }
    // Images "a" "b" "c", a text "t" between them: entries a(0) t b(1) c(2).
    void FourItems() {
        Add(&TItemCommands::ToolButton12Click, "a");
        Add(&TItemCommands::ToolButton10Click, "t");
        Add(&TItemCommands::ToolButton12Click, "b");
        Add(&TItemCommands::ToolButton12Click, "c");
        for (int i = 0; i < 3; ++i)
            Doc.Images[std::size_t(i)].X = 100 + i;
        Log.clear();
        Prompts.NameQuestions.clear();
    }
};

} // namespace

TEST_F(ItemCommands, EachAddAsksForANameWithItsKindsTexts) {
    const struct {
        void (TItemCommands::*Command)();
        const char* Caption;
        const char* Prompt;
        TItemKind Kind;
    } adds[] = {
        {&TItemCommands::ToolButton12Click, "Image name", "Type the name of the new image",
         ikImage},
        {&TItemCommands::ToolButton10Click, "Text name", "Type the name of the new text", ikText},
        {&TItemCommands::ToolButton9Click, "Button name", "Type the name of the new button",
         ikButton},
        {&TItemCommands::ToolButton11Click, "Wheel name", "Type the name of the new wheel",
         ikWheel},
        {&TItemCommands::ToolButton13Click, "Trackbar name", "Type the name of the new trackbar",
         ikTrackbar},
    };
    int row = 0;
    for (const auto& add : adds) {
        Log.clear();
        Add(add.Command, QStringLiteral("item %1").arg(row));
        const auto& q = Prompts.NameQuestions.back();
        EXPECT_EQ(q.Caption, add.Caption);
        EXPECT_EQ(q.Prompt, add.Prompt);
        EXPECT_EQ(q.Text, QString());
        ASSERT_EQ(Doc.Items.size(), row + 1);
        EXPECT_EQ(Doc.Items.back().Kind, add.Kind);
        EXPECT_EQ(Doc.Items.back().Index, 0);
        EXPECT_EQ(Row(), row);
        // The new item is shown before the screen of the current mode is repainted.
        EXPECT_EQ(Log,
                  (QStringList{"Changed ItemsAdded", QStringLiteral("lbItemsClick %1").arg(row)}));
        ++row;
    }
    EXPECT_EQ(Rows(), Names());
    EXPECT_EQ(Doc.Texts[0].PreviewText, "(song title)");
    EXPECT_TRUE(Doc.Buttons[0].Pictures[3].Transparent);
    EXPECT_FALSE(Doc.Images[0].Picture.Transparent);
}

TEST_F(ItemCommands, CancelledEmptyAndUnencodableNames) {
    Prompts.Names = {std::nullopt};
    Commands.ToolButton11Click();
    EXPECT_TRUE(Doc.Items.isEmpty());
    EXPECT_TRUE(Doc.Wheels.empty());
    EXPECT_TRUE(Log.isEmpty());

    Add(&TItemCommands::ToolButton11Click, "");
    Add(&TItemCommands::ToolButton11Click, "");
    EXPECT_EQ(Rows(), (QStringList{"", ""}));
    EXPECT_EQ(Doc.Wheels.size(), 2u);

    // No byte for the omega: the list shows what the file gets.
    Add(&TItemCommands::ToolButton9Click, QStringLiteral("\u03A9 caf\u00E9 \u20AC"));
    EXPECT_EQ(Doc.Items.back().Name, QByteArray("? caf\xE9 \x80"));
    EXPECT_EQ(Rows().back(), QStringLiteral("? caf\u00E9 \u20AC"));
}

TEST_F(ItemCommands, MovesExchangeNeighboursAndKeepTheItemCurrent) {
    FourItems();
    lbItems.setCurrentRow(0);
    Log.clear();
    Commands.ToolButton15Click(); // first row: nothing, not even a repaint
    lbItems.setCurrentRow(3);
    Log.clear();
    Commands.ToolButton16Click(); // last row
    EXPECT_TRUE(Log.isEmpty());

    Commands.ToolButton15Click();
    EXPECT_EQ(Names(), (QStringList{"a", "t", "c", "b"}));
    EXPECT_EQ(Rows(), Names());
    EXPECT_EQ(Row(), 2);
    EXPECT_EQ(Log, (QStringList{"Changed ItemsSwapped", "lbItemsClick 2"}));
    EXPECT_EQ(Doc.Items[2].Index, 2); // records stay where they are
    EXPECT_EQ(Doc.Images[2].X, 102);

    Log.clear();
    lbItems.setCurrentRow(0);
    Log.clear();
    Commands.ToolButton16Click();
    EXPECT_EQ(Names(), (QStringList{"t", "a", "c", "b"}));
    EXPECT_EQ(Row(), 1);
    EXPECT_EQ(Log, (QStringList{"Changed ItemsSwapped", "lbItemsClick 1"}));

    lbItems.clearSelection();
    Log.clear();
    Commands.ToolButton15Click();
    Commands.ToolButton16Click();
    Commands.ToolButton18Click();
    Commands.lbItemsDblClick();
    EXPECT_TRUE(Log.isEmpty());
    EXPECT_TRUE(Prompts.NameQuestions.empty());
    EXPECT_EQ(Doc.Items.size(), 4);
}

TEST_F(ItemCommands, DeleteClosesTheGapAndMovesTheSelection) {
    FourItems();
    lbItems.setCurrentRow(0); // image "a", record 0
    Log.clear();
    Commands.ToolButton18Click();
    EXPECT_EQ(Names(), (QStringList{"t", "b", "c"}));
    EXPECT_EQ(Rows(), Names());
    ASSERT_EQ(Doc.Images.size(), 2u);
    // b and c now designate records 0 and 1, which still hold their values.
    EXPECT_EQ(Doc.Images[std::size_t(Doc.Items[1].Index)].X, 101);
    EXPECT_EQ(Doc.Images[std::size_t(Doc.Items[2].Index)].X, 102);
    EXPECT_EQ(Doc.Items[0].Index, 0); // the text is untouched
    EXPECT_EQ(Row(), 0);
    EXPECT_EQ(Log, (QStringList{"Changed ItemsRemoved", "lbItemsClick 0"}));

    lbItems.setCurrentRow(2);
    Log.clear();
    Commands.ToolButton18Click(); // the last row: the new last row is selected
    EXPECT_EQ(Names(), (QStringList{"t", "b"}));
    EXPECT_EQ(Row(), 1);

    Commands.ToolButton18Click();
    Commands.ToolButton18Click();
    EXPECT_TRUE(Doc.Items.isEmpty());
    EXPECT_EQ(lbItems.count(), 0);
    EXPECT_EQ(Row(), -1);
    EXPECT_EQ(Log.mid(Log.size() - 2), (QStringList{"Changed ItemsRemoved", "ShowEmptyPage"}));
    EXPECT_TRUE(Doc.Images.empty());
    EXPECT_TRUE(Doc.Texts.empty());
}

TEST_F(ItemCommands, RenameShowsTheRowsTextAndChangesOnlyTheName) {
    FourItems();
    lbItems.setCurrentRow(2);
    Log.clear();
    Prompts.Names = {std::nullopt, QStringLiteral("renamed \u2603")};
    Commands.lbItemsDblClick();
    EXPECT_EQ(Names()[2], "b");
    Commands.lbItemsDblClick();
    ASSERT_EQ(Prompts.NameQuestions.size(), 2u);
    EXPECT_EQ(Prompts.NameQuestions[0].Caption, "Change name");
    EXPECT_EQ(Prompts.NameQuestions[0].Prompt, "Type the new name of the selected object");
    EXPECT_EQ(Prompts.NameQuestions[0].Text, "b");
    EXPECT_EQ(Doc.Items[2].Name, QByteArray("renamed ?"));
    EXPECT_EQ(Rows()[2], "renamed ?");
    EXPECT_EQ(Log, QStringList{"Changed ItemRenamed"}); // the row is not shown again
}

TEST_F(ItemCommands, DitherAsksFirstAndTouchesOnlyItemPictures) {
    Add(&TItemCommands::ToolButton9Click, "b");
    QImage grey(4, 2, QImage::Format_RGB32);
    grey.fill(qRgb(128, 128, 128));
    Doc.Buttons[0].Pictures[2].Image = grey;
    Doc.Playlist.SongIcon.Image = grey;
    const TSkinDocument before = Doc;
    Log.clear();

    Commands.ToolButton20Click(); // No
    ASSERT_EQ(Prompts.YesNoQuestions.size(), 1u);
    EXPECT_EQ(Prompts.YesNoQuestions[0].Caption, "Information");
    EXPECT_EQ(Prompts.YesNoQuestions[0].Text,
              "Are you sure you want to apply Floyd-Steinberg dithering to all the images on your "
              "skin?\rIt may take several minutes to be completed.");
    EXPECT_EQ(Doc, before);
    EXPECT_TRUE(Log.isEmpty());

    Prompts.YesNo = {true};
    Commands.ToolButton20Click();
    QImage expected = grey;
    DitherPicture(expected);
    EXPECT_EQ(Doc.Buttons[0].Pictures[2].Image, expected);
    EXPECT_EQ(Doc.Playlist.SongIcon.Image, grey);
    EXPECT_EQ(Log, QStringList{"Changed Pictures"});
    EXPECT_FALSE(QApplication::overrideCursor());
}
