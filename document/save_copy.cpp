#include "save_copy.h"

#include "private_files.h"
#include "user_folders.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

const QLatin1String Suffix(".lumoraskin-save");
// On the copy: "IDENTITY LENGTH SHA256"; on the file: the copy's path.
const char* const RecordName = "user.lumoraskin.save";
const char* const PointerName = "user.lumoraskin.save-copy";

QString BesideName(const QString& canonicalPath) {
    if (canonicalPath.isEmpty()) return {};
    const QFileInfo info(canonicalPath);
    return info.dir().filePath(QLatin1Char('.') + info.fileName() + Suffix);
}

QString StateName(const QString& folder, const struct stat& st) {
    if (folder.isEmpty()) return {};
    return QDir(folder).filePath(
        QStringLiteral("%1-%2%3").arg(quint64(st.st_dev)).arg(quint64(st.st_ino)).arg(Suffix));
}

void SyncFolder(const QString& path) {
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

QByteArray Sha256(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray Attribute(int fd, const char* name) {
    char buffer[4096];
    const ssize_t n = ::fgetxattr(fd, name, buffer, sizeof buffer);
    return n > 0 ? QByteArray(buffer, n) : QByteArray();
}

// The copy's record when it is a regular file whose owner is this user, root,
// or one who may write the file anyway; empty otherwise.
QByteArray TrustedRecord(const QString& copyPath, const struct stat& file) {
    const int fd = ::open(QFile::encodeName(copyPath).constData(),
                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return {};
    struct stat st {};
    QByteArray record;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        const bool trusted = st.st_uid == ::geteuid() || st.st_uid == 0 ||
                             st.st_uid == file.st_uid || (file.st_mode & S_IWOTH) ||
                             ((file.st_mode & S_IWGRP) && st.st_gid == file.st_gid);
        if (trusted) record = Attribute(fd, RecordName);
    }
    ::close(fd);
    return record;
}

// Moves a new file to a name that holds nothing, never over an entry there.
bool MoveToFreeName(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without that rename: a new link fails on any entry too.
    return ::link(from.constData(), to.constData()) == 0;
}

bool PointFileAt(int fd, const QString& copyPath) {
    const QByteArray path = QFile::encodeName(copyPath);
    return ::fsetxattr(fd, PointerName, path.constData(), std::size_t(path.size()), 0) == 0;
}

// The whole copy, flushed, with its record, appears at a name that held
// nothing, or nothing does: it is written under a random name first. The
// file (open as `file`) points at it before it appears, so that no reader
// finds the copy without the file naming it; `pointed` says whether it does.
bool WriteCopy(const QString& path, const QByteArray& bytes, const QByteArray& record, int file,
               bool& pointed) {
    QString temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 8; ++attempt) {
        temporary =
            path + QStringLiteral(".%1").arg(QRandomGenerator::system()->generate64(), 0, 36);
        fd = CreatePrivateFile(QFile::encodeName(temporary));
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool ok = true;
    for (qsizetype at = 0; ok && at < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + at,
                                  std::size_t(std::min<qsizetype>(bytes.size() - at, 1 << 30)));
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        at += std::max<ssize_t>(n, 0);
    }
    ok = ok &&
         ::fsetxattr(fd, RecordName, record.constData(), std::size_t(record.size()), 0) == 0 &&
         ::fsync(fd) == 0;
    ::close(fd);
    if (ok) pointed = PointFileAt(file, path);
    ok = ok && MoveToFreeName(QFile::encodeName(temporary), QFile::encodeName(path));
    RemoveOwnFile(temporary); // left only where the copy was linked or failed
    return ok;
}

} // namespace

QByteArray FileIdentity(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return {};
    QByteArray birth = "-";
    struct statx sx {};
    unsigned generation = 0;
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME))
        birth = "b:" + QByteArray::number(qint64(sx.stx_btime.tv_sec)) + '.' +
                QByteArray::number(sx.stx_btime.tv_nsec);
    else if (::ioctl(fd, FS_IOC_GETVERSION, &generation) == 0)
        birth = "g:" + QByteArray::number(generation);
    return QByteArray::number(quint64(st.st_dev)) + ' ' + QByteArray::number(quint64(st.st_ino)) +
           ' ' + birth;
}

TSaveCopy::TSaveCopy(int fd, const QString& canonicalPath, const QByteArray& bytes) : Fd(fd) {
    struct stat st {};
    const QByteArray identity = FileIdentity(fd);
    if (identity.isEmpty() || ::fstat(fd, &st) != 0) return;
    const QStringList older = InterruptedSaveCopies(fd, canonicalPath);
    const QByteArray record =
        identity + ' ' + QByteArray::number(bytes.size()) + ' ' + Sha256(bytes);
    bool pointed = false;
    const QString beside = BesideName(canonicalPath);
    if (!beside.isEmpty() && WriteCopy(beside, bytes, record, fd, pointed)) Path = beside;
    // A copy beside a file that cannot point at it is found only through
    // that name; one in the state folder, through every name.
    if (Path.isEmpty() || (!pointed && st.st_nlink > 1)) {
        if (const QString state = StateName(PrivateStateFolder(), st); !state.isEmpty()) {
            // The folder is the user's alone: what is there is an older copy
            // of this file, or of one gone whose inode this file reuses.
            RemoveOwnFile(state);
            if (WriteCopy(state, bytes, record, fd, pointed)) {
                if (!Path.isEmpty()) RemoveOwnFile(Path);
                Path = state;
            }
        }
    }
    if (!pointed) ::fremovexattr(fd, PointerName); // never at an older copy
    if (Path.isEmpty()) return;
    SyncFolder(Path);
    for (const QString& copy : older)
        if (copy != Path) RemoveOwnFile(copy);
}

void TSaveCopy::Remove() {
    if (Path.isEmpty()) return;
    DropSaveCopy(Path, Fd);
    Path.clear();
}

QStringList InterruptedSaveCopies(int fd, const QString& canonicalPath) {
    struct stat st {};
    const QByteArray identity = FileIdentity(fd);
    if (identity.isEmpty() || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return {};
    QStringList found;
    const QString pointed = QFile::decodeName(Attribute(fd, PointerName));
    // Whoever's the state folder is, a copy there counts only by its owner
    // and its record.
    for (const QString& copy :
         {pointed, BesideName(canonicalPath), StateName(UserStateFolder(), st)}) {
        if (copy.isEmpty() || found.contains(copy)) continue;
        const QList<QByteArray> record = TrustedRecord(copy, st).split(' ');
        if (record.size() == 5 && record.mid(0, 3).join(' ') == identity) found.append(copy);
    }
    return found;
}

bool FileHoldsRecordedContent(const QString& copyPath, int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return false;
    const QList<QByteArray> record = TrustedRecord(copyPath, st).split(' ');
    if (record.size() != 5 || record[3].toLongLong() != qint64(st.st_size)) return false;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    char buffer[1 << 16];
    for (off_t at = 0; at < st.st_size;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        hash.addData(QByteArrayView(buffer, n));
        at += n;
    }
    return hash.result().toHex() == record[4];
}

void DropSaveCopy(const QString& copyPath, int fd) {
    const QByteArray native = QFile::encodeName(copyPath);
    struct stat st {};
    // Found for this file, so a save's copy: another user's (who could write
    // the file) goes too, once the file holds what it recorded.
    if (::lstat(native.constData(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::unlink(native.constData()) == 0)
        SyncFolder(copyPath);
    // Only then the pointer: a copy is never left that nothing names.
    if (QFile::decodeName(Attribute(fd, PointerName)) == copyPath) ::fremovexattr(fd, PointerName);
}
