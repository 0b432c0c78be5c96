#include "recovery_copy.h"

#include "skin_file.h"
#include "user_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
const QLatin1String Prefix("recovery-");
const QLatin1String SkinSuffix(".skn");
const QLatin1String NoteSuffix(".note");
const QLatin1String LockSuffix(".lock");
const QLatin1String AsidePrefix("damaged-");

// The lock on the file, without waiting; -1 when someone else holds it.
int TryLock(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void ReadNote(TLeftCopy& copy) {
    QFile file(copy.Note);
    if (!file.open(QIODevice::ReadOnly)) return;
    const QJsonObject note = QJsonDocument::fromJson(file.read(64 * 1024)).object();
    const QDateTime written =
        QDateTime::fromString(note.value(QStringLiteral("written")).toString(), Qt::ISODateWithMs);
    if (!note.value(QStringLiteral("file")).isString() ||
        !note.value(QStringLiteral("untitled")).isBool() || !written.isValid())
        return;
    copy.FileName = note.value(QStringLiteral("file")).toString();
    copy.Untitled = note.value(QStringLiteral("untitled")).toBool();
    copy.Written = written;
    copy.NoteRead = true;
}
} // namespace

TRecoveryCopy::~TRecoveryCopy() {
    for (int fd : HeldLocks)
        ::close(fd);
    if (LockFd < 0) return;
    // The lock file goes with the copy; a copy kept for the next start keeps
    // its lock file, free for whoever finds it.
    if (!QFileInfo::exists(Skin)) QFile::remove(LockPath);
    ::close(LockFd);
}

bool TRecoveryCopy::Begin() {
    if (LockFd >= 0) return true;
    const QString folder = UserStateFolder();
    if (folder.isEmpty() || !QDir().mkpath(folder)) return false;
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // The time keeps a name apart from a copy left by an ended process that
    // had the same number.
    const QString tag =
        QDir(folder).filePath(Prefix + QStringLiteral("%1-%2")
                                           .arg(QCoreApplication::applicationPid())
                                           .arg(QDateTime::currentMSecsSinceEpoch()));
    LockPath = tag + LockSuffix;
    LockFd = TryLock(LockPath);
    if (LockFd < 0) return false;
    Skin = tag + SkinSuffix;
    Note = tag + NoteSuffix;
    return true;
}

QString TRecoveryCopy::Write(const TSkinDocument& doc) const {
    if (LockFd < 0) return QStringLiteral("No recovery copy.");
    // The note first: a skin on disk always has its note beside it.
    QJsonObject note;
    note.insert(QStringLiteral("file"), doc.FileName);
    note.insert(QStringLiteral("untitled"), doc.Untitled);
    note.insert(QStringLiteral("written"),
                QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    QSaveFile file(Note);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    file.write(QJsonDocument(note).toJson(QJsonDocument::Compact));
    if (!file.commit()) return file.errorString();
    return WriteSkinFile(doc, Skin);
}

void TRecoveryCopy::Remove() const {
    if (LockFd < 0) return;
    QFile::remove(Skin);
    QFile::remove(Note);
}

std::vector<TLeftCopy> TRecoveryCopy::TakeLeftCopies() {
    std::vector<TLeftCopy> copies;
    const QString folder = UserStateFolder();
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
        if (copy.Skin == Skin) continue;
        const int fd = TryLock(copy.Lock);
        if (fd < 0) continue; // its editor is still running
        HeldLocks.push_back(fd);
        ReadNote(copy);
        if (!copy.Written.isValid()) copy.Written = QFileInfo(copy.Skin).lastModified();
        copies.push_back(copy);
    }
    // The lock of an editor that ended without a copy is litter.
    for (const QString& name :
         dir.entryList({Prefix + QLatin1Char('*') + LockSuffix}, QDir::Files | QDir::Hidden)) {
        const QString tag = dir.filePath(name.chopped(LockSuffix.size()));
        if (QFileInfo::exists(tag + SkinSuffix) || tag + LockSuffix == LockPath) continue;
        const int fd = TryLock(tag + LockSuffix);
        if (fd < 0) continue;
        QFile::remove(tag + LockSuffix);
        ::close(fd);
    }
    std::sort(copies.begin(), copies.end(),
              [](const TLeftCopy& a, const TLeftCopy& b) { return a.Written > b.Written; });
    return copies;
}

void TRecoveryCopy::Discard(const TLeftCopy& copy) {
    QFile::remove(copy.Skin);
    QFile::remove(copy.Note);
    QFile::remove(copy.Lock);
}

QString TRecoveryCopy::SetAside(const TLeftCopy& copy) {
    auto aside = [](const QString& path) {
        const QFileInfo info(path);
        return info.dir().filePath(AsidePrefix + info.fileName());
    };
    const QString skin = aside(copy.Skin);
    QFile::rename(copy.Skin, skin);
    if (QFileInfo::exists(copy.Note)) QFile::rename(copy.Note, aside(copy.Note));
    QFile::remove(copy.Lock);
    return skin;
}
