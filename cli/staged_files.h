// Files written into a staging folder, moved into their folder all at once
// or not at all: a failure part-way puts back every file already replaced.
#pragma once

#include <QString>
#include <QStringList>

// Moves staging/NAME to dir/NAME for every name, in order. The files a
// move replaces are kept in staging until every move is done; on a failure
// they go back and the files that were new are removed, then TCliError names
// the file that failed. staging and dir are on one file system (staging is
// inside dir).
void MoveStagedFiles(const QString& staging, const QString& dir, const QStringList& names);
