#include "new_skin.h"

#include <QFileInfo>

int PresetForSize(int width, int height) {
    for (int i = 0; i < CustomPreset; ++i)
        if (ResolutionPresets[i].Width == width && ResolutionPresets[i].Height == height) return i;
    return CustomPreset;
}

void NewSkin(TSkinDocument& doc) {
    TPlaylistSettings& p = doc.Playlist;
    p.TitleHeight = 30;
    p.ItemHeight = 30;
    p.TitleFontSize = 12;
    p.ItemFontSize = 12;
    p.TitleBold = true;
    p.ItemBold = false;
    p.Colors = {0xFFFFFF, 0xC0C0C0, 0x000000, 0x000000, 0x800000, 0xFFFFFF, 0x808080};
    CreatePic(p.FolderIcon, true, true);
    CreatePic(p.SongIcon, true, true);
    doc.Items.clear();
    doc.Images.clear();
    doc.Texts.clear();
    doc.Buttons.clear();
    doc.Wheels.clear();
    doc.Trackbars.clear();
    doc.Untitled = true;
    doc.FileName = UntitledFileName;
}

QString WindowTitleFor(const QString& fileName) {
    return ProgramTitle + QStringLiteral(" - [") + QFileInfo(fileName).fileName() +
           QStringLiteral("]");
}
