// A skin as a folder for version control: skin.json plus one 24-bit bitmap
// per picture slot, named after its place ("button-0-picture-2.bmp").
#pragma once

#include "skin_document.h"

#include <QString>

inline const QString SkinJsonName = QStringLiteral("skin.json");

// Writes the folder, creating it when missing. Files are staged first, so a
// failure leaves what was there before. Throws TCliError.
void UnpackSkin(const TSkinDocument& doc, const QString& dir);

// Reads a folder made by UnpackSkin, hand-edited or not; picture names are
// relative to the folder, null stands for a picture of 0 x 0 pixels.
// Throws TCliError naming skin.json and the key, or the bitmap that failed.
TSkinDocument PackSkin(const QString& dir);
