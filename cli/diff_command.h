// skntool diff: what differs between two skins as documents, as diff(1)
// reports it (status 0 equal, 1 different, 2 trouble).
#pragma once

#include "cli_output.h"

#include <QStringList>

void RunDiff(const QStringList& args, TCliOutput& output);

// What "skntool help diff" prints.
QString DiffHelp();
