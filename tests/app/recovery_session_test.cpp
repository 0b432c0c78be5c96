// The recovery copy: kept while the skin differs from its file, written
// before the editor ends, offered at the next start after a crash, set aside
// when damaged, one per editor.
#include "editor_settings.h"
#include "new_skin.h"
#include "player_panel.h"
#include "sample_skin.h"
#include "session_fixture.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QListWidget>
#include <QScopeGuard>
#include <QSemaphore>

TEST_F(SessionTest, AKilledEditorsChangesAreOfferedAndYesRestoresThemByteForByte) {
    const QString skin = WriteFile("sky.skn", EncodeSkin(MakeRichSkin()));
    {
        TChildEditor child(skin, PathOf("expected.skn"));
        ASSERT_TRUE(child.WaitReady());
    } // kill -9
    ASSERT_EQ(Copies().size(), 1);

    Prompts.YesNo.push_back(true);
    Launch();
    ASSERT_EQ(Prompts.YesNoQuestions.size(), 1u);
    EXPECT_EQ(Prompts.YesNoQuestions[0].Caption, ProgramTitle);
    EXPECT_TRUE(Prompts.YesNoQuestions[0].Text.startsWith("Restore the unsaved changes to \"" +
                                                          skin + "\" from "));
    EXPECT_EQ(Form->windowTitle(), WindowTitleFor(skin) + "*");
    EXPECT_EQ(Form->Doc.FileName, skin);
    EXPECT_FALSE(Form->Doc.Untitled);
    EXPECT_FALSE(Form->Context.Edits.History().isClean());
    EXPECT_EQ(ReadBytes(skin), EncodeSkin(MakeRichSkin())); // the user's file untouched
    // The copy is this editor's now: one copy, not the killed editor's.
    EXPECT_EQ(Copies().size(), 1);

    Form->SaveSkin();
    EXPECT_EQ(ReadBytes(skin), ReadBytes(PathOf("expected.skn")));
    EXPECT_TRUE(Copies().isEmpty()); // Save removes it
}

TEST_F(SessionTest, TerminationEndsTheEditorAsExitDoesKeepingItsCopyAndSettings) {
    TChildEditor child("-", PathOf("expected.skn"));
    ASSERT_TRUE(child.WaitReady());
    ASSERT_TRUE(child.Terminate());
    // Remembering the settings is the window's close: without it, nothing.
    EXPECT_TRUE(QFileInfo::exists(EditorSettingsPath()));
    ASSERT_EQ(Copies().size(), 1);
    EXPECT_EQ(ReadBytes(QDir(StateFolder()).filePath(Copies()[0])),
              ReadBytes(PathOf("expected.skn")));
}

TEST_F(SessionTest, TwoEditorsKeepTwoCopiesAndNoRemovesEachOffered) {
    {
        TChildEditor first("-", PathOf("first.skn"));
        TChildEditor second("-", PathOf("second.skn"));
        ASSERT_TRUE(first.WaitReady());
        ASSERT_TRUE(second.WaitReady());
        EXPECT_EQ(Copies().size(), 2);
        // A third editor finds both held by their running editors.
        Launch();
        EXPECT_TRUE(Prompts.YesNoQuestions.empty());
        Quit();
    }
    Launch();
    ASSERT_EQ(Prompts.YesNoQuestions.size(), 2u);
    EXPECT_TRUE(Prompts.YesNoQuestions[0].Text.contains("\"Untitled.skn\""));
    EXPECT_TRUE(Copies().isEmpty());
    EXPECT_EQ(Form->windowTitle(), WindowTitleFor("Untitled.skn"));
    EXPECT_TRUE(Form->Doc.Items.isEmpty());
}

TEST_F(SessionTest, ExitRightAfterAnEditWritesTheCopyAndEndsWithoutAQuestion) {
    Launch();
    AddImage("Sky");
    Quit(); // long before the copy's delay
    EXPECT_TRUE(Prompts.YesNoQuestions.empty());
    ASSERT_EQ(Copies().size(), 1);

    Prompts.YesNo.push_back(true);
    Launch();
    EXPECT_EQ(Form->windowTitle(), WindowTitleFor("Untitled.skn") + "*");
    EXPECT_TRUE(Form->Doc.Untitled);
    ASSERT_EQ(Form->PlayerPanel->lbItems->count(), 1);
    EXPECT_EQ(Form->PlayerPanel->lbItems->item(0)->text(), "Sky");
}

TEST_F(SessionTest, TheCopyFollowsTheEditsAndGoesWhenTheSkinMatchesItsFileAgain) {
    const QString skin = WriteFile("sky.skn", EncodeSkin(MakeRichSkin()));
    Launch();
    Form->OpenSkinFile(skin);
    EXPECT_TRUE(Copies().isEmpty());
    AddImage("Sky");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Copies().size() == 1; }, 5'000));
    Form->Undo1Click(); // back to what the file holds
    EXPECT_TRUE(Copies().isEmpty());
    Form->Redo1Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Copies().size() == 1; }, 5'000));
    Form->OpenSkinFile(skin); // Open of a skin
    EXPECT_TRUE(Copies().isEmpty());
    AddImage("Sky");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Copies().size() == 1; }, 5'000));
    Prompts.NewSkinSizes.push_back(QSize(240, 320));
    Form->NewSkinCommand();
    EXPECT_TRUE(Copies().isEmpty());
    EXPECT_EQ(ReadBytes(skin), EncodeSkin(MakeRichSkin()));
}

TEST_F(SessionTest, NoRemovesTheCopyAndTheStartIsTheUsualOne) {
    Launch();
    AddImage("Sky");
    Quit();
    Launch(); // the script says No
    EXPECT_EQ(Prompts.YesNoQuestions.size(), 1u);
    EXPECT_TRUE(Copies().isEmpty());
    EXPECT_TRUE(Form->Doc.Items.isEmpty());
    EXPECT_TRUE(Form->Context.Edits.History().isClean());
    // An editor without unsaved changes leaves nothing behind.
    Quit();
    EXPECT_EQ(QDir(StateFolder()).entryList(QDir::Files), QStringList());
}

TEST_F(SessionTest, ADamagedCopyIsSetAsideWithAMessageAndNeverOpened) {
    Launch();
    AddImage("Sky");
    Quit();
    const QString copy = QDir(StateFolder()).filePath(Copies().at(0));
    const QByteArray whole = ReadBytes(copy);
    QFile file(copy);
    ASSERT_TRUE(file.resize(whole.size() / 2));

    Launch();
    EXPECT_TRUE(Prompts.YesNoQuestions.empty());
    ASSERT_EQ(Prompts.Errors.size(), 1);
    EXPECT_TRUE(Prompts.Errors[0].contains("damaged"));
    EXPECT_TRUE(Copies().isEmpty());
    const QStringList aside = Copies("damaged-recovery-*.skn");
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(Prompts.Errors[0].contains(aside[0]));
    EXPECT_EQ(ReadBytes(QDir(StateFolder()).filePath(aside[0])), whole.left(whole.size() / 2));
    EXPECT_TRUE(Form->Doc.Items.isEmpty());
}

TEST_F(SessionTest, ARestoredCopyThatMatchesItsFileIsSavedSoARewriteIsTakenAndExitLeavesNoCopy) {
    const QString skin = WriteFile("sky.skn", EncodeSkin(MakeRichSkin()));
    Launch();
    Form->OpenSkinFile(skin);
    AddImage("Sky");
    const QByteArray edited = EncodeSkin(Form->Doc);
    Quit();
    ASSERT_EQ(Copies().size(), 1);
    WriteFile("sky.skn", edited); // the same changes reached the file meanwhile

    Prompts.YesNo.push_back(true);
    Launch();
    ASSERT_EQ(EncodeSkin(Form->Doc), edited);
    EXPECT_FALSE(Form->Context.Edits.Unsaved());
    EXPECT_TRUE(Copies().isEmpty()); // nothing to keep: the file holds it
    TSkinDocument renamed = MakeRichSkin();
    renamed.Items[0].Name = "Renamed";
    WriteFile("sky.skn", EncodeSkin(renamed));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->Doc.Items[0].Name == "Renamed"; }, 5'000));
    EXPECT_EQ(Prompts.YesNoQuestions.size(), 1u); // the restore alone
    Quit();
    EXPECT_TRUE(Copies().isEmpty());
}

TEST_F(SessionTest, AnEditDuringTheCopysWriteIsWrittenRightAfterIt) {
    Launch();
    // The first write is held until the next edit is made.
    auto held = std::make_shared<QSemaphore>(), open = std::make_shared<QSemaphore>();
    Session->BeforeBackgroundWrite = [held, open] {
        held->release();
        open->acquire();
        open->release();
    };
    const auto opened = qScopeGuard([open] { open->release(); });
    Session->SetCopyWaits(0, TDesktopSession::CopyLongestWaitMs);
    AddImage("Sky");
    ASSERT_TRUE(QTest::qWaitFor([&] { return held->tryAcquire(); }, 5'000));
    Session->SetCopyWaits(60'000, 60'000); // the next edit's own wait ends long after the test
    AddImage("Moon");
    open->release();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return ReadBytes(Session->CopyPath()) == EncodeSkin(Form->Doc); }, 5'000));
}

TEST_F(SessionTest, EditsThatNeverPauseGetTheirCopyAtTheLongestWait) {
    Launch();
    constexpr int delay = 500, longest = 1'500;
    Session->SetCopyWaits(delay, longest);
    QElapsedTimer run;
    run.start();
    for (int n = 0; Copies().isEmpty() && run.elapsed() < longest + delay + 2'000; ++n) {
        AddImage(QStringLiteral("Sky %1").arg(n));
        QTest::qWait(20);
    }
    ASSERT_EQ(Copies().size(), 1);
    EXPECT_GE(run.elapsed(), longest); // each edit put it off until then
}

TEST_F(SessionTest, ADragLeftWhereItStartedWritesNoCopy) {
    const QString skin = WriteFile("sky.skn", EncodeSkin(MakeRichSkin()));
    Launch();
    Session->SetCopyWaits(50, 50);
    Form->OpenSkinFile(skin);
    TSkinEdits& edits = Form->Context.Edits;
    ASSERT_TRUE(edits.BeginMove(0));
    edits.MoveTo(PositionOf(*RecordAt(Form->Doc, Form->Doc.Items[0])) + QPoint(5, 5));
    edits.CancelMove();
    QTest::qWait(300); // past the copy's wait
    EXPECT_TRUE(Copies().isEmpty());
    Quit();
    EXPECT_EQ(QDir(StateFolder()).entryList(QDir::Files), QStringList());
}
