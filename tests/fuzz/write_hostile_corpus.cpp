// Writes the hostile corpus into a folder, to run skntool on it by hand.
// Usage: write_hostile_corpus DIR
#include "hostile_corpus.h"
#include "tool_arguments.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char** argv) {
    if (const int status = CheckToolArguments(argc, argv, "write_hostile_corpus DIR", 1);
        status >= 0)
        return status;
    QCoreApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    for (const THostileInput& input : HostileInputs())
        if (!WriteHostileInput(input, dir)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(input.Name));
            return 1;
        }
    return 0;
}
