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

// How picture pixels are drawn: as held in memory, or as a saved file gives
// them back, the transparency key judged on what the file gives back.
enum class TPictureColours { AsHeld, AsFileKeeps };
