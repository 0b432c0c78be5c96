#include "save_lock.h"

#include "file_errors.h"

#include <QDeadlineTimer>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
constexpr int WaitMs = 5000;
constexpr int PollMs = 20;

int OpenForLock(const char* native) {
    // Non-blocking: the path may have become a pipe since it was examined.
    const int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    int fd = ::open(native, O_RDONLY | flags);
    if (fd < 0 && errno == EACCES) fd = ::open(native, O_WRONLY | flags);
    return fd;
}
} // namespace

QString BeingSavedText() {
    return QStringLiteral("The file is being saved by another program");
}

QString WaitForSave(int fd) {
    const QDeadlineTimer deadline(WaitMs);
    while (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK) return {}; // no locks here
        if (deadline.hasExpired()) return BeingSavedText();
        QThread::msleep(PollMs);
    }
    ::flock(fd, LOCK_UN);
    return {};
}

TSaveLock::~TSaveLock() {
    Release();
}

void TSaveLock::Release() {
    if (Fd >= 0) ::close(Fd); // closing the last descriptor drops the lock
    Fd = -1;
}

QString TSaveLock::Take(const QByteArray& native, bool exclusive, struct stat& st) {
    const QDeadlineTimer deadline(WaitMs);
    for (;;) {
        Release();
        if (::stat(native.constData(), &st) != 0) return FileErrorText(errno);
        if (!S_ISREG(st.st_mode)) return {};
        Fd = OpenForLock(native.constData());
        if (Fd < 0) return errno == EACCES || errno == EPERM ? QString() : FileErrorText(errno);
        int locked;
        while ((locked = ::flock(Fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB)) != 0 &&
               errno == EWOULDBLOCK) {
            if (deadline.hasExpired()) {
                Release();
                return BeingSavedText();
            }
            QThread::msleep(PollMs);
        }
        if (locked != 0) { // no locks here (some network file systems)
            Release();
            return {};
        }
        // A save that replaced the file while we waited locked the old one:
        // lock the file the path names now.
        struct stat held {};
        if (::fstat(Fd, &held) != 0) return FileErrorText(errno);
        if (::stat(native.constData(), &st) == 0 && st.st_dev == held.st_dev &&
            st.st_ino == held.st_ino)
            return {};
        if (deadline.hasExpired()) {
            Release();
            return BeingSavedText();
        }
    }
}
