#include "skin_fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

const char* const TahomaFiles[] = {"/usr/share/wine/fonts/tahoma.ttf",
                                   "/usr/share/wine/fonts/tahomabd.ttf"};

QString FindFamily() {
    // fontconfig does not look in wine's folder, so the faces are added by
    // hand; a Tahoma the system already has is just as good.
    for (const char* file : TahomaFiles)
        QFontDatabase::addApplicationFont(QString::fromLatin1(file));
    const QStringList families = QFontDatabase::families();
    if (families.contains(QLatin1String("Tahoma"))) return QStringLiteral("Tahoma");
    if (families.contains(QLatin1String("DejaVu Sans"))) return QStringLiteral("DejaVu Sans");
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

} // namespace

QString RegisterSkinFonts() {
    static const QString family = FindFamily();
    return family;
}

QString SkinFontNote() {
    const QString family = RegisterSkinFonts();
    if (family == QLatin1String("Tahoma")) return QString();
    return QStringLiteral("Tahoma was not found (install fonts-wine); text is drawn in %1.")
        .arg(family);
}
