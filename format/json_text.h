// JSON text exactly as QJsonDocument::toJson prints it (four spaces a level),
// handed on a chunk at a time as it is written: a large document never
// exists as a QJsonObject, nor whole as text. The caller gives each object's
// members in the order QJsonObject keeps them, sorted by key.
#pragma once

#include <QByteArray>
#include <QJsonValue>

#include <functional>
#include <string>
#include <vector>

class TJsonText {
  public:
    using TSink = std::function<void(QByteArrayView)>;
    explicit TJsonText(TSink sink) : Sink(std::move(sink)) {}

    // The next member of the object being written; its value follows.
    void Key(const char* key); // a key that needs no escaping
    void Key(const QString& key);
    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    // Any value, arrays and objects included.
    void Value(const QJsonValue& value);
    // Ends the document with toJson's newline and hands on what is left.
    void Finish();

  private:
    void NextMember();
    void StartValue();
    void Open(char bracket);
    void Close(char bracket);
    void String(const QString& text);
    void Flush();

    TSink Sink;
    std::string Text;        // appended to char by char: std::string does that inline
    std::vector<bool> Empty; // per open object or array: nothing in it yet
    bool AfterKey = false;
};
