// Items on the clipboard: a one-item skin in the .skn format, written by the
// skin writer (so its values are narrowed as a save narrows them) and read
// back by the skin reader with all its checks.
#pragma once

#include "item_steps.h"

#include <QByteArray>
#include <QString>

#include <vector>

inline const QString SkinMimeType = QStringLiteral("application/x-lumoraskin-skin");

// The skin of the item at row alone, the document's screen size, a new
// skin's playlist look; empty when row is no item.
QByteArray OneItemSkin(const TSkinDocument& doc, int row);

struct TClipboardItems {
    std::vector<TLooseItem> Items; // in list order
    QString Error;                 // the reader's words, full stop included
};

// The items of a skin read from the clipboard's bytes.
TClipboardItems ReadClipboardSkin(QByteArrayView bytes);
