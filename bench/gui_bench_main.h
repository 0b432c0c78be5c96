// The main of a benchmark that draws text: it needs a GUI application (App:
// QGuiApplication, or QApplication for one that drives the window) and the
// registered Tahoma.
#pragma once

#include "skin_fonts.h"

#include <benchmark/benchmark.h>

template <class App> int RunGuiBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    RegisterSkinFonts();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
