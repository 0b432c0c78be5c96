// The toolbar and picture-row icons, drawn as vector shapes at whatever size and pixel
// ratio the screen asks for, so they stay sharp on high-DPI screens.
#pragma once

#include <QIcon>

enum class TIconMotif {
    BlankPage,
    OpeningFolder,
    FloppyDisk,
    PlayButton,
    ListWithNote,
    Landscape,
    Letters,
    GreyButton,
    Wheel,
    PartlyFilledBar,
    ArrowUp,
    ArrowDown,
    RedCross,
    GradientPicture,
};

QIcon DrawnIcon(TIconMotif motif);
