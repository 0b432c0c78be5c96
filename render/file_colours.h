// Colours as a skin file keeps them: 5 bits per channel, read back by
// widening each level again (31 gives 255). Both the pictures shown "as the
// file keeps them" and the check that warns before a save changes a picture
// use this one rule.
#pragma once

#include <QRgb>

inline constexpr QRgb AsFileKeepsIt(QRgb p) {
    return (p & 0xFFF8F8F8u) | ((p & 0x00E0E0E0u) >> 5);
}

// How far a save moves one 8-bit channel value, v - Widen5(v >> 3): -7..7.
inline constexpr int FileChannelShift(int v) {
    return (v & 7) - (v >> 5);
}

// True when a save moves some channel of the colour by more than one 8-bit
// step: the pixels the colour-depth warning counts and the editor marks.
// One step is allowed, so the placeholder's (255, 1, 1) frame passes.
inline constexpr bool SaveChangesVisibly(QRgb p) {
    const auto off = [](int v) { return FileChannelShift(v) > 1 || FileChannelShift(v) < -1; };
    return off(qRed(p)) || off(qGreen(p)) || off(qBlue(p));
}

// How picture pixels are drawn: as held in memory, or as a saved file gives
// them back, the transparency key judged on what the file gives back.
enum class TPictureColours { AsHeld, AsFileKeeps };
