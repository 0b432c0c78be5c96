// What a skntool command prints: bytes for standard output and standard
// error, written by the program entry once the command is over.
#pragma once

#include <QByteArray>

struct TCliOutput {
    int Status = 0; // exit status of a command that did not fail: 0, or what it reports
    QByteArray Out;
    QByteArray Err; // notes that do not fail the command; errors go through TCliError
};
