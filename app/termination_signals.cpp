#include "termination_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr int Handled[] = {SIGTERM, SIGHUP, SIGINT};
// A signal handler may only write a byte; the event loop does the rest.
int WriteEnd = -1;

void Handler(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(WriteEnd, &byte, 1);
    errno = saved;
}
} // namespace

TTerminationSignals::TTerminationSignals(QWidget& window) : Window(window) {
    if (::pipe2(Pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    WriteEnd = Pipe[1];
    Notifier = new QSocketNotifier(Pipe[0], QSocketNotifier::Read, this);
    connect(Notifier, &QSocketNotifier::activated, this, &TTerminationSignals::Arrived);
    struct sigaction action = {};
    action.sa_handler = Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : Handled)
        ::sigaction(signal, &action, nullptr);
}

TTerminationSignals::~TTerminationSignals() {
    if (Pipe[0] < 0) return;
    for (int signal : Handled)
        std::signal(signal, SIG_DFL);
    WriteEnd = -1;
    ::close(Pipe[0]);
    ::close(Pipe[1]);
}

void TTerminationSignals::Arrived() {
    char bytes[16];
    while (::read(Pipe[0], bytes, sizeof bytes) > 0) {
    }
    Window.close();
    // A question on screen runs a loop of its own: every loop ends.
    QCoreApplication::quit();
}
