#include "recovery_copy.h"

#include "file_errors.h"
#include "private_files.h"
#include "user_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QLatin1String Prefix("recovery-");
const QLatin1String SkinSuffix(".skn");
const QLatin1String NoteSuffix(".note");
const QLatin1String LockSuffix(".lock");
const QLatin1String NewSuffix(".new"); // a file being written, before it takes its name
const QLatin1String AsidePrefix("damaged-");
constexpr qint64 NoteMaxBytes = 64 * 1024;

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

bool Exists(const QString& path) {
    struct stat st {};
    return ::lstat(Native(path).constData(), &st) == 0;
}

// The lock on the descriptor, without waiting; -1 when someone else holds it.
int Locked(int fd) {
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// A left copy's lock: its own lock file, or a new one where it went missing.
int LockLeft(const QString& path) {
    int fd = OpenOwnRegularFile(Native(path));
    if (fd < 0 && errno == ENOENT) fd = CreatePrivateFile(Native(path));
    return Locked(fd);
}

// Gathers the writer's bytes and hands them on a chunk at a time, so that a
// copy of a huge skin never holds the whole file in memory.
class TChunkSink : public TByteSink {
  public:
    explicit TChunkSink(QFile& out) : Out(out) { Buffer.resize(qsizetype(1) << 18); }
    uchar* Extend(qsizetype n) override {
        if (Used + n > Buffer.size()) {
            Flush();
            Buffer.resize(std::max(n, Buffer.size()));
        }
        Used += n;
        return reinterpret_cast<uchar*>(Buffer.data()) + Used - n;
    }
    void Flush() {
        Out.write(Buffer.constData(), Used);
        Used = 0;
    }

  private:
    QFile& Out;
    QByteArray Buffer;
    qsizetype Used = 0;
};

// Writes a new file beside the path and puts it in the path's place, which
// must be free or the user's own regular file: a link or another's file
// there is never written through or replaced. The reason of a failure, or empty.
QString Replace(const QString& path, const std::function<void(QFile&)>& produce) {
    const QString fresh = path + NewSuffix;
    RemoveOwnFile(fresh); // left by a write this process never finished
    const int fd = CreatePrivateFile(Native(fresh));
    if (fd < 0) return FileErrorText(errno);
    int error = 0;
    {
        // Unbuffered: a failed write leaves its own errno (a full disk).
        QFile file;
        errno = 0;
        if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                       QFileDevice::DontCloseHandle))
            error = EIO;
        try {
            if (!error) produce(file);
        } catch (const std::bad_alloc&) {
            error = ENOMEM;
        }
        if (!error && file.error() != QFileDevice::NoError) error = errno ? errno : EIO;
    }
    if (!error && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && !error) error = errno;
    if (!error && Exists(path) && !IsOwnRegularFile(Native(path))) error = EACCES;
    if (!error && ::rename(Native(fresh).constData(), Native(path).constData()) != 0) error = errno;
    if (!error) return {};
    RemoveOwnFile(fresh);
    return error == ENOMEM ? QStringLiteral("Out of memory") : FileErrorText(error);
}

void ReadNote(TLeftCopy& copy) {
    const int fd = OpenOwnRegularFile(Native(copy.Note), NoteMaxBytes);
    if (fd < 0) return;
    QFile file;
    QJsonObject note;
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        note = QJsonDocument::fromJson(file.read(NoteMaxBytes)).object();
    else
        ::close(fd);
    const QDateTime written =
        QDateTime::fromString(note.value(QStringLiteral("written")).toString(), Qt::ISODateWithMs);
    if (!note.value(QStringLiteral("file")).isString() ||
        !note.value(QStringLiteral("untitled")).isBool() || !written.isValid())
        return;
    copy.FileName = note.value(QStringLiteral("file")).toString();
    copy.Untitled = note.value(QStringLiteral("untitled")).toBool();
    // A relative name was relative to where that editor ran: this one may
    // run elsewhere. Notes since name the file in full.
    if (!copy.Untitled) copy.FileName = QFileInfo(copy.FileName).absoluteFilePath();
    copy.Written = written;
    copy.NoteRead = true;
}

QDateTime ModifiedTime(const QString& path) {
    struct stat st {};
    if (::lstat(Native(path).constData(), &st) != 0) return {};
    return QDateTime::fromSecsSinceEpoch(st.st_mtim.tv_sec);
}
} // namespace

TRecoveryCopy::~TRecoveryCopy() {
    for (int fd : HeldLocks)
        ::close(fd);
    if (LockFd < 0) return;
    // The lock file goes with the copy; a copy kept for the next start keeps
    // its lock file, free for whoever finds it.
    if (!IsOwnRegularFile(Native(Skin))) RemoveOwnFile(LockPath);
    ::close(LockFd);
}

bool TRecoveryCopy::Begin() {
    if (LockFd >= 0) return true;
    const QString folder = PrivateStateFolder();
    if (folder.isEmpty()) {
        const QString wanted = UserStateFolder();
        Refused = wanted.isEmpty()
                      ? QString()
                      : QStringLiteral("Unsaved changes are not kept for recovery: \"%1\" is not "
                                       "a folder of yours alone.")
                            .arg(wanted);
        return false;
    }
    // The time keeps a name apart from a copy left by an ended process that
    // had the same number.
    const QString tag =
        QDir(folder).filePath(Prefix + QStringLiteral("%1-%2")
                                           .arg(QCoreApplication::applicationPid())
                                           .arg(QDateTime::currentMSecsSinceEpoch()));
    LockFd = Locked(CreatePrivateFile(Native(tag + LockSuffix)));
    if (LockFd < 0) {
        Refused =
            QStringLiteral("The recovery copy could not be written: %1.").arg(FileErrorText(errno));
        return false;
    }
    LockPath = tag + LockSuffix;
    Skin = tag + SkinSuffix;
    Note = tag + NoteSuffix;
    Refused.clear();
    return true;
}

QString TRecoveryCopy::Write(const TSkinDocument& doc) const {
    if (LockFd < 0) return FileErrorText(ENOENT);
    // The note first: a skin on disk always has its note beside it. The name
    // in full, as Save would write to it from here.
    QJsonObject note;
    note.insert(QStringLiteral("file"),
                doc.Untitled ? doc.FileName : QFileInfo(doc.FileName).absoluteFilePath());
    note.insert(QStringLiteral("untitled"), doc.Untitled);
    note.insert(QStringLiteral("written"),
                QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    const QByteArray noteBytes = QJsonDocument(note).toJson(QJsonDocument::Compact);
    if (QString error = Replace(Note, [&](QFile& file) { file.write(noteBytes); });
        !error.isEmpty())
        return error;
    return Replace(Skin, [&doc](QFile& file) {
        TChunkSink sink(file);
        WriteSkin(doc, sink);
        sink.Flush();
    });
}

void TRecoveryCopy::Remove() const {
    if (LockFd < 0) return;
    RemoveOwnFile(Skin);
    RemoveOwnFile(Note);
}

std::vector<TLeftCopy> TRecoveryCopy::TakeLeftCopies() {
    std::vector<TLeftCopy> copies;
    // Looked at only when it is there: a start makes no folder.
    const QString wanted = UserStateFolder();
    if (wanted.isEmpty() || !Exists(wanted)) return copies;
    const QString folder = PrivateStateFolder();
    if (folder.isEmpty()) return copies;
    const QDir dir(folder);
    const QStringList skins =
        dir.entryList({Prefix + QLatin1Char('*') + SkinSuffix}, QDir::Files | QDir::Hidden);
    for (const QString& name : skins) {
        const QString tag = dir.filePath(name.chopped(SkinSuffix.size()));
        TLeftCopy copy;
        copy.Skin = tag + SkinSuffix;
        copy.Note = tag + NoteSuffix;
        copy.Lock = tag + LockSuffix;
        // Only the user's own: a copy someone else put here is never offered.
        if (copy.Skin == Skin || !IsOwnRegularFile(Native(copy.Skin))) continue;
        const int fd = LockLeft(copy.Lock);
        if (fd < 0) continue; // its editor is still running
        HeldLocks.push_back(fd);
        ReadNote(copy);
        if (!copy.Written.isValid()) copy.Written = ModifiedTime(copy.Skin);
        copies.push_back(copy);
    }
    // The lock of an editor that ended without a copy is litter.
    for (const QString& name :
         dir.entryList({Prefix + QLatin1Char('*') + LockSuffix}, QDir::Files | QDir::Hidden)) {
        const QString tag = dir.filePath(name.chopped(LockSuffix.size()));
        if (Exists(tag + SkinSuffix) || tag + LockSuffix == LockPath) continue;
        const int fd = Locked(OpenOwnRegularFile(Native(tag + LockSuffix)));
        if (fd < 0) continue;
        RemoveOwnFile(tag + LockSuffix);
        ::close(fd);
    }
    std::sort(copies.begin(), copies.end(),
              [](const TLeftCopy& a, const TLeftCopy& b) { return a.Written > b.Written; });
    return copies;
}

TSkinReadResult TRecoveryCopy::Read(const TLeftCopy& copy) {
    const int fd = OpenOwnRegularFile(Native(copy.Skin));
    if (fd < 0) {
        TSkinReadResult result;
        result.Error = FileErrorText(errno) + QLatin1Char('.');
        return result;
    }
    TSkinReadResult result = ReadSkinDescriptor(fd);
    ::close(fd);
    return result;
}

void TRecoveryCopy::Discard(const TLeftCopy& copy) {
    for (const QString& path :
         {copy.Skin, copy.Note, copy.Skin + NewSuffix, copy.Note + NewSuffix, copy.Lock})
        RemoveOwnFile(path);
}

QString TRecoveryCopy::SetAside(const TLeftCopy& copy) {
    // Never over an entry already at the new name.
    auto aside = [](const QString& path) {
        const QFileInfo info(path);
        const QString moved = info.dir().filePath(AsidePrefix + info.fileName());
        return IsOwnRegularFile(Native(path)) &&
                       ::renameat2(AT_FDCWD, Native(path).constData(), AT_FDCWD,
                                   Native(moved).constData(), RENAME_NOREPLACE) == 0
                   ? moved
                   : path;
    };
    const QString skin = aside(copy.Skin);
    aside(copy.Note);
    RemoveOwnFile(copy.Lock);
    return skin;
}
