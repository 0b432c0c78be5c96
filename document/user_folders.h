// The program's own folders under the user's XDG base folders, read from the
// environment on every call (Qt 6.4 has no location for the state folder).
#pragma once

#include <QString>

// $XDG_STATE_HOME/lumoraskin, by default ~/.local/state/lumoraskin; empty
// without a home.
QString UserStateFolder();

// UserStateFolder() when it may hold the user's private copies: made with
// mode 0700 when missing, and returned only when the entry itself (not
// through a link) is a folder of this user that neither group nor others may
// write. Never changes an existing entry's mode. Empty otherwise.
QString PrivateStateFolder();

// $XDG_CONFIG_HOME/lumoraskin, by default ~/.config/lumoraskin; empty
// without a home.
QString UserConfigFolder();
