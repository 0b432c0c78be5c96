#include "editor_settings.h"

#include "user_folders.h"

#include <QDir>
#include <QSettings>

QString EditorSettingsPath() {
    const QString folder = UserConfigFolder();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("lumoraskin.conf"));
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
