// skntool: the skin on the command line, built on the editor's own document,
// render and imaging code.
#include "file_errors.h"
#include "skntool.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

bool StartingPlatform = false;

// Qt's own notes (fonts, platform) are not skntool's output; only its
// critical failures are worth a line on standard error. A platform that
// cannot start is a failure of the command, not a crash.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg && StartingPlatform) {
        // Qt's own text would speak of reinstalling; the cause is most often
        // a limit (descriptors, memory) the user sets.
        std::fputs("skntool: The drawing platform could not start.\n", stderr);
        std::_Exit(1);
    }
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "skntool: %s\n", message.toLocal8Bit().constData());
}

// Only the commands that measure or draw text need the windowing platform
// (its fonts); the others run on the core alone, which needs no display.
bool DrawsText(int argc, char** argv) {
    if (argc < 2) return false;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) break;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return false;
    }
    return std::strcmp(argv[1], "render") == 0 || std::strcmp(argv[1], "check") == 0;
}

bool WriteAll(std::FILE* stream, const QByteArray& bytes) {
    errno = 0;
    return std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream) ==
               std::size_t(bytes.size()) &&
           std::fflush(stream) == 0;
}
} // namespace

int main(int argc, char** argv) {
    // A file-size limit fails the write with EFBIG, reported as "Disk full.";
    // the signal would kill the process before the message.
    std::signal(SIGXFSZ, SIG_IGN);
    qInstallMessageHandler(QuietMessages);
    std::unique_ptr<QCoreApplication> app;
    if (DrawsText(argc, argv)) {
        // skntool never opens a window. The offscreen platform works without
        // a display and draws text exactly as the tests of the previews do.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        StartingPlatform = true;
        app = std::make_unique<QGuiApplication>(argc, argv);
        StartingPlatform = false;
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("skntool"));

    // The first failed write ends the writing; the command runs to its end.
    bool written = true;
    int error = 0;
    const auto drain = [&written, &error](QByteArray& out) {
        if (written && !WriteAll(stdout, out)) {
            written = false;
            error = errno;
        }
        out.resize(0);
    };
    TCliResult result = RunSkntool(QCoreApplication::arguments().mid(1), drain);
    drain(result.Out);
    if (!written && result.Status == 0) {
        const QString cause = error != 0 ? FileErrorText(error) : QStringLiteral("Not written");
        result.Status = 1;
        result.Err += QStringLiteral("skntool: standard output: %1.\n").arg(cause).toUtf8();
    }
    WriteAll(stderr, result.Err);
    return result.Status;
}
