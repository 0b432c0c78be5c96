#include "staged_files.h"

#include "cli_error.h"
#include "file_errors.h"
#include "whole_file.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class TWay { New, Written, Replaced };

struct TMoved {
    QString Target;
    TWay Way;
    QString Kept; // the old bytes or the entry replaced, in the staging folder
};

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

QString ErrorText(int error) {
    return FileErrorText(error != 0 ? error : EIO);
}

[[noreturn]] void Fail(const QString& path, int error) {
    FailFile(path, ErrorText(error) + QLatin1Char('.'));
}

// The bytes of a regular file that is no link; nothing on failure.
std::optional<QByteArray> RegularFileBytes(const QString& path) {
    const int fd = ::open(Native(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    TFileRead read;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        read = ReadWholeDescriptor(fd);
    else
        read.Error = FileErrorText(EINVAL);
    ::close(fd);
    if (!read.Error.isEmpty()) return std::nullopt;
    return std::move(read.Bytes);
}

// Back as it was, newest first; a step that fails leaves the rest to go on.
void PutBack(const QList<TMoved>& moved) {
    for (auto it = moved.crbegin(); it != moved.crend(); ++it) {
        const QByteArray target = Native(it->Target);
        if (it->Way == TWay::New) {
            ::unlink(target.constData());
        } else if (it->Way == TWay::Replaced) {
            std::rename(Native(it->Kept).constData(), target.constData());
        } else if (const std::optional<QByteArray> old = RegularFileBytes(it->Kept)) {
            WriteWholeFile(it->Target, *old);
        }
    }
}

// A new name: renamed into place unless something appeared there meanwhile.
bool MoveNew(const QByteArray& staged, const QByteArray& target) {
    if (::renameat2(AT_FDCWD, staged.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the flag.
    return std::rename(staged.constData(), target.constData()) == 0;
}

// The existing file written with the staged bytes, its old ones kept first.
QString WriteOver(const TMoved& move, const QString& staged) {
    const std::optional<QByteArray> old = RegularFileBytes(move.Target);
    if (!old) return ErrorText(errno);
    QFile kept(move.Kept);
    if (!kept.open(QIODevice::WriteOnly | QIODevice::NewOnly) || kept.write(*old) != old->size() ||
        !kept.flush())
        return ErrorText(ENOSPC);
    kept.close();
    const std::optional<QByteArray> bytes = RegularFileBytes(staged);
    if (!bytes) return ErrorText(errno);
    return WriteWholeFile(move.Target, *bytes);
}

// Any other entry: moved aside (a second name where links are allowed),
// the staged file renamed in its place.
QString Replace(const TMoved& move, const QByteArray& staged) {
    const QByteArray target = Native(move.Target), kept = Native(move.Kept);
    bool movedAside = false;
    if (::link(target.constData(), kept.constData()) != 0) {
        if (std::rename(target.constData(), kept.constData()) != 0) return ErrorText(errno);
        movedAside = true;
    }
    if (std::rename(staged.constData(), target.constData()) == 0) return {};
    const int error = errno;
    if (movedAside) std::rename(kept.constData(), target.constData());
    return ErrorText(error);
}

} // namespace

void MoveStagedFiles(const QString& staging, const QString& dir, const QStringList& names) {
    for (const QString& name : names) {
        const QString target = QDir(dir).filePath(name);
        struct stat st {};
        if (::lstat(Native(target).constData(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        // Asked, not opened: opening to write would tell watchers the file changed.
        if (::faccessat(AT_FDCWD, Native(target).constData(), W_OK, AT_EACCESS) != 0)
            Fail(target, errno);
    }

    const QString keptDir = QDir(staging).filePath(QStringLiteral(".replaced"));
    if (::mkdir(Native(keptDir).constData(), 0700) != 0) Fail(dir, errno);
    QList<TMoved> moved;
    for (const QString& name : names) {
        TMoved move{QDir(dir).filePath(name), TWay::New, QDir(keptDir).filePath(name)};
        const QByteArray target = Native(move.Target);
        const QString staged = QDir(staging).filePath(name);
        struct stat st {};
        QString error;
        const bool exists = ::lstat(target.constData(), &st) == 0;
        if (!exists && errno != ENOENT) {
            error = ErrorText(errno);
        } else if (!exists && MoveNew(Native(staged), target)) {
            moved.append(move);
            continue;
        } else if (!exists && errno != EEXIST) {
            error = ErrorText(errno);
        } else if (::lstat(target.constData(), &st) == 0 && S_ISREG(st.st_mode)) {
            move.Way = TWay::Written;
            error = WriteOver(move, staged);
        } else {
            move.Way = TWay::Replaced;
            error = Replace(move, Native(staged));
        }
        if (!error.isEmpty()) {
            PutBack(moved);
            FailFile(move.Target, error + QLatin1Char('.'));
        }
        moved.append(move);
    }
}
