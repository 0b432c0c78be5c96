// skntool's files through the editor's file layer, failures thrown as
// TCliError naming the path. "-" stands for standard input as an input and
// for standard output as an output.
#pragma once

#include "cli_output.h"
#include "skin_document.h"

#include <QByteArray>
#include <QString>

QByteArray ReadFileBytes(const QString& path);
TSkinDocument ReadSkinArgument(const QString& path);

// A file only; "-" is a file of that name here.
void WriteFileBytes(const QString& path, const QByteArray& bytes);
// "-" puts the bytes on standard output, with nothing else printed there.
void WriteOutputBytes(const QString& path, const QByteArray& bytes, TCliOutput& output);
void WriteSkinArgument(const TSkinDocument& doc, const QString& path, TCliOutput& output);
