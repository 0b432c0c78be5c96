// Where the editor keeps what it remembers between runs: one settings file
// under the program's own name in the user's configuration folder
// ($XDG_CONFIG_HOME/lumoraskin/lumoraskin.conf, by default under ~/.config).
// The toolkit's own dialogs would keep their memory in a file named after the
// toolkit there; that is sent nowhere instead.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QSettings;

// Read from the environment on every call; empty without a home.
QString EditorSettingsPath();

// The largest settings file that is read.
inline constexpr qint64 EditorSettingsMaxBytes = qint64(1) << 20;

// The settings, or nothing when the file is damaged, larger than the bound or
// not a regular file (then it is neither read nor written).
std::unique_ptr<QSettings> OpenEditorSettings();

// Rereads the list stored under the key, applies the edit and stores the
// result, holding a lock that every editor takes for this, so that changes
// made by two editors at once are both kept. The list stored, or nothing
// when the settings cannot be used.
std::optional<QStringList> EditStoredList(const QString& key,
                                          const std::function<QStringList(QStringList)>& edit);

// From now on, what Qt's file and colour dialogs store of themselves (under
// the toolkit's name) is written nowhere; called once, before any dialog.
void SetToolkitSettingsAside();
