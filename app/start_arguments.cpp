#include "start_arguments.h"

TStartArguments ParseStartArguments(const QStringList& args) {
    TStartArguments result;
    if (args.isEmpty()) return result;
    if (args.size() == 1 && !args.first().startsWith(QLatin1Char('-')) && !args.first().isEmpty()) {
        result.SkinFile = args.first();
        return result;
    }
    result.Complaint = QStringLiteral("lumoraskin: the only argument is one skin file to open; "
                                      "ignored: %1")
                           .arg(args.join(QLatin1Char(' ')));
    return result;
}
