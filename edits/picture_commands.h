// The commands on the skin's pictures, headless beside the item commands:
// the picture rows, drops on a row and the toolbar call these. Each is one
// step or nothing, and returns the text to show when it refused, else an
// empty string.
#pragma once

#include "open_skin.h"

#include <QString>

// Reads the picture file into a slot: row and slot as TPictureStep takes
// them (row -1 for the playlist's icons). The slot keeps its transparency.
QString OpenPictureCommand(TOpenSkin& skin, int row, int slot, const QString& path);

// Dithers every picture to the colours a save keeps.
QString DitherCommand(TOpenSkin& skin);
