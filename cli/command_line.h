// The arguments of one skntool command: options and file names, parsed by
// QCommandLineParser, with usage errors thrown as TCliError.
#pragma once

#include <QCommandLineParser>
#include <QSize>
#include <QStringList>

class TCommandLine {
  public:
    // fileNames: what the command takes, e.g. {"SKIN.skn", "OUT.png"}.
    TCommandLine(const QString& command, const QList<QCommandLineOption>& options,
                 const QStringList& fileNames, const QStringList& args);

    bool IsSet(const QString& option) const { return Parser.isSet(option); }
    QString Value(const QString& option) const { return Parser.value(option); }
    // Every value of a repeatable option, in the order given.
    QStringList Values(const QString& option) const { return Parser.values(option); }
    QString File(int i) const { return Files[i]; }

  private:
    QCommandLineParser Parser;
    QStringList Files;
};

// "WxH" with each side from min to max; option names the flag for the message.
QSize ParseSize(const QString& option, const QString& text, int min, int max);

// A whole number from min to max.
int ParseNumber(const QString& option, const QString& text, int min, int max);
