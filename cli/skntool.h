// skntool's entry without the process around it: arguments in, the bytes for
// standard output and standard error and the exit status out.
#pragma once

#include "cli_output.h"

#include <QStringList>

struct TCliResult : TCliOutput {};

// args: the arguments after the program name; drain: see TCliOutput::Drain.
TCliResult RunSkntool(const QStringList& args, std::function<void(QByteArray&)> drain = {});
