// skntool check: the mistakes of a skin, one line or JSON object each.
#pragma once

#include "cli_output.h"

#include <QStringList>

inline constexpr int ExitFindings = 3; // check found something, warnings included

void RunCheck(const QStringList& args, TCliOutput& output);

// What "skntool help check" prints: every check, by its code.
QString CheckHelp();
