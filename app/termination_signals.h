// SIGTERM, SIGHUP and SIGINT (a logout without a session manager, `kill`,
// Ctrl+C in the terminal the editor was started from) end the editor as
// Exit does: the window closes, so an edit not yet in the recovery copy is
// written and the settings are remembered, then the program ends.
#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

class TTerminationSignals : public QObject {
    Q_OBJECT

  public:
    // One per process; the handlers stay until it is destroyed.
    explicit TTerminationSignals(QWidget& window);
    ~TTerminationSignals() override;

  private:
    void Arrived();

    QWidget& Window;
    QSocketNotifier* Notifier = nullptr;
    int Pipe[2] = {-1, -1};
};
