// Runs one hostile case in a process of its own and prints its outcome and
// the process's peak resident memory. Usage: hostile_probe <case> <file>
#include "hostile_cases.h"
#include "skin_fonts.h"
#include "tool_arguments.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <unistd.h>

namespace {

// The high-water mark of this program's own memory. getrusage() will not
// do: on Linux a program started by fork or vfork and exec inherits in
// ru_maxrss the peak of the process that started it.
long PeakResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    const char* usage = "hostile_probe <case> <file>";
    if (const int status = CheckToolArguments(argc, argv, usage, 2); status >= 0) return status;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const THostileCase* hostile = FindHostileCase(QString::fromLocal8Bit(argv[1]));
    if (!hostile) {
        std::fprintf(stderr, "usage: %s\n", usage);
        return 2;
    }
    RegisterSkinFonts();
    alarm(300); // a repaint that never ends is a finding too
    const QString outcome = OpenAndRepaint(*hostile, QString::fromLocal8Bit(argv[2]));
    std::printf("%s\n%ld\n", qPrintable(outcome), PeakResidentKb());
    return 0;
}
