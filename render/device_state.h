// What the device is doing while the player screen is shown: rows held down,
// rows in their second state, where each track bar stands, the texts the
// player fills in, and whether pictures show as the file keeps them. The
// default state is the editor's plain preview, so it changes no pixel.
#pragma once

#include "skin_document.h"

#include <QString>

#include <array>
#include <map>
#include <set>

// The part of a row held down: a button or a wheel's ring (Body), or the
// box of a wheel's centre icon (Center).
enum class THeldPart { Body, Center };

struct TDeviceState {
    std::map<int, THeldPart> Held; // rows of Items held down
    std::set<int> SecondState;     // rows whose command is in its second state
    std::map<int, int> Progress;   // track bar rows: the progress's end, 0..Width
    // What the player shows for each text type; a text shows its type's
    // sample when it differs from the editor's own (PreviewTextFor).
    std::array<QString, TextTypeCount> Samples = DefaultSamples();
    // Pictures drawn with the 5 bits per channel a saved file keeps of them.
    bool FileColours = false;

    static std::array<QString, TextTypeCount> DefaultSamples();

    // True when some row shows other pictures or another progress than in
    // the plain preview; then the row is painted on its own.
    bool ChangesRow(int row) const {
        return (!Held.empty() && Held.count(row)) ||
               (!SecondState.empty() && SecondState.count(row)) ||
               (!Progress.empty() && Progress.count(row));
    }
};

// The plain preview's state: nothing held, first states, one third, the
// editor's samples, pictures as held in memory.
const TDeviceState& PlainDeviceState();
