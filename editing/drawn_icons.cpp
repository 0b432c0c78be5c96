#include "drawn_icons.h"

#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// Every motif is drawn on a 16 x 16 grid; the engine scales the grid to the
// pixels it is asked for.
constexpr qreal Grid = 16.0;

const QColor Outline(64, 64, 64);
const QColor ArrowRed(200, 30, 30);

void Page(QPainter& p) {
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(10, 1.5);
    page.lineTo(13.5, 5);
    page.lineTo(13.5, 14.5);
    page.lineTo(3.5, 14.5);
    page.closeSubpath();
    p.setPen(QPen(Outline, 1));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(QColor(215, 215, 215));
    p.drawPolygon(QPolygonF({{10, 1.5}, {10, 5}, {13.5, 5}}));
}

void Folder(QPainter& p) {
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(230, 190, 70));
    p.drawPolygon(
        QPolygonF({{1.5, 3.5}, {5.5, 3.5}, {7, 5}, {12.5, 5}, {12.5, 13.5}, {1.5, 13.5}}));
    // The front flap swings open towards the viewer.
    p.setBrush(QColor(250, 220, 120));
    p.drawPolygon(QPolygonF({{4, 7.5}, {15, 7.5}, {12.5, 13.5}, {1.5, 13.5}}));
}

void Floppy(QPainter& p) {
    p.setPen(QPen(QColor(20, 40, 90), 1));
    p.setBrush(QColor(50, 90, 170));
    p.drawPolygon(QPolygonF({{1.5, 1.5}, {12.5, 1.5}, {14.5, 3.5}, {14.5, 14.5}, {1.5, 14.5}}));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 2, 8, 5));
    p.setBrush(QColor(190, 190, 190));
    p.drawRect(QRectF(4.5, 9.5, 7, 5));
    p.setBrush(QColor(50, 90, 170));
    p.drawRect(QRectF(9, 10.5, 1.5, 3));
}

void Play(QPainter& p) {
    QRadialGradient shade(QPointF(6, 5), 9);
    shade.setColorAt(0, QColor(110, 200, 110));
    shade.setColorAt(1, QColor(20, 120, 40));
    p.setPen(QPen(QColor(10, 80, 25), 1));
    p.setBrush(shade);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{6, 4.5}, {11.5, 8}, {6, 11.5}}));
}

void ListWithNote(QPainter& p) {
    p.setPen(QPen(Outline, 1.4));
    for (qreal y : {3.0, 6.5, 10.0})
        p.drawLine(QPointF(1, y), QPointF(8, y));
    p.drawLine(QPointF(1, 13.5), QPointF(6, 13.5));
    p.setPen(QPen(QColor(30, 60, 160), 1.4));
    p.drawLine(QPointF(13.5, 2), QPointF(13.5, 12));
    p.drawLine(QPointF(13.5, 2), QPointF(15.5, 4.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 60, 160));
    p.drawEllipse(QRectF(9.5, 10.5, 4.5, 3.5));
}

void Frame(QPainter& p, const QBrush& inside) {
    p.setPen(QPen(Outline, 1));
    p.setBrush(inside);
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
}

void Landscape(QPainter& p) {
    Frame(p, QColor(150, 200, 250));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 210, 40));
    p.drawEllipse(QRectF(9.5, 4, 3, 3));
    p.setBrush(QColor(60, 150, 60));
    p.drawPolygon(QPolygonF({{2, 13}, {2, 10}, {6, 6.5}, {10, 10.5}, {12, 9}, {14, 11}, {14, 13}}));
}

void Letters(QPainter& p) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(20, 20, 20));
    p.drawText(QRectF(0, 0, Grid, Grid), Qt::AlignCenter, QStringLiteral("Aa"));
}

void GreyButton(QPainter& p) {
    const QRectF face(1.5, 4.5, 13, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(195, 195, 195));
    p.drawRect(face);
    p.setPen(QPen(Qt::white, 1));
    p.drawLine(face.topLeft(), face.topRight());
    p.drawLine(face.topLeft(), face.bottomLeft());
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.drawLine(face.bottomLeft(), face.bottomRight());
    p.drawLine(face.topRight(), face.bottomRight());
}

void Wheel(QPainter& p) {
    p.setPen(QPen(QColor(100, 100, 100), 1));
    p.setBrush(QColor(185, 185, 185));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(QColor(40, 90, 210));
    p.drawEllipse(QRectF(5, 5, 6, 6));
}

void Bar(QPainter& p) {
    const QRectF track(1.5, 5.5, 13, 5);
    p.setPen(QPen(Outline, 1));
    p.setBrush(Qt::white);
    p.drawRect(track);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 110, 220));
    p.drawRect(QRectF(2, 6, 7, 4));
}

void Arrow(QPainter& p, bool up) {
    QPolygonF arrow({{8, 1.5}, {14, 8}, {10.5, 8}, {10.5, 14.5}, {5.5, 14.5}, {5.5, 8}, {2, 8}});
    if (!up)
        for (QPointF& point : arrow)
            point.setY(Grid - point.y());
    p.setPen(QPen(ArrowRed.darker(140), 1));
    p.setBrush(ArrowRed);
    p.drawPolygon(arrow);
}

void Cross(QPainter& p) {
    p.setPen(QPen(ArrowRed, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

void GradientPicture(QPainter& p) {
    QLinearGradient spectrum(2, 0, 14, 0);
    spectrum.setColorAt(0.0, QColor(230, 30, 30));
    spectrum.setColorAt(0.33, QColor(240, 220, 30));
    spectrum.setColorAt(0.66, QColor(30, 190, 60));
    spectrum.setColorAt(1.0, QColor(30, 60, 220));
    Frame(p, spectrum);
}

void Draw(QPainter& p, TIconMotif motif) {
    switch (motif) {
    case TIconMotif::BlankPage:
        return Page(p);
    case TIconMotif::OpeningFolder:
        return Folder(p);
    case TIconMotif::FloppyDisk:
        return Floppy(p);
    case TIconMotif::PlayButton:
        return Play(p);
    case TIconMotif::ListWithNote:
        return ListWithNote(p);
    case TIconMotif::Landscape:
        return Landscape(p);
    case TIconMotif::Letters:
        return Letters(p);
    case TIconMotif::GreyButton:
        return GreyButton(p);
    case TIconMotif::Wheel:
        return Wheel(p);
    case TIconMotif::PartlyFilledBar:
        return Bar(p);
    case TIconMotif::ArrowUp:
        return Arrow(p, true);
    case TIconMotif::ArrowDown:
        return Arrow(p, false);
    case TIconMotif::RedCross:
        return Cross(p);
    case TIconMotif::GradientPicture:
        return GradientPicture(p);
    }
}

class TDrawnIconEngine : public QIconEngine {
  public:
    explicit TDrawnIconEngine(TIconMotif motif) : Motif(motif) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setRenderHint(QPainter::TextAntialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / Grid, rect.height() / Grid);
        if (mode == QIcon::Disabled) painter->setOpacity(0.4);
        Draw(*painter, Motif);
        painter->restore();
    }

    // Called with the size in device pixels, so the shapes are drawn at the
    // screen's own resolution rather than scaled up from 16 x 16.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap out(size);
        out.fill(Qt::transparent);
        QPainter painter(&out);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return out;
    }

    QIconEngine* clone() const override { return new TDrawnIconEngine(Motif); }

  private:
    TIconMotif Motif;
};

} // namespace

QIcon DrawnIcon(TIconMotif motif) {
    return QIcon(new TDrawnIconEngine(motif));
}
