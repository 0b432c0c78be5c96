// The skin as JSON: the document's field names as keys, enumerations and
// colours as their numbers, names as Windows-1252 text. Pictures are whatever
// the caller makes of them: their size for "info", a bitmap file name for a
// folder made by "unpack".
#pragma once

#include "json_text.h"
#include "skin_document.h"

#include <QJsonObject>

#include <functional>

// A picture slot's name after its place, e.g. "button-0-picture-2" or
// "playlist-folder-icon"; the index is the record's position in its kind's array.
using TPictureToJson = std::function<QJsonValue(const TPicture&, const QString& place)>;

// The JSON text as QJsonDocument::toJson prints SkinToJson's object, handed
// to sink a chunk at a time; picture is called for each slot in the order
// of the text.
void WriteSkinJson(const TSkinDocument& doc, const TPictureToJson& picture,
                   const TJsonText::TSink& sink);

QJsonObject SkinToJson(const TSkinDocument& doc, const TPictureToJson& picture);

// {"Width": w, "Height": h}
QJsonValue PictureSizeJson(const TPicture& picture);

// Problems with the JSON itself name the key, e.g. "Buttons[0].Pictures".
struct TSchemaError {
    QString Text; // full stop included
};

// Gives the picture for a JSON value; key names it for messages. May throw
// TSchemaError for a value of the wrong type, or anything of its own.
using TPictureFromJson = std::function<QImage(const QJsonValue&, const QString& key)>;

// The document the JSON describes, with every slot's transparency as the skin
// reader gives it (image pictures opaque, all others keyed). Every key is
// required; numbers must fit the file's fields. Throws TSchemaError.
TSkinDocument SkinFromJson(const QJsonObject& json, const TPictureFromJson& picture);
