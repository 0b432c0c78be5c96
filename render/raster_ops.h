// The few raster operations both previews are built from. The destination is
// always a Format_RGB32 composition of a part of the screen: its pixel (0, 0)
// is the screen pixel dst.offset() ((0, 0) for the whole screen or its
// top-left part), and coordinates are given in screen pixels. Everything is
// clipped to the destination, and no operation reads outside its source
// picture.
#pragma once

#include "file_colours.h"
#include "picture.h"

#include <QImage>

#include <algorithm>

// A box in screen pixels, right and bottom edges excluded. 64-bit so that
// sums of 32-bit record fields (X + Width) never overflow.
struct TBox {
    qint64 Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
};

inline TBox Intersect(const TBox& a, const TBox& b) {
    return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
}
// The smallest box holding both; an empty box adds nothing.
inline TBox Join(const TBox& a, const TBox& b) {
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}
inline bool Holds(const TBox& outer, const TBox& inner) {
    return outer.Left <= inner.Left && outer.Top <= inner.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom;
}
// The picture at its own size with its top-left corner at (x, y).
inline TBox PictureBox(const TPicture& picture, qint64 x, qint64 y) {
    return {x, y, x + picture.Width(), y + picture.Height()};
}
// The part of the screen a composition holds.
inline TBox ShownBox(const QImage& composition) {
    const QPoint o = composition.offset();
    return {o.x(), o.y(), qint64(o.x()) + composition.width(),
            qint64(o.y()) + composition.height()};
}

// The key of text layers: glyph pixels of any other colour are copied.
inline constexpr QRgb TextLayerKey = 0xFF828282; // RGB(130, 130, 130)

void FillBox(QImage& dst, const TBox& box, QRgb color);

// The picture at its own size with its top-left corner at (x, y); pixels
// equal to TransparentKey are skipped when the picture is transparent.
void DrawPicture(QImage& dst, qint64 x, qint64 y, const TPicture& picture,
                 TPictureColours colours = TPictureColours::AsHeld);

// A picture drawn many times in one repaint (the balls of a wheel), its rows
// looked up once; Draw gives the pixels DrawPicture gives.
class TPreparedPicture {
  public:
    explicit TPreparedPicture(const TPicture& picture,
                              TPictureColours colours = TPictureColours::AsHeld);
    void Draw(QImage& dst, qint64 x, qint64 y) const;

  private:
    const TPicture& Picture;
    TPictureColours Colours;
    bool Direct = false; // 32-bit rows read in place; otherwise DrawPicture
    const uchar* Bits = nullptr;
    qsizetype BytesPerLine = 0;
    qint64 Width = 0, Height = 0;
};

// The picture scaled into the box by nearest neighbour (destination column
// i takes source column i * width / box width), honouring its transparency.
void DrawPictureScaled(QImage& dst, const TBox& box, const TPicture& picture,
                       TPictureColours colours = TPictureColours::AsHeld);

// Columns and rows of srcRect (cut to the source) copied unscaled so that the
// rect's top-left lands on (x, y); pixels equal to key are skipped.
void CopyWithKey(QImage& dst, qint64 x, qint64 y, const QImage& src, const QRect& srcRect, QRgb key,
                 TPictureColours colours = TPictureColours::AsHeld);

// One-pixel horizontal lines from x0 to x1 - 1 on row y. The dotted one
// paints every pixel: dots in one colour, gaps in the other.
void DrawSolidLine(QImage& dst, qint64 y, qint64 x0, qint64 x1, QRgb color);
void DrawDottedLine(QImage& dst, qint64 y, qint64 x0, qint64 x1, QRgb dot, QRgb gap);

// Dots run 3 pixels on, 3 off; a dotted line starts with a dot at x = 0.
inline bool IsDot(qint64 position) {
    return position % 6 < 3;
}
