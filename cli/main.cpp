// skntool: the skin on the command line, built on the editor's own document,
// render and imaging code.
#include "file_errors.h"
#include "skntool.h"

#include <QGuiApplication>

#include <cerrno>
#include <csignal>
#include <cstdio>

namespace {
// Qt's own notes (fonts, platform) are not skntool's output; only its
// critical failures are worth a line on standard error.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "skntool: %s\n", message.toLocal8Bit().constData());
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
    // skntool never opens a window. The offscreen platform works without a
    // display and draws text exactly as the tests of the previews do.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("skntool"));

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
    TCliResult result = RunSkntool(QGuiApplication::arguments().mid(1), drain);
    drain(result.Out);
    if (!written && result.Status == 0) {
        const QString cause = error != 0 ? FileErrorText(error) : QStringLiteral("Not written");
        result.Status = 1;
        result.Err += QStringLiteral("skntool: standard output: %1.\n").arg(cause).toUtf8();
    }
    WriteAll(stderr, result.Err);
    return result.Status;
}
