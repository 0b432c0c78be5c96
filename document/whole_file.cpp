#include "whole_file.h"

#include "file_errors.h"
#include "kept_traits.h"
#include "save_copy.h"
#include "save_lock.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The system's text where there is an error number, else what failed.
QString FailureText(int error, const char* what) {
    return error != 0 ? FileErrorText(error) : QString::fromLatin1(what);
}

const char* const NotWritten = "The file could not be written";

// Bytes beyond RLIMIT_FSIZE fail part-way; a length known in advance that
// exceeds it fails before anything is touched, like a disk with no room.
bool ExceedsFileSizeLimit(qint64 size) {
    rlimit limit{};
    return size > 0 && ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
           quint64(size) > quint64(limit.rlim_cur);
}

// Writes straight to a descriptor and keeps the first failure's error
// number, so a producer may write on without checking each call.
class TWriteSink final : public QIODevice {
  public:
    explicit TWriteSink(int fd) : Fd(fd) { open(WriteOnly | Unbuffered); }

    bool Failed = false;
    int Error = 0;
    qint64 Written = 0;

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override {
        if (Failed) return -1;
        for (qint64 left = len; left > 0;) {
            const ssize_t n = ::write(Fd, data, std::size_t(std::min<qint64>(left, 1 << 30)));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                Failed = true;
                Error = n < 0 ? errno : 0;
                return -1;
            }
            data += n;
            left -= n;
            Written += n;
        }
        return len;
    }

  private:
    int Fd;
};

class TDescriptor {
  public:
    explicit TDescriptor(int fd) : Fd(fd) {}
    ~TDescriptor() {
        if (Fd >= 0) ::close(Fd);
    }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    int Get() const { return Fd; }
    // A failed close can be the first sign of a failed write (NFS).
    QString Close() {
        const int fd = Fd;
        Fd = -1;
        return ::close(fd) == 0 || errno == EINTR ? QString() : FailureText(errno, NotWritten);
    }

  private:
    int Fd;
};

// A temporary file beside the target, renamed over it once every byte is on
// disk. nullopt when no temporary file can be made beside an existing file,
// or when it cannot be given everything the old file had.
std::optional<QString> Replace(const QString& path, const struct stat* old,
                               const TFileProducer& produce) {
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (old) return std::nullopt;
        return FailureText(errno, "The file could not be created");
    }
    if (old && !GiveOldTraits(file.handle(), QFile::encodeName(path), *old)) return std::nullopt;
    TWriteSink sink(file.handle());
    produce(sink);
    // QSaveFile drops its temporary file when it is not committed.
    if (sink.Failed) return FailureText(sink.Error, NotWritten);
    if (::fsync(file.handle()) != 0) return FailureText(errno, NotWritten);
    errno = 0;
    if (!file.commit()) return FailureText(errno, "The new file could not replace the old one");
    return QString();
}

// Room for the whole new length, so that a full disk or a size limit is found
// before one old byte changes. The system call, not posix_fallocate, whose
// fallback reads the write-only descriptor: a file system that cannot
// reserve is written without reserving.
int Reserve(int fd, qint64 size) {
    while (::fallocate(fd, 0, 0, off_t(size)) != 0) {
        if (errno == EINTR) continue;
        return errno == EOPNOTSUPP || errno == ENOSYS ? 0 : errno;
    }
    return 0;
}

// Pipes and devices take the bytes as they come. A plain file is built in
// memory first, so that a producer failing midway (out of memory) leaves it
// as it was; its complete copy goes to disk, so that an interrupted write
// loses nothing; then it gets room for the whole new length.
QString WriteInPlace(const QByteArray& native, const QString& canonical,
                     const TFileProducer& produce) {
    TDescriptor fd(::open(native.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
    if (fd.Get() < 0) return FileErrorText(errno);
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0) return FileErrorText(errno);
    TWriteSink sink(fd.Get());
    if (!S_ISREG(st.st_mode)) {
        produce(sink);
        if (sink.Failed) return FailureText(sink.Error, NotWritten);
        return fd.Close();
    }

    QByteArray staged;
    QBuffer buffer(&staged);
    buffer.open(QIODevice::WriteOnly);
    produce(buffer);
    if (ExceedsFileSizeLimit(staged.size())) return FileErrorText(EFBIG);
    TSaveCopy copy(fd.Get(), canonical, staged);
    if (!staged.isEmpty()) {
        if (const int error = Reserve(fd.Get(), staged.size()); error != 0) {
            copy.Remove();
            return FileErrorText(error);
        }
    }
    // From here a failure may leave the file torn: its copy stays, for the
    // next open to name.
    sink.write(staged);
    if (sink.Failed) {
        if (sink.Written == 0) copy.Remove();
        return FailureText(sink.Error, NotWritten);
    }
    if (::ftruncate(fd.Get(), sink.Written) != 0 || ::fsync(fd.Get()) != 0)
        return FailureText(errno, NotWritten);
    // The file is whole: this copy and any an older save left are spent.
    for (const QString& spent : InterruptedSaveCopies(fd.Get(), canonical))
        DropSaveCopy(spent, fd.Get());
    copy.Remove();
    return fd.Close();
}

// The text refusing the regular file open as fd when a save in place was
// interrupted; canonical is its path when known.
QString InterruptedError(int fd, const QString& canonical) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return {};
    if (InterruptedSaveCopies(fd, canonical).isEmpty()) return {};
    // A save in progress holds the file: let it end first.
    if (const QString locked = WaitForSave(fd); !locked.isEmpty()) return locked;
    const QStringList copies = InterruptedSaveCopies(fd, canonical);
    if (copies.isEmpty()) return {};
    // Every byte written, and only the copy's removal missed: nothing is lost.
    if (FileHoldsRecordedContent(copies.first(), fd)) {
        for (const QString& copy : copies)
            DropSaveCopy(copy, fd);
        return {};
    }
    return QStringLiteral("The file is damaged: a save was interrupted; its complete new content "
                          "is in \"%1\"")
        .arg(copies.first());
}

// What the descriptor was opened as, for the copy kept beside that name.
QString OpenedName(int fd) {
    char target[4096];
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t n = ::readlink(link.constData(), target, sizeof target);
    if (n <= 0 || n == ssize_t(sizeof target) || target[0] != '/') return {};
    return QFile::decodeName(QByteArray(target, n));
}

TFileRead ReadAll(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return {{}, FileErrorText(errno)};
    if (S_ISDIR(st.st_mode)) return {{}, FileErrorText(EISDIR)};
    TFileRead result;
    try {
        if (S_ISREG(st.st_mode) && st.st_size > 0) result.Bytes.reserve(qsizetype(st.st_size));
        char buffer[1 << 16];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return {{}, FileErrorText(errno)};
            if (n == 0) break;
            result.Bytes.append(buffer, n);
        }
    } catch (const std::bad_alloc&) {
        return {{}, QStringLiteral("Out of memory")};
    }
    return result;
}

} // namespace

QString InterruptedSaveError(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty()) return {};
    TDescriptor fd(::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.Get() < 0) return {};
    return InterruptedError(fd.Get(), QFileInfo(path).canonicalFilePath());
}

QString InterruptedSaveError(int fd) {
    return InterruptedError(fd, OpenedName(fd));
}

namespace {
bool SameChange(const struct stat& a, const struct stat& b) {
    return a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec &&
           a.st_size == b.st_size;
}
} // namespace

TFileRead ReadWholeFile(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty()) return {{}, FileErrorText(ENOENT)};
    // A save in place that begins while the file is read changes it under
    // the reader: read it again once that save has ended.
    for (int attempt = 0;; ++attempt) {
        TDescriptor fd(::open(native.constData(), O_RDONLY | O_CLOEXEC));
        if (fd.Get() < 0) return {{}, FileErrorText(errno)};
        const QString canonical = QFileInfo(path).canonicalFilePath();
        if (const QString refused = InterruptedError(fd.Get(), canonical); !refused.isEmpty())
            return {{}, refused};
        struct stat before {
        }, after{};
        const bool regular = ::fstat(fd.Get(), &before) == 0 && S_ISREG(before.st_mode);
        TFileRead read = ReadAll(fd.Get());
        if (!regular || !read.Error.isEmpty() || attempt == 3 || ::fstat(fd.Get(), &after) != 0 ||
            SameChange(before, after))
            return read;
    }
}

TFileRead ReadWholeDescriptor(int fd) {
    if (const QString refused = InterruptedSaveError(fd); !refused.isEmpty()) return {{}, refused};
    return ReadAll(fd);
}

QString WriteWholeFile(const QString& path, qint64 size, const TFileProducer& produce) {
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty()) return FileErrorText(ENOENT);
    // stat follows symbolic links: the file a link points to is written.
    struct stat st {};
    const bool exists = ::stat(native.constData(), &st) == 0;
    if (!exists && errno != ENOENT) return FileErrorText(errno);
    if (exists && S_ISDIR(st.st_mode)) return FileErrorText(EISDIR);
    // Through a link only as far as the kernel lets this user follow it
    // (fs.protected_symlinks): the canonical path used below would not ask.
    if (exists) {
        const int probe = ::open(native.constData(), O_PATH | O_CLOEXEC);
        if (probe < 0) return FileErrorText(errno);
        ::close(probe);
    }
    if (ExceedsFileSizeLimit(size)) return FileErrorText(EFBIG);
    if (!exists) {
        if (std::optional<QString> created = Replace(path, nullptr, produce)) return *created;
    }
    // One save at a time: a second one waits for the first, or fails having changed nothing.
    TSaveLock lock;
    if (exists && S_ISREG(st.st_mode)) {
        if (const QString locked = lock.Take(native, true, st); !locked.isEmpty()) return locked;
    }
    QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty()) canonical = QFileInfo(path).absoluteFilePath(); // gone meanwhile
    if (exists && S_ISREG(st.st_mode) && st.st_nlink == 1 &&
        FolderLetsRenameReplace(QFile::encodeName(QFileInfo(canonical).absolutePath()), st)) {
        // Copies an older interrupted save left are spent once the file is replaced.
        TDescriptor old(::open(QFile::encodeName(canonical).constData(),
                               O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
        const QStringList spent =
            old.Get() >= 0 ? InterruptedSaveCopies(old.Get(), canonical) : QStringList();
        if (std::optional<QString> replaced = Replace(canonical, &st, produce)) {
            if (replaced->isEmpty())
                for (const QString& copy : spent)
                    DropSaveCopy(copy, old.Get());
            return *replaced;
        }
    }
    return WriteInPlace(native, canonical, produce);
}

QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
    return WriteWholeFile(path, bytes.size(), [&bytes](QIODevice& out) { out.write(bytes); });
}
