// Empty skins: the defaults NewSkin gives the document and the device
// resolution presets of the "New skin" dialog.
#pragma once

#include "skin_document.h"

#include <array>

inline const QString ProgramTitle = QStringLiteral("Kelvane LumoraSkin 1.0");
inline const QString UntitledFileName = QStringLiteral("Untitled.skn");

struct TResolutionPreset {
    const char* Text;
    int Width, Height; // client size; 0 for "Custom..."
};

inline constexpr std::array<TResolutionPreset, 7> ResolutionPresets{{
    {"Standard QVGA (240x320)", 240, 268},
    {"Standard VGA (480x640)", 480, 536},
    {"Square (240x240)", 240, 198},
    {"Square VGA (480x480)", 480, 396},
    {"Standard QVGA landscape (320x240)", 320, 198},
    {"Standard VGA landscape (640x480)", 640, 396},
    {"Custom...", 0, 0},
}};
inline constexpr int CustomPreset = 6;

// The preset whose size is exactly width x height, or CustomPreset.
int PresetForSize(int width, int height);

// Resets everything but the screen size, which the callers set.
void NewSkin(TSkinDocument& doc);

// "Kelvane LumoraSkin 1.0 - [name.skn]" for the document's file.
QString WindowTitleFor(const QString& fileName);
