// Test entry for every layer: a QApplication (offscreen in CTest) so that
// fonts, pictures and widgets all work.
#include <QApplication>
#include <QSettings>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // What Qt's own dialogs store of themselves never reaches the user's
    // configuration folder: /dev/null is no folder, so nothing is written.
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
