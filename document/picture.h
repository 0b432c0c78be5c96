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
    QImage Image;             // any format Qt holds; a null image is a 0 x 0 picture
    bool Transparent = false; // pixels equal to TransparentKey are skipped when drawn

    int Width() const { return Image.width(); }
    int Height() const { return Image.height(); }
    bool operator==(const TPicture&) const = default;
};

// The 15 x 15 master placeholder: white, a (255, 1, 1) frame with (255, 0, 0)
// corners, and a (255, 0, 0) diagonal from the top-left to the bottom-right.
const QImage& PlaceholderPicture();

// Puts a new picture into the slot. Every caller copies the placeholder; the
// flag is kept for the callers that name it.
void CreatePic(TPicture& slot, bool copyPlaceholder, bool transparent);
