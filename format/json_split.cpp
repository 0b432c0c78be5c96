#include "json_split.h"

#include "json_keys.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <cstring>

namespace {

// Far below Qt's own limit even inside the lists that hold the elements, so
// that an element Qt parses alone it also parses in place.
constexpr int MaxDepth = 64;

[[noreturn]] void NotSplit() {
    throw TJsonNotSplit{};
}

// JSON's tokens, only as far as finding where each value ends; Qt checks the
// values themselves afterwards.
class TScanner {
  public:
    explicit TScanner(QByteArrayView text) : At(text.begin()), End(text.end()) {}

    bool AtEnd() {
        while (At < End && (*At == ' ' || *At == '\n' || *At == '\r' || *At == '\t'))
            ++At;
        return At == End;
    }
    // The next character after white space, not taken.
    char Peek() {
        if (AtEnd()) NotSplit();
        return *At;
    }
    bool Take(char c) {
        if (Peek() != c) return false;
        ++At;
        return true;
    }
    void Expect(char c) {
        if (!Take(c)) NotSplit();
    }
    // A key without escapes: an escaped one could spell a listed key.
    QByteArrayView Key() {
        Expect('"');
        const char* start = At;
        while (At < End && *At != '"')
            if (*At++ == '\\') NotSplit();
        if (At == End) NotSplit();
        return {start, At++};
    }
    // Skips one value of any kind, counting the keys an object gives at its
    // own level and noting an object inside it.
    void SkipValue() {
        OwnKeys = 0;
        Nested = false;
        const char first = Peek();
        if (first == '"') return SkipString();
        if (first != '{' && first != '[') {
            const char* start = At; // a number, true, false or null
            while (At < End && *At && std::strchr("+-.0123456789Eaeflnrstu", *At))
                ++At;
            if (At == start) NotSplit();
            return;
        }
        int depth = 0;
        do {
            if (At == End) NotSplit();
            if (*At == '"') {
                SkipString();
                if (depth == 1 && first == '{' && Peek() == ':') ++OwnKeys;
                continue;
            }
            if (*At == '{' || *At == '[') {
                if (*At == '{' && depth > 0) Nested = true;
                if (++depth > MaxDepth) NotSplit();
            } else if (*At == '}' || *At == ']') {
                --depth;
            }
            ++At;
        } while (depth > 0);
    }

    const char* At;
    const char* const End;
    std::size_t OwnKeys = 0; // of the last value skipped
    bool Nested = false;

  private:
    void SkipString() {
        for (++At; At < End && *At != '"'; ++At)
            if (*At == '\\' && ++At == End) break;
        if (At == End) NotSplit();
        ++At;
    }
};

} // namespace

TJsonSplit SplitJson(QByteArrayView text, const std::vector<const char*>& listKeys,
                     std::size_t maxElements) {
    TJsonSplit split;
    QByteArray rest; // the text with each cut-out list written "[]"
    const char* copied = text.begin();
    TScanner scan(text);
    scan.Expect('{');
    if (!scan.Take('}')) {
        do {
            const QByteArrayView key = scan.Key();
            scan.Expect(':');
            const bool listed = std::any_of(listKeys.begin(), listKeys.end(),
                                            [&key](const char* k) { return key == k; });
            if (!listed || scan.Peek() != '[') {
                scan.SkipValue();
                continue;
            }
            const auto [list, fresh] = split.Lists.try_emplace(key.toByteArray().toStdString());
            if (!fresh) NotSplit();
            rest.append(copied, scan.At - copied).append("[]");
            ++scan.At;
            if (!scan.Take(']')) {
                do {
                    if (scan.Peek() != '{' || list->second.size() == maxElements) NotSplit();
                    const char* start = scan.At;
                    scan.SkipValue();
                    if (scan.Nested) NotSplit();
                    list->second.push_back({QByteArrayView(start, scan.At), scan.OwnKeys});
                } while (scan.Take(','));
                scan.Expect(']');
            }
            copied = scan.At;
        } while (scan.Take(','));
        scan.Expect('}');
    }
    if (!scan.AtEnd()) NotSplit();
    rest.append(copied, text.end() - copied);

    QJsonParseError error{};
    split.Rest = QJsonDocument::fromJson(rest, &error).object();
    if (error.error != QJsonParseError::NoError || FindRepeatedKey(rest)) NotSplit();
    // A duplicate key Qt kept instead of the list.
    for (const auto& [key, elements] : split.Lists)
        if (split.Rest.value(QLatin1String(key.c_str())) != QJsonArray()) NotSplit();
    return split;
}

QJsonObject ParseJsonElement(const TJsonElement& element) {
    QJsonParseError error{};
    const QJsonDocument json = QJsonDocument::fromJson(
        QByteArray::fromRawData(element.Text.data(), element.Text.size()), &error);
    if (error.error != QJsonParseError::NoError) NotSplit();
    // Qt keeps the last of two equal keys: fewer keys than the text gives
    // is a key given twice, which the whole parse names.
    const QJsonObject object = json.object();
    if (std::size_t(object.size()) != element.Keys) NotSplit();
    return object;
}
