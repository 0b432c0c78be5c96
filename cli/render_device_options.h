// skntool render's options that put the device in a state: rows pressed or
// in their second state, a track bar's progress, the texts the player fills in.
#pragma once

#include "command_line.h"
#include "device_state.h"
#include "skin_document.h"

#include <QCommandLineOption>
#include <QList>

#include <vector>

// --pressed, --second-state, --progress and --sample, each repeatable, and
// --sample-set, the set of samples that --sample values replace.
QList<QCommandLineOption> DeviceStateOptions();

// The options as given, their form checked (a usage error otherwise) before
// any skin is read.
class TDeviceOptions {
  public:
    explicit TDeviceOptions(const TCommandLine& cl);

    bool IsEmpty() const;

    // The state they describe for doc; a row the skin lacks, or one of a
    // kind the option does not fit, is a usage error naming the option.
    TDeviceState StateFor(const TSkinDocument& doc) const;

  private:
    struct TRowValue {
        QString Option, Given; // for the messages
        int Row = 0;
        int Value = 0; // --pressed: 1 for the centre; --progress: the progress
    };
    std::vector<TRowValue> Pressed, SecondState, Progress;
    TDeviceState Samples; // only its samples are set
    bool SamplesGiven = false;
};
