// Program entry: the editor takes no command-line arguments.
#include "new_skin.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(ProgramTitle);
    QMainWindow window;
    window.setWindowTitle(WindowTitleFor(UntitledFileName));
    window.resize(845, 638);
    window.show();
    return app.exec();
}
