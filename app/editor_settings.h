// Where the editor keeps what it remembers between runs: one settings file
// under the program's own name in the user's configuration folder
// ($XDG_CONFIG_HOME/lumoraskin/lumoraskin.conf, by default under ~/.config).
// The toolkit's own dialogs would keep their memory in a file named after the
// toolkit there; that is sent nowhere instead.
#pragma once

#include <QString>

#include <memory>

class QSettings;

// Read from the environment on every call; empty without a home.
QString EditorSettingsPath();

// The settings, or nothing when the file is damaged (then it is neither
// read nor written).
std::unique_ptr<QSettings> OpenEditorSettings();

// From now on, what Qt's file and colour dialogs store of themselves (under
// the toolkit's name) is written nowhere; called once, before any dialog.
void SetToolkitSettingsAside();
