// The editor's texts for failing file operations, from the system's error.
#pragma once

#include <QString>

// "File not found", "File access denied", ... or "I/O error %d"; no full stop.
QString FileErrorText(int systemError);
