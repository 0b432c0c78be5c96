// What the fuzzers and their replay test do with one input: read it the way
// the editor does, repaint it, write it back, and say what went wrong. Shared
// so that every finding replays through exactly the code that found it.
#pragma once

#include <QByteArrayView>
#include <QString>

// Fonts for the previews, and a lower limit on the size of a loaded picture;
// call once after the QGuiApplication exists.
void PrepareFuzzChecks();

// Reads a .skn file; when it opens, repaints the player screen (a selection
// and zoom picked from the input) and the playlist, writes it and reads that
// back. Returns what was wrong, or an empty string.
QString CheckSkinInput(QByteArrayView data);

// Loads a picture file (a bitmap, PNG, JPEG, GIF, WebP or TIFF) into picture
// slots of a skin (opaque image, transparent button and icon) with the alpha
// rule of each, repaints, dithers, writes and reads back the skin.
// Returns what was wrong, or an empty string.
QString CheckBitmapInput(QByteArrayView data);

// The same for one format's target ("png", "jpeg", "gif", "webp", "tiff"):
// an input that is not of that format is left alone, so that the target
// spends its time in that format's decoder.
QString CheckPictureInput(QByteArrayView format, QByteArrayView data);
