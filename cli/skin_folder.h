// A skin as a folder for version control: skin.json plus one 24-bit bitmap
// (or PNG) per picture slot, named after its place ("button-0-picture-2.bmp").
#pragma once

#include "skin_document.h"

#include <QSet>
#include <QString>

inline const QString SkinJsonName = QStringLiteral("skin.json");

// Bitmaps, or PNG files whose key pixels are transparent in keyed slots.
enum class TPictureFiles { Bitmaps, Png };

// Writes the folder, creating it when missing. Files are staged first, so a
// failure leaves what was there before. Throws TCliError.
void UnpackSkin(const TSkinDocument& doc, const QString& dir,
                TPictureFiles files = TPictureFiles::Bitmaps);

// Reads a folder made by UnpackSkin, hand-edited or not; picture names are
// relative to the folder, null stands for a picture of 0 x 0 pixels. Every
// picture format a slot opens is read, with each slot's alpha rule.
// Throws TCliError naming skin.json and the key, or the picture that failed.
// named, when given, gets each picture name looked up inside the folder
// (found or missing), as far as the reading went, for a watch to follow.
TSkinDocument PackSkin(const QString& dir, QSet<QString>* named = nullptr);
