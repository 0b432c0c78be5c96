#include "pixel_source.h"

#include "code_page.h"
#include "hidden_items.h"
#include "player_screen.h"
#include "record_fields.h"
#include "text_painter.h"

namespace {

// Two grounds a painter's pixel cannot equal both of: whatever it writes,
// one of them shows the change.
constexpr QRgb GroundA = 0xFF000000, GroundB = 0xFFFFFFFF;

bool OnScreen(const TSkinDocument& doc, QPoint p) {
    return p.x() >= 0 && p.y() >= 0 && p.x() < doc.ScreenWidth && p.y() < doc.ScreenHeight;
}

} // namespace

TPixelSource PixelSourceAt(const TSkinDocument& doc, QPoint p, const TDeviceState& state,
                           const std::vector<bool>& hidden) {
    if (!OnScreen(doc, p)) return {};
    // The composition holds the one screen pixel p: the painters cut
    // everything else away.
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.setOffset(p);
    TTextPainter texts(state);
    const std::vector<TBox> boxes = PaintedBoxes(doc, state);
    for (int i = int(doc.Items.size()) - 1; i >= 0; --i) {
        if (std::size_t(i) < hidden.size() && hidden[std::size_t(i)]) continue;
        const TBox& box = boxes[std::size_t(i)];
        if (p.x() < box.Left || p.x() >= box.Right || p.y() < box.Top || p.y() >= box.Bottom)
            continue;
        // A painter writes the same value whatever lies beneath.
        QRgb written[2];
        const QRgb grounds[2] = {GroundA, GroundB};
        for (int g = 0; g < 2; ++g) {
            pixel.fill(grounds[g]);
            PaintItem(pixel, doc, i, false, texts, state);
            written[g] = pixel.pixel(0, 0);
        }
        if (written[0] != GroundA) return {i, written[0]};
        if (written[1] != GroundB) return {i, written[1]};
    }
    return {};
}

QString PixelSourceText(const TSkinDocument& doc, QPoint p, const TDeviceState& state,
                        const std::vector<bool>& hidden) {
    if (!OnScreen(doc, p)) return QString();
    const TPixelSource source = PixelSourceAt(doc, p, state, hidden);
    QString line = QStringLiteral("x %1, y %2: ").arg(p.x()).arg(p.y());
    // The name is the user's: no placeholder of arg() may be read in it.
    if (source.Item >= 0) {
        const TDocItem& entry = doc.Items[source.Item];
        line +=
            QLatin1Char('"') + DecodeName(entry.Name) + QStringLiteral("\" (") +
            QLatin1String(entry.Kind < ItemKindCount ? RecordListNames[entry.Kind].Place : "item") +
            QStringLiteral("), ");
    }
    return line + QStringLiteral("r %1 g %2 b %3")
                      .arg(qRed(source.Colour) >> 3)
                      .arg(qGreen(source.Colour) >> 3)
                      .arg(qBlue(source.Colour) >> 3);
}
