#include "window_font.h"

#include "skin_fonts.h"

QFont WindowFont(int pixelHeight, bool bold) {
    // The previews' face doubles as the window face; without Tahoma it is
    // the registered fallback.
    QFont font(RegisterSkinFonts());
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}
