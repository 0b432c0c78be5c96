// What "skntool --help" and "skntool help COMMAND" print.
#pragma once

#include <QString>

QString OverviewHelp();

// The help of one command, or an empty string for an unknown name.
QString CommandHelp(const QString& command);
