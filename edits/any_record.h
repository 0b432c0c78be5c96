// One item's record whatever its kind, as the history keeps it: taken from
// the document, put back, placed and moved. Pictures inside are shared
// QImages, so holding a record costs references, not pixels.
#pragma once

#include "skin_document.h"

#include <QPoint>

#include <optional>
#include <variant>

using TAnyRecord = std::variant<TiImage, TiText, TiButton, TiWheel, TiTrackbar>;

// The record the entry designates, or nothing when it designates none.
std::optional<TAnyRecord> RecordAt(const TSkinDocument& doc, const TDocItem& item);

// Replaces the record the entry designates (of the record's own kind).
void StoreRecord(TSkinDocument& doc, const TDocItem& item, const TAnyRecord& record);

// Puts the record into its kind's array at index, the later records moving
// up one place and every entry of that kind at or past index following them.
void InsertRecord(TSkinDocument& doc, int index, const TAnyRecord& record);

TItemKind KindOf(const TAnyRecord& record);
QPoint PositionOf(const TAnyRecord& record);
void SetPosition(TAnyRecord& record, QPoint position);

// Bytes of the pixels of the record's pictures.
qint64 PictureBytes(const TAnyRecord& record);
qint64 PictureBytes(const TPicture& picture);
