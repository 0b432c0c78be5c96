#include "skin_fonts.h"

#include <QFontDatabase>

namespace {
QString& Family() {
    static QString family;
    return family;
}
} // namespace

QString RegisterSkinFonts() {
    if (!Family().isEmpty()) return Family();
    const int regular = QFontDatabase::addApplicationFont("/usr/share/wine/fonts/tahoma.ttf");
    QFontDatabase::addApplicationFont("/usr/share/wine/fonts/tahomabd.ttf");
    Family() = regular >= 0 ? QStringLiteral("Tahoma") : QStringLiteral("DejaVu Sans");
    return Family();
}

QString SkinFontNote() {
    if (RegisterSkinFonts() == QLatin1String("Tahoma")) return QString();
    return QStringLiteral("Tahoma was not found (install fonts-wine); text is drawn in %1.")
        .arg(Family());
}
