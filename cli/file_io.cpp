#include "file_io.h"

#include "cli_error.h"
#include "file_errors.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
[[noreturn]] void FailErrno(const QString& path, int error) {
    FailFile(path, FileErrorText(error != 0 ? error : EIO) + QLatin1Char('.'));
}
} // namespace

QByteArray ReadFileBytes(const QString& path) {
    // POSIX rather than QFile: the message needs the system's error number.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) FailErrno(path, errno);
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        FailErrno(path, EACCES); // as Windows reports a folder opened as a file
    }
    QByteArray bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            FailErrno(path, error);
        }
        if (n == 0) break;
        bytes.append(buffer, n);
    }
    ::close(fd);
    return bytes;
}

void WriteFileBytes(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) FailErrno(path, errno);
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const int error = errno;
        file.cancelWriting();
        FailErrno(path, error);
    }
    errno = 0;
    if (!file.commit()) FailErrno(path, errno);
}
