#include "private_files.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int CreatePrivateFile(const QByteArray& native) {
    if (native.isEmpty()) {
        errno = ENOENT;
        return -1;
    }
    // O_EXCL refuses any entry at the name, a dangling link among them;
    // O_NOFOLLOW says so for a link even where O_EXCL would not be honoured.
    return ::open(native.constData(),
                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
}

bool IsOwnRegularFile(const QByteArray& native) {
    struct stat st {};
    return !native.isEmpty() && ::lstat(native.constData(), &st) == 0 && S_ISREG(st.st_mode) &&
           st.st_uid == ::geteuid();
}

bool RemoveOwnFile(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    return IsOwnRegularFile(native) && ::unlink(native.constData()) == 0;
}

int OpenOwnRegularFile(const QByteArray& native, qint64 maxSize) {
    if (native.isEmpty()) {
        errno = ENOENT;
        return -1;
    }
    const int fd =
        ::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return -1;
    struct stat st {};
    int error = 0;
    if (::fstat(fd, &st) != 0)
        error = errno;
    else if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
        error = EACCES;
    else if (maxSize >= 0 && st.st_size > maxSize)
        error = EFBIG;
    else {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) error = errno;
    }
    if (error == 0) return fd;
    ::close(fd);
    errno = error;
    return -1;
}
