// The skntool commands that read and write whole skins: new, info, unpack,
// pack and dither. Each takes the arguments after its name, appends what it
// prints to output and throws TCliError on failure.
#pragma once

#include "cli_output.h"

#include <QStringList>

void RunNew(const QStringList& args, TCliOutput& output);
void RunInfo(const QStringList& args, TCliOutput& output);
void RunUnpack(const QStringList& args, TCliOutput& output);
void RunPack(const QStringList& args, TCliOutput& output);
void RunDither(const QStringList& args, TCliOutput& output);
