#include "json_text.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {
constexpr qsizetype Chunk = qsizetype(1) << 16;

void Indent(std::string& text, std::size_t depth) {
    static const char spaces[] = "                                ";
    for (qsizetype n = qsizetype(4 * depth); n > 0; n -= qsizetype(sizeof spaces) - 1)
        text.append(spaces, std::size_t(std::min(n, qsizetype(sizeof spaces) - 1)));
}
} // namespace

void TJsonText::NextMember() {
    if (!Empty.back()) Text += ",\n";
    Empty.back() = false;
    Indent(Text, Empty.size());
}

void TJsonText::StartValue() {
    if (AfterKey)
        AfterKey = false;
    else if (!Empty.empty())
        NextMember(); // an element of an array
}

void TJsonText::Key(const char* key) {
    NextMember();
    Text += '"';
    Text += key;
    Text += "\": ";
    AfterKey = true;
}

void TJsonText::Key(const QString& key) {
    NextMember();
    String(key);
    Text += ": ";
    AfterKey = true;
}

void TJsonText::Open(char bracket) {
    StartValue();
    Text += bracket;
    Text += '\n';
    Empty.push_back(true);
}

// An empty object or array keeps its newline too: "[\n    ]".
void TJsonText::Close(char bracket) {
    if (!Empty.back()) Text += '\n';
    Empty.pop_back();
    Indent(Text, Empty.size());
    Text += bracket;
    Flush();
}

// As Qt escapes: the quote, the backslash and the control characters, the
// common ones by name; everything else as UTF-8.
void TJsonText::String(const QString& text) {
    static const char hex[] = "0123456789abcdef";
    const auto escape = [this](char c) {
        const auto u = uchar(c);
        if (u >= 0x20 && c != '"' && c != '\\') {
            Text += c;
            return;
        }
        Text += '\\';
        switch (c) {
        case '"':
            Text += '"';
            break;
        case '\\':
            Text += '\\';
            break;
        case '\b':
            Text += 'b';
            break;
        case '\f':
            Text += 'f';
            break;
        case '\n':
            Text += 'n';
            break;
        case '\r':
            Text += 'r';
            break;
        case '\t':
            Text += 't';
            break;
        default:
            Text += "u00";
            Text += hex[u >> 4];
            Text += hex[u & 15];
        }
    };
    Text += '"';
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        for (const QChar c : text)
            escape(char(c.unicode()));
    else
        for (const char c : text.toUtf8())
            escape(c);
    Text += '"';
}

void TJsonText::Value(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::Array:
        BeginArray();
        for (const QJsonValue& v : value.toArray())
            Value(v);
        EndArray();
        return;
    case QJsonValue::Object: {
        BeginObject();
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            Key(it.key());
            Value(*it);
        }
        EndObject();
        return;
    }
    default:
        break;
    }
    StartValue();
    if (value.isBool()) {
        Text += value.toBool() ? "true" : "false";
    } else if (value.isString()) {
        String(value.toString());
    } else if (value.isDouble() && std::isfinite(value.toDouble())) {
        const double d = value.toDouble();
        if (d == double(value.toInteger())) {
            char digits[24];
            Text.append(digits, std::to_chars(digits, std::end(digits), value.toInteger()).ptr);
        } else {
            Text += QByteArray::number(d, 'g', QLocale::FloatingPointShortest).toStdString();
        }
    } else {
        Text += "null";
    }
    Flush();
}

void TJsonText::Flush() {
    if (qsizetype(Text.size()) < Chunk) return;
    Sink(QByteArrayView(Text.data(), qsizetype(Text.size())));
    Text.clear();
}

void TJsonText::Finish() {
    Text += '\n';
    Sink(QByteArrayView(Text.data(), qsizetype(Text.size())));
    Text.clear();
}
