// The libFuzzer side of a target: a headless GUI application for fonts and
// pictures, and a crash for every fault so that the input is kept.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>

void StartFuzzApplication();

// Runs the check and aborts, printing the fault, when it finds one.
int RunFuzzCheck(QString (*check)(QByteArrayView), const std::uint8_t* data, std::size_t size);
