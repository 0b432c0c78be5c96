// The editor's one handler for running out of memory: a command that cannot
// have the memory it needs ends with the message box, not an abort.
#pragma once

#include "prompts.h"

#include <QApplication>

#include <new>

inline const QString OutOfMemoryText = QStringLiteral("Out of memory.");

// Runs deliver (one event's delivery); std::bad_alloc from it becomes the
// "Out of memory." message box, and the event counts as not handled.
template <class F> bool DeliverOrReportOutOfMemory(TPrompts& prompts, F deliver) {
    try {
        return deliver();
    } catch (const std::bad_alloc&) {
        prompts.ShowError(OutOfMemoryText);
        return false;
    }
}

// The application object whose every event goes through that handler.
class TEditorApplication : public QApplication {
  public:
    TEditorApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    void SetPrompts(TPrompts* prompts) { Prompts = prompts; }
    bool notify(QObject* receiver, QEvent* event) override;

  private:
    TPrompts* Prompts = nullptr;
};
