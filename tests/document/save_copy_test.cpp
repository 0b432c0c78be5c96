// The copy a save in place keeps of the new content: made where nothing
// planted can redirect it, found through any name of the file or its
// descriptor, trusted only from its owner, attached only to its own file,
// and gone once a save completes.
#include "real_files.h"
#include "refused_calls.h"
#include "sample_skin.h"
#include "save_copy.h"
#include "skin_file.h"
#include "small_disk.h"
#include "state_folder_test.h"
#include "whole_file.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/xattr.h>

namespace {

const char* const Record = "user.lumoraskin.save";

class SaveCopy : public TStateFolderTest {
  protected:
    void Link(const QString& from, const QString& to) {
        ASSERT_EQ(::link(Native(from).constData(), Native(to).constData()), 0);
    }
    // A save in place interrupted after writing `written` bytes of next: its
    // copy stays; returns where.
    static QString Interrupted(const QString& path, const QByteArray& next, qint64 written) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        const TSaveCopy copy(file.handle(), QFileInfo(path).canonicalFilePath(), next);
        file.write(next.left(written));
        return copy.CopyPath();
    }
    static QString Refusal(const QString& copy) {
        return QStringLiteral("The file is damaged: a save was interrupted; its complete new "
                              "content is in \"%1\"")
            .arg(copy);
    }
};

} // namespace

// A link planted at the copy's name beside a hard-linked skin, saved in place.
TEST_F(SaveCopy, PlantedLinkBesideTheSkinIsNeitherFollowedNorRemoved) {
    Put(Path("a.skn"), EncodeSkin(MakeRichSkin()));
    Link(Path("a.skn"), Path("b.skn"));
    Put(Path("v.txt"), "VICTIM\n");
    ASSERT_EQ(::chmod(Native(Path("v.txt")).constData(), 0644), 0);
    ASSERT_EQ(::symlink(Native(Path("v.txt")).constData(),
                        Native(Path(".a.skn.lumoraskin-save")).constData()),
              0);

    EXPECT_EQ(WriteSkinFile(MakeDefaultSkin(), Path("a.skn")), "");
    EXPECT_EQ(Contents(Path("v.txt")), "VICTIM\n");
    EXPECT_EQ(Stat(Path("v.txt")).st_mode & 07777, 0644u);
    EXPECT_TRUE(S_ISLNK(Stat(Path(".a.skn.lumoraskin-save")).st_mode));
    EXPECT_EQ(Contents(Path("b.skn")), EncodeSkin(MakeDefaultSkin()));
    EXPECT_EQ(Stat(Path("a.skn")).st_nlink, 2u);
    EXPECT_TRUE(ReadSkinFile(Path("b.skn")).Document.has_value());
    EXPECT_EQ(Entries(Path("state/lumoraskin")), QStringList()); // its copy went there, and went
}

TEST_F(SaveCopy, TornFileIsRefusedThroughEveryNameAndDescriptorUntilWhole) {
    const QByteArray old = Pattern(3000, 'o'), next = Pattern(5000, 'n');
    ASSERT_TRUE(QDir().mkpath(Path("other")));
    Put(Path("a.skn"), old);
    Link(Path("a.skn"), Path("other/b.skn"));
    const QString copy = Interrupted(Path("a.skn"), next, 1000);
    ASSERT_EQ(copy, Path(".a.skn.lumoraskin-save"));
    EXPECT_EQ(Contents(copy), next);

    EXPECT_EQ(ReadWholeFile(Path("a.skn")).Error, Refusal(copy));
    EXPECT_EQ(ReadWholeFile(Path("other/b.skn")).Error, Refusal(copy));
    EXPECT_EQ(ReadSkinFile(Path("other/b.skn")).Error, Refusal(copy) + '.');
    QFile input(Path("other/b.skn"));
    ASSERT_TRUE(input.open(QIODevice::ReadOnly));
    EXPECT_EQ(ReadWholeDescriptor(input.handle()).Error, Refusal(copy));
    EXPECT_EQ(InterruptedSaveError(input.handle()), Refusal(copy));
    EXPECT_EQ(ReadSkinDescriptor(input.handle()).Error, Refusal(copy) + '.');

    // Every byte written, only the copy's removal missed: it goes, the file opens.
    Put(Path("other/b.skn"), next);
    EXPECT_EQ(ReadWholeDescriptor(input.handle()).Bytes, next);
    EXPECT_FALSE(QFile::exists(copy));
    EXPECT_EQ(Entries(Dir.path()), (QStringList{"a.skn", "other"}));
}

// A write that fails part-way (a full disk where nothing could be reserved)
// leaves the file torn: its copy must stay and be named through the other name.
TEST_F(SaveCopy, WriteFailingPartWayKeepsTheCopy) {
    TSmallDisk disk(Path("disk"), 64 << 10);
    if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
    const QByteArray old = Pattern(40 << 10, 'o'), next = Pattern(100 << 10, 'n');
    Put(Path("disk/a.skn"), old);
    Link(Path("disk/a.skn"), Path("disk/b.skn"));
    const std::optional<QString> saved = WithCallsRefused(
        {{SYS_fallocate, EOPNOTSUPP}}, [&] { return WriteWholeFile(Path("disk/a.skn"), next); });
    ASSERT_TRUE(saved);
    EXPECT_EQ(*saved, "Disk full");
    const struct stat st = Stat(Path("disk/a.skn"));
    const QString copy =
        Path("state/lumoraskin/%1-%2.lumoraskin-save").arg(quint64(st.st_dev)).arg(st.st_ino);
    EXPECT_EQ(ReadWholeFile(Path("disk/b.skn")).Error, Refusal(copy));
    EXPECT_EQ(Contents(copy), next);
}

TEST_F(SaveCopy, CompletedSavesRemoveCopiesAnOlderSaveLeft) {
    const QByteArray old = Pattern(3000, 'o'), next = Pattern(5000, 'n');
    Put(Path("single.skn"), old);
    const QString stale = Interrupted(Path("single.skn"), next, 100);
    ASSERT_FALSE(ReadWholeFile(Path("single.skn")).Error.isEmpty());
    EXPECT_EQ(WriteWholeFile(Path("single.skn"), "replaced"), ""); // a replace
    EXPECT_EQ(ReadWholeFile(Path("single.skn")).Bytes, "replaced");
    EXPECT_FALSE(QFile::exists(stale));

    // In place, with the name beside taken by the older copy.
    Put(Path("a.skn"), old);
    Link(Path("a.skn"), Path("b.skn"));
    ASSERT_EQ(Interrupted(Path("a.skn"), next, 100), Path(".a.skn.lumoraskin-save"));
    EXPECT_EQ(WriteWholeFile(Path("a.skn"), "in place"), "");
    EXPECT_EQ(ReadWholeFile(Path("b.skn")).Bytes, "in place");
    EXPECT_EQ(Entries(Dir.path()), (QStringList{"a.skn", "b.skn", "single.skn", "state"}));
    EXPECT_EQ(Entries(Path("state/lumoraskin")), QStringList());
}

// What sits at a copy's name without being a save's copy of this very file
// never has it refused: a plain file, another user's copy, the copy of an
// earlier file whose inode this one reuses.
TEST_F(SaveCopy, OnlyTheFilesOwnTrustedCopyAttaches) {
    Put(Path("a.skn"), "old");
    Put(Path(".a.skn.lumoraskin-save"), "planted");
    EXPECT_EQ(ReadWholeFile(Path("a.skn")).Bytes, "old");
    EXPECT_EQ(Contents(Path(".a.skn.lumoraskin-save")), "planted");

    // The name beside taken: the copy goes to the state folder, named by inode.
    const QString copy = Interrupted(Path("a.skn"), "new content", 3);
    const struct stat st = Stat(Path("a.skn"));
    ASSERT_EQ(
        copy,
        Path("state/lumoraskin/%1-%2.lumoraskin-save").arg(quint64(st.st_dev)).arg(st.st_ino));
    ASSERT_EQ(ReadWholeFile(Path("a.skn")).Error, Refusal(copy));
    char value[256];
    const ssize_t n = ::getxattr(Native(copy).constData(), Record, value, sizeof value);
    ASSERT_GT(n, 0);
    QList<QByteArray> fields = QByteArray(value, n).split(' ');
    ASSERT_EQ(fields.size(), 5);
    fields[2] = "b:1.5"; // born at another time: another file with this inode
    const QByteArray reborn = fields.join(' ');
    ASSERT_EQ(::setxattr(Native(copy).constData(), Record, reborn.constData(),
                         std::size_t(reborn.size()), 0),
              0);
    EXPECT_EQ(ReadWholeFile(Path("a.skn")).Bytes, "new"); // torn, but by no copy of its own
    EXPECT_EQ(Contents(copy), "new content");
}

TEST_F(SaveCopy, AnotherUsersCopyIsIgnoredUnlessTheyMayWriteTheFile) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give the copy to user nobody";
    Put(Path("a.skn"), "old");
    ASSERT_EQ(::chmod(Native(Path("a.skn")).constData(), 0644), 0);
    const QString copy = Interrupted(Path("a.skn"), "new content", 3);
    ASSERT_EQ(::chown(Native(copy).constData(), 65534, 65534), 0);
    EXPECT_EQ(ReadWholeFile(Path("a.skn")).Bytes, "new"); // torn, but by no copy of its own
    EXPECT_EQ(Contents(copy), "new content");
    // One who may write the file could have torn it anyway: their copy counts.
    ASSERT_EQ(::chmod(Native(Path("a.skn")).constData(), 0666), 0);
    EXPECT_EQ(ReadWholeFile(Path("a.skn")).Error, Refusal(copy));
}

// Without fallocate (EOPNOTSUPP), a save in place goes on without reserving.
TEST_F(SaveCopy, SaveInPlaceWorksWithoutFallocate) {
    Put(Path("a.skn"), Pattern(8000, 'o'));
    Link(Path("a.skn"), Path("b.skn"));
    const QByteArray next = EncodeSkin(MakeRichSkin());
    ASSERT_GT(next.size(), 4096);
    const std::optional<QString> saved = WithCallsRefused({{SYS_fallocate, EOPNOTSUPP}}, [&] {
        return WriteSkinFile(MakeRichSkin(), Path("a.skn"));
    });
    ASSERT_TRUE(saved);
    EXPECT_EQ(*saved, "");
    EXPECT_EQ(Contents(Path("b.skn")), next);
    EXPECT_EQ(Stat(Path("b.skn")).st_nlink, 2u);
}

// Another user's link in a shared sticky folder is followed only where the
// kernel lets the saver follow it, as every other program's open would.
TEST_F(SaveCopy, AnotherUsersLinkIsFollowedOnlyAsTheKernelAllows) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to plant a link as user nobody";
    if (Contents("/proc/sys/fs/protected_symlinks").trimmed() != "1")
        GTEST_SKIP() << "fs.protected_symlinks is off here";
    ASSERT_TRUE(QDir().mkpath(Path("shared")));
    ASSERT_EQ(::chmod(Native(Path("shared")).constData(), 01777), 0);
    Put(Path("victim"), "VICTIM");
    ASSERT_EQ(
        ::symlink(Native(Path("victim")).constData(), Native(Path("shared/a.skn")).constData()), 0);
    ASSERT_EQ(::lchown(Native(Path("shared/a.skn")).constData(), 65534, 65534), 0);
    EXPECT_EQ(WriteWholeFile(Path("shared/a.skn"), "new"), "File access denied");
    EXPECT_EQ(Contents(Path("victim")), "VICTIM");
}
