#include "json_keys.h"

#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <string>
#include <unordered_set>
#include <vector>

namespace {

// The reader's events, keeping only the keys of the objects still open and
// where each open value lies.
class TKeyHandler : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, TKeyHandler> {
  public:
    bool Default() {
        Begin();
        return true;
    }
    bool String(const char*, rapidjson::SizeType, bool) { return Default(); }
    bool RawNumber(const char*, rapidjson::SizeType, bool) { return Default(); }
    bool StartObject() {
        if (Open.empty()) TopIsObject = true;
        Begin();
        Open.emplace_back().IsObject = true;
        return true;
    }
    bool Key(const char* key, rapidjson::SizeType length, bool) {
        TLevel& level = Open.back();
        level.Key.assign(key, length);
        if (!level.Keys.insert(level.Key).second && !Repeated) Repeated = Place();
        return true;
    }
    bool EndObject(rapidjson::SizeType) {
        Open.pop_back();
        return true;
    }
    bool StartArray() {
        Begin();
        Open.emplace_back();
        return true;
    }
    bool EndArray(rapidjson::SizeType) {
        Open.pop_back();
        return true;
    }

    std::optional<QString> Repeated;
    bool TopIsObject = false;

  private:
    struct TLevel {
        bool IsObject = false;
        std::size_t Count = 0; // an array's values so far
        std::string Key;       // an object's current key
        std::unordered_set<std::string> Keys;
    };

    // A value starts: the next element of the array around it, if any.
    void Begin() {
        if (!Open.empty() && !Open.back().IsObject) ++Open.back().Count;
    }
    QString Place() const {
        QString place;
        for (const TLevel& level : Open) {
            if (!level.IsObject)
                place += u'[' + QString::number(level.Count - 1) + u']';
            else
                place += (place.isEmpty() ? QString() : QStringLiteral(".")) +
                         QString::fromUtf8(level.Key.data(), qsizetype(level.Key.size()));
        }
        return place;
    }

    std::vector<TLevel> Open;
};

} // namespace

std::optional<QString> FindRepeatedKey(QByteArrayView text) {
    // Numbers as text, so that none is too large for this reader where Qt
    // takes it; no recursion, so that no nesting is too deep for the stack.
    constexpr unsigned Flags = rapidjson::kParseIterativeFlag |
                               rapidjson::kParseValidateEncodingFlag |
                               rapidjson::kParseNumbersAsStringsFlag;
    rapidjson::MemoryStream stream(text.data(), std::size_t(text.size()));
    TKeyHandler handler;
    rapidjson::Reader reader;
    if (reader.Parse<Flags>(stream, handler).IsError()) return std::nullopt;
    return handler.TopIsObject ? handler.Repeated : std::nullopt;
}
