// The decoders behind the picture reader, one a format, each through its
// format's own library with its limits set and its messages kept to itself.
// Each takes the rule for alpha and applies it to the rows as they arrive.
#pragma once

#include "bitmap_file.h"
#include "picture_input.h"

#include <QImage>
#include <QString>

enum class TAlphaRule { Keep, Keyed, Opaque };

QString DamagedPictureText();
QString PictureOutOfMemoryText();

// The message for a picture of w x h pixels that may not be decoded, or an
// empty string: no side beyond what the skin file keeps, no more pixels
// than the one picture limit.
QString RefusedPictureSize(qint64 width, qint64 height);

// A picture of 32-bit pixels for a decoder to write into: with alpha (kept
// as the file has it, premultiplied or not) only while the rule keeps it.
// Null when the memory cannot be had.
QImage NewPicture(int width, int height, bool alpha, bool premultiplied, TAlphaRule rule);

// The rule on one row of 32-bit pixels with alpha, in place.
void ApplyRuleToRow(QRgb* line, int width, TAlphaRule rule, bool premultiplied);
// The rule on a colour table: each entry is a pixel of its own.
void ApplyRuleToTable(QImage& picture, TAlphaRule rule);

TBitmapReadResult DecodePng(TPictureInput& input, TAlphaRule rule);
TBitmapReadResult DecodeJpeg(TPictureInput& input, TAlphaRule rule);
TBitmapReadResult DecodeGif(TPictureInput& input, TAlphaRule rule);
TBitmapReadResult DecodeWebp(TPictureInput& input, TAlphaRule rule);
TBitmapReadResult DecodeTiff(TPictureInput& input, TAlphaRule rule);
