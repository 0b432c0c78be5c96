// Skins and bitmaps that claim hostile sizes, and what the editor does with
// one: open it, or refuse it with its message, and repaint it at every zoom.
// Each case runs in a process of its own so that its peak memory can be read.
#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

struct THostileCase {
    const char* Name;
    bool IsBitmap;        // a picture file loaded into slots; otherwise a .skn file
    QByteArray (*Make)(); // the file's bytes
    const char* Expected; // "opened", or the message the file is refused with
    // For a picture: the MB its decoded copies take in the probe (the picture
    // and the keyed copy of it), on top of what opening any picture may cost.
    qint64 HeldMb = 0;
};

const std::vector<THostileCase>& HostileCases();
const THostileCase* FindHostileCase(const QString& name);

// Opens the case's file, written at path, the way the editor does and, when
// it opens, repaints the player screen (each zoom, a different item selected)
// and the playlist in an editor-sized preview area. Returns "opened" or the
// refusal message.
QString OpenAndRepaint(const THostileCase& hostile, const QString& path);
