// skntool render: a PNG of exactly what the editor's preview area shows.
#pragma once

#include "cli_output.h"

#include <QStringList>

// Needs a QGuiApplication for the text of the previews.
void RunRender(const QStringList& args, TCliOutput& output);
