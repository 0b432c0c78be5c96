#include "marker_box.h"

namespace {
TBox SizedBox(qint64 x, qint64 y, qint64 width, qint64 height) {
    return {x, y, x + width, y + height};
}
} // namespace

TBox MarkerBox(const TiImage& image) {
    return PictureBox(image.Picture, image.X, image.Y);
}
TBox MarkerBox(const TiText& text) {
    return SizedBox(text.X, text.Y, text.Width, text.Height);
}
TBox MarkerBox(const TiButton& button) {
    return PictureBox(button.Pictures[0], button.X, button.Y);
}
TBox MarkerBox(const TiWheel& wheel) {
    return PictureBox(wheel.Pictures[0], wheel.X, wheel.Y);
}
TBox MarkerBox(const TiTrackbar& trackbar) {
    return SizedBox(trackbar.X, trackbar.Y, trackbar.Width, trackbar.Height);
}

std::optional<TBox> MarkerBoxOf(const TSkinDocument& doc, const TDocItem& item) {
    switch (item.Kind) {
    case ikImage:
        if (const auto* r = RecordOf<TiImage>(doc, item)) return MarkerBox(*r);
        break;
    case ikText:
        if (const auto* r = RecordOf<TiText>(doc, item)) return MarkerBox(*r);
        break;
    case ikButton:
        if (const auto* r = RecordOf<TiButton>(doc, item)) return MarkerBox(*r);
        break;
    case ikWheel:
        if (const auto* r = RecordOf<TiWheel>(doc, item)) return MarkerBox(*r);
        break;
    case ikTrackbar:
        if (const auto* r = RecordOf<TiTrackbar>(doc, item)) return MarkerBox(*r);
        break;
    default:
        break;
    }
    return std::nullopt;
}

int ItemAt(const TSkinDocument& doc, qint64 x, qint64 y) {
    for (int i = int(doc.Items.size()) - 1; i >= 0; --i) {
        const std::optional<TBox> box = MarkerBoxOf(doc, doc.Items[i]);
        if (box && x >= box->Left && x < box->Right && y >= box->Top && y < box->Bottom) return i;
    }
    return -1;
}
