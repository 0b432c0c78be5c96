// The skntool commands that read and write whole skins: new, info, unpack,
// pack and dither. Each takes the arguments after its name, appends what it
// prints to out and throws TCliError on failure.
#pragma once

#include <QByteArray>
#include <QStringList>

void RunNew(const QStringList& args, QByteArray& out);
void RunInfo(const QStringList& args, QByteArray& out);
void RunUnpack(const QStringList& args, QByteArray& out);
void RunPack(const QStringList& args, QByteArray& out);
void RunDither(const QStringList& args, QByteArray& out);
