// What a skntool command prints: bytes for standard output and standard
// error, written by the program entry once the command is over.
#pragma once

#include <QByteArray>

#include <functional>

struct TCliOutput {
    int Status = 0; // exit status of a command that did not fail: 0, or what it reports
    QByteArray Out;
    QByteArray Err; // notes that do not fail the command; errors go through TCliError

    // Set by the program entry: takes the bytes Out holds so far, so that a
    // large output is written as it is made. Unset, Out keeps everything.
    std::function<void(QByteArray&)> Drain;
    // Appends to Out, handing it on a chunk at a time where Drain is set.
    void Print(QByteArrayView bytes) {
        Out += bytes;
        if (Drain && Out.size() >= (qsizetype(1) << 16)) Drain(Out);
    }
};
