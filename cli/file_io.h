// Whole-file reads and writes with the editor's texts for failures. Writes go
// through a temporary file, so a failed command leaves no half-written output.
#pragma once

#include <QByteArray>
#include <QString>

// Throws TCliError naming the path: "File not found.", "File access denied." ...
QByteArray ReadFileBytes(const QString& path);
void WriteFileBytes(const QString& path, const QByteArray& bytes);
