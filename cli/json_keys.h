// What Qt's JSON parser passes over or names without a place: keys given
// twice in one object (Qt keeps the last of them without a word, so a
// hand-edited file could lose what its author saw first), and syntax errors,
// named with their line and column.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// The place of the first key given twice, e.g. "Buttons[0].X". Nothing when
// every key is given once, when the text is not one JSON object, or when it
// is not valid JSON at all: a parse names that problem first.
std::optional<QString> FindRepeatedKey(QByteArrayView text);

// The text's first syntax error in RapidJSON's words with its place, e.g.
// "Not valid JSON: Missing a comma or '}' after an object member (line 3,
// column 5)."; nothing when it reads the text.
std::optional<QString> FindJsonSyntaxError(QByteArrayView text);

// "Not valid JSON: TEXT (line L, column C)." for the byte at offset.
QString JsonSyntaxText(QByteArrayView text, qsizetype offset, const QString& what);
