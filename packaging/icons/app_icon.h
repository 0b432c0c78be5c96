// The application's own icon, for the main window and the task bar.
#pragma once

#include <QIcon>

// Every size of the installed hicolor icon, so the window manager never has to
// scale one up; the PNGs are compiled in, no SVG support is needed at run time.
QIcon LumoraAppIcon();
