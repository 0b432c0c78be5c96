// unpack over existing files writes them as a save does, and its staging
// folder never outlives it: not when a signal ends it, not when it was killed.
#include "item_list.h"
#include "real_files.h"
#include "sample_skin.h"
#include "skntool_process.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/file.h>

namespace {

QStringList StagingFolders(const QString& dir) {
    return Entries(dir).filter(QRegularExpression(QStringLiteral("^\\.skntool-")));
}

} // namespace

// A hard-linked file keeps its link, another user's file its owner.
TEST_F(SkntoolTest, UnpackOverExistingFilesKeepsTheirLinksAndOwner) {
    WriteSkin("default.skn", MakeDefaultSkin());
    WriteSkin("rich.skn", MakeRichSkin());
    ASSERT_EQ(Run({"unpack", "default.skn", "f"}).Status, 0);
    ASSERT_EQ(Run({"unpack", "rich.skn", "expected"}).Status, 0);
    ASSERT_EQ(::link(QFile::encodeName(Path("f/skin.json")).constData(),
                     QFile::encodeName(Path("other-name.json")).constData()),
              0);
    const passwd* nobody = ::getpwnam("nobody");
    const QString icon = "f/playlist-folder-icon.bmp";
    const bool chowned =
        ::geteuid() == 0 && nobody &&
        ::chown(QFile::encodeName(Path(icon)).constData(), nobody->pw_uid, nobody->pw_gid) == 0;

    const TToolRun run = Run({"unpack", "rich.skn", "f"});
    ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
    EXPECT_EQ(Bytes("f/skin.json"), Bytes("expected/skin.json"));
    EXPECT_EQ(Bytes("other-name.json"), Bytes("expected/skin.json"));
    EXPECT_EQ(Stat(Path("f/skin.json")).st_ino, Stat(Path("other-name.json")).st_ino);
    EXPECT_EQ(Bytes(icon), Bytes("expected/playlist-folder-icon.bmp"));
    if (chowned) {
        EXPECT_EQ(Stat(Path(icon)).st_uid, nobody->pw_uid);
    }
    EXPECT_EQ(StagingFolders(Path("f")), QStringList());
}

// Interrupted while it stages its many files, unpack leaves the folder as it
// was; a staging folder a killed run left is cleared by the next run, but
// not one in use, one of another user, or a link.
TEST_F(SkntoolTest, AnInterruptedUnpackLeavesNoStagingFolder) {
    TSkinDocument doc = MakeDefaultSkin();
    for (int i = 0; i < 600; ++i) {
        AddItem(doc, ikImage, "i");
        doc.Images.back().Picture.Image = PatternImage(96, 96, i);
    }
    WriteSkin("large.skn", doc);
    ASSERT_TRUE(QDir().mkpath(Path("f")));
    QProcess unpack;
    unpack.setWorkingDirectory(Dir.path());
    unpack.start(QStringLiteral(SKNTOOL_PATH), {"unpack", "large.skn", "f"});
    ASSERT_TRUE(unpack.waitForStarted());
    QElapsedTimer waited;
    waited.start();
    while (StagingFolders(Path("f")).isEmpty() && unpack.state() == QProcess::Running &&
           waited.elapsed() < 60000) {
    }
    ::kill(pid_t(unpack.processId()), SIGINT);
    ASSERT_TRUE(unpack.waitForFinished(60000));
    EXPECT_EQ(unpack.exitStatus(), QProcess::CrashExit) << "unpack ended before the signal";
    EXPECT_EQ(Entries(Path("f")), QStringList());

    // Left by runs killed outright, or not staging folders of this run's to clear.
    const QStringList stale = {".skntool-Stale1", ".skntool-Stale2"};
    for (const QString& name : stale)
        Write("f/" + name + "/.replaced/skin.json", "old");
    ASSERT_TRUE(QDir().mkpath(Path("f/.skntool-InUse1")));
    const int inUse = ::open(QFile::encodeName(Path("f/.skntool-InUse1")).constData(),
                             O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::flock(inUse, LOCK_EX), 0);
    Write("elsewhere/keep.txt", "kept");
    ASSERT_EQ(::symlink("../elsewhere", QFile::encodeName(Path("f/.skntool-Linked")).constData()),
              0);
    QStringList left = {".skntool-InUse1", ".skntool-Linked"};
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() == 0 && nobody) {
        ASSERT_TRUE(QDir().mkpath(Path("f/.skntool-Other1")));
        ASSERT_EQ(::chown(QFile::encodeName(Path("f/.skntool-Other1")).constData(), nobody->pw_uid,
                          nobody->pw_gid),
                  0);
        left.append(".skntool-Other1");
    }
    WriteSkin("small.skn", MakeRichSkin());
    ASSERT_EQ(Run({"unpack", "small.skn", "f"}).Status, 0);
    ::close(inUse);
    left.sort();
    EXPECT_EQ(StagingFolders(Path("f")), left);
    EXPECT_EQ(Bytes("elsewhere/keep.txt"), "kept");
}
