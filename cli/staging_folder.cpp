#include "staging_folder.h"

#include "cli_error.h"
#include "file_errors.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr int Signals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int Depth = 4; // the folder holds files and the folder of replaced ones

// What the handler needs, set before it may run. Phase: 0 nothing to do,
// 1 remove the folder and die, 2 hold the signal for later.
volatile sig_atomic_t Phase = 0;
volatile sig_atomic_t Held = 0;
int ParentFd = -1;
char Name[32];
char CreatedPath[PATH_MAX];
struct sigaction Previous[std::size(Signals)];

// Removes a folder's entries, never following a link, with only the calls a
// signal handler may make. Entries removed while the folder is listed may
// be skipped by the listing: it is listed again until it shows none.
void RemoveContents(int fd, int depth) {
    alignas(dirent64) char buffer[4096];
    for (int pass = 0; pass < 8; ++pass) {
        bool found = false;
        ::lseek(fd, 0, SEEK_SET);
        for (long n; (n = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer)) > 0;) {
            for (long at = 0; at < n;) {
                const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
                at += entry->d_reclen;
                const char* name = entry->d_name;
                if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
                found = true;
                if (::unlinkat(fd, name, 0) == 0 || errno != EISDIR || depth == 0) continue;
                const int inner =
                    ::openat(fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                if (inner < 0) continue;
                RemoveContents(inner, depth - 1);
                ::close(inner);
                ::unlinkat(fd, name, AT_REMOVEDIR);
            }
        }
        if (!found) return;
    }
}

void RemoveFolderAt(int parentFd, const char* name) {
    const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    RemoveContents(fd, Depth);
    ::close(fd);
    ::unlinkat(parentFd, name, AT_REMOVEDIR);
}

void OnSignal(int signal) {
    const int savedErrno = errno;
    if (Phase == 2) {
        if (Held == 0) Held = signal;
        errno = savedErrno;
        return;
    }
    if (Phase == 1) {
        RemoveFolderAt(ParentFd, Name);
        if (CreatedPath[0] != '\0') ::rmdir(CreatedPath);
    }
    // Dies of the signal once the handler returns, as it would have without one.
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    ::sigaction(signal, &byDefault, nullptr);
    ::raise(signal);
    errno = savedErrno;
}

void Install() {
    for (std::size_t i = 0; i < std::size(Signals); ++i) {
        ::sigaction(Signals[i], nullptr, &Previous[i]);
        if (Previous[i].sa_handler == SIG_IGN) continue; // ignored, as the caller wants
        struct sigaction action {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        for (const int other : Signals)
            sigaddset(&action.sa_mask, other);
        ::sigaction(Signals[i], &action, nullptr);
    }
}

void Restore() {
    for (std::size_t i = 0; i < std::size(Signals); ++i)
        if (Previous[i].sa_handler != SIG_IGN) ::sigaction(Signals[i], &Previous[i], nullptr);
}

// Folders an earlier run left: the name mkdtemp gives, a real folder of this
// user, and no run holding its lock.
void RemoveStaleFolders(int parentFd) {
    static const QRegularExpression stale(QStringLiteral("^\\.skntool-[A-Za-z0-9]{6}$"));
    const int listFd = ::dup(parentFd);
    DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (!dir) {
        if (listFd >= 0) ::close(listFd);
        return;
    }
    QList<QByteArray> names;
    while (const dirent* entry = ::readdir(dir))
        if (stale.match(QLatin1String(entry->d_name)).hasMatch()) names.append(entry->d_name);
    ::closedir(dir);
    for (const QByteArray& name : names) {
        const int fd =
            ::openat(parentFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && st.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            RemoveContents(fd, Depth);
            ::unlinkat(parentFd, name.constData(), AT_REMOVEDIR);
        }
        ::close(fd);
    }
}

[[noreturn]] void FailErrno(const QString& path, int error) {
    FailFile(path, FileErrorText(error != 0 ? error : EIO) + QLatin1Char('.'));
}

} // namespace

TStagingFolder::TStagingFolder(const QString& dir, bool created) {
    const QByteArray native = QFile::encodeName(dir);
    ParentFd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (ParentFd < 0) FailErrno(dir, errno);
    RemoveStaleFolders(ParentFd);
    const QByteArray absolute = QFile::encodeName(QDir(dir).absolutePath());
    CreatedPath[0] = '\0';
    if (created && std::size_t(absolute.size()) < sizeof CreatedPath)
        std::memcpy(CreatedPath, absolute.constData(), std::size_t(absolute.size()) + 1);
    Held = 0;
    Install();
    // Another run's clearing may take the folder between its making and its
    // lock: then it is made again.
    for (int attempt = 0; LockFd < 0; ++attempt) {
        QByteArray path = native + "/.skntool-XXXXXX";
        if (!::mkdtemp(path.data())) {
            const int error = errno;
            Phase = 0;
            Restore();
            ::close(ParentFd);
            ParentFd = -1;
            FailErrno(dir, error);
        }
        const QByteArray name = path.mid(path.lastIndexOf('/') + 1);
        std::memcpy(Name, name.constData(), std::size_t(name.size()) + 1);
        Phase = 1;
        const int fd = ::openat(ParentFd, Name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        struct stat st {};
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &st) == 0 &&
            st.st_nlink > 0) {
            LockFd = fd;
            Path = QFile::decodeName(path);
        } else if (fd >= 0) {
            ::close(fd);
        }
        if (LockFd < 0 && attempt == 9) {
            Phase = 0;
            Restore();
            ::close(ParentFd);
            ParentFd = -1;
            FailErrno(dir, EEXIST);
        }
    }
}

TStagingFolder::~TStagingFolder() {
    // Phase stays as it is meanwhile: a signal during the removal finishes it.
    RemoveContents(LockFd, Depth);
    ::unlinkat(ParentFd, Name, AT_REMOVEDIR);
    Restore();
    Phase = 0;
    ::close(LockFd);
    ::close(ParentFd);
    ParentFd = -1;
}

void TStagingFolder::HoldSignals() {
    Phase = 2;
}

void RaiseHeldSignal() {
    if (const int signal = Held; signal != 0) {
        Held = 0;
        ::raise(signal);
    }
}
