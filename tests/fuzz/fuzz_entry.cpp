#include "fuzz_entry.h"

#include "fuzz_checks.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

void StartFuzzApplication() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt keeps references to argc and argv for the application's life, and
    // libFuzzer's own options are none of its business. The application is
    // never destroyed: at exit Qt's thread storage is gone before static
    // destructors run, and tearing down its fonts then crashes.
    static int argc = 1;
    static char name[] = "fuzzer";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
    PrepareFuzzChecks();
}

int RunFuzzCheck(QString (*check)(QByteArrayView), const std::uint8_t* data, std::size_t size) {
    const QString fault =
        check(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!fault.isEmpty()) {
        std::fprintf(stderr, "FAULT: %s\n", qPrintable(fault));
        std::abort();
    }
    return 0;
}
