#include "skntool.h"

#include "check_command.h"
#include "cli_error.h"
#include "diff_command.h"
#include "help_texts.h"
#include "render_command.h"
#include "skin_commands.h"

#include <QMap>

#include <new>

namespace {

using TCommand = void (*)(const QStringList&, TCliOutput&);

const QMap<QString, TCommand>& Commands() {
    static const QMap<QString, TCommand> commands{
        {QStringLiteral("new"), RunNew},       {QStringLiteral("info"), RunInfo},
        {QStringLiteral("unpack"), RunUnpack}, {QStringLiteral("pack"), RunPack},
        {QStringLiteral("render"), RunRender}, {QStringLiteral("dither"), RunDither},
        {QStringLiteral("check"), RunCheck},   {QStringLiteral("diff"), RunDiff},
    };
    return commands;
}

bool IsHelpFlag(const QString& arg) {
    return arg == QLatin1String("--help") || arg == QLatin1String("-h");
}

// A help flag among the options; "--" ends them, so a file may be named "-h".
bool AsksForHelp(const QStringList& args) {
    for (const QString& arg : args) {
        if (arg == QLatin1String("--")) return false;
        if (IsHelpFlag(arg)) return true;
    }
    return false;
}

void Help(const QStringList& args, QByteArray& out) {
    if (args.isEmpty()) {
        out += OverviewHelp().toUtf8();
        return;
    }
    const QString text = CommandHelp(args.first());
    if (args.size() > 1 || text.isEmpty())
        FailUsage(QStringLiteral("No command \"%1\"; the commands are new, info, unpack, pack, "
                                 "render, dither, check and diff.")
                      .arg(args.join(QLatin1Char(' '))));
    out += text.toUtf8();
}

} // namespace

TCliResult RunSkntool(const QStringList& args, std::function<void(QByteArray&)> drain) {
    TCliResult result;
    result.Drain = std::move(drain);
    QString command;
    try {
        if (args.isEmpty()) FailUsage(QStringLiteral("No command given."));
        command = args.first();
        const QStringList rest = args.mid(1);
        if (IsHelpFlag(command)) {
            command.clear();
            Help({}, result.Out);
        } else if (command == QLatin1String("--version")) {
            command.clear();
            if (!rest.isEmpty()) FailUsage(QStringLiteral("--version takes no arguments."));
            result.Out += QByteArrayLiteral("skntool " LUMORA_VERSION "\n");
        } else if (command == QLatin1String("help")) {
            Help(rest, result.Out);
        } else if (!Commands().contains(command)) {
            const QString unknown = command;
            command.clear();
            FailUsage(QStringLiteral("Unknown command \"%1\".").arg(unknown));
        } else if (AsksForHelp(rest)) {
            Help({command}, result.Out);
        } else {
            Commands().value(command)(rest, result);
        }
    } catch (const TCliError& error) {
        result.Status = error.Status;
        result.Out.clear();
        QString line = ErrorLine(error);
        if (error.Status == ExitUsage && error.Path.isEmpty())
            line += command.isEmpty() || command == QLatin1String("help")
                        ? QStringLiteral("Try \"skntool --help\".\n")
                        : CommandHelp(command).section(QLatin1Char('\n'), 0, 0) +
                              QStringLiteral("\nTry \"skntool help %1\".\n").arg(command);
        result.Err = line.toUtf8();
    } catch (const std::bad_alloc&) {
        // Files are replaced only once whole, so nothing has been written.
        result.Status = ExitFileError;
        result.Out.clear();
        result.Err = QByteArrayLiteral("skntool: Out of memory.\n");
    }
    return result;
}
