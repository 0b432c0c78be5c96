// Files written into a staging folder, moved into their folder all at once
// or not at all: a failure part-way puts back every file already replaced.
#pragma once

#include <QString>
#include <QStringList>

// Puts staging/NAME in place of dir/NAME for every name, in order. A new name
// is renamed into place. An existing regular file is written as a save
// writes it (WriteWholeFile): it keeps its owner, its other hard links and
// its extended attributes; its old bytes are copied aside first. Any other
// entry at the name (a link, a FIFO) is replaced, never followed or opened.
// Before anything changes, every file to be written is checked for writing,
// so that one that cannot be (read-only, immutable) fails with the folder
// untouched. A failure later puts back what was replaced (an entry replaced
// as itself, a written file's old bytes) and removes the new files; then
// TCliError names the file that failed. staging is inside dir.
void MoveStagedFiles(const QString& staging, const QString& dir, const QStringList& names);
