#include "save_copy.h"

#include "user_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

const QLatin1String Suffix(".lumoraskin-save");

QString BesideName(const QString& canonicalPath) {
    const QFileInfo info(canonicalPath);
    return info.dir().filePath(QLatin1Char('.') + info.fileName() + Suffix);
}

// Known by the file itself, whichever of its names the next open uses.
QString StateName(const struct stat& st) {
    const QString folder = UserStateFolder();
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

// The whole copy appears under its name at once, flushed, or not at all.
bool WriteCopy(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    if (::fchmod(file.handle(), 0600) != 0) return false; // the content is the user's alone
    for (qsizetype at = 0; at < bytes.size();) {
        const ssize_t n = ::write(file.handle(), bytes.constData() + at,
                                  std::size_t(std::min<qsizetype>(bytes.size() - at, 1 << 30)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        at += n;
    }
    if (::fsync(file.handle()) != 0 || !file.commit()) return false;
    SyncFolder(path);
    return true;
}

} // namespace

TSaveCopy::TSaveCopy(const QString& canonicalPath, const struct stat& st, const QByteArray& bytes) {
    const QString beside = BesideName(canonicalPath);
    if (WriteCopy(beside, bytes)) {
        Path = beside;
        return;
    }
    const QString state = StateName(st);
    if (state.isEmpty() || !QDir().mkpath(QFileInfo(state).absolutePath())) return;
    QFile::setPermissions(QFileInfo(state).absolutePath(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (WriteCopy(state, bytes)) Path = state;
}

void TSaveCopy::Remove() {
    if (Path.isEmpty()) return;
    if (QFile::remove(Path)) SyncFolder(Path);
    Path.clear();
}

QString InterruptedSaveCopy(const QString& canonicalPath, const struct stat& st) {
    for (const QString& copy : {BesideName(canonicalPath), StateName(st)}) {
        struct stat found {};
        if (!copy.isEmpty() && ::stat(QFile::encodeName(copy).constData(), &found) == 0 &&
            S_ISREG(found.st_mode))
            return copy;
    }
    return {};
}

bool CopyMatchesFile(const QString& copyPath, int fd) {
    QFile copy(copyPath);
    struct stat st {};
    if (!copy.open(QIODevice::ReadOnly) || ::fstat(fd, &st) != 0 || copy.size() != st.st_size)
        return false;
    char a[1 << 16], b[1 << 16];
    for (off_t at = 0; at < st.st_size;) {
        const qint64 n = copy.read(a, sizeof a);
        if (n <= 0 || ::pread(fd, b, std::size_t(n), at) != n || std::memcmp(a, b, std::size_t(n)))
            return false;
        at += off_t(n);
    }
    return true;
}
