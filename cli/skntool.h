// skntool's entry without the process around it: arguments in, the bytes for
// standard output and standard error and the exit status out.
#pragma once

#include <QByteArray>
#include <QStringList>

struct TCliResult {
    int Status = 0;
    QByteArray Out; // for standard output
    QByteArray Err; // for standard error
};

// args: the arguments after the program name.
TCliResult RunSkntool(const QStringList& args);
