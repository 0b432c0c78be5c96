// The state folder and the files made in it or beside a skin: nothing
// planted at a known name is followed, widened, hung on or removed.
#include "private_files.h"
#include "real_files.h"
#include "state_folder_test.h"
#include "user_folders.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class PrivateFiles : public TStateFolderTest {};

} // namespace

TEST_F(PrivateFiles, StateFolderIsMadeTheUsersAlone) {
    const mode_t umask = ::umask(0); // the mode is the program's, not the umask's
    const QString folder = PrivateStateFolder();
    ::umask(umask);
    EXPECT_EQ(folder, Path("state/lumoraskin"));
    EXPECT_EQ(Stat(folder).st_mode & 07777, 0700u);
}

TEST_F(PrivateFiles, LinkedOrSharedStateFolderIsRefusedAndLeftAsItWas) {
    ASSERT_TRUE(QDir().mkpath(Path("shared")));
    ASSERT_EQ(::chmod(Native(Path("shared")).constData(), 01777), 0);
    ASSERT_TRUE(QDir().mkpath(Path("state")));
    ASSERT_EQ(
        ::symlink(Native(Path("shared")).constData(), Native(Path("state/lumoraskin")).constData()),
        0);
    EXPECT_EQ(PrivateStateFolder(), QString());
    EXPECT_EQ(Stat(Path("shared")).st_mode & 07777, 01777u);
    EXPECT_TRUE(S_ISLNK(Stat(Path("state/lumoraskin")).st_mode));

    ASSERT_TRUE(QFile::remove(Path("state/lumoraskin")));
    ASSERT_TRUE(QDir().mkpath(Path("state/lumoraskin")));
    for (const mode_t mode : {0770u, 0703u}) {
        ASSERT_EQ(::chmod(Native(Path("state/lumoraskin")).constData(), mode), 0);
        EXPECT_EQ(PrivateStateFolder(), QString()) << mode;
        EXPECT_EQ(Stat(Path("state/lumoraskin")).st_mode & 07777, mode);
    }
    ASSERT_EQ(::chmod(Native(Path("state/lumoraskin")).constData(), 0755), 0);
    EXPECT_EQ(PrivateStateFolder(), Path("state/lumoraskin"));
}

TEST_F(PrivateFiles, AnotherUsersStateFolderIsRefused) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give the folder to user nobody";
    ASSERT_TRUE(QDir().mkpath(Path("state/lumoraskin")));
    ASSERT_EQ(::chown(Native(Path("state/lumoraskin")).constData(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(Native(Path("state/lumoraskin")).constData(), 0700), 0);
    EXPECT_EQ(PrivateStateFolder(), QString());
}

TEST_F(PrivateFiles, NothingAtTheNameIsWrittenThrough) {
    Put(Path("victim"), "VICTIM");
    ASSERT_EQ(::chmod(Native(Path("victim")).constData(), 0644), 0);
    ASSERT_EQ(::symlink(Native(Path("victim")).constData(), Native(Path("link")).constData()), 0);
    ASSERT_EQ(::symlink(Native(Path("absent")).constData(), Native(Path("dangling")).constData()),
              0);
    for (const char* name : {"link", "dangling", "victim"}) {
        errno = 0;
        EXPECT_EQ(CreatePrivateFile(Native(Path(name))), -1) << name;
        EXPECT_TRUE(errno == EEXIST || errno == ELOOP) << name;
    }
    EXPECT_FALSE(QFile::exists(Path("absent")));
    EXPECT_EQ(Contents(Path("victim")), "VICTIM");
    EXPECT_EQ(Stat(Path("victim")).st_mode & 07777, 0644u);

    const int fd = CreatePrivateFile(Native(Path("new")));
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::write(fd, "x", 1), 1);
    ::close(fd);
    EXPECT_EQ(Stat(Path("new")).st_mode & 07777, 0600u);
    EXPECT_TRUE(IsOwnRegularFile(Native(Path("new"))));
    EXPECT_FALSE(IsOwnRegularFile(Native(Path("link"))));

    EXPECT_FALSE(RemoveOwnFile(Path("link")));
    EXPECT_TRUE(S_ISLNK(Stat(Path("link")).st_mode));
    EXPECT_EQ(Contents(Path("victim")), "VICTIM");
    EXPECT_TRUE(RemoveOwnFile(Path("new")));
    EXPECT_FALSE(QFile::exists(Path("new")));
}

TEST_F(PrivateFiles, OnlyTheUsersOwnRegularFileIsOpenedForReading) {
    Put(Path("own"), "12345");
    const int fd = OpenOwnRegularFile(Native(Path("own")), 5);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0); // later reads wait as usual
    ::close(fd);
    EXPECT_EQ(OpenOwnRegularFile(Native(Path("own")), 4), -1);
    ASSERT_EQ(::symlink(Native(Path("own")).constData(), Native(Path("link")).constData()), 0);
    EXPECT_EQ(OpenOwnRegularFile(Native(Path("link"))), -1);
    // A FIFO nobody writes would hang a blocking open.
    ASSERT_EQ(::mkfifo(Native(Path("fifo")).constData(), 0600), 0);
    EXPECT_EQ(OpenOwnRegularFile(Native(Path("fifo"))), -1);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(Native(Path("own")).constData(), 65534, 65534), 0);
        EXPECT_EQ(OpenOwnRegularFile(Native(Path("own"))), -1);
        EXPECT_FALSE(IsOwnRegularFile(Native(Path("own"))));
        EXPECT_FALSE(RemoveOwnFile(Path("own")));
        EXPECT_TRUE(QFile::exists(Path("own")));
    }
}
