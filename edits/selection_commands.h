// The item commands on every selected item at once: Delete and Cut, Copy,
// Paste and Duplicate, Move up and Move down. Each is one step (or none).
// With one item selected they are the single-item commands.
#pragma once

#include "item_list.h"
#include "open_skin.h"

#include <QByteArray>
#include <QSet>
#include <QString>

// Deletes every selected item; the row after the last deleted one (else the
// new last) is then current and alone selected. verb: "Delete", "Cut".
void DeleteSelectionCommand(TOpenSkin& skin, const QString& verb);

// The selected items as a skin of their own, in list order: what Copy puts
// on the clipboard. Empty with nothing selected.
QByteArray SelectionSkin(const TOpenSkin& skin);

// Copies of the selected items appended (as the file would hold them), named
// as Paste names them, and selected; the clipboard is not used.
QString DuplicateSelectionCommand(TOpenSkin& skin);

// Every selected item one place up (down) the list; one blocked at the end,
// or by a blocked neighbour, stays.
void MoveSelectionCommand(TOpenSkin& skin, bool up);
