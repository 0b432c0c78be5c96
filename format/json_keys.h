// What Qt's JSON parser passes over or names without a place: keys given
// twice in one object (Qt keeps the last of them without a word, so a
// hand-edited file could lose what its author saw first), and syntax errors,
// named with their line and column.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// For a text Qt has read: the first key given twice, as the message to give
// ("The key "Buttons[0].X" is given twice."), nothing when every key is
// given once or the text is not one object. Keys are told apart as Qt tells them (a lone surrogate
// is a character of its own); should this reader ever fail on the text, its syntax error is the
// message instead, so that nothing passes unchecked.
std::optional<QString> FindRepeatedKey(QByteArrayView text);

// The text's first syntax error in RapidJSON's words with its place, e.g.
// "Not valid JSON: Missing a comma or '}' after an object member (line 3,
// column 5)."; nothing when it reads the text.
std::optional<QString> FindJsonSyntaxError(QByteArrayView text);

// "Not valid JSON: TEXT (line L, column C)." for the byte at offset.
QString JsonSyntaxText(QByteArrayView text, qsizetype offset, const QString& what);
