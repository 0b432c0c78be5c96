// What a save keeps and what an interrupted one leaves, on real files: the
// traits a replace carries over, the saves written in place instead, the lock
// between two saves and the copy that the next open names.
#include "real_files.h"
#include "state_folder_test.h"
#include "whole_file.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/xattr.h>

namespace {

constexpr quint32 Nobody = 65534;

// A POSIX access ACL as the kernel stores it in system.posix_acl_access.
struct TAclEntry {
    quint16 Tag, Perm;
    quint32 Id;
};
QByteArray Acl(std::initializer_list<TAclEntry> entries) {
    QByteArray bytes;
    const auto put = [&bytes](quint32 value, int size) {
        for (int i = 0; i < size; ++i)
            bytes.append(char(value >> (8 * i)));
    };
    put(2, 4);
    for (const TAclEntry& e : entries) {
        put(e.Tag, 2);
        put(e.Perm, 2);
        put(e.Id, 4);
    }
    return bytes;
}
enum : quint16 { UserObj = 1, User = 2, GroupObj = 4, Mask = 0x10, Other = 0x20 };
constexpr quint32 NoId = 0xffffffff;
// user::rw- user:nobody:rw- group::r-- mask::r-- other::---: mode 0640, and
// nobody may only read, for the mask says so.
const QByteArray FileAcl = Acl({{UserObj, 6, NoId},
                                {User, 6, Nobody},
                                {GroupObj, 4, NoId},
                                {Mask, 4, NoId},
                                {Other, 0, NoId}});

bool SetAttribute(const QString& path, const char* name, const QByteArray& value) {
    return ::setxattr(QFile::encodeName(path).constData(), name, value.constData(),
                      std::size_t(value.size()), 0) == 0;
}
QByteArray Attribute(const QString& path, const char* name) {
    char buffer[256];
    const ssize_t n = ::getxattr(QFile::encodeName(path).constData(), name, buffer, sizeof buffer);
    return n < 0 ? QByteArray("(none)") : QByteArray(buffer, n);
}

class SavePolicy : public TStateFolderTest {
  protected:
    static constexpr int Finish = -2;
    void Link(const QString& from, const QString& to) {
        ASSERT_EQ(::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()),
                  0);
    }
    static void Own(const QString& path, uid_t uid, mode_t mode) {
        ASSERT_EQ(::chown(QFile::encodeName(path).constData(), uid, uid), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
    }
    // A child saving next over path, as user nobody when asked; killed with
    // SIGKILL delayUs after `copy` appears (at once when delayUs < 0), or left
    // to end when delayUs is Finish.
    static void SaveKilled(const QString& path, const QByteArray& next, const QString& copy,
                           int delayUs, bool asNobody) {
        // On one processor with the parent and at the lowest priority, the
        // child yields to the parent as soon as it wakes to look.
        cpu_set_t saved, one;
        CPU_ZERO(&one);
        bool pinned = delayUs != Finish && ::sched_getaffinity(0, sizeof saved, &saved) == 0;
        for (int cpu = 0; pinned && cpu < CPU_SETSIZE; ++cpu) {
            if (CPU_ISSET(cpu, &saved)) {
                CPU_SET(cpu, &one);
                break;
            }
        }
        pinned = pinned && ::sched_setaffinity(0, sizeof one, &one) == 0;
        const pid_t pid = ::fork();
        if (pid == 0) {
            if (pinned && ::setpriority(PRIO_PROCESS, 0, 19) != 0) ::_exit(3);
            if (asNobody && (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)) ::_exit(3);
            ::_exit(WriteWholeFile(path, next).isEmpty() ? 0 : 1);
        }
        if (delayUs == Finish) {
            int status = 0;
            ::waitpid(pid, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            return;
        }
        if (delayUs >= 0) {
            const QByteArray native = QFile::encodeName(copy);
            struct stat st {};
            while (::stat(native.constData(), &st) != 0 && ::waitpid(pid, nullptr, WNOHANG) == 0)
                ::usleep(50); // and takes the processor back on waking
            ::usleep(useconds_t(delayUs));
        }
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        if (pinned) ::sched_setaffinity(0, sizeof saved, &saved);
    }
    // The file holds the old bytes or the new ones, or the next open refuses
    // it and names a complete copy. True when it was refused.
    static bool OldNewOrNamedCopy(const QString& path, const QByteArray& old,
                                  const QByteArray& next, const QString& copy) {
        const TFileRead read = ReadWholeFile(path);
        if (read.Error.isEmpty()) {
            EXPECT_TRUE(read.Bytes == old || read.Bytes == next);
            EXPECT_FALSE(QFile::exists(copy));
            return false;
        }
        EXPECT_EQ(read.Error, QStringLiteral("The file is damaged: a save was interrupted; its "
                                             "complete new content is in \"%1\"")
                                  .arg(copy));
        EXPECT_TRUE(Contents(copy) == next);
        return true;
    }
    void InterruptedAtSeveralMoments(const QString& path, const QString& copy, bool asNobody) {
        const QByteArray old = Pattern(2 << 20, 'o'), next = Pattern(3 << 20, 'n');
        Put(path, old);
        int refused = 0;
        for (const int delayUs : {-1, 0, 0, 3000, 30000}) {
            SCOPED_TRACE(delayUs);
            SaveKilled(path, next, copy, delayUs, asNobody);
            if (OldNewOrNamedCopy(path, old, next, copy)) {
                ++refused;
                QFile::remove(copy);
                Put(path, old);
            }
        }
        // Killed as its copy appears, the save has not written the file yet.
        EXPECT_GE(refused, 1);
        SaveKilled(path, next, copy, Finish, asNobody);
        EXPECT_FALSE(OldNewOrNamedCopy(path, old, next, copy));
        EXPECT_TRUE(Contents(path) == next);
    }
};

} // namespace

TEST_F(SavePolicy, InterruptedSaveInPlaceLeavesOldNewOrANamedCompleteCopy) {
    Put(Path("a.skn"), "");
    Link(Path("a.skn"), Path("b.skn")); // written in place
    InterruptedAtSeveralMoments(Path("a.skn"), Path(".a.skn.lumoraskin-save"), false);
    EXPECT_EQ(Stat(Path("b.skn")).st_nlink, 2u);
    EXPECT_EQ(Entries(Dir.path()), (QStringList{"a.skn", "b.skn"}));
}

TEST_F(SavePolicy, FolderWithoutRoomKeepsTheCopyInTheStateFolder) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as user nobody";
    ASSERT_EQ(::chmod(QFile::encodeName(Dir.path()).constData(), 0755), 0);
    ASSERT_TRUE(QDir().mkpath(Path("state")));
    Own(Path("state"), Nobody, 0700);
    Put(Path("shared.skn"), "");
    Own(Path("shared.skn"), 0, 0666);
    const struct stat st = Stat(Path("shared.skn"));
    const QString copy =
        Path("state/lumoraskin/%1-%2.lumoraskin-save").arg(quint64(st.st_dev)).arg(st.st_ino);
    InterruptedAtSeveralMoments(Path("shared.skn"), copy, true);
    EXPECT_EQ(Stat(Path("shared.skn")).st_ino, st.st_ino);
    EXPECT_EQ(Entries(Path("state/lumoraskin")), QStringList());
}

TEST_F(SavePolicy, SecondSaveWaitsForTheFirstOrFailsChangingNothing) {
    Put(Path("a.skn"), "old");
    {
        QFile holder(Path("a.skn"));
        ASSERT_TRUE(holder.open(QIODevice::ReadOnly));
        ASSERT_EQ(::flock(holder.handle(), LOCK_EX), 0);
        QElapsedTimer waited;
        waited.start();
        EXPECT_EQ(WriteWholeFile(Path("a.skn"), "new"),
                  "The file is being saved by another program");
        EXPECT_GE(waited.elapsed(), 4900);
        EXPECT_EQ(Contents(Path("a.skn")), "old");
        EXPECT_EQ(Entries(Dir.path()), QStringList{"a.skn"});
    }

    // Two saves in place at once, of different lengths: one after the other.
    Link(Path("a.skn"), Path("b.skn"));
    const QByteArray first = Pattern(8 << 20, 'f'), second = Pattern(3 << 20, 's');
    pid_t children[2];
    for (int i = 0; i < 2; ++i) {
        children[i] = ::fork();
        if (children[i] == 0) {
            const QString error = WriteWholeFile(Path("a.skn"), i == 0 ? first : second);
            ::_exit(error.isEmpty() ? 0 : error.startsWith("The file is being saved") ? 2 : 1);
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 1);
    }
    const QByteArray result = Contents(Path("b.skn"));
    EXPECT_TRUE(result == first || result == second) << result.size();
    EXPECT_EQ(Entries(Dir.path()), (QStringList{"a.skn", "b.skn"}));
}

// The common case stays one atomic replace, and the new file is the old one
// to its users: owner, group, mode, attributes, and an ACL whose mask says
// the owning group reads only, even where the folder's default ACL would
// give the group more.
TEST_F(SavePolicy, ReplaceKeepsAttributesAclOwnerGroupAndMode) {
    const QString path = Path("a.skn");
    Put(path, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0600), 0);
    if (!SetAttribute(path, "user.origin", "scanned") ||
        !SetAttribute(path, "system.posix_acl_access", FileAcl))
        GTEST_SKIP() << "no extended attributes or ACLs on this file system";
    ASSERT_EQ(Stat(path).st_mode & 0777, 0640u);
    ASSERT_TRUE(SetAttribute(
        Dir.path(), "system.posix_acl_default",
        Acl({{UserObj, 7, NoId}, {GroupObj, 7, NoId}, {Mask, 7, NoId}, {Other, 7, NoId}})));
    if (::geteuid() == 0) Own(path, Nobody, 0640);
    const struct stat before = Stat(path);

    EXPECT_EQ(WriteWholeFile(path, "new"), "");
    const struct stat after = Stat(path);
    EXPECT_EQ(Contents(path), "new");
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(Attribute(path, "user.origin"), "scanned");
    EXPECT_EQ(Attribute(path, "system.posix_acl_access"), FileAcl);
    EXPECT_EQ(Entries(Dir.path()), QStringList{"a.skn"});
}

// A user who cannot give a new file the old one's owner, or whose folder is
// sticky and not theirs, writes the file in place; their own file is replaced.
TEST_F(SavePolicy, UnprivilegedUserReplacesOnlyWhatTheRenameKeeps) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as user nobody";
    ASSERT_EQ(::chmod(QFile::encodeName(Dir.path()).constData(), 0755), 0);
    for (const char* folder : {"mine", "sticky"})
        ASSERT_TRUE(QDir().mkpath(Path(folder)));
    Own(Path("mine"), Nobody, 0755);
    Own(Path("sticky"), 0, 01777);
    Put(Path("mine/own.skn"), "old");
    Own(Path("mine/own.skn"), Nobody, 0600);
    const bool attributes = SetAttribute(Path("mine/own.skn"), "user.origin", "scanned") &&
                            SetAttribute(Path("mine/own.skn"), "system.posix_acl_access", FileAcl);
    for (const char* name : {"mine/roots.skn", "sticky/roots.skn"}) {
        Put(Path(name), "old");
        Own(Path(name), 0, 0666);
    }
    const auto inode = [this](const char* name) { return Stat(Path(name)).st_ino; };
    const ino_t own = inode("mine/own.skn"), roots = inode("mine/roots.skn"),
                sticky = inode("sticky/roots.skn");

    for (const char* name : {"mine/own.skn", "mine/roots.skn", "sticky/roots.skn"})
        EXPECT_EQ(AsNobody([&] { return WriteWholeFile(Path(name), "new"); }), QString()) << name;

    EXPECT_NE(inode("mine/own.skn"), own);
    EXPECT_EQ(Stat(Path("mine/own.skn")).st_uid, Nobody);
    if (attributes) {
        EXPECT_EQ(Attribute(Path("mine/own.skn"), "user.origin"), "scanned");
        EXPECT_EQ(Attribute(Path("mine/own.skn"), "system.posix_acl_access"), FileAcl);
        EXPECT_EQ(Stat(Path("mine/own.skn")).st_mode & 0777, 0640u);
    }
    EXPECT_EQ(inode("mine/roots.skn"), roots);
    EXPECT_EQ(inode("sticky/roots.skn"), sticky);
    for (const char* name : {"mine/own.skn", "mine/roots.skn", "sticky/roots.skn"}) {
        EXPECT_EQ(Contents(Path(name)), "new") << name;
        if (QLatin1String(name) != QLatin1String("mine/own.skn")) {
            EXPECT_EQ(Stat(Path(name)).st_uid, 0u) << name;
        }
    }
    EXPECT_EQ(Entries(Path("mine")), (QStringList{"own.skn", "roots.skn"}));
    EXPECT_EQ(Entries(Path("sticky")), QStringList{"roots.skn"});
}

// A user's own file in another user's sticky folder (such as /tmp) may be
// renamed over: it is replaced, not written in place.
TEST_F(SavePolicy, OwnFileInAnotherUsersStickyFolderIsReplaced) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as user nobody";
    ASSERT_EQ(::chmod(QFile::encodeName(Dir.path()).constData(), 0755), 0);
    ASSERT_TRUE(QDir().mkpath(Path("sticky")));
    Own(Path("sticky"), 0, 01777);
    Put(Path("sticky/own.skn"), "old");
    Own(Path("sticky/own.skn"), Nobody, 0644);
    const ino_t inode = Stat(Path("sticky/own.skn")).st_ino;
    EXPECT_EQ(AsNobody([&] { return WriteWholeFile(Path("sticky/own.skn"), "new"); }), QString());
    EXPECT_EQ(Contents(Path("sticky/own.skn")), "new");
    EXPECT_NE(Stat(Path("sticky/own.skn")).st_ino, inode);
    EXPECT_EQ(Stat(Path("sticky/own.skn")).st_uid, Nobody);
}

// The system may take a change and quietly not make it: for a user outside
// the file's group, fchmod drops the set-group-ID bit and succeeds. Only
// reading the new file back tells that it is not the old one to its users;
// the old file is then written in place (where the kernel, too, drops that
// bit for such a writer).
TEST_F(SavePolicy, TraitThatQuietlyDidNotTakeKeepsTheOldFile) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as user nobody";
    ASSERT_EQ(::chmod(QFile::encodeName(Dir.path()).constData(), 0755), 0);
    ASSERT_TRUE(QDir().mkpath(Path("shared")));
    // New files here get group root, as the old one has: no chown is needed.
    ASSERT_EQ(::chown(QFile::encodeName(Path("shared")).constData(), Nobody, 0), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(Path("shared")).constData(), 02755), 0);
    const QString path = Path("shared/a.skn");
    Put(path, "old");
    ASSERT_EQ(::chown(QFile::encodeName(path).constData(), Nobody, 0), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 02644), 0);
    const ino_t inode = Stat(path).st_ino;
    EXPECT_EQ(AsNobody([&] { return WriteWholeFile(path, "new"); }), QString());
    EXPECT_EQ(Contents(path), "new");
    EXPECT_EQ(Stat(path).st_ino, inode);
    EXPECT_EQ(Stat(path).st_gid, 0u);
    EXPECT_EQ(Entries(Path("shared")), QStringList{"a.skn"});
}
