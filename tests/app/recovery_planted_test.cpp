// The state folder and the recovery copies against entries planted there: a
// folder that is not the user's alone is not used (and said so once), links
// are never followed, written through or removed, and copies of someone
// else are never offered.
#include "real_files.h"
#include "sample_skin.h"
#include "session_fixture.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <pwd.h>

namespace {
void Link(const QString& target, const QString& at) {
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(at).constData()),
              0);
}
} // namespace

TEST_F(SessionTest, AStateFolderThatIsALinkIsLeftAloneAndSaidOnceWhenACopyWouldBeWritten) {
    const QString shared = PathOf("shared");
    ASSERT_TRUE(QDir().mkpath(shared));
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 01777), 0);
    ASSERT_TRUE(QDir().mkpath(PathOf("state")));
    Link(shared, StateFolder());

    Launch();
    EXPECT_TRUE(Prompts.Asked.isEmpty()); // nothing at the start
    AddImage("Sky");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Prompts.Errors.isEmpty(); }, 5'000));
    EXPECT_EQ(Prompts.Errors[0], "Unsaved changes are not kept for recovery: \"" + StateFolder() +
                                     "\" is not a folder of yours alone.");
    AddImage("Moon");
    QTest::qWait(TDesktopSession::CopyDelayMs + 500);
    EXPECT_EQ(Prompts.Errors.size(), 1);
    Quit();
    EXPECT_EQ(Stat(shared).st_mode & 07777, 01777u);
    EXPECT_EQ(Entries(shared), QStringList());
}

TEST_F(SessionTest, ALinkPlantedAtTheCopysNameIsNeitherWrittenThroughNorReplaced) {
    const QString victim = WriteFile("victim.txt", "VICTIM");
    Launch();
    AddImage("Sky");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Copies().size() == 1; }, 5'000));
    const QString copy = QDir(StateFolder()).filePath(Copies()[0]);
    ASSERT_TRUE(QFile::remove(copy));
    Link(victim, copy);

    AddImage("Moon");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Prompts.Errors.isEmpty(); }, 5'000));
    EXPECT_EQ(Prompts.Errors[0], "The recovery copy could not be written: File access denied.");
    Quit();
    EXPECT_EQ(Contents(victim), "VICTIM");
    EXPECT_TRUE(S_ISLNK(Stat(copy).st_mode));
    EXPECT_TRUE(Entries(StateFolder()).filter(".new").isEmpty());
}

TEST_F(SessionTest, LinksPlantedAtALeftCopysNamesAreNeverFollowedOfferedOrRemoved) {
    Launch();
    AddImage("Sky");
    Quit();
    ASSERT_EQ(Copies().size(), 1);
    // The left copy's lock a link to a file that is not there.
    const QString tag = QDir(StateFolder()).filePath(Copies()[0].chopped(4));
    ASSERT_TRUE(QFile::remove(tag + ".lock"));
    Link(PathOf("made-through-a-link"), tag + ".lock");
    // A copy that is a link to a skin elsewhere, with a note of its own.
    const QString planted = QDir(StateFolder()).filePath("recovery-1-1");
    Link(WriteFile("elsewhere.skn", EncodeSkin(MakeRichSkin())), planted + ".skn");
    ASSERT_TRUE(QFile::copy(tag + ".note", planted + ".note"));

    Launch();
    EXPECT_TRUE(Prompts.YesNoQuestions.empty());
    EXPECT_FALSE(QFileInfo::exists(PathOf("made-through-a-link")));
    EXPECT_TRUE(S_ISLNK(Stat(tag + ".lock").st_mode));
    EXPECT_TRUE(S_ISLNK(Stat(planted + ".skn").st_mode));
}

TEST_F(SessionTest, ACopyAndNotePlantedByAnotherUserAreNeverOffered) {
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || !nobody) GTEST_SKIP() << "planting another user's files needs root";
    const QString victim = WriteFile("victim.txt", "VICTIM");
    Launch();
    AddImage("Sky");
    Quit();
    ASSERT_EQ(Copies().size(), 1);
    const QString tag = QDir(StateFolder()).filePath(Copies()[0].chopped(4));
    QJsonObject note;
    note.insert("file", victim);
    note.insert("untitled", false);
    note.insert("written", QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    WriteFile("note", QJsonDocument(note).toJson());
    ASSERT_TRUE(QFile::remove(tag + ".note"));
    ASSERT_TRUE(QFile::rename(PathOf("note"), tag + ".note"));
    for (const char* suffix : {".skn", ".note", ".lock"})
        ASSERT_EQ(
            ::chown(QFile::encodeName(tag + suffix).constData(), nobody->pw_uid, nobody->pw_gid),
            0);

    Prompts.YesNo.push_back(true);
    Launch();
    EXPECT_TRUE(Prompts.YesNoQuestions.empty());
    Form->SaveSkin();
    Quit();
    EXPECT_EQ(Contents(victim), "VICTIM");
    EXPECT_EQ(Stat(tag + ".skn").st_uid, nobody->pw_uid); // left where it was
}
