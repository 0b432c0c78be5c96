// Text as the previews draw it: Tahoma at (size x 72) div 100 points,
// rendered at 96 pixels per inch, with whole-pixel advances and cell heights
// because the alignment arithmetic is done on them.
#pragma once

#include <QFont>
#include <QImage>
#include <QString>

// (skinSize x 72) div 100, truncated toward zero: 12 -> 8, 14 -> 10, 25 -> 18.
int PointSizeFor(int skinSize);

// The em height in pixels at 96 dpi, round(P x 96 / 72): 8 -> 11, 10 -> 13.
int PixelSizeFor(int pointSize);

// The face for a positive point size. Hinting and antialiasing are fixed
// rather than left to the desktop: full hinting gives whole-pixel advances;
// grey (not subpixel) smoothing, because unsmoothed rendering of the wine
// Tahoma falls back on its odd bitmap strikes (bold as wide as regular).
QFont SkinFont(int pointSize, bool bold);

struct TTextExtent {
    int Width = 0;      // advance width of the string on one line
    int CellHeight = 0; // ascent + descent of the font
    int Ascent = 0;
};
TTextExtent MeasureText(const QFont& font, const QString& text);

// How far glyph ink may stray outside the text cell (overhangs): an em on
// every side is ample. Outside cell + margin a text changes no pixel.
inline qint64 InkMargin(const QFont& font) {
    return font.pixelSize() + 2;
}

// One line of text with its cell's top-left corner at (x, y): the cell
// (advance width x cell height) is filled with background first, then the
// glyphs are drawn in color. Everything is clipped to dst (Format_RGB32).
void DrawTextCell(QImage& dst, qint64 x, qint64 y, const QString& text, const QFont& font,
                  QRgb color, QRgb background);
