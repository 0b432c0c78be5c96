#include "command_line.h"

#include "cli_error.h"

#include <QRegularExpression>

TCommandLine::TCommandLine(const QString& command, const QList<QCommandLineOption>& options,
                           const QStringList& fileNames, const QStringList& args) {
    Parser.addOptions(options);
    // The program name comes first for the parser.
    if (!Parser.parse(QStringList{QStringLiteral("skntool")} + args)) FailUsage(Parser.errorText());
    Files = Parser.positionalArguments();
    if (Files.size() != fileNames.size())
        FailUsage(
            QStringLiteral("\"%1\" takes %2.").arg(command, fileNames.join(QLatin1Char(' '))));
}

int ParseNumber(const QString& option, const QString& text, int min, int max) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < min || value > max)
        FailUsage(QStringLiteral("--%1 must be a whole number from %2 to %3, not \"%4\".")
                      .arg(option)
                      .arg(min)
                      .arg(max)
                      .arg(text));
    return value;
}

QSize ParseSize(const QString& option, const QString& text, int min, int max) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,9})[xX](\\d{1,9})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    const int w = match.hasMatch() ? match.captured(1).toInt() : -1;
    const int h = match.hasMatch() ? match.captured(2).toInt() : -1;
    if (w < min || w > max || h < min || h > max)
        FailUsage(QStringLiteral("--%1 must be WxH with each side from %2 to %3, not \"%4\".")
                      .arg(option)
                      .arg(min)
                      .arg(max)
                      .arg(text));
    return QSize(w, h);
}
