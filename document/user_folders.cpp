#include "user_folders.h"

#include <QDir>

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
