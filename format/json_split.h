// A large JSON object read without building it whole: the arrays of objects
// under the given keys are cut out, each element kept as its span of the
// text, and Qt parses the rest now and each element when it is wanted, so
// every value is exactly Qt's. Only the layout that QJsonDocument::toJson
// prints, or one like it, is split; anything else is left to a whole parse,
// which also names a problem where it lies.
#pragma once

#include <QByteArrayView>
#include <QJsonObject>

#include <map>
#include <string>
#include <vector>

// Thrown where the text is not as the splitter expects, a problem included
// (a key given twice among them): parse it whole instead.
struct TJsonNotSplit {};

// One element of a cut-out list: its text, and the keys the text gives at
// its own level, so that a key given twice (which Qt would keep the last
// of) shows as fewer keys parsed.
struct TJsonElement {
    QByteArrayView Text;
    std::size_t Keys = 0;
};

// Each cut-out list's elements, in order, by key.
using TJsonLists = std::map<std::string, std::vector<TJsonElement>, std::less<>>;

struct TJsonSplit {
    QJsonObject Rest; // the object with each cut-out list empty
    TJsonLists Lists; // views into the text, which must outlive them
};

// A list longer than maxElements, or with an element holding an object (no
// record does), is not split either. Throws TJsonNotSplit.
TJsonSplit SplitJson(QByteArrayView text, const std::vector<const char*>& listKeys,
                     std::size_t maxElements);

// One element of a cut-out list. Throws TJsonNotSplit.
QJsonObject ParseJsonElement(const TJsonElement& element);
