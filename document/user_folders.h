// The program's own folders under the user's XDG base folders, read from the
// environment on every call (Qt 6.4 has no location for the state folder).
#pragma once

#include <QString>

// $XDG_STATE_HOME/lumoraskin, by default ~/.local/state/lumoraskin; empty
// without a home.
QString UserStateFolder();

// $XDG_CONFIG_HOME/lumoraskin, by default ~/.config/lumoraskin; empty
// without a home.
QString UserConfigFolder();
