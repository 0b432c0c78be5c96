#include "picture.h"

namespace {
QImage MakePlaceholder() {
    QImage img(15, 15, QImage::Format_RGB32);
    img.fill(qRgb(255, 255, 255));
    for (int i = 0; i < 15; ++i) {
        img.setPixel(i, 0, qRgb(255, 1, 1));
        img.setPixel(i, 14, qRgb(255, 1, 1));
        img.setPixel(0, i, qRgb(255, 1, 1));
        img.setPixel(14, i, qRgb(255, 1, 1));
    }
    for (int i = 0; i < 15; ++i)
        img.setPixel(i, i, qRgb(255, 0, 0));
    img.setPixel(14, 0, qRgb(255, 0, 0));
    img.setPixel(0, 14, qRgb(255, 0, 0));
    return img;
}
} // namespace

const QImage& PlaceholderPicture() {
    static const QImage master = MakePlaceholder();
    return master;
}

void CreatePic(TPicture& slot, bool copyPlaceholder, bool transparent) {
    // QImage shares data copy-on-write, so each slot's first edit detaches it.
    slot = {copyPlaceholder ? PlaceholderPicture() : QImage(), transparent};
}
