// What a failed command leaves and says: unpack all or nothing, one message
// per cause naming its file once, and the commands that draw nothing run
// without the windowing platform.
#include "sample_skin.h"
#include "skin_file.h"
#include "skntool_process.h"
#include "small_disk.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Every entry of a folder with its bytes and its inode: a file put back is
// the very file that was there.
QStringList Snapshot(const QString& dir) {
    QStringList out;
    const QStringList names = QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        QFile f(QDir(dir).filePath(name));
        struct stat st {};
        ::lstat(QFile::encodeName(f.fileName()).constData(), &st);
        out << QStringLiteral("%1 %2 %3")
                   .arg(name)
                   .arg(st.st_ino)
                   .arg(f.open(QIODevice::ReadOnly)
                            ? QString::fromLatin1(
                                  QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1)
                                      .toHex())
                            : QStringLiteral("?"));
    }
    return out;
}

bool SetImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

class CommandFailures : public SkntoolTest {
  protected:
    // A run with QT_QPA_PLATFORM and DISPLAY unset and, when given, a limit
    // on open descriptors.
    TToolRun RunBare(const QStringList& args, rlim_t descriptors = 0) const {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        process.setProcessEnvironment(env);
        process.setProgram(QStringLiteral(SKNTOOL_PATH));
        process.setArguments(args);
        process.setWorkingDirectory(Dir.path());
        if (descriptors != 0) {
            process.setChildProcessModifier([descriptors] {
                // Descriptors a test runner left open would take the few
                // allowed numbers from the loader; the close-on-exec ones go anyway.
                for (int fd = 3; fd < 1024; ++fd) {
                    const int flags = ::fcntl(fd, F_GETFD);
                    if (flags >= 0 && !(flags & FD_CLOEXEC)) ::close(fd);
                }
                const rlimit limit{descriptors, descriptors};
                ::setrlimit(RLIMIT_NOFILE, &limit);
            });
        }
        process.start();
        TToolRun run;
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
            ADD_FAILURE() << "skntool did not end by itself: " << args.join(' ').toStdString();
            return run;
        }
        run.Status = process.exitCode();
        run.Out = process.readAllStandardOutput();
        run.Err = process.readAllStandardError();
        return run;
    }
};

} // namespace

// One file that cannot be replaced, met last: every bitmap replaced before it
// goes back, every new one goes, and the folder is as it was.
TEST_F(CommandFailures, FailedUnpackLeavesTheFolderByteForByte) {
    WriteSkin("default.skn", MakeDefaultSkin());
    WriteSkin("rich.skn", MakeRichSkin());
    ASSERT_EQ(Run({"unpack", "default.skn", "folder"}).Status, 0);
    ASSERT_EQ(Run({"unpack", "rich.skn", "other"}).Status, 0);
    // Files the second unpack replaces and files it adds.
    for (const QString& name : QDir(Path("other")).entryList(QDir::Files))
        if (name.startsWith("button-0")) QFile::copy(Path("other/" + name), Path("folder/" + name));
    Write("folder/notes.txt", "mine");
    if (!SetImmutable(Path("folder/skin.json"), true))
        GTEST_SKIP() << "cannot make a file immutable here (needs root and ext4 or alike)";
    const QStringList before = Snapshot(Path("folder"));

    const TToolRun run = Run({"unpack", "rich.skn", "folder"});
    SetImmutable(Path("folder/skin.json"), false);
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "skntool: folder/skin.json: File access denied.\n");
    EXPECT_EQ(Snapshot(Path("folder")), before);

    ASSERT_EQ(Run({"unpack", "rich.skn", "folder"}).Status, 0);
    EXPECT_EQ(Bytes("folder/skin.json"), Bytes("other/skin.json"));
}

// A full disk names the bitmap once; a read-only file system is one text
// whether the folder exists or not, and for a skin file too.
TEST_F(CommandFailures, OneMessagePerCauseNamingItsFileOnce) {
    WriteSkin("rich.skn", MakeRichSkin());
    TSmallDisk disk(Path("disk"), 64 * 1024);
    if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
    const TToolRun full = Run({"unpack", "rich.skn", "disk/f"});
    EXPECT_EQ(full.Status, 1);
    EXPECT_TRUE(full.Err.startsWith("skntool: disk/f/")) << full.Err.data();
    EXPECT_TRUE(full.Err.endsWith(".bmp: Disk full.\n")) << full.Err.data();
    EXPECT_EQ(full.Err.count("disk/f/"), 1) << full.Err.data();
    EXPECT_FALSE(Exists("disk/f"));

    ASSERT_TRUE(QDir().mkpath(Path("disk/old")));
    ASSERT_EQ(::mount(nullptr, QFile::encodeName(Path("disk")).constData(), nullptr,
                      MS_REMOUNT | MS_RDONLY, nullptr),
              0);
    for (const QStringList& args :
         {QStringList{"unpack", "rich.skn", "disk/old"},
          QStringList{"unpack", "rich.skn", "disk/new"}, QStringList{"new", "disk/a.skn"}}) {
        const TToolRun run = Run(args);
        EXPECT_EQ(run.Status, 1);
        EXPECT_EQ(run.Err, "skntool: " + args.last().toUtf8() + ": File access denied.\n");
    }
}

TEST_F(CommandFailures, CommandsThatDrawNothingNeedNoWindowingPlatform) {
    WriteSkin("a.skn", MakeRichSkin());
    const QList<QStringList> commands{{"--version"},
                                      {"help"},
                                      {"new", "b.skn"},
                                      {"info", "a.skn"},
                                      {"unpack", "a.skn", "f"},
                                      {"pack", "f", "c.skn"},
                                      {"diff", "a.skn", "c.skn"},
                                      {"check", "a.skn"}};
    for (const QStringList& args : commands) {
        const TToolRun run = RunBare(args);
        // diff says 1 for a difference, check 3 for what it finds.
        const int found = args.first() == "check" ? 3 : args.first() == "diff" ? 1 : 0;
        EXPECT_TRUE(run.Status == 0 || run.Status == found)
            << args.join(' ').toStdString() << ": " << run.Err.data();
    }
}

// Too few descriptors: what needs no platform runs, what draws says so.
TEST_F(CommandFailures, PlatformThatCannotStartIsAMessage) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizers need descriptors of their own";
#endif
    WriteSkin("a.skn", MakeRichSkin());
    const TToolRun version = RunBare({"--version"}, 4);
    EXPECT_EQ(version.Status, 0) << version.Err.data();
    EXPECT_EQ(version.Out, "skntool " LUMORA_VERSION "\n");
    EXPECT_EQ(RunBare({"help"}, 4).Status, 0);
    for (const QStringList& args :
         {QStringList{"check", "a.skn"}, QStringList{"render", "a.skn", "a.png"}}) {
        const TToolRun run = RunBare(args, 4);
        EXPECT_EQ(run.Status, 1) << args.first().toStdString();
        EXPECT_EQ(run.Err, "skntool: The drawing platform could not start.\n")
            << args.first().toStdString();
    }
}
