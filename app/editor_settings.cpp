#include "editor_settings.h"

#include "user_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>

#include <cerrno>
#include <sys/stat.h>

namespace {
// How long a change of a stored list waits for another editor's.
constexpr int ListLockWaitMs = 5'000;

// A file that is missing is made; anything else there must be a regular
// file small enough to read: a FIFO would hold the editor before its window
// shows, a device or a huge file would be read for ever.
bool Readable(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return errno == ENOENT;
    return S_ISREG(st.st_mode) && st.st_size <= EditorSettingsMaxBytes;
}
} // namespace

QString EditorSettingsPath() {
    const QString folder = UserConfigFolder();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("lumoraskin.conf"));
}

std::unique_ptr<QSettings> OpenEditorSettings() {
    const QString path = EditorSettingsPath();
    if (path.isEmpty() || !Readable(path)) return nullptr;
    auto settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    if (settings->status() != QSettings::NoError) return nullptr;
    return settings;
}

std::optional<QStringList> EditStoredList(const QString& key,
                                          const std::function<QStringList(QStringList)>& edit) {
    const QString path = EditorSettingsPath();
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).path())) return std::nullopt;
    // Not the settings' own lock, which each sync takes for itself: this one
    // spans the reading, the change and the writing.
    QLockFile lock(path + QStringLiteral(".list-lock"));
    if (!lock.tryLock(ListLockWaitMs)) return std::nullopt;
    const std::unique_ptr<QSettings> settings = OpenEditorSettings();
    if (!settings) return std::nullopt;
    const QStringList list = edit(settings->value(key).toStringList());
    settings->setValue(key, list);
    settings->sync();
    if (settings->status() != QSettings::NoError) return std::nullopt;
    return list;
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
