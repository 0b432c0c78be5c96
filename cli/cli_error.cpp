#include "cli_error.h"

#include <QFileInfo>

QString WithoutFileNamed(const QString& text, const QString& path) {
    // The path as given, or made absolute where a layer names the full path.
    for (const QString& named : {path, QFileInfo(path).absoluteFilePath()})
        for (const char* verb : {"open", "create"}) {
            const QString start =
                QStringLiteral("Cannot %1 file \"%2\". ").arg(QLatin1String(verb), named);
            if (text.startsWith(start) && text.size() > start.size()) return text.mid(start.size());
        }
    return text;
}

QString ErrorLine(const TCliError& error) {
    QString line = QStringLiteral("skntool: ");
    if (!error.Path.isEmpty()) line += error.Path + QStringLiteral(": ");
    return line + error.Text + QLatin1Char('\n');
}
