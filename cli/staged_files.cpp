#include "staged_files.h"

#include "cli_error.h"
#include "file_errors.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct TMoved {
    QByteArray Target;
    QByteArray Kept; // the file it replaced, or empty when there was none
};

// Back as it was, newest first; a step that fails leaves the rest to go on.
void PutBack(const QList<TMoved>& moved) {
    for (auto it = moved.crbegin(); it != moved.crend(); ++it) {
        if (it->Kept.isEmpty())
            ::unlink(it->Target.constData());
        else
            std::rename(it->Kept.constData(), it->Target.constData());
    }
}

} // namespace

void MoveStagedFiles(const QString& staging, const QString& dir, const QStringList& names) {
    const QString keptDir = QDir(staging).filePath(QStringLiteral(".replaced"));
    if (::mkdir(QFile::encodeName(keptDir).constData(), 0700) != 0)
        FailFile(dir, FileErrorText(errno) + QLatin1Char('.'));
    QList<TMoved> moved;
    for (const QString& name : names) {
        const QString target = QDir(dir).filePath(name);
        TMoved move{QFile::encodeName(target), {}};
        const QByteArray staged = QFile::encodeName(QDir(staging).filePath(name));
        const QByteArray kept = QFile::encodeName(QDir(keptDir).filePath(name));
        struct stat st {};
        int error = 0;
        bool movedAside = false;
        if (::lstat(move.Target.constData(), &st) == 0) {
            // A second name keeps the old file where it is until the new one
            // takes its place; where links are refused, it moves aside.
            if (::link(move.Target.constData(), kept.constData()) == 0) {
                move.Kept = kept;
            } else if (std::rename(move.Target.constData(), kept.constData()) == 0) {
                move.Kept = kept;
                movedAside = true;
            } else {
                error = errno;
            }
        }
        if (error == 0 && std::rename(staged.constData(), move.Target.constData()) != 0) {
            error = errno;
            if (movedAside) std::rename(kept.constData(), move.Target.constData());
        }
        if (error != 0) {
            PutBack(moved);
            FailFile(target, FileErrorText(error) + QLatin1Char('.'));
        }
        moved.append(move);
    }
}
