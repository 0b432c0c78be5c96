// Program entry: the editor takes one optional argument, a skin file to open.
#include "app_icon.h"
#include "desktop_prompts.h"
#include "desktop_session.h"
#include "editor_settings.h"
#include "main_window.h"
#include "out_of_memory.h"
#include "skin_fonts.h"
#include "start_arguments.h"
#include "termination_signals.h"

#include <QApplication>
#include <QScreen>

#include <csignal>
#include <cstdio>

int main(int argc, char** argv) {
    // A file-size limit must fail a save with "Disk full.", not kill the editor.
    std::signal(SIGXFSZ, SIG_IGN);
    TEditorApplication app(argc, argv);
    // The application name is the class the window reports (WM_CLASS), one
    // word from version to version, which the launcher's StartupWMClass names.
    QApplication::setApplicationName(QStringLiteral("LumoraSkin"));
    // The installed launcher's id ties the running window to it and its icon.
    QApplication::setDesktopFileName(QStringLiteral("io.github.kelvane.LumoraSkin"));
    QApplication::setWindowIcon(LumoraAppIcon());
    RegisterSkinFonts();

    // Before any dialog exists: what the toolkit's dialogs keep of themselves
    // stays out of the user's configuration folder.
    SetToolkitSettingsAside();
    TDesktopPrompts prompts;
    app.SetPrompts(&prompts);
    TForm1 form(prompts);
    // The image viewer, the "New skin" dialog and the about box come after
    // the main window and stay hidden until asked for.
    prompts.CreateWindows(&form);
    // Settings, the recovery copy and the watch on the open file belong to the
    // program, not to the window.
    TDesktopSession session(form, &prompts);
    const TTerminationSignals endings(form);

    const QScreen* screen = form.screen();
    if (screen && !session.WindowRestored()) {
        QRect frame = form.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        form.move(frame.topLeft());
    }
    form.show();
    // Start-up as without a file, then the Open command's own steps.
    const TStartArguments start = ParseStartArguments(QApplication::arguments().mid(1));
    if (!start.Complaint.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(start.Complaint));
    if (start.SkinFile) form.OpenSkinFile(*start.SkinFile);
    session.Start();
    return app.exec();
}
