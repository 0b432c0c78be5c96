// The inputs an attacker would hand skntool and the editor: small files that
// ask for a great deal of time or memory. Made by code, so that neither the
// suite nor the benchmarks keep large files.
#pragma once

#include "skin_document.h"

#include <QByteArray>
#include <QString>

#include <vector>

inline constexpr int MostEntries = 65535; // the file's 16-bit count

// MostEntries entries, each with its own text record, all alike: a box from
// (0, 0) as large as the file allows, left and top aligned, font fontSize,
// on a width x height screen.
TSkinDocument ManyAlikeTexts(int fontSize, int width, int height);

// MostEntries full-screen texts in font size 2000 on a 2048 x 2048 screen,
// text i at X = i: no two alike.
TSkinDocument ManyDifferentTexts();

// MostEntries alike wheels of 255 balls, every picture 1 x 1.
TSkinDocument ManyAlikeWheels();
// The same wheels spread over the screen, each at its own place.
TSkinDocument ManyDifferentWheels();

// MostEntries entries and as many records of every kind, small pictures.
TSkinDocument EveryKindInBulk();

// 160 images sharing one 1024 x 1024 picture: a 335 MB file whose distinct
// content is one picture of 2 MB.
TSkinDocument ManySlotsSharingOnePicture();

// The largest picture a few bytes of RLE8 give: width x height pixels of index 0.
QByteArray RleBombBitmap(int width, int height);

// Valid paletted pictures of the given size.
QByteArray Paletted8Bitmap(int width, int height);
QByteArray Monochrome1Bitmap(int width, int height);

// A header claiming 65535 x 65535 pixels in a file of a few dozen bytes.
QByteArray ShortHugeClaimBitmap();

// A skin.json as unpack writes it, for a skin of buttons whose first
// `slotCount` picture slots name "picture.bmp" and every other one "dot.bmp".
QByteArray FolderJsonNamingPicture(int slotCount);
// A 1 x 1 bitmap, the "dot.bmp" of such a folder.
QByteArray DotBitmap();

struct THostileInput {
    QString Name;
    QByteArray Skin;       // a .skn file; empty for a folder
    QByteArray Picture;    // the folder's picture.bmp ...
    int Slots = 0;         // ... named in that many slots
    qint64 DecodedKb = 0;  // what the picture takes decoded, at 4 bytes a pixel
    qint64 SparseTail = 0; // bytes of a hole after the picture, which no read should reach
};

// Hostile pictures of the other formats: small files that cost a reader
// that trusts them gigabytes or minutes.
// An 8 x 8 PNG with compressed text chunks that inflate to 512 MB.
QByteArray PngWithTextBombs();
// A 64 x 64 PNG followed by 20 MB of further image data.
QByteArray PngWithDataAfterItsRows();
// A TIFF whose strip lies beyond its end and whose strip size is missing.
QByteArray TiffWithBogusStrips();

// The corpus, from the skins that cost the most repaint time to the
// pictures (bitmaps, PNG, JPEG, GIF, TIFF) that cost the most memory or time.
std::vector<THostileInput> HostileInputs();

// Writes an input under dir: NAME.skn for a skin, the folder NAME for pack.
bool WriteHostileInput(const THostileInput& input, const QString& dir);
