#include "playlist_screen.h"

#include "raster_ops.h"
#include "skin_text.h"

#include <algorithm>

namespace {

const QString TitleText = QStringLiteral("\\Directory\\");
const QString CellProbe = QStringLiteral("My"); // measured for the cell height, never drawn

// A point size of 0 or below has no font: such text is not drawn at all.
bool HasFont(int skinSize) {
    return PointSizeFor(skinSize) > 0;
}

} // namespace

QImage ComposePlaylistScreen(const TSkinDocument& doc, QSize part) {
    const int w = std::clamp(doc.ScreenWidth, 0, std::max(part.width(), 0));
    const int h = std::clamp(doc.ScreenHeight, 0, std::max(part.height(), 0));
    QImage comp(w, h, QImage::Format_RGB32);
    if (!comp.isNull()) PaintPlaylistScreen(comp, doc);
    return comp;
}

void PaintPlaylistScreen(QImage& comp, const TSkinDocument& doc) {
    comp.fill(qRgb(0, 0, 0)); // every pixel is painted below; this only makes that certain

    const TPlaylistSettings& p = doc.Playlist;
    auto color = [&](int i) { return ColorToRgb(p.Colors[std::size_t(i)]); };
    const qint64 width = doc.ScreenWidth, height = doc.ScreenHeight;
    const qint64 titleHeight = p.TitleHeight, itemHeight = p.ItemHeight;

    FillBox(comp, {0, 0, width, titleHeight}, color(1));
    if (HasFont(p.TitleFontSize)) {
        const QFont font = SkinFont(PointSizeFor(p.TitleFontSize), p.TitleBold);
        const qint64 ty = (titleHeight - MeasureText(font, CellProbe).CellHeight) / 2;
        const qint64 tx = width - 10 - MeasureText(font, TitleText).Width;
        DrawTextCell(comp, tx, ty, TitleText, font, color(2), color(1));
    }
    DrawSolidLine(comp, titleHeight - 1, 0, width, color(6));
    FillBox(comp, {0, titleHeight, width, height}, color(0));

    // The row font starts from the regular style, whatever the title's.
    const bool rowText = HasFont(p.ItemFontSize);
    const QFont font = SkinFont(std::max(1, PointSizeFor(p.ItemFontSize)), p.ItemBold);
    const qint64 cellHeight = MeasureText(font, CellProbe).CellHeight;
    const qint64 textX = qint64(p.FolderIcon.Width()) + 8;
    qint64 y = titleHeight;
    for (int r = 0; r < 6; ++r) {
        const bool selected = r == 2;
        const QRgb ink = selected ? color(5) : color(3);
        const QRgb cell = selected ? color(4) : color(0);
        if (selected) FillBox(comp, {0, y, width, y + itemHeight - 1}, color(4));
        const TPicture& icon = r < 3 ? p.FolderIcon : p.SongIcon;
        DrawPicture(comp, 4, y + (itemHeight - icon.Height()) / 2, icon);
        if (rowText) {
            const QString text =
                (r < 3 ? QStringLiteral("Folder") : QStringLiteral("Music")) + QString::number(r);
            DrawTextCell(comp, textX, y + (itemHeight - cellHeight) / 2, text, font, ink, cell);
        }
        y += itemHeight;
        DrawDottedLine(comp, y - 1, 0, width, color(6), color(0));
    }
}

QImage ComposePlaylistScreen(const TSkinDocument& doc) {
    return ComposePlaylistScreen(doc, QSize(doc.ScreenWidth, doc.ScreenHeight));
}
