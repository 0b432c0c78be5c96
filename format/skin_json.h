// The skin as JSON: the document's field names as keys, enumerations and
// colours as their numbers, names as Windows-1252 text. Pictures are whatever
// the caller makes of them: their size for "info", a bitmap file name for a
// folder made by "unpack".
#pragma once

#include "json_split.h"
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

// Parts of SkinToJson's object, each built alone, so that a large skin is
// compared a record at a time: the top level's numbers without the lists,
// the record of kind at index, and the playlist, each with the same values
// and picture places.
QJsonObject SkinNumbersToJson(const TSkinDocument& doc);
QJsonObject RecordToJson(const TSkinDocument& doc, int kind, int index,
                         const TPictureToJson& picture);
QJsonObject PlaylistToJson(const TSkinDocument& doc, const TPictureToJson& picture);

// {"Width": w, "Height": h}
// The text of "skntool info": the whole skin, each picture as its size.
void WriteSkinInfo(const TSkinDocument& doc, const TJsonText::TSink& sink);
QJsonValue PictureSizeJson(const TPicture& picture);

// Problems with the JSON itself name the key, e.g. "Buttons[0].Pictures".
struct TSchemaError {
    QString Text; // full stop included
};

// Where a value lies, e.g. "Buttons[0].Pictures[2]": a chain of links to
// the keys around it, made text only for a message.
class TJsonKey {
  public:
    TJsonKey() = default; // the whole document
    TJsonKey(const TJsonKey& parent, const char* name) : Parent(&parent), Name(name) {}
    TJsonKey(const TJsonKey& parent, std::size_t index) : Parent(&parent), Index(index) {}
    bool IsWhole() const { return !Parent; }
    operator QString() const;

  private:
    const TJsonKey* Parent = nullptr; // outlives this
    const char* Name = nullptr;       // else an index into a list
    std::size_t Index = 0;
};

// Gives the picture for a JSON value; key names it for messages. May throw
// TSchemaError for a value of the wrong type, or anything of its own.
using TPictureFromJson = std::function<QImage(const QJsonValue&, const TJsonKey& key)>;

// The document the JSON describes, with every slot's transparency as the skin
// reader gives it (image pictures opaque, all others keyed). Every key is
// required; numbers must fit the file's fields. Record lists found in lists
// are read from there, a record at a time. Throws TSchemaError.
TSkinDocument SkinFromJson(const QJsonObject& json, const TPictureFromJson& picture,
                           const TJsonLists* lists = nullptr);

// The same from the JSON text, never parsed whole: its record lists are cut
// out by SplitJson. Throws TJsonNotSplit where the text does not split, or a
// record does not parse: a whole parse then finds the problem.
TSkinDocument SkinFromJsonText(QByteArrayView text, const TPictureFromJson& picture);
