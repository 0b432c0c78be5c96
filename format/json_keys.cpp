#include "json_keys.h"

#include <rapidjson/error/en.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace {

// The reader's events, keeping only the keys of the objects still open and
// where each open value lies. The levels are kept for reuse: a skin has
// hundreds of thousands of small objects.
class TKeyHandler : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, TKeyHandler> {
  public:
    bool Default() {
        Begin();
        return true;
    }
    bool String(const char*, rapidjson::SizeType, bool) { return Default(); }
    bool RawNumber(const char*, rapidjson::SizeType, bool) { return Default(); }
    bool StartObject() {
        if (Depth == 0) TopIsObject = true;
        Begin();
        Open(true);
        return true;
    }
    bool Key(const char* key, rapidjson::SizeType length, bool) {
        TLevel& level = Levels[Depth - 1];
        const std::string_view name(key, length);
        if (!level.Add(name) && !Repeated) {
            level.Key.assign(name);
            Repeated = Place();
        }
        level.Key.assign(name);
        return true;
    }
    bool EndObject(rapidjson::SizeType) {
        --Depth;
        return true;
    }
    bool StartArray() {
        Begin();
        Open(false);
        return true;
    }
    bool EndArray(rapidjson::SizeType) {
        --Depth;
        return true;
    }

    std::optional<QString> Repeated;
    bool TopIsObject = false;

  private:
    struct TLevel {
        bool IsObject = false;
        std::size_t Count = 0; // an array's values so far
        std::string Key;       // an object's current key
        // An object's keys: a short list, and a set once it grows long.
        std::vector<std::string> Few;
        std::unordered_set<std::string> Many;

        // False when the key was there already.
        bool Add(std::string_view key) {
            if (!Many.empty()) return Many.emplace(key).second;
            for (std::size_t i = 0; i < Used; ++i)
                if (Few[i] == key) return false;
            if (Used == Few.size()) Few.emplace_back();
            Few[Used++].assign(key);
            if (Used > 32) {
                Many.insert(Few.begin(), Few.begin() + std::ptrdiff_t(Used));
                Used = 0;
            }
            return true;
        }
        void Clear(bool isObject) {
            IsObject = isObject;
            Count = 0;
            Used = 0;
            Many.clear();
        }
        std::size_t Used = 0;
    };

    void Open(bool isObject) {
        if (Depth == Levels.size()) Levels.emplace_back();
        Levels[Depth++].Clear(isObject);
    }
    // A value starts: the next element of the array around it, if any.
    void Begin() {
        if (Depth > 0 && !Levels[Depth - 1].IsObject) ++Levels[Depth - 1].Count;
    }
    QString Place() const {
        QString place;
        for (std::size_t d = 0; d < Depth; ++d) {
            const TLevel& level = Levels[d];
            if (!level.IsObject)
                place += u'[' + QString::number(level.Count - 1) + u']';
            else
                place += (place.isEmpty() ? QString() : QStringLiteral(".")) +
                         QString::fromUtf8(level.Key.data(), qsizetype(level.Key.size()));
        }
        return place;
    }

    std::vector<TLevel> Levels;
    std::size_t Depth = 0;
};

// Numbers as text, so that none is too large for this reader where Qt takes
// it; no recursion, so that no nesting is too deep for the stack.
constexpr unsigned SyntaxFlags = rapidjson::kParseIterativeFlag |
                                 rapidjson::kParseValidateEncodingFlag |
                                 rapidjson::kParseNumbersAsStringsFlag;

struct TKeyCheck {
    rapidjson::ParseResult Result;
    TKeyHandler Handler;
};

template <unsigned Flags = SyntaxFlags> TKeyCheck CheckKeys(QByteArrayView text) {
    TKeyCheck check;
    rapidjson::MemoryStream stream(text.data(), std::size_t(text.size()));
    rapidjson::Reader reader;
    check.Result = reader.Parse<Flags>(stream, check.Handler);
    return check;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The code unit of a "\uXXXX" escape at at, or -1.
int EscapedUnit(QByteArrayView text, qsizetype at) {
    if (at + 6 > text.size() || text[at] != '\\' || text[at + 1] != 'u') return -1;
    int unit = 0;
    for (qsizetype i = at + 2; i < at + 6; ++i) {
        const int digit = HexValue(text[i]);
        if (digit < 0) return -1;
        unit = unit * 16 + digit;
    }
    return unit;
}

// Qt keeps an escaped surrogate without its pair as a character of its own;
// this reader refuses it. Each such escape becomes the three bytes that
// encode the code unit as UTF-8 would any other (never valid UTF-8, so no
// other text yields them), and the keys compare as Qt's do. Empty when the
// text holds none. The text is JSON Qt has read, so escapes are met only
// inside strings, and a backslash always starts one.
QByteArray WithLoneSurrogatesAsBytes(QByteArrayView text) {
    QByteArray out;
    qsizetype copied = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text[at] != '\\') continue;
        const int unit = EscapedUnit(text, at);
        if (unit < 0xD800 || unit > 0xDFFF) {
            ++at; // the escaped character, which may be a backslash
            continue;
        }
        const int next = EscapedUnit(text, at + 6);
        if (unit < 0xDC00 && next >= 0xDC00 && next <= 0xDFFF) {
            at += 11; // a pair, which this reader joins as Qt does
            continue;
        }
        out.append(text.sliced(copied, at - copied));
        out.append(char(0xE0 | unit >> 12)).append(char(0x80 | (unit >> 6 & 0x3F)));
        out.append(char(0x80 | (unit & 0x3F)));
        at += 5;
        copied = at + 1;
    }
    if (copied > 0) out.append(text.sliced(copied));
    return out;
}

// The text after a UTF-8 byte order mark, which Qt's parser skips too.
QByteArrayView WithoutByteOrderMark(QByteArrayView text) {
    return text.startsWith("\xEF\xBB\xBF") ? text.sliced(3) : text;
}

} // namespace

std::optional<QString> FindRepeatedKey(QByteArrayView text) {
    const QByteArrayView json = WithoutByteOrderMark(text);
    const QByteArray rewritten = WithLoneSurrogatesAsBytes(json);
    // Qt has checked the encoding; the bytes put in for surrogates would fail it here.
    constexpr unsigned Flags = SyntaxFlags & ~unsigned(rapidjson::kParseValidateEncodingFlag);
    const TKeyCheck check = CheckKeys<Flags>(rewritten.isEmpty() ? json : rewritten);
    if (check.Result.IsError())
        return FindJsonSyntaxError(text).value_or(QStringLiteral("Not valid JSON."));
    if (!check.Handler.TopIsObject || !check.Handler.Repeated) return std::nullopt;
    return QStringLiteral("The key \"%1\" is given twice.").arg(*check.Handler.Repeated);
}

std::optional<QString> FindJsonSyntaxError(QByteArrayView text) {
    const QByteArrayView json = WithoutByteOrderMark(text);
    const TKeyCheck check = CheckKeys(json);
    if (!check.Result.IsError()) return std::nullopt;
    // The library's sentence, its full stop given to the place.
    QString what = QString::fromUtf8(rapidjson::GetParseError_En(check.Result.Code()));
    if (what.endsWith(u'.')) what.chop(1);
    return JsonSyntaxText(text, qsizetype(check.Result.Offset()) + text.size() - json.size(), what);
}

QString JsonSyntaxText(QByteArrayView text, qsizetype offset, const QString& what) {
    const QByteArrayView before = text.first(std::min(offset, text.size()));
    const qsizetype line = before.count('\n') + 1;
    const qsizetype column = before.size() - (before.lastIndexOf('\n') + 1) + 1;
    return QStringLiteral("Not valid JSON: %1 (line %2, column %3).")
        .arg(what)
        .arg(line)
        .arg(column);
}
