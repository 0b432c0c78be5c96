#include "editor_settings.h"

#include <QDir>
#include <QSettings>

QString EditorSettingsPath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!QDir::isAbsolutePath(base)) {
        const QString home = qEnvironmentVariable("HOME");
        if (home.isEmpty()) return {};
        base = QDir(home).filePath(QStringLiteral(".config"));
    }
    return QDir(base).filePath(QStringLiteral("lumoraskin/lumoraskin.conf"));
}

std::unique_ptr<QSettings> OpenEditorSettings() {
    const QString path = EditorSettingsPath();
    if (path.isEmpty()) return nullptr;
    auto settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    if (settings->status() != QSettings::NoError) return nullptr;
    return settings;
}

TToolkitSettingsAside::TToolkitSettingsAside()
    : Folder(QDir(QDir::tempPath()).filePath(QStringLiteral("lumoraskin-toolkit-XXXXXX"))) {
    // Without a folder of its own the toolkit would write into the user's
    // configuration folder; a path that cannot be made keeps it from writing.
    const QString path = Folder.isValid() ? Folder.path() : QStringLiteral("/dev/null");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path);
}

TToolkitSettingsAside::~TToolkitSettingsAside() = default;
