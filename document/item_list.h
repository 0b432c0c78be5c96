// Changes to the item list that keep the entries and the record arrays in
// step: every record is designated by exactly one entry of its kind.
#pragma once

#include <QByteArray>
#include <QSet>

#include "skin_document.h"

#include <optional>

// The most entries a skin file keeps: its item count is two bytes.
inline constexpr int MaxItems = 65535;
// Whether count more entries still fit; the text that says they do not
// (TooManyItemsText of skin_file.h).
inline bool HasRoomForItems(const TSkinDocument& doc, qsizetype count) {
    return doc.Items.size() + count <= MaxItems;
}
inline constexpr char FullItemListText[] =
    "The skin already holds 65,535 items, the most a skin file keeps.";

// Appends a record of the kind with its defaults and placeholder pictures,
// and its entry at the end of Items. Returns the new entry's position, or -1
// for a kind outside 0..4.
int AddItem(TSkinDocument& doc, int kind, const QByteArray& name);

// Exchange entry p with its neighbour; false (and nothing done) when there is
// no neighbour in that direction.
bool MoveItemUp(TSkinDocument& doc, int p);
bool MoveItemDown(TSkinDocument& doc, int p);

// Removes entry p and its record, re-pointing the later entries of its kind.
// Returns the row to select afterwards (-1 when the list is now empty), or
// nothing when p is not a row.
std::optional<int> DeleteItem(TSkinDocument& doc, int p);

// The first entry that breaks the rule above, for a reader that must refuse
// such a list. Records that no entry designates break nothing.
struct TItemProblem {
    enum TWhat { None, UnknownKind, MissingRecord, SharedRecord } What = None;
    int Item = -1;  // the entry at fault
    int Other = -1; // SharedRecord: the earlier entry designating the same record
};
TItemProblem CheckItems(const TSkinDocument& doc);

// The name itself when no other item has it, else with its trailing " N"
// replaced by the next free number, or " 2" (then " 3" ...) appended; the
// base is cut so that the name stays within 255 bytes.
QByteArray UniqueItemName(const QByteArray& name, const QSet<QByteArray>& taken);
