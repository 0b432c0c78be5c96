// New, Open, Save and Save as through the main window, with scripted answers.
#include "editor_fixture.h"
#include "item_list.h"
#include "new_skin.h"
#include "number_field.h"
#include "sample_skin.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

namespace {

// A 100 x 80 skin whose items lie in its top-left corner, so that the
// bottom-right screen pixel stays black whatever the items look like.
TSkinDocument SmallSkin() {
    TSkinDocument doc = MakeDefaultSkin();
    doc.ScreenWidth = 100;
    doc.ScreenHeight = 80;
    AddItem(doc, ikButton, "caf\xE9");
    AddItem(doc, ikImage, "logo");
    AddItem(doc, ikWheel, "wheel");
    return doc;
}

class FileCommandsTest : public EditorTest {
  protected:
    QString SmallSkinPath() { return WriteFile("name.skn", EncodeSkin(SmallSkin())); }

    // Everything a failed Open must leave alone.
    struct TState {
        QByteArray Skin;
        QString Title, FileName;
        bool Untitled;
        QStringList Rows;
        int Selected, Page, Zoom;
        bool operator==(const TState&) const = default;
    };
    TState State() const {
        QStringList rows;
        for (int i = 0; i < Form.PlayerPanel->lbItems->count(); ++i)
            rows << Form.PlayerPanel->lbItems->item(i)->text();
        return {EncodeSkin(Form.Doc),
                Form.windowTitle(),
                Form.Doc.FileName,
                Form.Doc.Untitled,
                rows,
                Form.PlayerPanel->SelectedRow(),
                Form.PlayerPanel->nbInspector->currentIndex(),
                Form.ComboBox1->currentIndex()};
    }
};

TEST_F(FileCommandsTest, NewGivesAnEmptySkinOfTheChosenSizeAtOneHundredPercent) {
    Open(SmallSkinPath());
    Form.ComboBox1->setCurrentIndex(2);
    Prompts.NewSkinSizes.push_back(QSize(640, 396));
    Form.NewSkinCommand();

    EXPECT_EQ(Form.Doc.ScreenWidth, 640);
    EXPECT_EQ(Form.Doc.ScreenHeight, 396);
    EXPECT_TRUE(Form.Doc.Items.isEmpty());
    EXPECT_TRUE(Form.Doc.Buttons.empty());
    EXPECT_TRUE(Form.Doc.Untitled);
    EXPECT_EQ(Form.windowTitle(), "Kelvane LumoraSkin 1.0 - [Untitled.skn]");
    EXPECT_EQ(Form.ComboBox1->currentText(), "100%");
    EXPECT_EQ(Form.PlayerPanel->lbItems->count(), 0);
    EXPECT_EQ(Form.PlayerPanel->SelectedRow(), -1);
    EXPECT_EQ(Form.PlayerPanel->nbInspector->currentIndex(), EmptyInspectorPage);
    EXPECT_EQ(Preview().pixel(639, 395), qRgb(0, 0, 0));
    EXPECT_EQ(Preview().pixel(0, 396), Grey());
}

TEST_F(FileCommandsTest, CancellingNewChangesNothing) {
    Open(SmallSkinPath());
    Form.ComboBox1->setCurrentIndex(1);
    const TState before = State();
    Form.NewSkinCommand();
    EXPECT_EQ(Prompts.Asked, QStringList({"AskFileName OpenSkin", "AskNewSkinSize"}));
    EXPECT_EQ(State(), before);
}

TEST_F(FileCommandsTest, OpenReplacesTheSkinSelectsTheFirstItemAndRepaints) {
    Form.ComboBox1->setCurrentIndex(1);
    const QString path = SmallSkinPath();
    Open(path);

    EXPECT_TRUE(Prompts.Errors.isEmpty());
    EXPECT_EQ(Form.windowTitle(), "Kelvane LumoraSkin 1.0 - [name.skn]");
    EXPECT_EQ(Form.Doc.FileName, path);
    EXPECT_FALSE(Form.Doc.Untitled);
    EXPECT_EQ(EncodeSkin(Form.Doc), EncodeSkin(SmallSkin()));
    ASSERT_EQ(Form.PlayerPanel->lbItems->count(), 3);
    EXPECT_EQ(Form.PlayerPanel->lbItems->item(0)->text(), QString::fromUtf8("caf\u00e9"));
    EXPECT_EQ(Form.PlayerPanel->lbItems->item(2)->text(), "wheel");
    EXPECT_EQ(Form.PlayerPanel->SelectedRow(), 0);
    EXPECT_EQ(Form.PlayerPanel->nbInspector->currentIndex(), int(ikButton));
    EXPECT_EQ(Form.ComboBox1->currentIndex(), 1) << "Open leaves the zoom";
    // The 100 x 80 screen at 200 %.
    EXPECT_EQ(Preview(), RenderPlayerPreview(Form.Doc, 0, View()));
    EXPECT_EQ(Preview().pixel(199, 159), qRgb(0, 0, 0));
    EXPECT_EQ(Preview().pixel(200, 0), Grey());
    EXPECT_EQ(Preview().pixel(0, 160), Grey());
}

TEST_F(FileCommandsTest, OpeningASkinWithoutItemsShowsTheEmptyPage) {
    Open(SmallSkinPath());
    TSkinDocument empty = MakeDefaultSkin();
    Open(WriteFile("empty.skn", EncodeSkin(empty)));
    EXPECT_EQ(Form.PlayerPanel->lbItems->count(), 0);
    EXPECT_EQ(Form.PlayerPanel->SelectedRow(), -1);
    EXPECT_EQ(Form.PlayerPanel->nbInspector->currentIndex(), EmptyInspectorPage);
    EXPECT_EQ(Form.windowTitle(), "Kelvane LumoraSkin 1.0 - [empty.skn]");
}

TEST_F(FileCommandsTest, CancellingOpenChangesNothing) {
    Open(SmallSkinPath());
    const TState before = State();
    Form.OpenSkin();
    EXPECT_EQ(State(), before);
    EXPECT_TRUE(Prompts.Errors.isEmpty());
}

TEST_F(FileCommandsTest, WrongVersionBeepsAndKeepsSkinNameAndTitleThenSelectsTheFirstRow) {
    const QString good = SmallSkinPath();
    Open(good);
    Form.PlayerPanel->SelectRow(2);
    Form.PlayerPanel->lbItemsClick();
    TState before = State();

    QByteArray bytes = EncodeSkin(MakeRichSkin());
    bytes[0] = char(0xE9); // version 1001
    Prompts.Asked.clear();
    Open(WriteFile("future.skn", bytes));

    EXPECT_EQ(Prompts.Asked,
              QStringList({"AskFileName OpenSkin", "Beep",
                           "ShowMessage The version of the skin file is not compatible with "
                           "the editor."}));
    EXPECT_EQ(Form.Doc.FileName, good) << "a later Save must not overwrite the other file";
    EXPECT_FALSE(Form.Doc.Untitled);
    EXPECT_EQ(Form.PlayerPanel->SelectedRow(), 0);
    EXPECT_EQ(Form.PlayerPanel->nbInspector->currentIndex(), int(ikButton));
    EXPECT_EQ(Preview(), RenderPlayerPreview(Form.Doc, 0, View()));
    before.Selected = 0;
    before.Page = int(ikButton);
    EXPECT_EQ(State(), before);
}

TEST_F(FileCommandsTest, TruncatedOrMissingFilesReportTheirErrorAndChangeNothing) {
    Open(SmallSkinPath());
    Form.PlayerPanel->SelectRow(1);
    Form.PlayerPanel->lbItemsClick();
    Form.ToolButton6->click();
    const TState before = State();
    const QImage shown = Preview();

    const QByteArray whole = EncodeSkin(MakeRichSkin());
    Open(WriteFile("cut.skn", whole.left(whole.size() / 2)));
    Open(PathOf("missing.skn"));
    Open(WriteFile("four.skn", whole.left(6)));

    EXPECT_EQ(Prompts.Errors, QStringList({"Read beyond end of file.", "File not found.",
                                           "Read beyond end of file."}));
    EXPECT_EQ(Prompts.Beeps, 0);
    EXPECT_EQ(State(), before);
    EXPECT_EQ(Preview(), shown) << "the playlist stays on screen";
}

TEST_F(FileCommandsTest, NewAndOpenInPlaylistModeRefillThePlaylistPage) {
    Form.ToolButton6->click();
    TPlaylistPanel& page = *Form.PlaylistPanel;
    page.CheckBox3->click();
    QTest::keyClicks(page.SpinEdit20, "5");
    ASSERT_EQ(Form.Doc.Playlist.TitleHeight, 305);
    Prompts.NewSkinSizes.push_back(QSize(240, 268));
    Form.ToolButton1->click();
    EXPECT_EQ(page.SpinEdit20->Value(), 30);
    EXPECT_FALSE(page.CheckBox3->isChecked());
    // A change on the page writes the new skin's values, not the old ones.
    page.CheckBox2->click();
    EXPECT_EQ(Form.Doc.Playlist.TitleHeight, 30);
    EXPECT_FALSE(Form.Doc.Playlist.ItemBold);

    TSkinDocument skin = SmallSkin();
    skin.Playlist.ItemHeight = 44;
    skin.Playlist.ItemBold = true;
    Open(WriteFile("look.skn", EncodeSkin(skin)));
    EXPECT_EQ(page.SpinEdit21->Value(), 44);
    EXPECT_TRUE(page.CheckBox3->isChecked());
    page.CheckBox2->click();
    EXPECT_EQ(Form.Doc.Playlist.ItemHeight, 44);
}

TEST_F(FileCommandsTest, SaveWritesToTheFileNameWithoutAsking) {
    const QString path = SmallSkinPath();
    Open(path);
    Form.Doc.ScreenWidth = 123;
    Prompts.Asked.clear();
    Form.SaveSkin();
    EXPECT_TRUE(Prompts.Asked.isEmpty());
    EXPECT_EQ(ReadBytes(path), EncodeSkin(Form.Doc));
    EXPECT_EQ(Form.windowTitle(), "Kelvane LumoraSkin 1.0 - [name.skn]");
}

TEST_F(FileCommandsTest, SavingAnUntitledSkinAsksForANameFirst) {
    Form.SaveSkin();
    EXPECT_EQ(Prompts.FileDialogs, std::vector<TFileDialog>{TFileDialog::SaveSkin});
    EXPECT_TRUE(Form.Doc.Untitled) << "cancelled: nothing written, nothing changed";
    EXPECT_EQ(Form.windowTitle(), "Kelvane LumoraSkin 1.0 - [Untitled.skn]");

    const QString path = PathOf("mine.skn");
    Prompts.FileNames.push_back(path);
    Form.SaveSkin();
    EXPECT_FALSE(Form.Doc.Untitled);
    EXPECT_EQ(Form.Doc.FileName, path);
    EXPECT_EQ(Form.windowTitle(), "Kelvane LumoraSkin 1.0 - [mine.skn]");
    const QByteArray written = ReadBytes(path);
    EXPECT_EQ(written.size(), 1034) << "the empty start-up skin";
    EXPECT_EQ(written, EncodeSkin(Form.Doc));
}

TEST_F(FileCommandsTest, SaveAsRenamesAndWritesEvenATitledSkin) {
    Open(SmallSkinPath());
    const QString copy = PathOf("copy.skn");
    Prompts.FileNames.push_back(copy);
    Form.SaveSkinAs();
    EXPECT_EQ(Form.Doc.FileName, copy);
    EXPECT_EQ(Form.windowTitle(), "Kelvane LumoraSkin 1.0 - [copy.skn]");
    EXPECT_EQ(ReadBytes(copy), ReadBytes(PathOf("name.skn")));
}

TEST_F(FileCommandsTest, AFailedSaveShowsTheErrorAndKeepsTheSkin) {
    const QString path = PathOf("no/such/folder/x.skn");
    Prompts.FileNames.push_back(path);
    const QByteArray before = EncodeSkin(Form.Doc);
    Form.SaveSkinAs();
    ASSERT_EQ(Prompts.Errors.size(), 1);
    EXPECT_TRUE(Prompts.Errors[0].endsWith('.')) << Prompts.Errors[0].toStdString();
    EXPECT_EQ(EncodeSkin(Form.Doc), before);
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
