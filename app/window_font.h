// The editor's window font: Tahoma at a given character height where the
// face is installed, the desktop's own font otherwise.
#pragma once

#include <QFont>

QFont WindowFont(int pixelHeight = 13, bool bold = false);
