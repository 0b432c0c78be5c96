// Where the editor keeps what it remembers between runs: one settings file
// under the program's own name in the user's configuration folder
// ($XDG_CONFIG_HOME/lumoraskin/lumoraskin.conf, by default under ~/.config).
// The toolkit's own dialogs keep their memory in a file named after the
// toolkit; that is sent to a throwaway folder instead.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

class QSettings;

// Read from the environment on every call; empty without a home.
QString EditorSettingsPath();

// The settings, or nothing when the file is damaged (then it is neither
// read nor written).
std::unique_ptr<QSettings> OpenEditorSettings();

// While it lives, what Qt's file and colour dialogs store of themselves goes
// to a private temporary folder, removed at its end.
class TToolkitSettingsAside {
  public:
    TToolkitSettingsAside();
    ~TToolkitSettingsAside();
    TToolkitSettingsAside(const TToolkitSettingsAside&) = delete;
    TToolkitSettingsAside& operator=(const TToolkitSettingsAside&) = delete;

  private:
    QTemporaryDir Folder;
};
