// Keys given twice in one JSON object. Qt's parser keeps the last of them
// without a word, so a hand-edited file could lose what its author saw
// first; the reader refuses such a file instead, naming the key.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// The place of the first key given twice, e.g. "Buttons[0].X". Nothing when
// every key is given once, when the text is not one JSON object, or when it
// is not valid JSON at all: a parse names that problem first.
std::optional<QString> FindRepeatedKey(QByteArrayView text);
