// Saves that fail part-way: the file on disk is the one that was there, byte
// for byte, and the message says why.
#include "file_size_limit.h"
#include "sample_skin.h"
#include "skin_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/mount.h>

namespace {

QByteArray Contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

void WriteFile(const QString& path, qint64 size) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(QByteArray(size, 'x')), size);
}

// Points where the writer stops: inside the first buffered block, on and
// around the buffer boundaries, and spread over the whole file.
QList<qint64> StopPoints(qint64 size) {
    QList<qint64> points{0, 1, 7, 1033, 1034, 4095, 4096, 4097, 16383, 16384, 16385, size - 1};
    for (qint64 p = 0; p < size; p += size / 37)
        points << p;
    return points;
}

class FailingSave : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Path = Dir.filePath("skin.skn");
        ASSERT_EQ(WriteSkinFile(MakeDefaultSkin(), Path).toStdString(), "");
        Before = Contents(Path);
        ASSERT_EQ(Before.size(), 1034);
        Next = MakeRichSkin();
        Expected = EncodeSkin(Next);
    }

    // The directory holds the old file and nothing the failed save left.
    void ExpectOldFileAlone(const QDir& dir, const QStringList& others = {}) {
        EXPECT_EQ(Contents(Path), Before);
        EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden, QDir::Name), QStringList(others)
                                                                             << "skin.skn");
    }

    QTemporaryDir Dir;
    QString Path;
    QByteArray Before, Expected;
    TSkinDocument Next;
};

} // namespace

TEST_F(FailingSave, StoppingAtAnyByteKeepsTheOldFile) {
    ASSERT_GT(Expected.size(), 100000); // large enough to span many write buffers
    for (qint64 stop : StopPoints(Expected.size())) {
        SCOPED_TRACE(stop);
        QString message;
        {
            TFileSizeLimit limit{rlim_t(stop)};
            message = WriteSkinFile(Next, Path);
        }
        EXPECT_EQ(message.toStdString(), "Disk full.");
        ExpectOldFileAlone(QDir(Dir.path()));
    }
    // With room for every byte the same save succeeds.
    {
        TFileSizeLimit limit{rlim_t(Expected.size())};
        EXPECT_EQ(WriteSkinFile(Next, Path).toStdString(), "");
    }
    EXPECT_EQ(Contents(Path), Expected);
}

// A real full disk: a small tmpfs whose free space is taken, a page at a
// time, by a filler file. Mounting needs root; elsewhere the size limit
// above stands in for it.
TEST_F(FailingSave, FullFileSystemKeepsTheOldFile) {
    const QString mountPoint = Dir.filePath("disk");
    ASSERT_TRUE(QDir().mkpath(mountPoint));
    constexpr qint64 DiskBytes = 256 * 1024;
    const QByteArray options = QByteArray("size=") + QByteArray::number(DiskBytes);
    if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0,
                options.constData()) != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
    struct TUnmount {
        QByteArray Point;
        ~TUnmount() { ::umount2(Point.constData(), MNT_DETACH); }
    } unmount{QFile::encodeName(mountPoint)};

    Path = QDir(mountPoint).filePath("skin.skn");
    ASSERT_EQ(WriteSkinFile(MakeDefaultSkin(), Path).toStdString(), "");
    const QString filler = QDir(mountPoint).filePath("filler");
    int failures = 0;
    for (qint64 fill = DiskBytes - 8 * 1024; fill > 0; fill -= 8 * 1024) {
        SCOPED_TRACE(fill);
        QFile::remove(filler);
        WriteFile(filler, fill);
        const QString message = WriteSkinFile(Next, Path);
        if (message.isEmpty()) {
            // Once the new file fits it is whole; the loop is over.
            EXPECT_EQ(Contents(Path), Expected);
            break;
        }
        ++failures;
        EXPECT_EQ(message.toStdString(), "Disk full.");
        ExpectOldFileAlone(QDir(mountPoint), {"filler"});
    }
    // The new file needs about half the disk: many sizes of free space fail.
    EXPECT_GE(failures, 10);
    EXPECT_EQ(Contents(Path), Expected);
}
