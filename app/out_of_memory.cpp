#include "out_of_memory.h"

bool TEditorApplication::notify(QObject* receiver, QEvent* event) {
    if (!Prompts) return QApplication::notify(receiver, event);
    return DeliverOrReportOutOfMemory(*Prompts,
                                      [&] { return QApplication::notify(receiver, event); });
}
