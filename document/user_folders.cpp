#include "user_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace {
// A relative value is ignored, as the base folders' rules ask.
QString ProgramFolder(const char* variable, const char* underHome) {
    QString base = qEnvironmentVariable(variable);
    if (!QDir::isAbsolutePath(base)) {
        const QString home = qEnvironmentVariable("HOME");
        if (home.isEmpty()) return {};
        base = QDir(home).filePath(QString::fromLatin1(underHome));
    }
    return QDir(base).filePath(QStringLiteral("lumoraskin"));
}
} // namespace

QString UserStateFolder() {
    return ProgramFolder("XDG_STATE_HOME", ".local/state");
}

QString UserConfigFolder() {
    return ProgramFolder("XDG_CONFIG_HOME", ".config");
}

namespace {
QString UsersAlone(const QString& folder) {
    const QByteArray native = QFile::encodeName(folder);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() ||
        (st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return {};
    return folder;
}
} // namespace

QString PrivateStateFolder() {
    const QString folder = UserStateFolder();
    if (folder.isEmpty()) return {};
    // mkdir never follows a link at the name: an entry there stays as it is.
    if (QDir().mkpath(QFileInfo(folder).absolutePath()))
        ::mkdir(QFile::encodeName(folder).constData(), 0700);
    return UsersAlone(folder);
}
