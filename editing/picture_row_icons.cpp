#include "picture_row_icons.h"

#include <QPainter>
#include <QPixmap>

namespace {

// Drawn on a 16 x 16 grid, scaled to the pixels asked for.
void OpenFolder(QPainter& p) {
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(230, 190, 70));
    p.drawPolygon(
        QPolygonF({{1.5, 3.5}, {5.5, 3.5}, {7, 5}, {12.5, 5}, {12.5, 13.5}, {1.5, 13.5}}));
    p.setBrush(QColor(250, 220, 120));
    p.drawPolygon(QPolygonF({{4, 7.5}, {15, 7.5}, {12.5, 13.5}, {1.5, 13.5}}));
}

void Diskette(QPainter& p) {
    p.setPen(QPen(QColor(20, 40, 90), 1));
    p.setBrush(QColor(50, 90, 170));
    p.drawPolygon(QPolygonF({{1.5, 1.5}, {12.5, 1.5}, {14.5, 3.5}, {14.5, 14.5}, {1.5, 14.5}}));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 2, 8, 5));
    p.setBrush(QColor(190, 190, 190));
    p.drawRect(QRectF(4.5, 9.5, 7, 5));
}

void Landscape(QPainter& p) {
    p.setPen(QPen(QColor(64, 64, 64), 1));
    p.setBrush(QColor(150, 200, 245));
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 210, 40));
    p.drawEllipse(QRectF(9.5, 4, 3, 3));
    p.setBrush(QColor(60, 150, 60));
    p.drawPolygon(QPolygonF({{2, 13}, {6.5, 7}, {9, 10}, {10.5, 8.5}, {14, 13}}));
}

QPixmap Draw(TPictureAction action, int pixels) {
    QPixmap pm(pixels, pixels);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(pixels / 16.0, pixels / 16.0);
    switch (action) {
    case TPictureAction::Open:
        OpenFolder(p);
        break;
    case TPictureAction::Save:
        Diskette(p);
        break;
    case TPictureAction::View:
        Landscape(p);
        break;
    }
    return pm;
}

} // namespace

QIcon PictureRowIcon(TPictureAction action) {
    QIcon icon;
    for (int pixels : {16, 24, 32, 48})
        icon.addPixmap(Draw(action, pixels));
    return icon;
}
