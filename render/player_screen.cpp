#include "player_screen.h"

#include "hidden_items.h"
#include "item_painters.h"
#include "text_painter.h"

#include <algorithm>

void PaintItem(QImage& composition, const TSkinDocument& doc, int i, bool selected,
               TTextPainter& texts) {
    const TDocItem& item = doc.Items[i];
    switch (item.Kind) {
    case ikImage:
        if (const auto* r = RecordOf<TiImage>(doc, item)) PaintImage(composition, *r, selected);
        break;
    case ikText:
        if (const auto* r = RecordOf<TiText>(doc, item)) texts.Paint(composition, *r, selected, i);
        break;
    case ikButton:
        if (const auto* r = RecordOf<TiButton>(doc, item)) PaintButton(composition, *r, selected);
        break;
    case ikWheel:
        if (const auto* r = RecordOf<TiWheel>(doc, item)) PaintWheel(composition, *r, selected);
        break;
    case ikTrackbar:
        if (const auto* r = RecordOf<TiTrackbar>(doc, item))
            PaintTrackbar(composition, *r, selected);
        break;
    default:
        break;
    }
}

QImage ComposePlayerScreen(const TSkinDocument& doc, int selected, QSize part) {
    const int w = std::clamp(doc.ScreenWidth, 0, std::max(part.width(), 0));
    const int h = std::clamp(doc.ScreenHeight, 0, std::max(part.height(), 0));
    QImage composition(w, h, QImage::Format_RGB32);
    if (!composition.isNull()) PaintPlayerScreen(composition, doc, selected);
    return composition;
}

void PaintPlayerScreen(QImage& composition, const TSkinDocument& doc, int selected) {
    composition.fill(qRgb(0, 0, 0));
    std::vector<bool> skip = RepaintedLater(doc, selected);
    HiddenInPart(doc, selected, ShownBox(composition), skip);
    TTextPainter texts(doc, skip, composition);
    for (int i = 0; i < doc.Items.size(); ++i)
        if (!skip[std::size_t(i)]) PaintItem(composition, doc, i, i == selected, texts);
}

QImage ComposePlayerScreen(const TSkinDocument& doc, int selected) {
    return ComposePlayerScreen(doc, selected, QSize(doc.ScreenWidth, doc.ScreenHeight));
}
