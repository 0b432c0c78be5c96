// An editor with its desktop session, driven from the command line, for the
// tests of what outlives a process: it opens the skin given (or stays on
// the start-up skin for "-"), adds an image item, writes the skin it then
// holds to the expected-bytes file, waits until its recovery copy is on disk,
// says "ready" and runs until it is killed or ended by a signal.
#include "desktop_session.h"
#include "main_window.h"
#include "scripted_prompts.h"
#include "skin_file.h"
#include "termination_signals.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) return 2;
    TScriptedPrompts prompts;
    TForm1 form(prompts);
    TDesktopSession session(form, nullptr);
    const TTerminationSignals endings(form);
    if (QString::fromLocal8Bit(argv[1]) != QLatin1String("-"))
        form.OpenSkinFile(QString::fromLocal8Bit(argv[1]));
    session.Start();
    prompts.Names.push_back(QStringLiteral("Sky"));
    form.ToolButton12Click();
    QFile expected(QString::fromLocal8Bit(argv[2]));
    if (!expected.open(QIODevice::WriteOnly) || expected.write(EncodeSkin(form.Doc)) < 0) return 3;
    expected.close();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!QFileInfo::exists(session.CopyPath())) return;
        poll.stop();
        std::printf("ready\n");
        std::fflush(stdout);
    });
    poll.start(20);
    return app.exec();
}
