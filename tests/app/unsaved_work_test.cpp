// Unsaved work is never dropped without a word: New, Open and Open recent
// ask first, the title marks unsaved changes, the 65,536th item is refused.
#include "editor_fixture.h"
#include "item_list.h"
#include "new_skin.h"
#include "sample_skin.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include <functional>

namespace {

class UnsavedWork : public EditorTest {
  protected:
    QString SkinAt(const QString& name) {
        TSkinDocument doc = MakeDefaultSkin();
        AddItem(doc, ikImage, "first");
        return WriteFile(name, EncodeSkin(doc));
    }
    void AddButton(const QString& name) {
        Prompts.Names.push_back(name);
        Form.ToolButton9Click();
    }
};

TEST_F(UnsavedWork, NewOpenAndOpenRecentAskFirstAndEachAnswerKeepsItsPromise) {
    const QString other = SkinAt("other.skn");
    struct TCommand {
        const char* Name;
        std::function<void()> Run;
        const char* NextQuestion; // what the command asks once it goes on, if anything
    };
    const TCommand commands[] = {
        {"new",
         [&] {
             Prompts.NewSkinSizes.push_back(QSize(320, 240));
             Form.NewSkinCommand();
         },
         "AskNewSkinSize"},
        {"open",
         [&] {
             Prompts.FileNames.push_back(other);
             Form.OpenSkin();
         },
         "AskFileName OpenSkin"},
        {"open recent", [&] { Form.OpenRecentFile(other); }, nullptr},
    };
    for (const TCommand& command : commands) {
        for (const TSaveAnswer answer :
             {TSaveAnswer::Cancel, TSaveAnswer::DontSave, TSaveAnswer::Save}) {
            SCOPED_TRACE(std::string(command.Name) + " answered " + std::to_string(int(answer)));
            const QString mine = SkinAt("mine.skn");
            const QByteArray onDisk = ReadBytes(mine);
            Open(mine);
            AddButton("new");
            ASSERT_EQ(Form.windowTitle(), "Kelvane LumoraSkin 1.0 - [mine.skn]*");
            const QByteArray edited = EncodeSkin(Form.Doc);
            Prompts.Asked.clear();
            Prompts.SaveAnswers.push_back(answer);
            command.Run();

            ASSERT_FALSE(Prompts.Asked.isEmpty());
            EXPECT_EQ(Prompts.Asked.first(), "AskSaveChanges mine.skn");
            if (answer == TSaveAnswer::Cancel) {
                EXPECT_EQ(Prompts.Asked.size(), 1) << "nothing else is asked";
                EXPECT_EQ(EncodeSkin(Form.Doc), edited);
                EXPECT_EQ(Form.windowTitle(), "Kelvane LumoraSkin 1.0 - [mine.skn]*");
                EXPECT_EQ(ReadBytes(mine), onDisk);
                Prompts.FileNames.clear(); // the answers the command never asked for
                Prompts.NewSkinSizes.clear();
                continue;
            }
            if (command.NextQuestion) {
                EXPECT_EQ(Prompts.Asked.value(1), command.NextQuestion);
            }
            EXPECT_EQ(ReadBytes(mine), answer == TSaveAnswer::Save ? edited : onDisk);
            EXPECT_NE(Form.Doc.FileName, mine) << "the command went on";
            EXPECT_FALSE(Form.windowTitle().endsWith('*'));
        }
    }
}

TEST_F(UnsavedWork, SaveOnAnUntitledSkinAsksForANameAndCancellingThatCancelsTheCommand) {
    AddButton("new");
    Prompts.SaveAnswers.push_back(TSaveAnswer::Save);
    Prompts.FileNames.push_back(std::nullopt); // the Save As dialog cancelled
    Form.OpenSkin();
    EXPECT_EQ(Prompts.Asked.mid(Prompts.Asked.size() - 2),
              QStringList({"AskSaveChanges Untitled.skn", "AskFileName SaveSkin"}));
    EXPECT_EQ(Form.Doc.Items.size(), 1);

    // A save that fails is no save: the command stops there too.
    Prompts.SaveAnswers.push_back(TSaveAnswer::Save);
    Prompts.FileNames.push_back(PathOf("no/such/folder/x.skn"));
    Form.NewSkinCommand();
    EXPECT_EQ(Prompts.Errors.size(), 1);
    EXPECT_FALSE(Prompts.Asked.contains("AskNewSkinSize"));
    EXPECT_EQ(Form.Doc.Items.size(), 1);
}

TEST_F(UnsavedWork, NoQuestionWithoutUnsavedChangesOrForARecentSkinThatIsGone) {
    AddButton("new");
    Form.Undo1Click(); // back to what New made
    EXPECT_EQ(Form.windowTitle(), "Kelvane LumoraSkin 1.0 - [Untitled.skn]");
    Prompts.Asked.clear();
    Form.NewSkinCommand();
    EXPECT_EQ(Prompts.Asked, QStringList{"AskNewSkinSize"});

    AddButton("new");
    Prompts.Asked.clear();
    Form.OpenRecentFile(PathOf("gone.skn"));
    ASSERT_EQ(Prompts.Asked.size(), 1);
    EXPECT_TRUE(Prompts.Asked[0].startsWith("ShowMessage")) << Prompts.Asked[0].toStdString();
}

TEST_F(UnsavedWork, TheTitleMarksUnsavedChangesAsTypedInAnyFileName) {
    const QString path = SkinAt("a[*].skn");
    Open(path);
    EXPECT_EQ(Form.windowTitle(), "Kelvane LumoraSkin 1.0 - [a[*].skn]");
    AddButton("b");
    EXPECT_EQ(Form.windowTitle(), "Kelvane LumoraSkin 1.0 - [a[*].skn]*");
    Form.Undo1Click();
    EXPECT_EQ(Form.windowTitle(), "Kelvane LumoraSkin 1.0 - [a[*].skn]");
    Form.Redo1Click();
    Form.SaveSkin();
    EXPECT_EQ(Form.windowTitle(), "Kelvane LumoraSkin 1.0 - [a[*].skn]");
    Form.Undo1Click(); // away from the saved state, backwards
    EXPECT_EQ(Form.windowTitle(), "Kelvane LumoraSkin 1.0 - [a[*].skn]*");
}

TEST_F(UnsavedWork, TheItemThatWouldNotFitTheFileChangesNothingAndSaysWhy) {
    TSkinDocument full = MakeDefaultSkin();
    TPicture placeholder; // shared by every record
    CreatePic(placeholder, true, false);
    full.Images.resize(MaxItems);
    for (int i = 0; i < MaxItems; ++i) {
        full.Items.push_back({ikImage, i, "i"});
        full.Images[std::size_t(i)].Picture = placeholder;
    }
    Form.ShowOpenedSkin(full);
    AddButton("one");
    Form.PlayerPanel->SelectRow(0);
    Form.Duplicate1Click();
    QApplication::clipboard()->clear();
    Form.Copy1Click();
    Form.Paste1Click();
    EXPECT_EQ(Form.Doc.Items.size(), MaxItems);
    EXPECT_FALSE(Form.Context.Edits.History().canUndo());
    const QString says = "The skin already holds 65,535 items, the most a skin file keeps.";
    EXPECT_EQ(Prompts.Errors, QStringList({says, says, says}));
    EXPECT_FALSE(Prompts.Asked.contains("AskName Add button")) << "refused before asking";
}

} // namespace
