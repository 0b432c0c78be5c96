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
    // Skips one value of any kind.
    void SkipValue() {
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
                continue;
            }
            if (*At == '{' || *At == '[') {
                if (++depth > MaxDepth) NotSplit();
            } else if (*At == '}' || *At == ']') {
                --depth;
            }
            ++At;
        } while (depth > 0);
    }

    const char* At;
    const char* const End;

  private:
    void SkipString() {
        for (++At; At < End && *At != '"'; ++At)
            if (*At == '\\' && ++At == End) break;
        if (At == End) NotSplit();
        ++At;
    }
};

// The keys of the object that the text of a valid JSON object holds at its
// own level. An object inside it (no record holds one) is not split.
std::size_t OwnKeys(QByteArrayView text) {
    std::size_t keys = 0;
    int depth = 0;
    for (const char *at = text.begin(), *end = text.end(); at < end;) {
        const char c = *at++;
        if (c == '"') {
            for (; at < end && *at != '"'; ++at)
                if (*at == '\\' && ++at == end) NotSplit();
            if (at == end) NotSplit();
            ++at;
            while (at < end && (*at == ' ' || *at == '\n' || *at == '\r' || *at == '\t'))
                ++at;
            if (depth == 1 && at < end && *at == ':') ++keys;
        } else if (c == '{') {
            if (depth++ > 0) NotSplit();
        } else if (c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return keys;
}

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
                    list->second.emplace_back(start, scan.At);
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

QJsonObject ParseJsonElement(QByteArrayView element) {
    QJsonParseError error{};
    const QJsonDocument json =
        QJsonDocument::fromJson(QByteArray::fromRawData(element.data(), element.size()), &error);
    if (error.error != QJsonParseError::NoError) NotSplit();
    // Qt keeps the last of two equal keys: fewer keys than the text gives
    // is a key given twice, which the whole parse names.
    const QJsonObject object = json.object();
    if (std::size_t(object.size()) != OwnKeys(element)) NotSplit();
    return object;
}
