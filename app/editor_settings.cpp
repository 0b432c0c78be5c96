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

void SetToolkitSettingsAside() {
    // Not a folder: nothing can be made below it, so what the dialogs store of
    // themselves (file dialog history, custom colours) quietly goes nowhere,
    // and a killed editor leaves no folder behind. The editor keeps what it
    // needs of them (each file dialog's folder) in its own settings.
    const QString nowhere = QStringLiteral("/dev/null");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
}
