// The save policy on real files: what a save replaces, what it writes in
// place, and that a failure leaves every old byte where it was.
#include "file_size_limit.h"
#include "real_files.h"
#include "small_disk.h"
#include "whole_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr qint64 QtBufferSize = 16384; // QIODevice's write buffer

class WholeFile : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(Dir.isValid()); }
    QString Path(const QString& name) const { return Dir.filePath(name); }
    QTemporaryDir Dir;
};

} // namespace

TEST_F(WholeFile, FailuresHaveTheEditorsTexts) {
    EXPECT_EQ(ReadWholeFile(Path("missing")).Error, "File not found");
    EXPECT_EQ(WriteWholeFile(Path("no/such.skn"), "x"), "File not found");
    // A folder is the same text whichever way it is used.
    EXPECT_EQ(ReadWholeFile(Dir.path()).Error, "Is a folder");
    EXPECT_EQ(WriteWholeFile(Dir.path(), "x"), "Is a folder");
    Put(Path("file"), "abc");
    EXPECT_EQ(ReadWholeFile(Path("file")).Bytes, "abc");
    EXPECT_EQ(ReadWholeFile(Path("file/x")).Error, "I/O error 20"); // ENOTDIR
}

TEST_F(WholeFile, PlainFileIsReplacedWithItsOwnerAndMode) {
    const QString path = Path("a.skn");
    Put(path, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
    }
    const struct stat before = Stat(path);

    EXPECT_EQ(WriteWholeFile(path, "new bytes"), "");
    const struct stat after = Stat(path);
    EXPECT_EQ(Contents(path), "new bytes");
    EXPECT_NE(after.st_ino, before.st_ino); // a new file took the old one's place
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(Entries(Dir.path()), QStringList{"a.skn"});
}

TEST_F(WholeFile, HardLinksBothShowTheNewBytes) {
    Put(Path("a.skn"), Pattern(3000, 'a'));
    ASSERT_EQ(::link(QFile::encodeName(Path("a.skn")).constData(),
                     QFile::encodeName(Path("b.skn")).constData()),
              0);
    const ino_t inode = Stat(Path("a.skn")).st_ino;
    for (const qint64 size : {qint64(5000), qint64(10)}) { // longer, then shorter
        const QByteArray next = Pattern(size, 'n');
        EXPECT_EQ(WriteWholeFile(Path("a.skn"), next), "");
        EXPECT_EQ(Contents(Path("b.skn")), next);
        EXPECT_EQ(Stat(Path("a.skn")).st_ino, inode);
        EXPECT_EQ(Stat(Path("a.skn")).st_nlink, 2u);
    }
}

// Running out of memory while the new bytes are made leaves both names of a
// hard-linked file, which is written in place, with every old byte.
TEST_F(WholeFile, ProducerFailingMidwayLeavesAHardLinkedFileAsItWas) {
    const QByteArray old = Pattern(3000, 'a');
    Put(Path("a.skn"), old);
    ASSERT_EQ(::link(QFile::encodeName(Path("a.skn")).constData(),
                     QFile::encodeName(Path("b.skn")).constData()),
              0);
    EXPECT_THROW(WriteWholeFile(Path("a.skn"), 5000,
                                [](QIODevice& out) {
                                    out.write(Pattern(2 * QtBufferSize, 'n'));
                                    throw std::bad_alloc();
                                }),
                 std::bad_alloc);
    EXPECT_EQ(Contents(Path("b.skn")), old);
}

TEST_F(WholeFile, SymbolicLinkIsFollowed) {
    Put(Path("target.skn"), "old");
    ASSERT_EQ(::symlink("target.skn", QFile::encodeName(Path("link.skn")).constData()), 0);
    EXPECT_EQ(WriteWholeFile(Path("link.skn"), "new"), "");
    EXPECT_TRUE(S_ISLNK(Stat(Path("link.skn")).st_mode));
    EXPECT_EQ(Contents(Path("target.skn")), "new");
    EXPECT_EQ(Entries(Dir.path()), (QStringList{"link.skn", "target.skn"}));
}

TEST_F(WholeFile, PipeStaysAPipeAndItsReaderGetsTheBytes) {
    const QString path = Path("pipe.skn");
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    const QByteArray bytes = Pattern(100000, 'p'); // more than a pipe holds at once
    QByteArray received;
    std::thread reader([&] { received = ReadWholeFile(path).Bytes; });
    // Unknown length: a pipe needs none.
    EXPECT_EQ(WriteWholeFile(path, -1, [&](QIODevice& out) { out.write(bytes); }), "");
    reader.join();
    EXPECT_EQ(received, bytes);
    EXPECT_TRUE(S_ISFIFO(Stat(path).st_mode));
}

TEST_F(WholeFile, DeviceStaysADevice) {
    const QString null = Path("null"), full = Path("full");
    if (::mknod(QFile::encodeName(null).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
        ::mknod(QFile::encodeName(full).constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        GTEST_SKIP() << "cannot make device nodes here (needs root)";
    if (::access(QFile::encodeName(null).constData(), W_OK) != 0 || ReadWholeFile(null).Error != "")
        GTEST_SKIP() << "device nodes do not open in this folder (nodev)";
    EXPECT_EQ(WriteWholeFile(null, "bytes"), "");
    EXPECT_EQ(WriteWholeFile(full, "bytes"), "Disk full");
    EXPECT_TRUE(S_ISCHR(Stat(null).st_mode));
    EXPECT_TRUE(S_ISCHR(Stat(full).st_mode));
    EXPECT_EQ(Entries(Dir.path()), (QStringList{"full", "null"}));
}

// A limit one byte short of the new file, on every road a save can take:
// a plain file (replaced), a hard-linked one (written in place, with the
// length known or not), and an old file longer than the new one.
TEST_F(WholeFile, FileSizeLimitIsDiskFullAndKeepsEveryOldByte) {
    for (const qint64 size : {qint64(5), QtBufferSize, qint64(1) << 20}) {
        for (const qint64 oldSize : {qint64(3), size * 2}) {
            for (const bool linked : {false, true}) {
                for (const bool streamed : {false, true}) {
                    SCOPED_TRACE(testing::Message()
                                 << size << " over " << oldSize << (linked ? " linked" : "")
                                 << (streamed ? " streamed" : ""));
                    QTemporaryDir dir;
                    const QString path = dir.filePath("a.skn");
                    const QByteArray old = Pattern(oldSize, 'o');
                    Put(path, old);
                    if (linked) {
                        ASSERT_EQ(::link(QFile::encodeName(path).constData(),
                                         QFile::encodeName(dir.filePath("b.skn")).constData()),
                                  0);
                    }
                    const QByteArray next = Pattern(size, 'n');
                    const auto produce = [&](QIODevice& out) { out.write(next); };
                    QString message;
                    {
                        TFileSizeLimit limit{rlim_t(size - 1)};
                        message = WriteWholeFile(path, streamed ? -1 : size, produce);
                    }
                    EXPECT_EQ(message, "Disk full");
                    EXPECT_EQ(Contents(path), old);
                    EXPECT_EQ(Entries(dir.path()).size(), linked ? 2 : 1);
                    {
                        TFileSizeLimit limit{rlim_t(size)};
                        EXPECT_EQ(WriteWholeFile(path, streamed ? -1 : size, produce), "");
                    }
                    EXPECT_EQ(Contents(path), next);
                }
            }
        }
    }
}

TEST_F(WholeFile, FullFileSystemKeepsEveryOldByte) {
    const QString mountPoint = Path("disk");
    TSmallDisk disk(mountPoint, 64 * 1024);
    if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
    const QString plain = QDir(mountPoint).filePath("plain.skn");
    const QString linked = QDir(mountPoint).filePath("linked.skn");
    Put(plain, "old plain");
    Put(linked, "old linked");
    ASSERT_EQ(::link(QFile::encodeName(linked).constData(),
                     QFile::encodeName(QDir(mountPoint).filePath("second")).constData()),
              0);
    // Fill every free page.
    {
        QFile filler(QDir(mountPoint).filePath("filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'f')) == 4096) {
        }
    }
    const QStringList entries = Entries(mountPoint);
    for (const qint64 size : {qint64(5), QtBufferSize, qint64(1) << 20}) {
        SCOPED_TRACE(size);
        // A replacement needs room for a whole new file.
        EXPECT_EQ(WriteWholeFile(plain, Pattern(size, 'n')), "Disk full");
        EXPECT_EQ(Contents(plain), "old plain");
        EXPECT_EQ(Entries(mountPoint), entries);
        // In place, the old file's page has room for a few bytes, no more.
        if (size > 4096) {
            EXPECT_EQ(WriteWholeFile(linked, Pattern(size, 'n')), "Disk full");
            EXPECT_EQ(Contents(linked), "old linked");
        }
    }
    EXPECT_EQ(WriteWholeFile(linked, "new"), "");
    EXPECT_EQ(Contents(QDir(mountPoint).filePath("second")), "new");
}

TEST_F(WholeFile, FolderWithoutRoomForANewFileIsWrittenInPlace) {
    // Root's folder, a file anyone may write, and a user who may not add a file.
    ASSERT_EQ(::chmod(QFile::encodeName(Dir.path()).constData(), 0755), 0);
    const QString path = Path("shared.skn");
    Put(path, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0666), 0);
    const ino_t inode = Stat(path).st_ino;

    const std::optional<QString> limited = AsNobody([&] {
        TFileSizeLimit limit{100};
        return WriteWholeFile(path, Pattern(101, 'n'));
    });
    if (!limited) GTEST_SKIP() << "needs root to act as user nobody";
    EXPECT_EQ(*limited, "Disk full");
    EXPECT_EQ(Contents(path), "old");

    EXPECT_EQ(AsNobody([&] { return WriteWholeFile(path, "new"); }), QString());
    EXPECT_EQ(Contents(path), "new");
    EXPECT_EQ(Stat(path).st_ino, inode);
    EXPECT_EQ(Stat(path).st_uid, 0u);
    EXPECT_EQ(AsNobody([&] { return WriteWholeFile(Path("other.skn"), "x"); }),
              "File access denied");
    EXPECT_EQ(Entries(Dir.path()), QStringList{"shared.skn"});
}
