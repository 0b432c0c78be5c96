#include "folder_file.h"

#include <QFile>
#include <QScopeGuard>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <deque>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace {

// As many as the system itself follows in one path.
constexpr int MaxLinks = 40;

using TParts = std::deque<QByteArray>;

TParts Split(const QByteArray& path) {
    TParts parts;
    for (const QByteArray& part : path.split('/'))
        if (!part.isEmpty() && part != ".") parts.push_back(part);
    return parts;
}

QByteArray Join(const std::vector<QByteArray>& parts) {
    QByteArray path;
    for (const QByteArray& part : parts)
        path += (path.isEmpty() ? QByteArray() : QByteArray("/")) + part;
    return path.isEmpty() ? QByteArray(".") : path;
}

QByteArray ReadLink(int dirFd, const QByteArray& path) {
    QByteArray target(PATH_MAX, Qt::Uninitialized);
    const ssize_t n = ::readlinkat(dirFd, path.constData(), target.data(), std::size_t(PATH_MAX));
    return n < 0 ? QByteArray() : target.left(n);
}

// The folder's own path without links, for links that name it absolutely.
TParts RootParts(const QString& dir) {
    char* real = ::realpath(QFile::encodeName(dir).constData(), nullptr);
    if (!real) return {};
    TParts parts = Split(QByteArray(real));
    std::free(real);
    return parts;
}

// What the file at the end of the path is, when it is not a regular file.
QString KindRefusal(mode_t mode, const char* wanted) {
    const char* kind = S_ISDIR(mode)    ? "a folder"
                       : S_ISFIFO(mode) ? "a FIFO"
                       : S_ISSOCK(mode) ? "a socket"
                                        : "a device";
    return QStringLiteral(" names %1, not %2.").arg(QLatin1String(kind), QLatin1String(wanted));
}

constexpr int ReadFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK;

// Without openat2 (older kernels, some seccomp profiles): one part at a time,
// each opened beneath the descriptor of the folder before it and none through
// a link, so a folder swapped for a link after the walk is refused (ELOOP or
// ENOTDIR) rather than followed. The path holds no "." or ".." parts.
int OpenPartByPart(int rootFd, const std::vector<QByteArray>& parts) {
    int dirFd = rootFd;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        int next =
            ::openat(dirFd, parts[i].constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        int error = errno;
        // O_PATH with O_NOFOLLOW could hand back the link itself: only a folder goes on.
        struct stat st {};
        if (next >= 0 && (::fstat(next, &st) != 0 || !S_ISDIR(st.st_mode))) {
            ::close(next);
            next = -1;
            error = ELOOP;
        }
        if (dirFd != rootFd) ::close(dirFd);
        if (next < 0) {
            errno = error;
            return -1;
        }
        dirFd = next;
    }
    const int fd = ::openat(dirFd, parts.back().constData(), ReadFlags);
    const int error = errno;
    if (dirFd != rootFd) ::close(dirFd);
    errno = error;
    return fd;
}

// Opens the link-free path inside the folder, refusing any link met on the
// way: one put there since the walk cannot lead elsewhere. A FIFO put there
// opens without waiting and is refused by its kind.
int OpenBeneath(int rootFd, const std::vector<QByteArray>& parts) {
    open_how how{};
    how.flags = ReadFlags;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    const long fd = ::syscall(SYS_openat2, rootFd, Join(parts).constData(), &how, sizeof how);
    if (fd >= 0 || (errno != ENOSYS && errno != EPERM)) return int(fd);
    return OpenPartByPart(rootFd, parts);
}

} // namespace

TFolderFile::TFolderFile(const QString& dir, const QString& name, const char* wanted) {
    if (name.contains(QChar(u'\0'))) {
        RefusalText = QStringLiteral(" must not hold a NUL character.");
        return;
    }
    if (name.startsWith(u'/')) {
        RefusalText = QStringLiteral(" must be a path relative to the folder.");
        return;
    }
    const int rootFd = ::open(QFile::encodeName(dir).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (rootFd < 0) {
        Error = errno;
        return;
    }
    const auto closeRoot = qScopeGuard([rootFd] { ::close(rootFd); });

    // Walks the name a part at a time. Every part looked at lies inside the
    // folder: the parts taken so far are folders in it, none of them a link.
    const QString leaves = QStringLiteral(" leads out of the folder.");
    TParts left = Split(QFile::encodeName(name));
    std::vector<QByteArray> taken;
    int links = 0;
    struct stat st {};
    mode_t last = S_IFDIR; // what the parts taken so far end at: the folder itself
    while (!left.empty()) {
        const QByteArray part = left.front();
        left.pop_front();
        if (part == "..") {
            if (taken.empty()) {
                RefusalText = leaves;
                return;
            }
            taken.pop_back();
            last = S_IFDIR;
            continue;
        }
        taken.push_back(part);
        if (Error != 0) continue; // past a missing part, only where the name leads counts
        const QByteArray path = Join(taken);
        if (::fstatat(rootFd, path.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            Error = errno;
            continue;
        }
        last = st.st_mode;
        if (S_ISLNK(st.st_mode)) {
            taken.pop_back();
            if (++links > MaxLinks) {
                RefusalText = QStringLiteral(" leads through too many symbolic links.");
                return;
            }
            const QByteArray target = ReadLink(rootFd, path);
            if (target.isEmpty()) {
                Error = errno != 0 ? errno : ENOENT;
                return;
            }
            TParts inner = Split(target);
            if (target.startsWith('/')) {
                // Absolute, it must name the folder or a path in it.
                const TParts root = RootParts(dir);
                if (root.empty() || inner.size() < root.size() ||
                    !std::equal(root.begin(), root.end(), inner.begin())) {
                    RefusalText = leaves;
                    return;
                }
                for (std::size_t i = 0; i < root.size(); ++i)
                    inner.pop_front();
                taken.clear();
            }
            left.insert(left.begin(), inner.begin(), inner.end());
            last = S_IFDIR;
        } else if (!S_ISDIR(st.st_mode) && !left.empty()) {
            Error = ENOTDIR;
        }
    }
    if (Error != 0) return;
    if (!S_ISREG(last)) {
        RefusalText = KindRefusal(last, wanted);
        return;
    }

    Fd = OpenBeneath(rootFd, taken);
    if (Fd < 0) {
        Error = errno;
        return;
    }
    struct stat opened {};
    if (::fstat(Fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        RefusalText = KindRefusal(opened.st_mode, wanted);
        ::close(Fd);
        Fd = -1;
        return;
    }
    ::fcntl(Fd, F_SETFL, ::fcntl(Fd, F_GETFL) & ~O_NONBLOCK);
    Dev = opened.st_dev;
    Ino = opened.st_ino;
}

TFolderFile::~TFolderFile() {
    if (Fd >= 0) ::close(Fd);
}
