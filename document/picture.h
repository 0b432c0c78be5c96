// Pictures of the skin: a raster plus its transparency flag, the placeholder
// every new slot starts from, and the slot constructor CreatePic.
#pragma once

#include <QImage>

// A colour as the skin file and the document hold it: 0x00BBGGRR.
using TColor = quint32;

inline constexpr TColor TransparentKeyColor = 0xFF00FF;
inline constexpr QRgb TransparentKey = 0xFFFF00FF; // RGB(255, 0, 255)

inline constexpr QRgb ColorToRgb(TColor c) {
    return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}
inline constexpr TColor RgbToColor(QRgb rgb) {
    return TColor(qRed(rgb)) | (TColor(qGreen(rgb)) << 8) | (TColor(qBlue(rgb)) << 16);
}

struct TPicture {
    QImage Image;             // any format Qt holds; null for a picture without pixels
    bool Transparent = false; // pixels equal to TransparentKey are skipped when drawn
    // The sides of a picture without pixels: a file may declare 5 x 0, which a
    // null QImage cannot hold. Not used while Image holds pixels.
    QSize EmptySides{0, 0};

    int Width() const { return Image.isNull() ? EmptySides.width() : Image.width(); }
    int Height() const { return Image.isNull() ? EmptySides.height() : Image.height(); }
    bool operator==(const TPicture& o) const {
        return Image == o.Image && Transparent == o.Transparent && Width() == o.Width() &&
               Height() == o.Height();
    }
};

// The 15 x 15 master placeholder: white, a (255, 1, 1) frame with (255, 0, 0)
// corners, and a (255, 0, 0) diagonal from the top-left to the bottom-right.
const QImage& PlaceholderPicture();

// Puts a new picture into the slot. Every caller copies the placeholder; the
// flag is kept for the callers that name it.
void CreatePic(TPicture& slot, bool copyPlaceholder, bool transparent);
