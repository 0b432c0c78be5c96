// What the editor remembers between runs (window, zoom, mode, dialog
// folders, recent skins, shared by editors running at once), and the open
// skin rewritten on disk by another program.
#include "desktop_prompts.h"
#include "editor_settings.h"
#include "player_panel.h"
#include "problems_panel.h"
#include "real_files.h"
#include "sample_skin.h"
#include "session_fixture.h"
#include "view_panels.h"

#include <QAction>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QSaveFile>
#include <QSettings>
#include <QStackedWidget>
#include <QToolButton>

#include <sys/stat.h>

namespace {
// One string, so that a failure prints readably.
std::string Lines(const QStringList& list) {
    return list.join('\n').toStdString();
}

QStringList MenuLines(const QMenu* menu) {
    QStringList lines;
    for (const QAction* action : menu->actions())
        lines << (action->isSeparator() ? QStringLiteral("-")
                                        : action->text() + " | " + action->toolTip());
    return lines;
}
} // namespace

TEST_F(SessionTest, RecentSkinsNewestFirstTenAtMostKeptBetweenRuns) {
    Launch();
    QStringList paths;
    for (int i = 0; i < 12; ++i) {
        paths << WriteFile(QStringLiteral("skin%1.skn").arg(i), EncodeSkin(MakeRichSkin()));
        Form->OpenSkinFile(paths.back());
    }
    Form->OpenSkinFile(paths[5]); // again: to the top, not twice
    QStringList expected{paths[5]};
    for (int i = 11; i >= 2; --i)
        if (i != 5) expected << paths[i];
    EXPECT_EQ(Lines(Form->RecentSkins.Paths()), Lines(expected));
    const QStringList lines = MenuLines(Form->OpenRecent1);
    ASSERT_EQ(lines.size(), 12);
    EXPECT_EQ(lines[0], "skin5.skn | " + paths[5]);
    EXPECT_EQ(lines[10], "-");
    EXPECT_EQ(lines[11], "Clear list | Clear list");
    Quit();

    Launch();
    EXPECT_EQ(Lines(Form->RecentSkins.Paths()), Lines(expected));
    // An entry chosen opens the skin as Open does.
    Form->OpenRecent1->actions()[2]->trigger();
    EXPECT_EQ(Form->Doc.FileName, expected[2]);
    EXPECT_EQ(Form->RecentSkins.Paths().first(), expected[2]);

    // One gone: said, taken off the list, nothing else changed.
    AddImage("Sky");
    const QString title = Form->windowTitle();
    QFile::remove(expected[4]);
    Form->OpenRecentFile(expected[4]);
    ASSERT_EQ(Prompts.Messages.size(), 1);
    EXPECT_TRUE(Prompts.Messages[0].contains(expected[4]));
    EXPECT_FALSE(Form->RecentSkins.Paths().contains(expected[4]));
    EXPECT_EQ(Form->RecentSkins.Paths().size(), 9);
    EXPECT_EQ(Form->windowTitle(), title);
    EXPECT_FALSE(Form->Context.Edits.History().isClean());

    Form->OpenRecent1->actions().last()->trigger();
    EXPECT_TRUE(Form->RecentSkins.Paths().isEmpty());
    EXPECT_EQ(Lines(MenuLines(Form->OpenRecent1)), "-\nClear list | Clear list");
    Quit();
    Launch();
    EXPECT_TRUE(Form->RecentSkins.Paths().isEmpty());
}

TEST_F(SessionTest, TheFirstStartIsTheUsualOneAndTheNextHasTheSettingsOfTheLast) {
    TForm1 plain(Prompts);
    Launch();
    EXPECT_FALSE(Session->WindowRestored());
    EXPECT_EQ(Form->size(), plain.size());
    EXPECT_EQ(Form->ComboBox1->currentIndex(), 0);
    EXPECT_TRUE(Form->ToolButton8->isChecked());

    TDesktopPrompts dialogs;
    dialogs.CreateWindows(Form.get());
    Session = std::make_unique<TDesktopSession>(*Form, &dialogs);
    EXPECT_FALSE(Form->Problems1->isChecked());
    Form->Problems1->setChecked(true);
    Form->ComboBox1->setCurrentIndex(2);
    Form->ComboBox1Change();
    Form->ToolButton6->click();
    Form->setGeometry(40, 50, 900, 720);
    dialogs.SetFileDialogFolder(TFileDialog::OpenPicture, Home.path());
    Quit();
    // A dialog not used says nothing about where the user keeps skins.
    EXPECT_FALSE(
        QSettings(EditorSettingsPath(), QSettings::IniFormat).contains("dialogs/openSkin"));

    TDesktopPrompts again;
    Form = std::make_unique<TForm1>(Prompts);
    again.CreateWindows(Form.get());
    Session = std::make_unique<TDesktopSession>(*Form, &again);
    EXPECT_TRUE(Form->Problems1->isChecked());
    EXPECT_FALSE(Form->ViewPanels().Problems->isHidden());
    EXPECT_TRUE(Session->WindowRestored());
    EXPECT_EQ(Form->size(), QSize(900, 720));
    EXPECT_EQ(Form->ComboBox1->currentIndex(), 2);
    EXPECT_TRUE(Form->ToolButton6->isChecked());
    EXPECT_EQ(Form->Notebook1->currentIndex(), PlaylistPage);
    EXPECT_EQ(again.FileDialogFolder(TFileDialog::OpenPicture), Home.path());
    Session.reset();
    Form.reset();
}

TEST_F(SessionTest, ADamagedOrUnwritableSettingsFileIsIgnoredWithoutAWord) {
    QDir().mkpath(QFileInfo(EditorSettingsPath()).path());
    QFile file(EditorSettingsPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("[window]\ngeometry=@ByteArray(\x01\x02junk)\n[view]\nzoom=banana\n"
                          "mode=7\n\xff\xfe\x00[[[=\n",
                          60));
    file.close();
    TForm1 plain(Prompts);
    Launch();
    EXPECT_FALSE(Session->WindowRestored());
    EXPECT_EQ(Form->size(), plain.size());
    EXPECT_EQ(Form->ComboBox1->currentIndex(), 0);
    EXPECT_TRUE(Form->ToolButton8->isChecked());
    Quit();

    // Its folder a file: nothing can be written there.
    QDir(QFileInfo(EditorSettingsPath()).path()).removeRecursively();
    WriteFile("config/lumoraskin", "not a folder");
    Launch();
    Form->OpenSkinFile(WriteFile("sky.skn", EncodeSkin(MakeRichSkin())));
    Quit();
    EXPECT_TRUE(Prompts.Asked.isEmpty());
}

TEST_F(SessionTest, TheToolkitsDialogsKeepNothingInTheConfigurationFolder) {
    // As on the desktop, where the toolkit's file goes to the configuration folder.
    const QString config = Home.filePath("config");
    QDir().mkpath(config);
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, config);
    SetToolkitSettingsAside();
    QColorDialog::setCustomColor(0, Qt::red);
    delete new QFileDialog;
    QSettings(QSettings::UserScope, "QtProject").setValue("probe", 1);
    EXPECT_EQ(QDir(config).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST_F(SessionTest, ASkinRewrittenOnDiskIsReloadedWhenUnchangedAndAskedAboutWhenChanged) {
    TSkinDocument skin = MakeRichSkin();
    const QString path = WriteFile("sky.skn", EncodeSkin(skin));
    Launch();
    Form->OpenSkinFile(path);
    Form->PlayerPanel->SelectRow(3);
    Form->PlayerPanel->lbItemsClick();
    Form->ComboBox1->setCurrentIndex(1);
    Form->ComboBox1Change();
    auto rewrite = [&](const QByteArray& bytes) {
        // As a program that writes a new file and renames it over the old.
        QSaveFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        ASSERT_TRUE(file.commit());
    };

    skin.Items[0].Name = "Renamed";
    rewrite(EncodeSkin(skin));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->Doc.Items[0].Name == "Renamed"; }, 5'000));
    EXPECT_EQ(Form->PlayerPanel->SelectedRow(), 3);
    EXPECT_EQ(Form->ComboBox1->currentIndex(), 1);
    EXPECT_TRUE(Prompts.Asked.isEmpty());

    // Half written: never shown, no message; the rest of it is.
    skin.Items[0].Name = "Whole";
    const QByteArray whole = EncodeSkin(skin);
    {
        QFile file(path); // in place, as a plain copy does
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(whole.left(whole.size() / 2));
    }
    QTest::qWait(600);
    EXPECT_EQ(Form->Doc.Items[0].Name, "Renamed");
    EXPECT_TRUE(Prompts.Asked.isEmpty());
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(whole.mid(whole.size() / 2));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->Doc.Items[0].Name == "Whole"; }, 5'000));

    // The editor's own save is no news.
    AddImage("Sky");
    Form->SaveSkin();
    QTest::qWait(600);
    EXPECT_TRUE(Prompts.YesNoQuestions.empty());

    // Changed here and there: asked; No keeps the editor's skin.
    AddImage("Moon");
    rewrite(whole);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Prompts.YesNoQuestions.empty(); }, 5'000));
    EXPECT_TRUE(Prompts.YesNoQuestions[0].Text.contains("\"sky.skn\""));
    EXPECT_EQ(Form->Doc.Items.last().Name, "Moon");
    Prompts.YesNo.push_back(true);
    skin.Items[0].Name = "Third";
    rewrite(EncodeSkin(skin));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->Doc.Items[0].Name == "Third"; }, 5'000));
    EXPECT_EQ(Prompts.YesNoQuestions.size(), 2u);
    EXPECT_TRUE(Form->Context.Edits.History().isClean());
}

TEST_F(SessionTest, TwoEditorsChangingTheRecentListKeepEachOthersChanges) {
    const QString a = WriteFile("a.skn", EncodeSkin(MakeRichSkin()));
    const QString b = WriteFile("b.skn", EncodeSkin(MakeRichSkin()));
    const QString c = WriteFile("c.skn", EncodeSkin(MakeRichSkin()));
    Launch();
    TForm1 other(Prompts);
    auto otherSession = std::make_unique<TDesktopSession>(other, nullptr);
    Form->OpenSkinFile(a);
    other.OpenSkinFile(b);
    Form->OpenSkinFile(c);
    EXPECT_EQ(Lines(Form->RecentSkins.Paths()), Lines({c, b, a}));
    other.OpenRecent1->actions().last()->trigger(); // Clear list
    Quit();                                         // the first editor ends holding its older list
    otherSession.reset();
    Launch();
    EXPECT_EQ(Lines(Form->RecentSkins.Paths()), "");
}

TEST_F(SessionTest, ASettingsFileThatIsAFifoOrHugeIsNeitherReadNorWritten) {
    const QString path = EditorSettingsPath();
    QDir().mkpath(QFileInfo(path).path());
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    {
        TChildEditor child("-", PathOf("expected.skn"));
        ASSERT_TRUE(child.WaitReady()); // not held opening the FIFO
        ASSERT_TRUE(child.Terminate());
    }
    EXPECT_TRUE(S_ISFIFO(Stat(path).st_mode));

    QFile::remove(path);
    const QByteArray huge = "[view]\nzoom=2\n" + QByteArray(EditorSettingsMaxBytes, ';') + '\n';
    WriteFile("config/lumoraskin/lumoraskin.conf", huge);
    Launch();
    EXPECT_EQ(Form->ComboBox1->currentIndex(), 0);
    Quit();
    EXPECT_EQ(ReadBytes(path), huge);
}
