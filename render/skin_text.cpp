#include "skin_text.h"

#include "raster_ops.h"
#include "skin_fonts.h"

#include <QFontMetrics>
#include <QPainter>

int PointSizeFor(int skinSize) {
    return int(qint64(skinSize) * 72 / 100);
}

int PixelSizeFor(int pointSize) {
    // 4P / 3 has a fraction of 0, 1/3 or 2/3, never a tie, so adding 1/3
    // before truncating rounds it to the nearest whole number.
    return int((qint64(pointSize) * 4 + 1) / 3);
}

QFont SkinFont(int pointSize, bool bold) {
    QFont font(RegisterSkinFonts());
    font.setPixelSize(std::max(1, PixelSizeFor(pointSize)));
    font.setBold(bold);
    font.setItalic(false);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(
        QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    return font;
}

namespace {
// Metrics are taken on the same kind of device the text is drawn on.
const QImage& MetricsDevice() {
    static const QImage device(1, 1, QImage::Format_RGB32);
    return device;
}
} // namespace

TTextExtent MeasureText(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font, &MetricsDevice());
    return {metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent(),
            metrics.ascent()};
}

void DrawTextCell(QImage& dst, qint64 x, qint64 y, const QString& text, const QFont& font,
                  QRgb color, QRgb background) {
    const TTextExtent extent = MeasureText(font, text);
    FillBox(dst, {x, y, x + extent.Width, y + extent.CellHeight}, background);
    // The painter works in the destination's own pixels.
    const qint64 dx = x - dst.offset().x(), dy = y - dst.offset().y();
    const qint64 margin = InkMargin(font);
    if (dx + extent.Width + margin <= 0 || dy + extent.CellHeight + margin <= 0 ||
        dx - margin >= dst.width() || dy - margin >= dst.height() || text.isEmpty())
        return;
    QPainter painter(&dst);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(color));
    painter.drawText(QPoint(int(dx), int(dy) + extent.Ascent), text);
}
