// The editor's one optional argument: a skin file to open at start-up, as the
// file manager passes it.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

struct TStartArguments {
    std::optional<QString> SkinFile;
    QString Complaint; // one line for standard error when the arguments are not one file
};

// args: the arguments after the program name, Qt's own options removed.
TStartArguments ParseStartArguments(const QStringList& args);
