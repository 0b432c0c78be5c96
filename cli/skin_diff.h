// Two skins compared as documents: items matched by kind and name (then by
// row), their fields compared in the JSON form "info" prints, pictures by
// their pixels. The order of records inside the file's arrays is storage,
// not document, and is not compared.
#pragma once

#include "skin_document.h"

#include <QJsonValue>

#include <vector>

struct TSkinDifference {
    enum TScope { dsScreen, dsItem, dsPlaylist };
    TScope Scope = dsScreen;
    QString Change;      // "added", "removed", "moved" or "changed"
    int Item = -1;       // row in B; in A for a removed item; -1 outside the item list
    QString Name;        // the item's name (in B, or in A when removed)
    int Kind = -1;       // TItemKind of the item
    QString Field;       // changed field as "info" names it: "X", "Pictures[2]", "Colors[3]"
    QJsonValue Old, New; // as "info" prints them; rows for "moved"; sizes for pictures
    qint64 Pixels = -1;  // pictures: pixels that differ, counting those only one has
};

// In order: the screen, removed items (in A's order), then B's items in
// list order (added, moved, changed fields), then the playlist.
std::vector<TSkinDifference> DiffSkins(const TSkinDocument& a, const TSkinDocument& b);

// Pixels of two pictures laid over each other at their top-left corners that
// differ, compared as RGB; a pixel that only one of them has differs.
qint64 DifferingPixels(const QImage& a, const QImage& b);
